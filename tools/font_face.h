#pragma once
// One FreeType face at one pixel size, drawing white coverage for the pictures.
#include <memory>
#include <string>

#include "tools/image.h"

// A rendered glyph: its coverage and where it sits relative to the pen
// (left: pen x to the bitmap's left edge; top: baseline up to its top row).
struct GlyphBitmap {
  Coverage coverage{0, 0};
  int left = 0;
  int top = 0;
  int advance = 0;  // whole pixels
};

class FontFace {
 public:
  // Opens the font file; on failure ok() is false and error() says why.
  explicit FontFace(const std::string& path);
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }
  const std::string& path() const { return path_; }

  bool HasGlyph(char32_t codepoint) const;
  // Sets the size in pixels per em for the glyphs that follow.
  bool SetPixelSize(int pixels);
  // Renders one glyph, anti-aliased, thickened by `bold` 1/64 pixels (0: as drawn).
  bool Render(char32_t codepoint, int bold, GlyphBitmap& out);

  // Width in pixels of a line of text with `spacing` extra pixels between letters.
  int MeasureText(const std::u32string& text, int spacing, int bold);
  // Draws a line of text with its baseline's left end at (x, baseline); the
  // coverage of overlapping letters is combined by maximum.
  void DrawText(Coverage& target, const std::u32string& text, int x, int baseline, int spacing,
                int bold);
  // Ascender and descender of the face at the current size, in pixels (descender < 0).
  int Ascender() const;
  int Descender() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::string path_;
  std::string error_;
};

// Text as code points; the tool's own texts are UTF-8 literals.
std::u32string Utf32(const std::string& utf8);
