#include "tools/font_locator.h"

#include <sys/stat.h>

#include <cctype>
#include <cstdio>

#include "tools/font_face.h"

namespace {

bool IsFile(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string Hex(char32_t c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(c));
  return buf;
}

// fc-match's answer for a pattern of letters, digits, spaces, ':' '=' '-'.
std::string AskFontconfig(const std::string& pattern) {
  for (char c : pattern)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == ' ' || c == ':' || c == '=' ||
          c == '-'))
      return "";
  const std::string command = "fc-match -f '%{file}' '" + pattern + "' 2>/dev/null";
  std::FILE* p = popen(command.c_str(), "r");
  if (!p) return "";
  std::string out;
  char buf[512];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  pclose(p);
  return out;
}

}  // namespace

bool FontCovers(const std::string& path, const std::u32string& needed, std::string& error) {
  FontFace face(path);
  if (!face.ok()) {
    error = face.error();
    return false;
  }
  for (char32_t c : needed)
    if (!face.HasGlyph(c)) {
      error = "font " + path + " has no glyph for " + Hex(c);
      return false;
    }
  return true;
}

std::string LocateFont(const FontRequest& request, std::string& error) {
  std::string reasons;
  for (const std::string& path : request.fixedPaths) {
    if (!IsFile(path)) continue;
    std::string why;
    if (FontCovers(path, request.needed, why)) return path;
    reasons += "; " + why;
  }
  if (!request.fcPattern.empty()) {
    const std::string path = AskFontconfig(request.fcPattern);
    if (!path.empty() && IsFile(path)) {
      std::string why;
      if (FontCovers(path, request.needed, why)) return path;
      reasons += "; " + why;
    }
  }
  error = "no usable font for " + request.role + " (looked for";
  for (const std::string& path : request.fixedPaths) error += " " + path;
  if (!request.fcPattern.empty()) error += " and fc-match '" + request.fcPattern + "'";
  error += ")" + reasons;
  return "";
}
