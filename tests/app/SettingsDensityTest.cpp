// Position and size kept from screen to screen: a save writes the screen's density
// (PixelsPerInch); at start-up a stored density that differs from the screen's scales the stored
// Left, Top, Width and Height by screen / stored. A file without the key, or with a value that
// is not a density, was written at 96.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "tests/app/FormTestSupport.h"

namespace varnel {
namespace {

using test::FormFixture;

struct TBounds {
  int Left, Top, Width, Height;
  bool operator==(const TBounds&) const = default;
};

TBounds StartAt(int screen, const std::string& ini) {
  FormFixture f;
  f.Ws.SetPixelsPerInch(screen);
  f.WriteIni(ini);
  f.Start();
  const THeadlessFrame& fr = f.Ws.Frame;
  return {fr.Left(), fr.Top(), fr.Width(), fr.Height()};
}

TEST(SettingsDensity, FourCasesOfStoredAgainstScreen) {
  const std::string geometry = "Left=100\nTop=-7\nWidth=333\nHeight=190\n";
  // No key: written at 96. On a 96 screen as today; on 192 twice as big.
  EXPECT_EQ(StartAt(96, geometry), (TBounds{100, -7, 333, 190}));
  EXPECT_EQ(StartAt(192, geometry), (TBounds{200, -14, 666, 380}));
  // The same density: as stored.
  EXPECT_EQ(StartAt(144, geometry + "PixelsPerInch=144\n"), (TBounds{100, -7, 333, 190}));
  // Stored smaller than the screen: grows (333 * 144 / 120 = 399.6, -7 * 1.2 = -8.4).
  EXPECT_EQ(StartAt(144, geometry + "PixelsPerInch=120\n"), (TBounds{120, -8, 400, 228}));
  // Stored larger than the screen: shrinks (333 / 2 = 166.5 rounds away from zero, -3.5 too).
  EXPECT_EQ(StartAt(96, geometry + "PixelsPerInch=192\n"), (TBounds{50, -4, 167, 95}));
}

TEST(SettingsDensity, AKeyTheFileLacksIsTheDefaultAt96WhateverTheFilesDensity) {
  // A file saved at 192 without the geometry (written by hand, or shipped beside the program):
  // the default window, 332 x 190 at 96, is 664 x 380 on a 192 screen, not 332 x 190.
  EXPECT_EQ(StartAt(192, "PixelsPerInch=192\n"), (TBounds{792, 14, 664, 380}));
  // Each key on its own: the stored width halves on a 96 screen, the missing keys stay the
  // defaults; on 144 a key that is not a number is the default (396 * 1.5) and a stored one
  // scales by 144 / 192 (20 * 0.75).
  EXPECT_EQ(StartAt(96, "Width=400\nPixelsPerInch=192\n"), (TBounds{396, 7, 200, 190}));
  EXPECT_EQ(StartAt(144, "Left=abc\nTop=20\nPixelsPerInch=192\n"), (TBounds{594, 15, 498, 285}));
}

TEST(SettingsDensity, EndsOfIntDoNotOverflow) {
  const std::string extreme = "Left=2147483647\nTop=-2147483648\nWidth=2147483647\nHeight=-2147483648\n";
  EXPECT_EQ(StartAt(480, extreme + "PixelsPerInch=48\n"), (TBounds{INT_MAX, INT_MIN, INT_MAX, INT_MIN}));
  EXPECT_EQ(StartAt(48, extreme + "PixelsPerInch=480\n"), (TBounds{214748365, -214748365, 214748365, -214748365}));
  EXPECT_EQ(StartAt(96, extreme), (TBounds{INT_MAX, INT_MIN, INT_MAX, INT_MIN}));
  // A tiny size never scales to nothing.
  EXPECT_EQ(StartAt(48, "Left=0\nTop=1\nWidth=1\nHeight=-1\nPixelsPerInch=480\n"), (TBounds{0, 1, 1, -1}));
}

TEST(SettingsDensity, StoredValuesThatAreNoDensityCountAs96) {
  const std::string geometry = "Left=10\nTop=20\nWidth=300\nHeight=200\n";
  for (const char* bad : {"0", "-96", "2147483647", "99999999999999", "abc", "96px", "", "47", "481"}) {
    EXPECT_EQ(StartAt(192, geometry + "PixelsPerInch=" + bad + "\n"), (TBounds{20, 40, 600, 400})) << bad;
  }
}

TEST(SettingsDensity, SaveWritesTheScreensDensityAndTheWindowAsItIs) {
  FormFixture f;
  f.Ws.SetPixelsPerInch(192);
  TForm1& form = f.Start();  // no file: the defaults at 96, scaled
  EXPECT_EQ(f.Ws.Frame.Width(), 664);
  EXPECT_EQ(f.Ws.Frame.Height(), 380);
  f.Choose(form.Legend1);
  EXPECT_EQ(f.Ini("Width"), "664");
  EXPECT_EQ(f.Ini("Left"), "792");
  EXPECT_EQ(f.Ini("PixelsPerInch"), "192");
  // Read back on the same screen: unchanged; on a 96 screen: half.
  EXPECT_EQ(StartAt(192, f.IniText().substr(9)), (TBounds{792, 14, 664, 380}));
  EXPECT_EQ(StartAt(96, f.IniText().substr(9)), (TBounds{396, 7, 332, 190}));
}

}  // namespace
}  // namespace varnel
