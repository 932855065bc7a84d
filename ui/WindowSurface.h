// TWindowSurface: the picture of one child window and the image the display server reads it
// from. The component draws into Bitmap(); where the server can read our memory directly (a
// shared-memory image), the bitmap's pixels live in that image, so putting the picture on the
// screen copies nothing. The image is made through a factory the window adapter supplies, so this
// logic runs without a display.
//
// The one rule that matters: the image that is put is always the memory the bitmap draws into.
// A picture of a new size is made straight in an image: the one it had, when that holds the new
// size, else a new one. A window resized again and again then costs neither new server memory
// nor a copy of the picture each time. An image more than twice the picture's size is given back
// by Trim(), which the window calls once its size has stayed a while: a window made small again
// holds only a small image.
//
//   TWindowSurface s([](int w, int h) { return MakeShmImage(w, h); });
//   s.SetSize(332, 190);  Paint(s.Bitmap());  if (TServerImage* img = s.ImageForPut()) Put(img);
//   ... the size has not changed for a while:  s.Trim();
#pragma once
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/canvas/Bitmap.h"

namespace varnel {

// The size of a surface's picture.
struct TSurfaceSize {
  int Width = 0, Height = 0;
  bool operator==(const TSurfaceSize&) const = default;
};

// No picture is wider or taller than this, whatever the monitors (256 MB at the most).
inline constexpr int MaxSurfaceSide = 8192;

// The picture of a child window of width x height whose client area lies `edge` pixels inside
// each side: the client area, but in each direction no larger than the largest monitor (its
// widest width, its tallest height) and than MaxSurfaceSide. Any X client can make our window
// far larger than a screen; what lies beyond the picture shows the window's background. Sizes
// that leave no client area give an empty picture; a monitor size below 1 (unknown) bounds
// nothing. Any ints, overflow-free.
TSurfaceSize BoundedSurfaceSize(int width, int height, int edge, TSurfaceSize largestMonitor);

// Pixel memory the display server reads: Width() x Height() words in the bitmap's layout.
class TServerImage {
 public:
  virtual ~TServerImage() = default;
  virtual std::uint32_t* Pixels() = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // The words of pixel memory the image holds, and its change to w x h within them (false where
  // the image cannot change its size).
  virtual std::size_t Capacity() const { return static_cast<std::size_t>(Width()) * static_cast<std::size_t>(Height()); }
  virtual bool Reshape(int /*w*/, int /*h*/) { return false; }
};

class TWindowSurface {
 public:
  // Makes an image of w x h, or nullptr when the server shares no memory with us.
  using TImageFactory = std::function<std::unique_ptr<TServerImage>(int w, int h)>;

  explicit TWindowSurface(TImageFactory factory);
  ~TWindowSurface();
  TWindowSurface(const TWindowSurface&) = delete;
  TWindowSurface& operator=(const TWindowSurface&) = delete;

  // The picture, at the size set last (a new size gets its memory here, white: in an image where
  // the factory gives one).
  TBitmap& Bitmap();
  // The size set last, whether or not the picture has its memory yet.
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Sizes the picture (negative sizes give an empty one); the same size keeps memory and picture.
  // The memory of a new size is taken only when the picture is next asked for: a window resized
  // a thousand times between two paints sizes its picture once.
  void SetSize(int width, int height);
  // The server image that holds the picture, made on first use and after a change of size; nullptr
  // when the picture is empty or no image can be had (then the caller sends the bitmap's pixels).
  // Once the factory fails, plain pixels are used from then on.
  TServerImage* ImageForPut();
  // Whether an image of `capacity` words can hold a picture of `words`.
  static bool Reusable(std::size_t capacity, std::size_t words) { return words > 0 && words <= capacity; }
  // Gives back an image of more than twice the words the picture needs; the picture moves into
  // memory of its own size (an image of that size at the next put). True when it did.
  bool Trim();
  // Ends the image: the bitmap keeps the picture in memory of its own.
  void Release();
  bool HasImage() const { return FImage != nullptr; }

 private:
  TImageFactory FFactory;
  TBitmap FBitmap;
  int FWidth = 0, FHeight = 0;
  std::unique_ptr<TServerImage> FImage;
  bool FNoImage = false;
};

}  // namespace varnel
