// TBitmap: pixel storage and its canvas.
#include "platform/canvas/Bitmap.h"

#include <algorithm>

#include "base/Color.h"
#include "platform/canvas/Canvas.h"

namespace varnel {

TBitmap::TBitmap() = default;
TBitmap::TBitmap(int width, int height) { SetSize(width, height); }
TBitmap::~TBitmap() = default;

TBitmap::TBitmap(const TBitmap& other)
    : FWidth(other.FWidth), FHeight(other.FHeight), FPixels(other.FData, other.FData + other.Count()),
      FData(FPixels.data()), FMonochrome(other.FMonochrome) {}

TBitmap& TBitmap::operator=(const TBitmap& other) {
  if (this == &other) return *this;
  FPixels.assign(other.FData, other.FData + other.Count());
  FData = FPixels.data();
  FAttached = false;
  FMonochrome = other.FMonochrome;
  FWidth = other.FWidth;
  FHeight = other.FHeight;
  if (FCanvas) FCanvas->TargetResized();
  return *this;
}

TBitmap::TBitmap(TBitmap&& other) noexcept
    : FWidth(other.FWidth), FHeight(other.FHeight), FPixels(std::move(other.FPixels)), FData(other.FData),
      FAttached(other.FAttached), FMonochrome(other.FMonochrome) {
  other.FWidth = other.FHeight = 0;
  other.FPixels.clear();
  other.FData = other.FPixels.data();
  other.FAttached = false;
  if (other.FCanvas) other.FCanvas->TargetResized();
}

TBitmap& TBitmap::operator=(TBitmap&& other) noexcept {
  if (this == &other) return *this;
  FWidth = other.FWidth;
  FHeight = other.FHeight;
  FPixels = std::move(other.FPixels);
  FData = other.FData;
  FAttached = other.FAttached;
  FMonochrome = other.FMonochrome;
  other.FWidth = other.FHeight = 0;
  other.FPixels.clear();
  other.FData = other.FPixels.data();
  other.FAttached = false;
  if (FCanvas) FCanvas->TargetResized();
  if (other.FCanvas) other.FCanvas->TargetResized();
  return *this;
}

void TBitmap::SetSize(int width, int height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  if (width == FWidth && height == FHeight) return;
  FWidth = width;
  FHeight = height;
  // Memory of the new size only: a bitmap that shrinks gives the rest back.
  std::vector<std::uint32_t>(Count(), 0x00FFFFFFu).swap(FPixels);
  FData = FPixels.data();
  FAttached = false;
  if (FCanvas) FCanvas->TargetResized();
}

void TBitmap::AttachPixels(std::uint32_t* memory) {
  if (!memory || memory == FData) return;
  std::copy(FData, FData + Count(), memory);
  std::vector<std::uint32_t>().swap(FPixels);  // its own memory goes back (clearing keeps it)
  FData = memory;
  FAttached = true;
}

void TBitmap::AttachPixels(std::uint32_t* memory, int width, int height) {
  if (!memory) return;
  FWidth = width < 0 ? 0 : width;
  FHeight = height < 0 ? 0 : height;
  std::vector<std::uint32_t>().swap(FPixels);
  FData = memory;
  FAttached = true;
  std::fill(FData, FData + Count(), 0x00FFFFFFu);
  if (FCanvas) FCanvas->TargetResized();
}

void TBitmap::DetachPixels() {
  if (!FAttached) return;
  FPixels.assign(FData, FData + Count());
  FData = FPixels.data();
  FAttached = false;
}

std::uint32_t NearestMonoPixel(std::uint32_t pixel) {
  const auto sq = [](int v) { return v * v; };
  int black = 0, white = 0;
  for (int shift : {0, 8, 16}) {
    const int c = static_cast<int>((pixel >> shift) & 0xFFu);
    black += sq(c);
    white += sq(255 - c);
  }
  return white < black ? 0x00FFFFFFu : 0u;
}

void TBitmap::SetMonochrome(bool v) {
  if (v == FMonochrome) return;
  FMonochrome = v;
  if (v) std::transform(FData, FData + Count(), FData, NearestMonoPixel);
  if (FCanvas) FCanvas->TargetResized();
}

TCanvas& TBitmap::Canvas() {
  if (!FCanvas) FCanvas = std::make_unique<TCanvas>(this);
  return *FCanvas;
}

std::uint32_t TBitmap::PixelWord(int x, int y) const {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return 0;
  return FData[static_cast<std::size_t>(y) * static_cast<std::size_t>(FWidth) + static_cast<std::size_t>(x)];
}

int TBitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return -1;
  return PixelToColor(PixelWord(x, y));
}

}  // namespace varnel
