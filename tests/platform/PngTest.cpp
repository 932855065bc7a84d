// PNG files: a round trip keeps every pixel, other colour types load as RGB, and bad paths,
// missing, truncated and corrupt files fail without touching the bitmap.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/canvas/Bitmap.h"

namespace varnel {
namespace {

std::string TempPath(const std::string& name) { return testing::TempDir() + "/varnel-png-" + name; }

std::vector<char> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
void WriteFile(const std::string& path, const std::vector<char>& bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Writes a 3x2 picture in the given format with libpng's simplified interface.
bool WriteFixture(const std::string& path, png_uint_32 format, const std::vector<png_byte>& pixels,
                  const std::vector<png_byte>& colormap = {}) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = 3;
  image.height = 2;
  image.format = format;
  image.colormap_entries = static_cast<png_uint_32>(colormap.size() / 3);
  return png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0,
                                 colormap.empty() ? nullptr : colormap.data()) != 0;
}

TEST(Png, RoundTripKeepsEveryPixel) {
  TBitmap bmp(7, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) bmp.ScanLine(y)[x] = static_cast<std::uint32_t>((x * 37) << 16 | (y * 51) << 8 | (x * y * 9));
  const std::string path = TempPath("roundtrip.png");
  ASSERT_TRUE(SaveBitmapToPng(bmp, path));
  TBitmap back(2, 2);
  ASSERT_TRUE(LoadBitmapFromPng(back, path));
  ASSERT_EQ(back.Width(), 7);
  ASSERT_EQ(back.Height(), 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) EXPECT_EQ(back.PixelWord(x, y), bmp.PixelWord(x, y)) << x << "," << y;
  std::remove(path.c_str());
}

TEST(Png, LoadsGreyPaletteAndAlphaAsRgb) {
  const std::string grey = TempPath("grey.png"), pal = TempPath("palette.png"), rgba = TempPath("rgba.png"),
                    wide = TempPath("rgb16.png");
  ASSERT_TRUE(WriteFixture(grey, PNG_FORMAT_GRAY, {0, 128, 255, 10, 20, 30}));
  ASSERT_TRUE(WriteFixture(pal, PNG_FORMAT_RGB_COLORMAP, {0, 1, 2, 2, 1, 0}, {255, 0, 0, 0, 255, 0, 0, 0, 255}));
  ASSERT_TRUE(WriteFixture(rgba, PNG_FORMAT_RGBA, {1, 2, 3, 255, 4, 5, 6, 0, 7, 8, 9, 128, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                                   0, 0}));
  ASSERT_TRUE(WriteFixture(wide, PNG_FORMAT_LINEAR_RGB, std::vector<png_byte>(3 * 2 * 3 * 2, 0xFF)));
  TBitmap bmp;
  ASSERT_TRUE(LoadBitmapFromPng(bmp, grey));
  EXPECT_EQ(bmp.PixelWord(1, 0), 0x808080u);
  EXPECT_EQ(bmp.PixelWord(2, 1), 0x1E1E1Eu);
  ASSERT_TRUE(LoadBitmapFromPng(bmp, pal));
  EXPECT_EQ(bmp.PixelWord(0, 0), 0xFF0000u);
  EXPECT_EQ(bmp.PixelWord(1, 0), 0x00FF00u);
  EXPECT_EQ(bmp.PixelWord(0, 1), 0x0000FFu);
  ASSERT_TRUE(LoadBitmapFromPng(bmp, rgba));  // alpha dropped, colour kept
  EXPECT_EQ(bmp.PixelWord(0, 0), 0x010203u);
  EXPECT_EQ(bmp.PixelWord(2, 0), 0x070809u);
  ASSERT_TRUE(LoadBitmapFromPng(bmp, wide));  // 16 bits a channel
  EXPECT_EQ(bmp.PixelWord(2, 1), 0xFFFFFFu);
  for (const auto& p : {grey, pal, rgba, wide}) std::remove(p.c_str());
}

TEST(Png, FailuresReportFalseAndLeaveTheBitmapAlone) {
  TBitmap empty;
  EXPECT_FALSE(SaveBitmapToPng(empty, TempPath("empty.png")));
  TBitmap bmp(4, 3);
  bmp.ScanLine(1)[2] = 0x123456;
  EXPECT_FALSE(SaveBitmapToPng(bmp, "/nonexistent-dir/varnel/x.png"));
  EXPECT_FALSE(SaveBitmapToPng(bmp, testing::TempDir()));  // a directory

  const std::string good = TempPath("good.png");
  ASSERT_TRUE(SaveBitmapToPng(TBitmap(40, 30), good));
  const std::vector<char> bytes = ReadFile(good);
  ASSERT_GT(bytes.size(), 60u);

  const std::string truncated = TempPath("truncated.png"), corrupt = TempPath("corrupt.png"),
                    notPng = TempPath("text.png"), huge = TempPath("huge.png");
  WriteFile(truncated, std::vector<char>(bytes.begin(), bytes.begin() + static_cast<long>(bytes.size() / 2)));
  std::vector<char> flipped = bytes;
  for (std::size_t i = 40; i < flipped.size(); i += 7) flipped[i] = static_cast<char>(flipped[i] ^ 0x5A);
  WriteFile(corrupt, flipped);
  WriteFile(notPng, {'h', 'e', 'l', 'l', 'o'});
  // A header claiming 100000 x 100000 pixels.
  const std::string dims("\x00\x01\x86\xA0\x00\x01\x86\xA0", 8);
  std::string big(bytes.begin(), bytes.end());
  big.replace(16, 8, dims);
  WriteFile(huge, std::vector<char>(big.begin(), big.end()));

  for (const std::string& path : {TempPath("missing.png"), truncated, corrupt, notPng, huge}) {
    EXPECT_FALSE(LoadBitmapFromPng(bmp, path)) << path;
    EXPECT_EQ(bmp.Width(), 4) << path;
    EXPECT_EQ(bmp.PixelWord(2, 1), 0x123456u) << path;
  }
  for (const auto& p : {good, truncated, corrupt, notPng, huge}) std::remove(p.c_str());
}

}  // namespace
}  // namespace varnel
