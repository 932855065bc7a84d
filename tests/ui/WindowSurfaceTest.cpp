// TWindowSurface: the image put on the screen is always the memory the picture is drawn into,
// whatever sizes the window went through while the view was hidden; and the picture's size is
// bounded by the largest monitor and 8192 pixels, whatever size any client gives the window.
#include <gtest/gtest.h>

#include <climits>
#include <utility>
#include <vector>

#include "platform/canvas/Bitmap.h"
#include "ui/WindowSurface.h"

namespace varnel {
namespace {

// An image in memory of our own, as the server would read it; a reshapeable one takes any size
// its memory holds, as a shared-memory segment does.
class TFakeImage : public TServerImage {
 public:
  TFakeImage(int w, int h, bool reshapeable)
      : FW(w), FH(h), FReshapeable(reshapeable), FPixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0xDEAD) {}
  std::uint32_t* Pixels() override { return FPixels.data(); }
  int Width() const override { return FW; }
  int Height() const override { return FH; }
  std::size_t Capacity() const override { return FPixels.size(); }
  bool Reshape(int w, int h) override {
    if (!FReshapeable || static_cast<std::size_t>(w) * static_cast<std::size_t>(h) > FPixels.size()) return false;
    FW = w;
    FH = h;
    return true;
  }

 private:
  int FW, FH;
  bool FReshapeable;
  std::vector<std::uint32_t> FPixels;
};

struct Factory {
  int Made = 0;
  bool Fail = false;
  bool Reshapeable = false;
  TWindowSurface::TImageFactory Make() {
    return [this](int w, int h) -> std::unique_ptr<TServerImage> {
      if (Fail) return nullptr;
      ++Made;
      return std::make_unique<TFakeImage>(w, h, Reshapeable);
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
  for (const auto& path : paths)
    for (bool reshapeable : {false, true}) {
      Factory f;
      f.Reshapeable = reshapeable;
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

// An image that holds a new size is kept for it, however much larger: the picture of the new size
// is white and drawn straight into it. Otherwise a new image of the new size. Trim gives back an
// image of more than twice the picture's words, and the picture lives on in one of its size.
TEST(WindowSurface, KeepsAnImageThatHoldsTheNewSizeUntilTrimmed) {
  Factory f;
  f.Reshapeable = true;
  TWindowSurface s(f.Make());
  s.SetSize(300, 200);
  Paint(s.Bitmap(), 1);
  TServerImage* first = s.ImageForPut();
  ASSERT_TRUE(Shows(first, 1));
  const struct {
    int W, H;
    bool Kept;
  } steps[] = {
      {250, 200, true},    // 50,000 of 60,000 words
      {299, 100, true},    // less than half
      {299, 100, true},    // the same size: the picture too is kept
      {1, 1, true},        // one word
      {130, 230, true},    // 29,900 words, another shape
      {300, 200, true},    // the first size again
      {301, 200, false},   // more than the image holds
      {0, 0, false},       // hidden: no image at all
      {300, 200, false},
  };
  int made = 1;
  for (const auto& step : steps) {
    TServerImage* before = s.HasImage() ? s.ImageForPut() : nullptr;
    const bool same = before && before->Width() == step.W && before->Height() == step.H;
    s.SetSize(step.W, step.H);
    if (step.W == 0) {
      EXPECT_FALSE(s.HasImage());
      continue;
    }
    EXPECT_TRUE(Shows(s.ImageForPut(), same ? 4 : 0x00FFFFFFu)) << step.W << " x " << step.H;  // new pictures are white
    Paint(s.Bitmap(), 4);
    TServerImage* img = s.ImageForPut();
    EXPECT_TRUE(Shows(img, 4)) << step.W << " x " << step.H;
    EXPECT_EQ(img->Width(), step.W);
    EXPECT_EQ(img->Height(), step.H);
    if (!step.Kept) ++made;
    EXPECT_EQ(f.Made, made) << step.W << " x " << step.H;
    if (step.Kept) {
      EXPECT_EQ(img, before) << step.W << " x " << step.H;
    }
  }

  // 60,000 words: at 30,000 the image is exactly twice the picture and stays; at 29,999 it goes,
  // and the picture is put from an image of its own size.
  EXPECT_FALSE(s.Trim());
  s.SetSize(300, 100);
  Paint(s.Bitmap(), 5);
  EXPECT_FALSE(s.Trim());
  EXPECT_EQ(s.ImageForPut()->Width(), 300);
  s.SetSize(29999, 1);
  Paint(s.Bitmap(), 6);
  EXPECT_TRUE(s.Trim());
  EXPECT_FALSE(s.HasImage());
  EXPECT_EQ(s.Bitmap().PixelWord(29998, 0), 6u);  // drawing goes on between the trim and the put
  TServerImage* trimmed = s.ImageForPut();
  EXPECT_EQ(f.Made, made + 1);
  ASSERT_NE(trimmed, nullptr);
  EXPECT_EQ(trimmed->Capacity(), 29999u);
  EXPECT_TRUE(Shows(trimmed, 6));
  EXPECT_FALSE(s.Trim());
  // Without an image there is nothing to give back.
  s.Release();
  EXPECT_FALSE(s.Trim());
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

  // Many sizes between two puts: one image, of the last size, and a white picture of that size.
  Factory storm;
  TWindowSurface resized(storm.Make());
  resized.SetSize(30, 20);
  Paint(resized.Bitmap(), 9);
  ASSERT_TRUE(Shows(resized.ImageForPut(), 9));
  for (int i = 1; i <= 1000; ++i) resized.SetSize(i % 97, 8192 - i);
  resized.SetSize(64, 48);
  EXPECT_EQ(resized.Width(), 64);
  EXPECT_EQ(resized.Height(), 48);
  TServerImage* img = resized.ImageForPut();
  ASSERT_NE(img, nullptr);
  EXPECT_EQ(img->Width(), 64);
  EXPECT_EQ(img->Height(), 48);
  EXPECT_EQ(storm.Made, 2);
  EXPECT_TRUE(Shows(img, 0x00FFFFFFu));

  // An empty picture puts nothing.
  TWindowSurface empty(f.Make());
  empty.SetSize(0, 5);
  EXPECT_EQ(empty.ImageForPut(), nullptr);
}

struct TBoundCase {
  int W, H, Edge;
  TSurfaceSize Monitor, Expected;
};

TEST(WindowSurface, PictureIsTheClientAreaWithinTheLargestMonitorAndTheLimit) {
  const TBoundCase cases[] = {
      // Within the bounds: the client area inside the edges.
      {332, 190, 0, {1024, 768}, {332, 190}},
      {332, 190, 2, {1024, 768}, {328, 186}},
      {1028, 772, 2, {1024, 768}, {1024, 768}},  // exactly the monitor
      // Beyond the monitor: the monitor's size, each direction on its own.
      {1029, 773, 2, {1024, 768}, {1024, 768}},
      {34464, 34464, 2, {1024, 768}, {1024, 768}},  // what the server gives "100000"
      {65535, 100, 0, {1920, 1080}, {1920, 100}},
      {100, 65535, 0, {1920, 1080}, {100, 1080}},
      // Monitors beyond the limit, or not known: 8192 at the most.
      {34464, 34464, 0, {16000, 9000}, {8192, 8192}},
      {9000, 9000, 0, {10240, 4320}, {8192, 4320}},
      {10000, 300, 0, {0, -5}, {8192, 300}},
      {8193, 8192, 0, {0, 0}, {8192, 8192}},
      // No client area: an empty picture.
      {4, 4, 2, {1024, 768}, {0, 0}},
      {5, 3, 2, {1024, 768}, {1, 0}},
      {0, 0, 0, {1024, 768}, {0, 0}},
      {-1, -300, 0, {1024, 768}, {0, 0}},
      // The ends of int, for the size, the edge and the monitor.
      {INT_MAX, INT_MAX, 2, {INT_MAX, INT_MAX}, {8192, 8192}},
      {INT_MIN, INT_MIN, 2, {1024, 768}, {0, 0}},
      {INT_MAX, 10, INT_MIN, {1920, 1080}, {1920, 1080}},  // a negative edge widens the client
      {500, 500, INT_MAX, {1920, 1080}, {0, 0}},
      {INT_MIN, INT_MAX, INT_MIN, {INT_MIN, INT_MAX}, {8192, 8192}},
  };
  for (const TBoundCase& c : cases) {
    EXPECT_EQ(BoundedSurfaceSize(c.W, c.H, c.Edge, c.Monitor), c.Expected)
        << c.W << " x " << c.H << ", edge " << c.Edge << ", monitor " << c.Monitor.Width << " x " << c.Monitor.Height;
  }

  // Every combination of extreme and ordinary values stays within 0..the bound in each direction.
  const int values[] = {INT_MIN, INT_MIN + 1, -65536, -1, 0, 1, 2, 3, 4, 767, 768, 8191, 8192, 8193,
                        34464, 65535, 65536, INT_MAX - 1, INT_MAX};
  for (int size : values)
    for (int edge : values)
      for (int monitor : values) {
        const TSurfaceSize s = BoundedSurfaceSize(size, size, edge, {monitor, 8000});
        const int limit = monitor >= 1 && monitor < 8192 ? monitor : 8192;
        ASSERT_GE(s.Width, 0);
        ASSERT_LE(s.Width, limit) << size << " " << edge << " " << monitor;
        ASSERT_LE(s.Height, 8000);
      }
}

}  // namespace
}  // namespace varnel
