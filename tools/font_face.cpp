#include "tools/font_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>

struct FontFace::Impl {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
};

FontFace::FontFace(const std::string& path) : impl_(new Impl), path_(path) {
  if (FT_Init_FreeType(&impl_->library) != 0) {
    error_ = "FreeType cannot start";
    return;
  }
  if (FT_New_Face(impl_->library, path.c_str(), 0, &impl_->face) != 0) {
    impl_->face = nullptr;
    error_ = "cannot open font " + path;
    return;
  }
  if (!FT_IS_SCALABLE(impl_->face)) error_ = "font " + path + " is not scalable";
}

FontFace::~FontFace() {
  if (impl_->face) FT_Done_Face(impl_->face);
  if (impl_->library) FT_Done_FreeType(impl_->library);
}

bool FontFace::HasGlyph(char32_t codepoint) const {
  return impl_->face && FT_Get_Char_Index(impl_->face, codepoint) != 0;
}

bool FontFace::SetPixelSize(int pixels) {
  return impl_->face && FT_Set_Pixel_Sizes(impl_->face, 0, pixels) == 0;
}

int FontFace::Ascender() const {
  return impl_->face ? static_cast<int>((impl_->face->size->metrics.ascender + 32) >> 6) : 0;
}

int FontFace::Descender() const {
  return impl_->face ? static_cast<int>((impl_->face->size->metrics.descender - 32) >> 6) : 0;
}

bool FontFace::Render(char32_t codepoint, int bold, GlyphBitmap& out) {
  FT_Face face = impl_->face;
  if (!face) return false;
  const FT_UInt index = FT_Get_Char_Index(face, codepoint);
  if (index == 0) return false;
  if (FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT) != 0) return false;
  FT_GlyphSlot slot = face->glyph;
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return false;
  if (bold > 0) FT_Outline_Embolden(&slot->outline, bold);
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return false;
  const FT_Bitmap& bm = slot->bitmap;
  out.coverage = Coverage(static_cast<int>(bm.width), static_cast<int>(bm.rows));
  for (unsigned y = 0; y < bm.rows; ++y)
    for (unsigned x = 0; x < bm.width; ++x)
      out.coverage.at(static_cast<int>(x), static_cast<int>(y)) = bm.buffer[y * bm.pitch + x];
  // Emboldening widens the ink; the extra goes to the advance as well.
  out.left = slot->bitmap_left;
  out.top = slot->bitmap_top;
  out.advance = static_cast<int>((slot->advance.x + bold + 32) >> 6);
  return true;
}

int FontFace::MeasureText(const std::u32string& text, int spacing, int bold) {
  int width = 0;
  GlyphBitmap g;
  for (size_t i = 0; i < text.size(); ++i) {
    if (!Render(text[i], bold, g)) continue;
    width += g.advance + (i + 1 < text.size() ? spacing : 0);
  }
  return width;
}

void FontFace::DrawText(Coverage& target, const std::u32string& text, int x, int baseline,
                        int spacing, int bold) {
  int pen = x;
  GlyphBitmap g;
  for (char32_t c : text) {
    if (!Render(c, bold, g)) continue;
    for (int y = 0; y < g.coverage.height; ++y) {
      const int ty = baseline - g.top + y;
      if (ty < 0 || ty >= target.height) continue;
      for (int gx = 0; gx < g.coverage.width; ++gx) {
        const int tx = pen + g.left + gx;
        if (tx < 0 || tx >= target.width) continue;
        target.at(tx, ty) = std::max(target.at(tx, ty), g.coverage.at(gx, y));
      }
    }
    pen += g.advance + spacing;
  }
}

std::u32string Utf32(const std::string& utf8) {
  std::u32string out;
  for (size_t i = 0; i < utf8.size();) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
    char32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
    for (int k = 1; k <= extra && i + k < utf8.size(); ++k)
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    out.push_back(cp);
    i += 1 + extra;
  }
  return out;
}
