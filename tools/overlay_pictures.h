#pragma once
// The overlay's pictures: light text on pure black, so that the brightness
// alpha mode makes the black transparent and the glow fade smoothly.
#include "tools/font_face.h"
#include "tools/image.h"

struct PictureFonts {
  FontFace& bold;    // titles
  FontFace& text;    // lines of text
  FontFace& glyphs;  // the code glyphs, for decoration
};

Image SmallBanner(PictureFonts& fonts);                            // 256 × 32
Image WideBanner(PictureFonts& fonts, const std::u32string& line);  // 512 × 32
Image IntroUpper(PictureFonts& fonts);                             // 512 × 128
Image IntroLower(PictureFonts& fonts, const std::u32string& version);  // 512 × 256
