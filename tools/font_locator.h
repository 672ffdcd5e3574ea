#pragma once
// Finds a font file: first at the fixed paths where Debian's packages put it,
// then through fontconfig's fc-match. The result must hold every code point
// the caller needs, so a substitute font without them is refused.
#include <string>
#include <vector>

struct FontRequest {
  std::string role;                     // what the font is for, for messages
  std::vector<std::string> fixedPaths;  // tried in order
  std::string fcPattern;                // for fc-match; empty: no fallback
  std::u32string needed;                // code points the font must have
};

// Returns the path, or an empty string with the reason in `error`.
std::string LocateFont(const FontRequest& request, std::string& error);

// Checks that the file opens as a font and holds every needed code point.
bool FontCovers(const std::string& path, const std::u32string& needed, std::string& error);
