// TWindowSurface: a child window's picture and the server image it is put from.
#include "ui/WindowSurface.h"

#include <algorithm>
#include <utility>

namespace varnel {

TSurfaceSize BoundedSurfaceSize(int width, int height, int edge, TSurfaceSize largestMonitor) {
  const auto side = [edge](int size, int monitor) {
    const long long client = static_cast<long long>(size) - 2LL * edge;
    const int limit = monitor >= 1 ? std::min(monitor, MaxSurfaceSide) : MaxSurfaceSide;
    return static_cast<int>(std::clamp<long long>(client, 0, limit));
  };
  return TSurfaceSize{side(width, largestMonitor.Width), side(height, largestMonitor.Height)};
}

TWindowSurface::TWindowSurface(TImageFactory factory) : FFactory(std::move(factory)) {}

TWindowSurface::~TWindowSurface() { Release(); }

void TWindowSurface::SetSize(int width, int height) {
  const int w = width < 0 ? 0 : width, h = height < 0 ? 0 : height;
  if (w == FWidth && h == FHeight) return;
  FWidth = w;
  FHeight = h;
  // The picture of the old size goes now; its image stays only when the new size can use it (a
  // hidden view keeps none). The bitmap gets memory of the new size when asked for.
  FBitmap.SetSize(0, 0);
  if (FImage && !Reusable(FImage->Capacity(), static_cast<std::size_t>(w) * static_cast<std::size_t>(h))) FImage.reset();
}

TBitmap& TWindowSurface::Bitmap() {
  if (FBitmap.Width() == FWidth && FBitmap.Height() == FHeight) return FBitmap;
  if (FWidth > 0 && FHeight > 0 && !FNoImage && FFactory) {
    if (FImage && !FImage->Reshape(FWidth, FHeight)) FImage.reset();
    if (!FImage) {
      FImage = FFactory(FWidth, FHeight);
      FNoImage = FImage == nullptr;
    }
    if (FImage) {
      FBitmap.AttachPixels(FImage->Pixels(), FWidth, FHeight);
      return FBitmap;
    }
  }
  FBitmap.SetSize(FWidth, FHeight);
  return FBitmap;
}

TServerImage* TWindowSurface::ImageForPut() {
  if (Bitmap().Empty() || FNoImage || !FFactory) return nullptr;
  if (!FImage || FBitmap.Data() != FImage->Pixels()) {
    Release();
    FImage = FFactory(FBitmap.Width(), FBitmap.Height());
    if (!FImage) {
      FNoImage = true;
      return nullptr;
    }
    FBitmap.AttachPixels(FImage->Pixels());
  }
  return FImage.get();
}

bool TWindowSurface::Trim() {
  const std::size_t words = static_cast<std::size_t>(FWidth) * static_cast<std::size_t>(FHeight);
  if (!FImage || FImage->Capacity() / 2 <= words) return false;
  Release();
  return true;
}

void TWindowSurface::Release() {
  // The bitmap never points into an image that is gone.
  FBitmap.DetachPixels();
  FImage.reset();
}

}  // namespace varnel
