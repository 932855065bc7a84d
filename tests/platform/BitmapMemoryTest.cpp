// A bitmap drawing into memory it was given (the program's window surface is an image shared
// with the display server): the picture moves there and back intact, drawing lands there, and
// neither a change of size, a copy nor a move leaves a bitmap pointing at memory it should not;
// nor loses a fill the canvas left for later.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/canvas/Bitmap.h"
#include "platform/canvas/Canvas.h"

namespace varnel {
namespace {

TEST(BitmapMemory, AttachedMemoryHoldsThePictureAndTheDrawing) {
  TBitmap bmp(4, 3);
  bmp.Canvas().SetPixel(1, 1, clRed);
  std::vector<std::uint32_t> shared(12, 0);
  EXPECT_EQ(bmp.OwnBytes(), 12 * sizeof(std::uint32_t));
  bmp.AttachPixels(shared.data());
  ASSERT_TRUE(bmp.PixelsAttached());
  EXPECT_EQ(bmp.Data(), shared.data());
  EXPECT_EQ(bmp.OwnBytes(), 0u);  // its own memory is given back, not kept beside the shared one
  EXPECT_EQ(bmp.Pixel(1, 1), clRed);
  EXPECT_EQ(bmp.Pixel(0, 0), clWhite);
  // Drawing goes into the memory.
  bmp.Canvas().Brush().SetColor(clBlue);
  bmp.Canvas().FillRect(Rect(2, 0, 4, 1));
  EXPECT_EQ(shared[2], 0x000000FFu);
  // A copy is a picture of its own; a move takes the memory along.
  TBitmap copy(bmp);
  EXPECT_FALSE(copy.PixelsAttached());
  EXPECT_NE(copy.Data(), shared.data());
  EXPECT_EQ(copy.Pixel(1, 1), clRed);
  TBitmap moved(std::move(bmp));
  EXPECT_TRUE(moved.PixelsAttached());
  EXPECT_EQ(moved.Data(), shared.data());
  EXPECT_TRUE(bmp.Empty());
  // Detaching copies the picture back; the memory is no longer touched.
  moved.DetachPixels();
  EXPECT_FALSE(moved.PixelsAttached());
  EXPECT_EQ(moved.OwnBytes(), 12 * sizeof(std::uint32_t));
  moved.Canvas().SetPixel(0, 0, clGreen);
  EXPECT_EQ(shared[0], 0x00FFFFFFu);
  EXPECT_EQ(moved.Pixel(1, 1), clRed);
  EXPECT_EQ(moved.Pixel(2, 0), clBlue);
}

TEST(BitmapMemory, ANewSizeEndsTheAttachment) {
  TBitmap bmp(2, 2);
  std::vector<std::uint32_t> shared(4, 0);
  bmp.AttachPixels(shared.data());
  bmp.SetSize(2, 2);  // the same size keeps it
  EXPECT_TRUE(bmp.PixelsAttached());
  bmp.SetSize(3, 2);
  EXPECT_FALSE(bmp.PixelsAttached());
  EXPECT_NE(bmp.Data(), shared.data());
  bmp.Canvas().Brush().SetColor(clBlack);
  bmp.Canvas().FillRect(Rect(0, 0, 3, 2));
  EXPECT_EQ(shared, std::vector<std::uint32_t>(4, 0x00FFFFFFu));
  EXPECT_EQ(bmp.Pixel(2, 1), clBlack);
}

// A large plain fill is written only when the pixels are next needed: whatever reads or moves
// the picture sees it, in order with the drawing before and after it.
TEST(BitmapMemory, AFillLeftForLaterIsSeenByEveryReader) {
  const auto filled = [](TColor first, TColor second) {
    TBitmap bmp(300, 120);
    bmp.Canvas().Brush().SetColor(first);
    bmp.Canvas().FillRect(Rect(0, 0, 300, 120));
    bmp.Canvas().Brush().SetColor(second);
    bmp.Canvas().FillRect(Rect(0, 60, 300, 120));  // the second over the lower half
    return bmp;
  };
  TBitmap bmp = filled(clRed, clBlue);
  EXPECT_EQ(bmp.ScanLine(59)[299], 0x00FF0000u);
  EXPECT_EQ(bmp.PixelWord(0, 60), 0x000000FFu);
  TBitmap other = filled(clGreen, clRed);
  TBitmap copy(other);
  EXPECT_EQ(copy.Pixel(10, 10), clGreen);
  EXPECT_EQ(copy.Pixel(10, 100), clRed);
  TBitmap moved(filled(clGreen, clBlue));
  EXPECT_EQ(moved.Pixel(299, 0), clGreen);
  EXPECT_EQ(moved.Pixel(299, 119), clBlue);
  TBitmap assigned;
  assigned = filled(clBlue, clGreen);
  EXPECT_EQ(assigned.Pixel(0, 0), clBlue);
  // Into shared memory and back.
  TBitmap shown = filled(clRed, clGreen);
  std::vector<std::uint32_t> shared(300 * 120, 0);
  shown.AttachPixels(shared.data());
  EXPECT_EQ(shared[0], 0x00FF0000u);
  EXPECT_EQ(shared[300 * 120 - 1], 0x00008000u);  // clGreen is half green
  shown.Canvas().Brush().SetColor(clBlue);
  shown.Canvas().FillRect(Rect(0, 0, 300, 120));
  EXPECT_EQ(shown.Data(), shared.data());
  EXPECT_EQ(shared[5 * 300 + 5], 0x000000FFu);
  shown.Canvas().FillRect(Rect(0, 0, 300, 120));
  shown.DetachPixels();
  EXPECT_EQ(shown.Pixel(3, 3), clBlue);
  // A new size is a new white picture; the same size keeps the fill.
  TBitmap resized = filled(clRed, clBlue);
  resized.SetSize(300, 120);
  EXPECT_EQ(resized.Pixel(0, 0), clRed);
  resized.Canvas().FillRect(Rect(0, 0, 300, 120));
  resized.SetSize(301, 120);
  EXPECT_EQ(resized.Pixel(0, 0), clWhite);
  // A small drawing after the fill lands on it, not under it.
  TBitmap drawn = filled(clRed, clBlue);
  drawn.Canvas().SetPixel(7, 7, clGreen);
  drawn.Canvas().Pen().SetColor(clBlack);
  drawn.Canvas().MoveTo(0, 70);
  drawn.Canvas().LineTo(300, 70);
  EXPECT_EQ(drawn.Pixel(7, 7), clGreen);
  EXPECT_EQ(drawn.Pixel(6, 7), clRed);
  EXPECT_EQ(drawn.Pixel(100, 70), clBlack);
  EXPECT_EQ(drawn.Pixel(100, 71), clBlue);
}

}  // namespace
}  // namespace varnel
