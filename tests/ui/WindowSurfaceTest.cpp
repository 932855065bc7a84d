// TWindowSurface: the image put on the screen is always the memory the picture is drawn into,
// whatever sizes the window went through while the view was hidden.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/canvas/Bitmap.h"
#include "ui/WindowSurface.h"

namespace varnel {
namespace {

// An image in memory of our own, as the server would read it.
class TFakeImage : public TServerImage {
 public:
  TFakeImage(int w, int h) : FW(w), FH(h), FPixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0xDEAD) {}
  std::uint32_t* Pixels() override { return FPixels.data(); }
  int Width() const override { return FW; }
  int Height() const override { return FH; }

 private:
  int FW, FH;
  std::vector<std::uint32_t> FPixels;
};

struct Factory {
  int Made = 0;
  bool Fail = false;
  TWindowSurface::TImageFactory Make() {
    return [this](int w, int h) -> std::unique_ptr<TServerImage> {
      if (Fail) return nullptr;
      ++Made;
      return std::make_unique<TFakeImage>(w, h);
    };
  }
};

void Paint(TBitmap& b, std::uint32_t word) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) b.ScanLine(y)[x] = word;
}

// Every pixel of the put image is `word`.
::testing::AssertionResult Shows(TServerImage* img, std::uint32_t word) {
  if (!img) return ::testing::AssertionFailure() << "no image";
  for (int i = 0; i < img->Width() * img->Height(); ++i)
    if (img->Pixels()[i] != word)
      return ::testing::AssertionFailure() << "pixel " << i << " is " << std::hex << img->Pixels()[i];
  return ::testing::AssertionSuccess();
}

// The view is shown at 300 x 200, then hidden while the window goes through the sizes, then shown
// again, painted and put: the screen must show the new picture (before, an even number of round
// trips back to the first size put the old image, never drawn into again: a frozen view).
TEST(WindowSurface, ShowsTheNewPictureAfterSizesWhileHidden) {
  const std::vector<std::vector<std::pair<int, int>>> paths = {
      {},
      {{500, 400}},
      {{500, 400}, {300, 200}},
      {{500, 400}, {300, 200}, {500, 400}, {300, 200}},
      {{0, 0}, {300, 200}},
      {{300, 200}},
  };
  for (const auto& path : paths) {
    Factory f;
    TWindowSurface s(f.Make());
    s.SetSize(300, 200);
    Paint(s.Bitmap(), 1);
    ASSERT_TRUE(Shows(s.ImageForPut(), 1));
    for (auto [w, h] : path) s.SetSize(w, h);
    Paint(s.Bitmap(), 2);
    EXPECT_TRUE(Shows(s.ImageForPut(), 2)) << "after " << path.size() << " sizes";
    // Drawing after the put goes on into the image that is put.
    Paint(s.Bitmap(), 3);
    EXPECT_TRUE(Shows(s.ImageForPut(), 3)) << "after " << path.size() << " sizes";
  }
}

TEST(WindowSurface, KeepsTheImageAtTheSameSizeAndFallsBackWithoutOne) {
  Factory f;
  TWindowSurface s(f.Make());
  s.SetSize(40, 30);
  EXPECT_EQ(s.ImageForPut(), s.ImageForPut());
  s.SetSize(40, 30);
  s.ImageForPut();
  EXPECT_EQ(f.Made, 1);  // no new image for a size that did not change

  // The picture survives the end of the image.
  Paint(s.Bitmap(), 7);
  s.Release();
  EXPECT_FALSE(s.HasImage());
  EXPECT_EQ(s.Bitmap().PixelWord(39, 29), 7u);

  // No image can be had: plain pixels from then on, and the picture is still drawn.
  Factory none;
  none.Fail = true;
  TWindowSurface plain(none.Make());
  plain.SetSize(10, 10);
  EXPECT_EQ(plain.ImageForPut(), nullptr);
  Paint(plain.Bitmap(), 5);
  EXPECT_EQ(plain.Bitmap().PixelWord(9, 9), 5u);
  none.Fail = false;
  plain.SetSize(20, 20);
  EXPECT_EQ(plain.ImageForPut(), nullptr);
  EXPECT_EQ(none.Made, 0);

  // An empty picture puts nothing.
  TWindowSurface empty(f.Make());
  empty.SetSize(0, 5);
  EXPECT_EQ(empty.ImageForPut(), nullptr);
}

}  // namespace
}  // namespace varnel
