// TWindowSurface: the picture of one child window and the image the display server reads it
// from. The component draws into Bitmap(); where the server can read our memory directly (a
// shared-memory image), the bitmap's pixels live in that image, so putting the picture on the
// screen copies nothing. The image is made through a factory the window adapter supplies, so this
// logic runs without a display.
//
// The one rule that matters: the image that is put is always the memory the bitmap draws into.
// A change of size gives the bitmap memory of its own again, and the image of the old size goes
// with it; the next put makes an image of the new size and moves the picture into it.
//
//   TWindowSurface s([](int w, int h) { return MakeShmImage(w, h); });
//   s.SetSize(332, 190);  Paint(s.Bitmap());  if (TServerImage* img = s.ImageForPut()) Put(img);
#pragma once
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/canvas/Bitmap.h"

namespace varnel {

// Pixel memory the display server reads: Width() x Height() words in the bitmap's layout.
class TServerImage {
 public:
  virtual ~TServerImage() = default;
  virtual std::uint32_t* Pixels() = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
};

class TWindowSurface {
 public:
  // Makes an image of w x h, or nullptr when the server shares no memory with us.
  using TImageFactory = std::function<std::unique_ptr<TServerImage>(int w, int h)>;

  explicit TWindowSurface(TImageFactory factory);
  ~TWindowSurface();
  TWindowSurface(const TWindowSurface&) = delete;
  TWindowSurface& operator=(const TWindowSurface&) = delete;

  TBitmap& Bitmap() { return FBitmap; }
  const TBitmap& Bitmap() const { return FBitmap; }
  // Sizes the picture (negative sizes give an empty one); the same size keeps memory and picture.
  void SetSize(int width, int height);
  // The server image that holds the picture, made on first use and after a change of size; nullptr
  // when the picture is empty or no image can be had (then the caller sends the bitmap's pixels).
  // Once the factory fails, plain pixels are used from then on.
  TServerImage* ImageForPut();
  // Ends the image: the bitmap keeps the picture in memory of its own.
  void Release();
  bool HasImage() const { return FImage != nullptr; }

 private:
  TImageFactory FFactory;
  TBitmap FBitmap;
  std::unique_ptr<TServerImage> FImage;
  bool FNoImage = false;
};

}  // namespace varnel
