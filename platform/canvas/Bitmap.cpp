// TBitmap: pixel storage and its canvas.
#include "platform/canvas/Bitmap.h"

#include <algorithm>

#include "base/Color.h"
#include "platform/canvas/Canvas.h"
#include "platform/canvas/Raster.h"

namespace varnel {

TBitmap::TBitmap() = default;
TBitmap::TBitmap(int width, int height) { SetSize(width, height); }
TBitmap::~TBitmap() = default;

TBitmap::TBitmap(const TBitmap& other)
    : FWidth(other.FWidth), FHeight(other.FHeight), FPixels(other.Data(), other.Data() + other.Count()),
      FData(FPixels.data()), FMonochrome(other.FMonochrome) {}

TBitmap& TBitmap::operator=(const TBitmap& other) {
  if (this == &other) return *this;
  DropLate();
  FPixels.assign(other.Data(), other.Data() + other.Count());
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
      FAttached(other.FAttached), FMonochrome(other.FMonochrome), FLate(std::move(other.FLate)),
      FLateActive(other.FLateActive) {
  other.FLateActive = false;
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
  FLate = std::move(other.FLate);
  FLateActive = other.FLateActive;
  other.FLateActive = false;
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
  DropLate();
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
  Settle();
  std::copy(FData, FData + Count(), memory);
  std::vector<std::uint32_t>().swap(FPixels);  // its own memory goes back (clearing keeps it)
  FData = memory;
  FAttached = true;
}

void TBitmap::AttachPixels(std::uint32_t* memory, int width, int height) {
  if (!memory) return;
  DropLate();
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
  Settle();
  FPixels.assign(FData, FData + Count());
  FData = FPixels.data();
  FAttached = false;
}

void TBitmap::FillLater(int l, int t, int r, int b, std::uint32_t pixel) {
  Settle();
  if (!FLate) FLate = std::make_unique<raster::TLateFill>();
  FLate->Begin(raster::TBox{l, t, r, b}, pixel);
  FLateActive = FLate->Active;
}

raster::TLateFill* TBitmap::LateFill() {
  if (FLateActive && !FLate->Active) FLateActive = false;
  return FLateActive ? FLate.get() : nullptr;
}

void TBitmap::SettleLate() const {
  // Cleared first: the rows are written straight into the pixels.
  FLateActive = false;
  if (FLate && FLate->Active) FLate->Write(FData, FWidth, FLate->Box.T, FLate->Box.B);
}

void TBitmap::SettleLateRow(int y) {
  FLate->Write(FData, FWidth, y, y + 1);
  FLateActive = FLate->Active;
}

void TBitmap::DropLate() {
  FLateActive = false;
  if (FLate) FLate->Active = false;
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
  Settle();
  if (v) std::transform(FData, FData + Count(), FData, NearestMonoPixel);
  if (FCanvas) FCanvas->TargetResized();
}

TCanvas& TBitmap::Canvas() {
  if (!FCanvas) FCanvas = std::make_unique<TCanvas>(this);
  return *FCanvas;
}

std::uint32_t TBitmap::PixelWord(int x, int y) const {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return 0;
  Settle();
  return FData[static_cast<std::size_t>(y) * static_cast<std::size_t>(FWidth) + static_cast<std::size_t>(x)];
}

int TBitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return -1;
  return PixelToColor(PixelWord(x, y));
}

}  // namespace varnel
