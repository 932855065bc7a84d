// PNG files: a round trip keeps every pixel, other colour types load as RGB, and bad paths,
// missing, truncated and corrupt files fail without touching the bitmap; a picture is replaced
// whole or not at all, and devices and pipes are written in place and never removed.
#include <gtest/gtest.h>
#include <png.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>
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

// ---- Writing over what is already there.

class PngOutput : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = testing::TempDir() + "/varnel-pngout-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    FDir = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(FDir); }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(FDir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  // A picture whose PNG is some kilobytes long: a gradient deflate cannot squeeze to nothing.
  static TBitmap Busy() {
    TBitmap bmp(200, 100);
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 200; ++x) bmp.ScanLine(y)[x] = static_cast<std::uint32_t>(x * 2654435761u + y * 40503u);
    return bmp;
  }
  std::string FDir;
};

TEST_F(PngOutput, AFailedWriteLeavesTheOldPictureWholeAndASuccessfulOneReplacesIt) {
  const std::string picture = FDir + "/r.png", second = FDir + "/second-name";
  ASSERT_TRUE(SaveBitmapToPng(TBitmap(40, 30), picture));
  ASSERT_EQ(chmod(picture.c_str(), 0640), 0);
  ASSERT_EQ(link(picture.c_str(), second.c_str()), 0);  // the old file under a second name
  const std::vector<char> old = ReadFile(picture);
  // Files may not grow beyond 200 bytes: the new picture's write fails part of the way.
  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  void (*savedHandler)(int) = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 200;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = SaveBitmapToPng(Busy(), picture);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, savedHandler);
  EXPECT_FALSE(written);
  EXPECT_EQ(ReadFile(picture), old);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"r.png", "second-name"}));
  // A write that succeeds puts a new file in place: the old one, under its second name, is
  // untouched (a file rewritten in place would change under it), and the mode stays.
  ASSERT_TRUE(SaveBitmapToPng(Busy(), picture));
  EXPECT_EQ(ReadFile(second), old);
  TBitmap back;
  ASSERT_TRUE(LoadBitmapFromPng(back, picture));
  EXPECT_EQ(back.Width(), 200);
  struct stat st;
  ASSERT_EQ(stat(picture.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"r.png", "second-name"}));
}

TEST_F(PngOutput, DevicesPipesAndLinksToThemAreWrittenInPlaceAndNeverRemoved) {
  // A device that is always full, through a link and (as root) as a device entry of our own.
  const std::string link = FDir + "/full-link", node = FDir + "/full";
  ASSERT_EQ(symlink("/dev/full", link.c_str()), 0);
  EXPECT_FALSE(SaveBitmapToPng(Busy(), link));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
  const bool root = geteuid() == 0;
  if (root) {
    ASSERT_EQ(mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 7)), 0);
    EXPECT_FALSE(SaveBitmapToPng(Busy(), node));
    EXPECT_TRUE(std::filesystem::is_character_file(node));
  }
  // A pipe gets the same bytes a file would, and stays a pipe.
  const std::string file = FDir + "/file.png", pipe = FDir + "/pipe";
  ASSERT_TRUE(SaveBitmapToPng(Busy(), file));
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  std::vector<char> received;
  std::thread reader([&] { received = ReadFile(pipe); });
  EXPECT_TRUE(SaveBitmapToPng(Busy(), pipe));
  reader.join();
  EXPECT_EQ(received, ReadFile(file));
  EXPECT_TRUE(std::filesystem::is_fifo(pipe));
  std::vector<std::string> expected = {"file.png", "full-link", "pipe"};
  if (root) expected.insert(expected.begin() + 1, "full");
  EXPECT_EQ(Entries(), expected);
  if (!root) GTEST_SKIP() << "the device entry of our own needs root (mknod); the link to /dev/full was tested";
}

}  // namespace
}  // namespace varnel
