// The program's icon drawn for the icon themes: an exact enlargement at multiples of 32, only
// the art's own colours at any size, and a PNG whose transparent pixels carry alpha 0.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "app/ProgramIcon.h"
#include "platform/canvas/Bitmap.h"

namespace varnel {
namespace {

// The art's pixel as the drawn icon holds it.
std::uint32_t ArtWord(int x, int y) {
  const std::uint32_t p = ProgramIconPixels()[static_cast<std::size_t>(y * ProgramIconSize + x)];
  return (p >> 24) ? p & 0xFFFFFF : ProgramIconTransparent;
}

TEST(ProgramIcon, MultiplesOf32AreExactEnlargements) {
  for (const int size : {32, 64, 256}) {
    const TBitmap icon = DrawProgramIcon(size);
    const int k = size / ProgramIconSize;
    int bad = 0;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) bad += (icon.PixelWord(x, y) & 0xFFFFFF) != ArtWord(x / k, y / k);
    EXPECT_EQ(bad, 0) << size;
  }
}

TEST(ProgramIcon, OtherSizesBlendNoColours) {
  std::set<std::uint32_t> art;
  for (int y = 0; y < ProgramIconSize; ++y)
    for (int x = 0; x < ProgramIconSize; ++x) art.insert(ArtWord(x, y));
  for (const int size : {16, 48}) {
    const TBitmap icon = DrawProgramIcon(size);
    std::set<std::uint32_t> drawn;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) drawn.insert(icon.PixelWord(x, y) & 0xFFFFFF);
    for (const std::uint32_t c : drawn) EXPECT_TRUE(art.count(c)) << size << ": colour " << std::hex << c;
    // 48 is 1.5 times the art: no column or row of the art is dropped, so every colour stays.
    if (size == 48) {
      EXPECT_EQ(drawn, art);
    }
  }
}

TEST(ProgramIcon, ThePictureKeepsItsTransparency) {
  const std::string path = (std::filesystem::temp_directory_path() / "varnel-icon-test.png").string();
  const TBitmap icon = DrawProgramIcon(48);
  ASSERT_TRUE(SaveBitmapToPng(icon, path, ProgramIconTransparent));
  std::ifstream in(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ASSERT_GT(bytes.size(), 26u);
  EXPECT_EQ(bytes[25], 6) << "colour type: RGB with alpha";
  TBitmap back;
  ASSERT_TRUE(LoadBitmapFromPng(back, path));
  std::filesystem::remove(path);
  ASSERT_EQ(back.Width(), 48);
  EXPECT_EQ(back.PixelWord(24, 24) & 0xFFFFFF, icon.PixelWord(24, 24) & 0xFFFFFF);
}

}  // namespace
}  // namespace varnel
