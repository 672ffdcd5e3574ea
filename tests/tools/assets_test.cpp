// Runs the asset generator into a temporary folder and checks what it wrote.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string kGenerator = KORVEL_BUILD_DIR "/tools/make_assets";

struct RunResult {
  int status = -1;
  std::string output;
};

RunResult RunGenerator(const std::string& arguments) {
  RunResult r;
  std::FILE* p = popen((kGenerator + " " + arguments + " 2>&1").c_str(), "r");
  if (!p) return r;
  char buf[512];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.output.append(buf, n);
  const int raw = pclose(p);
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return r;
}

class TempFolder {
 public:
  TempFolder() {
    char pattern[] = "/tmp/korvel_assets_XXXXXX";
    if (mkdtemp(pattern)) path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// A picture decoded independently of the generator's encoder, rows top down.
struct Picture {
  int type = 0, width = 0, height = 0, depth = 0, descriptor = 0;
  std::vector<std::uint8_t> rgb;
  std::string fault;  // empty when the file decoded cleanly and exactly

  const std::uint8_t* at(int x, int y) const { return &rgb[(size_t(y) * width + x) * 3]; }
  int brightness(int x, int y) const {
    const std::uint8_t* p = at(x, y);
    return std::max({p[0], p[1], p[2]});
  }
};

Picture Decode(const std::vector<std::uint8_t>& f) {
  Picture pic;
  if (f.size() < 18) {
    pic.fault = "short header";
    return pic;
  }
  for (int i : {0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11})
    if (f[i] != 0) pic.fault = "header byte " + std::to_string(i) + " is not 0";
  pic.type = f[2];
  pic.width = f[12] | f[13] << 8;
  pic.height = f[14] | f[15] << 8;
  pic.depth = f[16];
  pic.descriptor = f[17];
  if (!pic.fault.empty() || pic.depth != 24 || (pic.type != 2 && pic.type != 10)) {
    if (pic.fault.empty()) pic.fault = "not 24-bit type 2 or 10";
    return pic;
  }
  const size_t total = size_t(pic.width) * pic.height;
  std::vector<std::uint8_t> stored;  // B, G, R in stored order
  size_t pos = 18;
  auto pixel = [&](size_t at) { stored.insert(stored.end(), &f[at], &f[at] + 3); };
  if (pic.type == 2) {
    if (f.size() != 18 + total * 3) {
      pic.fault = "plain data has the wrong length";
    } else {
      for (size_t i = 0; i < total; ++i) pixel(18 + 3 * i);
    }
  } else {
    while (stored.size() < total * 3 && pic.fault.empty()) {
      if (pos >= f.size()) {
        pic.fault = "packets end early";
        break;
      }
      const int h = f[pos++];
      const size_t count = h < 128 ? h + 1 : h - 127;
      const size_t bytes = h < 128 ? 3 * count : 3;
      if (pos + bytes > f.size() || stored.size() / 3 + count > total) {
        pic.fault = "packet runs past the data or the picture";
        break;
      }
      for (size_t i = 0; i < count; ++i) pixel(h < 128 ? pos + 3 * i : pos);
      pos += bytes;
    }
    if (pic.fault.empty() && pos != f.size()) pic.fault = "bytes left after the last packet";
  }
  if (!pic.fault.empty()) return pic;
  const bool bottomUp = (pic.descriptor & 0x20) == 0;
  pic.rgb.resize(total * 3);
  for (int sy = 0; sy < pic.height; ++sy)
    for (int x = 0; x < pic.width; ++x) {
      const int y = bottomUp ? pic.height - 1 - sy : sy;
      const std::uint8_t* s = &stored[(size_t(sy) * pic.width + x) * 3];
      std::uint8_t* d = &pic.rgb[(size_t(y) * pic.width + x) * 3];
      d[0] = s[2], d[1] = s[1], d[2] = s[0];
    }
  return pic;
}

struct Expected {
  const char* name;
  int width, height;
};
const Expected kFiles[] = {{"glyphs.tga", 512, 256},      {"banner_small.tga", 256, 32},
                           {"intro_upper.tga", 512, 128}, {"intro_lower.tga", 512, 256},
                           {"banner_wide_a.tga", 512, 32}, {"banner_wide_b.tga", 512, 32}};

// One run of the generator shared by the tests that only read its output.
class AssetsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new TempFolder;
    result_ = new RunResult(RunGenerator(folder_->path()));
  }
  static void TearDownTestSuite() {
    delete result_;
    delete folder_;
  }
  void SetUp() override {
    ASSERT_FALSE(folder_->path().empty()) << "cannot make a temporary folder";
    ASSERT_EQ(result_->status, 0) << result_->output;
  }
  static std::string File(const std::string& name) { return folder_->path() + "/" + name; }
  static Picture Load(const std::string& name) { return Decode(ReadBytes(File(name))); }

  static TempFolder* folder_;
  static RunResult* result_;
};
TempFolder* AssetsTest::folder_ = nullptr;
RunResult* AssetsTest::result_ = nullptr;

TEST_F(AssetsTest, EveryPictureHasTheAcceptedHeaderAndDecodesExactly) {
  for (const Expected& e : kFiles) {
    SCOPED_TRACE(e.name);
    const std::vector<std::uint8_t> bytes = ReadBytes(File(e.name));
    const Picture pic = Decode(bytes);
    ASSERT_EQ(pic.fault, "");
    EXPECT_EQ(pic.width, e.width);
    EXPECT_EQ(pic.height, e.height);
    EXPECT_EQ(pic.depth, 24);
    EXPECT_EQ(pic.descriptor & 0x20, 0) << "rows must be stored bottom row first";
    EXPECT_EQ(pic.descriptor & 0x0F, 0) << "no alpha bits";
    if (pic.type == 10) {
      EXPECT_LT(bytes.size(), 18u + size_t(e.width) * e.height * 3) << "RLE chosen but larger";
    }
    // A black outer ring is transparent under the brightness alpha and keeps
    // clamped, filtered edges from showing a seam; the picture has content.
    int edge = 0;
    for (int x = 0; x < pic.width; ++x)
      edge += pic.brightness(x, 0) + pic.brightness(x, pic.height - 1);
    for (int y = 0; y < pic.height; ++y)
      edge += pic.brightness(0, y) + pic.brightness(pic.width - 1, y);
    EXPECT_EQ(edge, 0);
    int lit = 0;
    for (int y = 0; y < pic.height; ++y)
      for (int x = 0; x < pic.width; ++x) lit += pic.brightness(x, y) > 128;
    EXPECT_GT(lit, pic.width * pic.height / 100);
  }
}

TEST_F(AssetsTest, TwoRunsWriteIdenticalBytes) {
  TempFolder second;
  ASSERT_FALSE(second.path().empty());
  const RunResult again = RunGenerator(second.path());
  ASSERT_EQ(again.status, 0) << again.output;
  for (const Expected& e : kFiles) {
    SCOPED_TRACE(e.name);
    const std::vector<std::uint8_t> a = ReadBytes(File(e.name));
    EXPECT_FALSE(a.empty());
    EXPECT_TRUE(a == ReadBytes(second.path() + "/" + e.name));
  }
}

constexpr int kCell = 32;

// Sum of brightness over a rectangle of a cell (c, r) of the atlas, top down.
long Ink(const Picture& atlas, int c, int r, int y0 = 0, int y1 = kCell) {
  long sum = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = 0; x < kCell; ++x) sum += atlas.brightness(c * kCell + x, r * kCell + y);
  return sum;
}

std::vector<std::uint8_t> CellPixels(const Picture& atlas, int c, int r) {
  std::vector<std::uint8_t> v;
  for (int y = 0; y < kCell; ++y)
    for (int x = 0; x < kCell; ++x) v.push_back(atlas.brightness(c * kCell + x, r * kCell + y));
  return v;
}

TEST_F(AssetsTest, AtlasTopRowHoldsTenDistinctDigitsAndTheSeparator) {
  const Picture atlas = Load("glyphs.tga");
  ASSERT_EQ(atlas.fault, "");
  for (int c = 0; c <= 10; ++c) EXPECT_GT(Ink(atlas, c, 0), 255 * 20) << "cell " << c;
  for (int a = 0; a < 10; ++a)
    for (int b = a + 1; b < 10; ++b)
      EXPECT_NE(CellPixels(atlas, a, 0), CellPixels(atlas, b, 0)) << a << " and " << b;
  // The clock reads the top of the texture: a 7 has its bar at the top, so a
  // picture stored the wrong way up would show its widest row at the bottom.
  std::vector<int> widths;  // lit pixels of each row of the 7 that has ink
  for (int y = 0; y < kCell; ++y) {
    int lit = 0;
    for (int x = 0; x < kCell; ++x) lit += atlas.brightness(7 * kCell + x, y) > 128;
    if (lit) widths.push_back(lit);
  }
  ASSERT_GE(widths.size(), 8u);
  EXPECT_GT(widths.front(), 2 * widths.back());
  // The separator is a colon: two dots one above the other, nothing between.
  const long upper = Ink(atlas, 10, 0, 0, 14), middle = Ink(atlas, 10, 0, 15, 17),
             lower = Ink(atlas, 10, 0, 18, 32);
  EXPECT_GT(upper, 0);
  EXPECT_GT(lower, 0);
  EXPECT_LT(middle, (upper + lower) / 20);
}

TEST_F(AssetsTest, AtlasGlyphsAreWhiteOnBlackAndKeepOffTheCellEdges) {
  const Picture atlas = Load("glyphs.tga");
  ASSERT_EQ(atlas.fault, "");
  for (int r = 0; r < 8; ++r)
    for (int c = 0; c < 16; ++c) {
      SCOPED_TRACE("cell " + std::to_string(c) + ", row " + std::to_string(r));
      // Every cell is drawn by the falling lines, so none may be empty.
      EXPECT_GT(Ink(atlas, c, r), 255 * 4);
      int edge = 0;
      for (int i = 0; i < kCell; ++i)
        edge += atlas.brightness(c * kCell + i, r * kCell) +
                atlas.brightness(c * kCell + i, r * kCell + kCell - 1) +
                atlas.brightness(c * kCell, r * kCell + i) +
                atlas.brightness(c * kCell + kCell - 1, r * kCell + i);
      EXPECT_EQ(edge, 0) << "the cell's outer ring must stay black";
    }
  // Grey only, so that the colour given when drawing tints the glyphs alone.
  for (size_t i = 0; i < atlas.rgb.size(); i += 3)
    ASSERT_TRUE(atlas.rgb[i] == atlas.rgb[i + 1] && atlas.rgb[i] == atlas.rgb[i + 2]) << i / 3;
}

TEST(AssetsFailureTest, FailsWithAMessageWhenAFontOrTheFolderIsUnusable) {
  TempFolder folder;
  ASSERT_FALSE(folder.path().empty());
  { std::ofstream(folder.path() + "/plain_file") << "x"; }
  const struct {
    std::string arguments, message;
  } cases[] = {
      {folder.path() + "/out --glyph-font " + folder.path() + "/missing.ttf", "missing.ttf"},
      // A font without the half-width katakana cannot draw the atlas.
      {folder.path() + "/out --glyph-font /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
       "no glyph for U+FF"},
      {folder.path() + "/out --text-font " + folder.path() + "/plain_file", "plain_file"},
      {folder.path() + "/plain_file/out", "cannot make the output folder"},
      {"", "usage"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    const RunResult r = RunGenerator(c.arguments);
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.output.find(c.message), std::string::npos) << r.output;
  }
  EXPECT_FALSE(fs::exists(folder.path() + "/out/glyphs.tga"));
}

TEST(AssetsFailureTest, AnUnwritableFileFailsAndLeavesNoPartialFile) {
  TempFolder folder;
  ASSERT_FALSE(folder.path().empty());
  // A folder in the place of the atlas: the rename onto it must fail.
  fs::create_directories(folder.path() + "/glyphs.tga/inside");
  const RunResult r = RunGenerator(folder.path());
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.output.find("cannot write"), std::string::npos) << r.output;
  EXPECT_FALSE(fs::exists(folder.path() + "/glyphs.tga.part"));
}

}  // namespace
