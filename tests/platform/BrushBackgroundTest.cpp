// The background mode follows every setting of the canvas brush, also with an unchanged value:
// drawing code that asks for a clear brush gets transparent text even after an explicit opaque
// background.
#include <gtest/gtest.h>

#include "platform/canvas/Bitmap.h"
#include "platform/canvas/Canvas.h"

namespace varnel {
namespace {

TEST(BrushBackground, EverySetOfTheBrushReappliesTheBackgroundRule) {
  TBitmap bmp(4, 4);
  TCanvas& c = bmp.Canvas();
  c.Brush().SetColor(clRed);  // solid: opaque in the brush colour
  EXPECT_EQ(c.BkMode(), OPAQUE);
  EXPECT_EQ(c.BkColor(), clRed);

  c.Brush().SetStyle(bsClear);
  EXPECT_EQ(c.BkMode(), TRANSPARENT);
  c.SetBkMode(OPAQUE);  // explicit: holds until the brush is set again
  c.SetBkColor(clLightYellow);
  EXPECT_EQ(c.BkMode(), OPAQUE);

  c.Brush().SetColor(clRed);  // same colour, same clear style: still re-selected
  EXPECT_EQ(c.BkMode(), TRANSPARENT);

  c.SetBkMode(OPAQUE);
  TBrush clear;
  clear.SetStyle(bsClear);
  clear.SetColor(clRed);
  c.Brush().Assign(clear);  // equal values
  EXPECT_EQ(c.BkMode(), TRANSPARENT);
}

TEST(BrushBackground, PropertyBrushesNotifyOnlyOnChange) {
  TBrush b;
  int changes = 0, sets = 0;
  b.OnChange = [&] { ++changes; };
  b.OnSet = [&] { ++sets; };
  b.SetColor(clWhite);
  b.SetStyle(bsSolid);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(sets, 2);
  b.SetColor(clBlue);
  EXPECT_EQ(changes, 1);
}

}  // namespace
}  // namespace varnel
