// The pixel scale: sizes designed at 96 pixels per inch on screens of other densities, the ends
// of int, and where the screen's density comes from (--dpi, the X resource Xft.dpi, 96), with
// bad values of each.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "base/PixelScale.h"

namespace varnel {
namespace {

TEST(PixelScale, DesignPixelsRoundHalvesAwayAndNeverVanish) {
  struct {
    int V, Ppi, Want;
  } cases[] = {
      {3, 192, 6},      {1, 144, 2},     // 1.5 rounds away from zero
      {-11, 144, -17},  {-11, 192, -22}, // a pixel-height font: -16.5, -22
      {5, 120, 6},      {2, 120, 3},     // 6.25, 2.5
      {1, 120, 1},      {1, 48, 1},      // 1.25; 0.5
      {-1, 48, -1},     {0, 192, 0},     // the sign stays, nothing stays nothing
      {332, 192, 664},  {190, 144, 285},
      {300, 96, 300},   {INT_MAX, 96, INT_MAX}, {INT_MIN, 96, INT_MIN},  // 96 changes nothing
  };
  for (const auto& c : cases) EXPECT_EQ(TPixelScale(c.Ppi).Px(c.V), c.Want) << c.V << " at " << c.Ppi;
  // Densities outside 48..480 count as 96.
  for (int bad : {0, -96, 47, 481, INT_MAX, INT_MIN}) {
    EXPECT_EQ(TPixelScale(bad).PixelsPerInch(), 96) << bad;
    EXPECT_EQ(TPixelScale(bad).Px(7), 7) << bad;
  }
}

TEST(PixelScale, BetweenTwoScreensAtTheEndsOfInt) {
  EXPECT_EQ(ScaleBetween(INT_MAX, 192, 96), INT_MAX);  // saturates
  EXPECT_EQ(ScaleBetween(INT_MIN, 192, 96), INT_MIN);
  EXPECT_EQ(ScaleBetween(INT_MAX, 480, 48), INT_MAX);
  EXPECT_EQ(ScaleBetween(INT_MIN, 480, 48), INT_MIN);
  EXPECT_EQ(ScaleBetween(INT_MAX, 48, 480), 214748365);   // 214748364.7
  EXPECT_EQ(ScaleBetween(INT_MIN, 48, 480), -214748365);  // -214748364.8
  EXPECT_EQ(ScaleBetween(INT_MAX - 1, 96, 192), 1073741823);  // 1073741823 exactly
  EXPECT_EQ(ScaleBetween(1, 48, 480), 1);                     // 0.1: never below 1
  EXPECT_EQ(ScaleBetween(-1, 48, 480), -1);
  EXPECT_EQ(ScaleBetween(0, 480, 48), 0);
  // Unusable densities leave the value alone.
  EXPECT_EQ(ScaleBetween(123, 0, 96), 123);
  EXPECT_EQ(ScaleBetween(123, 96, -5), 123);
}

TEST(PixelScale, DensityText) {
  EXPECT_EQ(ParsePixelsPerInch("96"), 96);
  EXPECT_EQ(ParsePixelsPerInch(" 144\t"), 144);
  EXPECT_EQ(ParsePixelsPerInch("120.5"), 121);
  EXPECT_EQ(ParsePixelsPerInch("120.49"), 120);
  EXPECT_EQ(ParsePixelsPerInch("192."), 192);
  EXPECT_EQ(ParsePixelsPerInch("0"), 0);  // a number, refused later by the range
  for (const char* bad : {"", " ", "-96", "+96", "96dpi", "9 6", ".5", "0x60", "abc", "1e3", "99999999999999999999"})
    EXPECT_FALSE(ParsePixelsPerInch(bad).has_value()) << bad;
}

TEST(PixelScale, ResourceDatabase) {
  const std::string db =
      "Xcursor.size:\t24\n"
      "! a comment: Xft.dpi: 300\n"
      "Xft.antialias:\t1\n"
      "Xft.dpi:\t144\n"
      "garbage without colon\n"
      "  Xft.dpi :  192  \n"  // the last one wins, blanks around
      "*Xft.dpi:\t72\n";
  EXPECT_EQ(FindResourceValue(db, "Xft.dpi"), "192");
  EXPECT_EQ(FindResourceValue("Xft.dpi:\t120", "Xft.dpi"), "120");  // no final line end
  EXPECT_FALSE(FindResourceValue("Xft.dpix:\t120\nXXft.dpi: 3\n", "Xft.dpi").has_value());
  EXPECT_FALSE(FindResourceValue("", "Xft.dpi").has_value());
  // A huge database with the value at its end.
  std::string huge(1 << 20, 'x');
  using namespace std::string_literals;
  huge += "\n\n\0\n:::\nXft.dpi: 168\n"s;
  EXPECT_EQ(FindResourceValue(huge, "Xft.dpi"), "168");
}

TEST(PixelScale, ScreenDensityChoice) {
  // Neither: 96, silently.
  TPixelsPerInchChoice c = ChooseScreenPixelsPerInch(std::nullopt, std::nullopt);
  EXPECT_EQ(c.PixelsPerInch, 96);
  EXPECT_EQ(c.Warning, "");
  c = ChooseScreenPixelsPerInch(std::nullopt, "Xft.antialias: 1\n");
  EXPECT_EQ(c.PixelsPerInch, 96);
  EXPECT_EQ(c.Warning, "");
  // The resource; the option overrides it.
  EXPECT_EQ(ChooseScreenPixelsPerInch(std::nullopt, "Xft.dpi: 192\n").PixelsPerInch, 192);
  EXPECT_EQ(ChooseScreenPixelsPerInch("144", "Xft.dpi: 192\n").PixelsPerInch, 144);
  EXPECT_EQ(ChooseScreenPixelsPerInch("48", std::nullopt).PixelsPerInch, 48);
  EXPECT_EQ(ChooseScreenPixelsPerInch("480", std::nullopt).PixelsPerInch, 480);
  // Out of range or not a number: 96 and one line that says where the value came from.
  for (const char* bad : {"47", "481", "0", "-1", "2147483648", "huge", ""}) {
    c = ChooseScreenPixelsPerInch(bad, "Xft.dpi: 192\n");
    EXPECT_EQ(c.PixelsPerInch, 96) << bad;
    EXPECT_NE(c.Warning.find("--dpi"), std::string::npos) << bad;
    EXPECT_EQ(c.Warning.find('\n'), std::string::npos) << bad;
  }
  c = ChooseScreenPixelsPerInch(std::nullopt, "Xft.dpi: nonsense\x01\x7f\n");
  EXPECT_EQ(c.PixelsPerInch, 96);
  EXPECT_NE(c.Warning.find("Xft.dpi \"nonsense??\""), std::string::npos) << c.Warning;
  // A long value is cut in the message.
  c = ChooseScreenPixelsPerInch(std::string(10000, '9'), std::nullopt);
  EXPECT_EQ(c.PixelsPerInch, 96);
  EXPECT_LT(c.Warning.size(), 150u);
}

}  // namespace
}  // namespace varnel
