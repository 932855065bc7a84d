// Rounding helpers, number formats and integer text.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "base/Color.h"
#include "base/Exceptions.h"
#include "base/Messages.h"
#include "base/Numbers.h"
#include "base/Text.h"

namespace varnel {
namespace {

TEST(Numbers, RoundHalvesToEvenAndTruncTowardZero) {
  EXPECT_EQ(Round(0.5), 0);
  EXPECT_EQ(Round(1.5), 2);
  EXPECT_EQ(Round(2.5), 2);
  EXPECT_EQ(Round(-2.5), -2);
  EXPECT_EQ(Round(-3.5), -4);
  EXPECT_EQ(Round(2.4999), 2);
  EXPECT_EQ(Trunc(-2.7), -2);
  EXPECT_EQ(Trunc(2.7), 2);
  EXPECT_DOUBLE_EQ(Frac(-2.75), -0.75);
  EXPECT_EQ(RoundInt(1e300), 2147483647);
  EXPECT_EQ(RoundInt(std::nan("")), 0);
}

TEST(Numbers, MulDivRoundsHalvesAwayFromZero) {
  struct Case { int a, b, c, r; };
  const Case cases[] = {{9, 96, 72, 12}, {10, 96, 72, 13}, {8, 96, 72, 11}, {11, 96, 72, 15}, {7, 96, 72, 9},
                        {1, 1, 2, 1},    {-1, 1, 2, -1},   {3, 1, 2, 2},    {-3, 1, 2, -2},   {7, 1, -2, -4},
                        {-5, 1, -2, 3},  {5, -1, -2, 3},   {2, 1, 3, 1},    {1, 1, 3, 0},     {-2, 1, 3, -1},
                        {0, -5, 2, 0},   {5, 3, 0, -1},    {2147483647, 2, 1, -1}};
  for (const auto& c : cases) EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.r) << c.a << "," << c.b << "," << c.c;
  EXPECT_EQ(MulDiv(-2147483647 - 1, 1, 1), -1);  // below -2147483647 overflows
}

TEST(FormatFloat, PatternsInUse) {
  EXPECT_EQ(FormatFloat("###0", 7), "7");
  EXPECT_EQ(FormatFloat("###0", 0), "0");
  EXPECT_EQ(FormatFloat("###0", 100), "100");
  EXPECT_EQ(FormatFloat("###0", 12345), "12345");  // more digits than placeholders
  EXPECT_EQ(FormatFloat("###0", 36.5), "37");      // halves away from zero
  EXPECT_EQ(FormatFloat("###0", -4.5), "-5");
  EXPECT_EQ(FormatFloat("CPU ###0", 37), "CPU 37");
  EXPECT_EQ(FormatFloat("#,##0.###", 1234.5), "1,234.5");
  EXPECT_EQ(FormatFloat("#,##0.###", 0.25), "0.25");
  EXPECT_EQ(FormatFloat("#,##0.###", -1234567.0005), "-1,234,567.001");
  EXPECT_EQ(FormatFloat("#,##0.###", 1000000), "1,000,000");
  EXPECT_EQ(FormatFloat("##0.## %", 12.5), "12.5 %");
  EXPECT_EQ(FormatFloat("##0.## %", 100), "100 %");
}

TEST(FormatFloat, PlaceholdersSectionsAndOddInput) {
  EXPECT_EQ(FormatFloat("0.00", 5), "5.00");
  EXPECT_EQ(FormatFloat("0.##", 5), "5");
  EXPECT_EQ(FormatFloat("000", 7), "007");
  EXPECT_EQ(FormatFloat("#", 0), "");
  EXPECT_EQ(FormatFloat("0.0", 0.96), "1.0");
  EXPECT_EQ(FormatFloat("0.0", 9.96), "10.0");
  EXPECT_EQ(FormatFloat("0", -0.4), "0");  // rounds to zero: no minus sign
  EXPECT_EQ(FormatFloat("0.#", 0.05), "0.1");
  EXPECT_EQ(FormatFloat("0;(0);zero", -3), "(3)");
  EXPECT_EQ(FormatFloat("0;(0);zero", 0), "zero");
  EXPECT_EQ(FormatFloat("'#'0", 4), "#4");
  EXPECT_EQ(FormatFloat("0", std::nan("")), "NAN");
  EXPECT_FALSE(FormatFloat("#,##0.###", 1e300).empty());
  EXPECT_FALSE(FormatFloat("0.############################", 1e-300).empty());
}

// Patterns with no placeholder before the point still write every integer digit, where the
// point stands (cases recorded by other test suites of the same function).
TEST(FormatFloat, IntegerDigitsWithoutPlaceholdersBeforeThePoint) {
  EXPECT_EQ(FormatFloat(".00", 1.23456), "1.23");
  EXPECT_EQ(FormatFloat(".00", 1123.4567), "1123.46");
  EXPECT_EQ(FormatFloat(".00", -1.23456), "-1.23");
  EXPECT_EQ(FormatFloat(".00", -1123.4567), "-1123.46");
  EXPECT_EQ(FormatFloat(".#", 37), "37");
  EXPECT_EQ(FormatFloat("CPU .0", 12.5), "CPU 12.5");
  // Rounding carries into the integer digits; a zero integer part has no "0" to show it.
  EXPECT_EQ(FormatFloat(".0", 9.96), "10.0");
  EXPECT_EQ(FormatFloat(".00", 0.5), ".50");
  EXPECT_EQ(FormatFloat(".00", -0.5), "-.50");
  EXPECT_EQ(FormatFloat(".#", 0.04), "");
  EXPECT_EQ(FormatFloat(",.00", 1234567.891), "1,234,567.89");
  // Each section on its own: the negative one, and the zero one after rounding.
  EXPECT_EQ(FormatFloat(".0;(.0)", -12.34), "(12.3)");
  EXPECT_EQ(FormatFloat(".0;(.0);none", 0.04), "none");
}

// A double is decided on its first 15 significant digits, rounded to nearest with ties to even
// (as the C library's "%.14e" rounds them); only then do the pattern's places round halves away
// from zero.
TEST(FormatFloat, FifteenSignificantDigitsAsTheCLibraryRoundsThem) {
  EXPECT_EQ(FormatFloat("0.000", 100000000000000.5), "100000000000000.000");  // a tie: to even
  EXPECT_EQ(FormatFloat("0.000", 100000000000001.5), "100000000000002.000");
  EXPECT_EQ(FormatFloat("0.000", -100000000000003.5), "-100000000000004.000");
  EXPECT_EQ(FormatFloat("0", 0.49999999999999994), "1");  // 15 digits make it a half first
  // Every value in [1, 10) shown with 14 decimals is the C library's 15-digit mantissa.
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> mantissa(1.0, 10.0);
  for (int i = 0; i < 20000; ++i) {
    double v = mantissa(random);
    if (i % 4 == 0) v = 1.0 + static_cast<double>(random() % 1000000000000000) * 1e-14 + 5e-15;  // near ties
    if (v >= 10.0) continue;
    char expected[64];
    std::snprintf(expected, sizeof expected, "%.14e", v);
    if (std::string(expected + 16) != "e+00") continue;  // rounded up to 10
    ASSERT_EQ(FormatFloat("0.00000000000000", v), std::string(expected, 16)) << std::hexfloat << v;
  }
}

TEST(IntegerText, AcceptsDecimalAndHex) {
  EXPECT_EQ(StrToInt("90"), 90);
  EXPECT_EQ(StrToInt("  90"), 90);
  EXPECT_EQ(StrToInt("-7"), -7);
  EXPECT_EQ(StrToInt("+7"), 7);
  EXPECT_EQ(StrToInt("$1E"), 30);
  EXPECT_EQ(StrToInt("$1e"), 30);
  EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
  EXPECT_EQ(StrToInt("$0000000010"), 16);
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
}

TEST(IntegerText, RejectsEverythingElseWithTheConversionMessage) {
  for (const char* bad : {"", " ", "90a", "9 0", "90 ", "+", "-", "$", "$G", "$100000000", "2147483648",
                          "-2147483649", "0x10", "1e3", "--1",
                          "123456789012345678901234567890123456789012345678901234567890"}) {
    EXPECT_FALSE(TryStrToInt(bad).has_value()) << bad;
  }
  try {
    StrToInt("90a");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'90a' is not a valid integer value");
  }
}

TEST(Messages, HolesAndReportText) {
  EXPECT_EQ(FormatMessage(msg::Chart3DPercent, {"1", "100"}), "3D effect percent must be between 1 and 100");
  EXPECT_EQ(FormatMessage(msg::AxisLabelSep, {}), "Labels Separation % must be greater than 0");
  EXPECT_EQ(ErrorReportText("Unable to write to /x/FENDUL.INI"), "Unable to write to /x/FENDUL.INI.");
  EXPECT_EQ(ErrorReportText("Done."), "Done.");
  EXPECT_EQ(ErrorReportText("50 %"), "50 %");  // '%' sorts before '.'
  EXPECT_EQ(ErrorReportText("(3)"), "(3)");
}

TEST(Colors, SystemColorsResolveThroughTheTable) {
  EXPECT_EQ(ColorToRGB(clBtnFace), 0xC0C0C0);
  EXPECT_EQ(ColorToRGB(clBtnShadow), 0x808080);
  EXPECT_EQ(ColorToRGB(clBtnHighlight), 0xFFFFFF);
  EXPECT_EQ(ColorToRGB(clRed), 0x0000FF);
  SetSystemColor(15, 0x123456);
  EXPECT_EQ(ColorToRGB(clBtnFace), 0x123456);
  ResetSystemColors();
  EXPECT_EQ(ColorToRGB(clBtnFace), 0xC0C0C0);
  EXPECT_EQ(ColorToPixel(0x0000FF), 0x00FF0000u);
  EXPECT_EQ(PixelToColor(0x00FF0000u), 0x0000FF);
}

}  // namespace
}  // namespace varnel
