#include "tools/overlay_pictures.h"

#include <algorithm>
#include <vector>

namespace {

const RGB kWhite{255, 255, 255};
const RGB kPaleGreen{190, 255, 215};
const RGB kGlow{40, 210, 110};
const RGB kDimGreen{70, 215, 120};
const RGB kGreyGreen{205, 235, 215};

// One run of text in one font, size and colour.
struct Run {
  FontFace* font;
  int size;
  std::u32string text;
  int spacing;
  int bold;
  RGB colour;
};

int RunWidth(const Run& run) {
  run.font->SetPixelSize(run.size);
  return run.font->MeasureText(run.text, run.spacing, run.bold);
}

// Height of a capital at the run's size, to centre lines on their capitals.
int CapHeight(const Run& run) {
  run.font->SetPixelSize(run.size);
  GlyphBitmap g;
  return run.font->Render(U'H', run.bold, g) ? g.top : run.size * 3 / 4;
}

// Draws runs side by side, the whole line centred on centreX, the capitals of
// the first run centred on capMiddleY; a glow of `glowRadius` goes under it.
void DrawLine(Image& image, const std::vector<Run>& runs, int centreX, int capMiddleY, int gap,
              int glowRadius, int glowGain) {
  int width = 0;
  for (size_t i = 0; i < runs.size(); ++i) width += RunWidth(runs[i]) + (i ? gap : 0);
  const int baseline = capMiddleY + (CapHeight(runs.front()) + 1) / 2;
  std::vector<Coverage> layers;
  Coverage all(image.width, image.height);
  int pen = centreX - width / 2;
  for (const Run& run : runs) {
    Coverage layer(image.width, image.height);
    run.font->SetPixelSize(run.size);
    run.font->DrawText(layer, run.text, pen, baseline, run.spacing, run.bold);
    pen += RunWidth(run) + gap;
    for (size_t k = 0; k < layer.value.size(); ++k)
      all.value[k] = std::max(all.value[k], layer.value[k]);
    layers.push_back(std::move(layer));
  }
  if (glowRadius > 0) AddCoverage(image, Blur(all, glowRadius), kGlow, 0, 0, glowGain);
  for (size_t i = 0; i < runs.size(); ++i) AddCoverage(image, layers[i], runs[i].colour);
}

// A hairline that fades out toward its far end: from x0 (bright) to x1 (dark).
void FadingRule(Image& image, int x0, int x1, int y, int brightness, RGB colour) {
  Coverage rule(image.width, image.height);
  if (x0 <= x1)
    FillRamp(rule, x0, y, x1 - x0 + 1, 1, brightness, 0);
  else
    FillRamp(rule, x1, y, x0 - x1 + 1, 1, 0, brightness);
  AddCoverage(image, rule, colour);
}

Run Title(PictureFonts& f, int size, int spacing, RGB colour) {
  return Run{&f.bold, size, U"KORVEL 3D", spacing, 0, colour};
}

}  // namespace

Image SmallBanner(PictureFonts& fonts) {
  Image image(256, 32);
  const Run title = Title(fonts, 17, 3, kWhite);
  const int half = RunWidth(title) / 2;
  DrawLine(image, {title}, 128, 16, 0, 3, 160);
  FadingRule(image, 128 - half - 10, 14, 16, 170, kPaleGreen);
  FadingRule(image, 128 + half + 10, 241, 16, 170, kPaleGreen);
  return image;
}

Image WideBanner(PictureFonts& fonts, const std::u32string& line) {
  Image image(512, 32);
  const Run title = Title(fonts, 15, 2, kWhite);
  const Run dot{&fonts.text, 15, U"\u00B7", 0, 0, kDimGreen};
  const Run words{&fonts.text, 15, line, 0, 0, kPaleGreen};
  DrawLine(image, {title, dot, words}, 256, 16, 12, 3, 150);
  return image;
}

Image IntroUpper(PictureFonts& fonts) {
  Image image(512, 128);
  const Run name{&fonts.bold, 66, U"KORVEL", 5, 0, kWhite};
  const Run dim{&fonts.bold, 66, U"3D", 5, 0, kPaleGreen};
  DrawLine(image, {name, dim}, 256, 60, 22, 7, 230);
  const int half = (RunWidth(name) + RunWidth(dim) + 22) / 2;
  FadingRule(image, 255, 256 - half - 6, 108, 200, kPaleGreen);
  FadingRule(image, 256, 256 + half + 6, 108, 200, kPaleGreen);
  return image;
}

Image IntroLower(PictureFonts& fonts, const std::u32string& version) {
  Image image(512, 256);
  DrawLine(image, {Run{&fonts.text, 24, U"falling code in three dimensions", 0, 0, kPaleGreen}},
           256, 52, 0, 4, 160);
  // A strip of code glyphs between fading rules, in the code's own green.
  const std::u32string strip = U"\uFF8A 7 \uFF90 \uFF7B 0 \uFF76 \uFF82 3 \uFF98 \uFF71 1 \uFF7E";
  const Run code{&fonts.glyphs, 22, strip, 2, 0, kDimGreen};
  const int half = RunWidth(code) / 2;
  DrawLine(image, {code}, 256, 124, 0, 3, 120);
  FadingRule(image, 256 - half - 14, 40, 124, 160, kDimGreen);
  FadingRule(image, 256 + half + 14, 471, 124, 160, kDimGreen);
  DrawLine(image, {Run{&fonts.text, 16, U"sit back and watch the code fall", 0, 0,
                       kGreyGreen}},
           256, 186, 0, 0, 0);
  DrawLine(image, {Run{&fonts.text, 14, U"version " + version, 1, 0, kGreyGreen}}, 256, 222, 0,
           0, 0);
  return image;
}
