// A bitmap drawing into memory it was given (the program's window surface is an image shared
// with the display server): the picture moves there and back intact, drawing lands there, and
// neither a change of size, a copy nor a move leaves a bitmap pointing at memory it should not.
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

}  // namespace
}  // namespace varnel
