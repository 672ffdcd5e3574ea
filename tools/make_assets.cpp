// make_assets OUTDIR [--glyph-font PATH] [--text-font PATH] [--bold-font PATH]
//
// Draws the six pictures of the resource archive and writes them into OUTDIR
// as 24-bit TGA files: glyphs.tga (slot 0), banner_small.tga (1),
// intro_upper.tga (2), intro_lower.tga (3), banner_wide_a.tga (4) and
// banner_wide_b.tga (5). The same fonts give the same bytes on every run.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "tools/font_face.h"
#include "tools/font_locator.h"
#include "tools/glyph_atlas.h"
#include "tools/overlay_pictures.h"
#include "tools/tga_writer.h"

#ifndef KORVEL3D_VERSION
#define KORVEL3D_VERSION "1.0"
#endif

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "make_assets: %s\n", message.c_str());
  return 1;
}

int Usage() {
  std::fprintf(stderr,
               "usage: make_assets OUTDIR [--glyph-font PATH] [--text-font PATH] "
               "[--bold-font PATH]\n");
  return 2;
}

std::u32string Printable() {
  std::u32string s;
  for (char32_t c = 0x20; c < 0x7F; ++c) s.push_back(c);
  return s + U"\u00B7";
}

// A font given on the command line is taken as it is, or not at all.
std::string ChooseFont(const std::string& given, const FontRequest& request, std::string& error) {
  if (given.empty()) return LocateFont(request, error);
  std::string why;
  if (FontCovers(given, request.needed, why)) return given;
  error = "font for " + request.role + ": " + why;
  return "";
}

}  // namespace

int main(int argc, char** argv) {
  std::string outDir, glyphPath, textPath, boldPath;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    std::string* option = arg == "--glyph-font" ? &glyphPath
                          : arg == "--text-font" ? &textPath
                          : arg == "--bold-font" ? &boldPath
                                                 : nullptr;
    if (option) {
      if (i + 1 >= argc) return Usage();
      *option = argv[++i];
    } else if (outDir.empty() && !arg.empty() && arg[0] != '-') {
      outDir = arg;
    } else {
      return Usage();
    }
  }
  if (outDir.empty()) return Usage();

  std::u32string codeGlyphs = AtlasGlyphs();
  std::string error;
  const FontRequest glyphRequest{
      "the code glyphs",
      {"/usr/share/fonts/truetype/vlgothic/VL-Gothic-Regular.ttf",
       "/usr/share/fonts/opentype/vlgothic/VL-Gothic-Regular.ttf"},
      "VL Gothic",
      codeGlyphs};
  const FontRequest textRequest{"text",
                                {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"},
                                "DejaVu Sans",
                                Printable()};
  const FontRequest boldRequest{"titles",
                                {"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"},
                                "DejaVu Sans:bold",
                                Printable()};
  glyphPath = ChooseFont(glyphPath, glyphRequest, error);
  if (glyphPath.empty()) return Fail(error);
  textPath = ChooseFont(textPath, textRequest, error);
  if (textPath.empty()) return Fail(error);
  boldPath = ChooseFont(boldPath, boldRequest, error);
  if (boldPath.empty()) return Fail(error);

  FontFace glyphFont(glyphPath), textFont(textPath), boldFont(boldPath);
  for (const FontFace* f : {&glyphFont, &textFont, &boldFont})
    if (!f->ok()) return Fail(f->error());

  std::error_code ec;
  std::filesystem::create_directories(outDir, ec);
  if (ec || !std::filesystem::is_directory(outDir))
    return Fail("cannot make the output folder " + outDir +
                (ec ? ": " + ec.message() : std::string(": not a folder")));

  Image atlas(1, 1);
  if (!DrawGlyphAtlas(glyphFont, atlas, error)) return Fail(error);
  PictureFonts fonts{boldFont, textFont, glyphFont};
  const struct {
    const char* name;
    Image image;
  } pictures[] = {
      {"glyphs.tga", atlas},
      {"banner_small.tga", SmallBanner(fonts)},
      {"intro_upper.tga", IntroUpper(fonts)},
      {"intro_lower.tga", IntroLower(fonts, Utf32(KORVEL3D_VERSION))},
      {"banner_wide_a.tga", WideBanner(fonts, U"falling code in three dimensions")},
      {"banner_wide_b.tga", WideBanner(fonts, U"a quiet rain of glyphs")},
  };
  for (const auto& p : pictures) {
    const std::string path = (std::filesystem::path(outDir) / p.name).string();
    if (!WriteTGA(path, p.image, error)) return Fail(error);
  }
  return 0;
}
