// TWindowSurface: a child window's picture and the server image it is put from.
#include "ui/WindowSurface.h"

#include <utility>

namespace varnel {

TWindowSurface::TWindowSurface(TImageFactory factory) : FFactory(std::move(factory)) {}

TWindowSurface::~TWindowSurface() { Release(); }

void TWindowSurface::SetSize(int width, int height) {
  const int w = width < 0 ? 0 : width, h = height < 0 ? 0 : height;
  if (w == FBitmap.Width() && h == FBitmap.Height()) return;
  // The bitmap takes new memory of its own; the image of the old size goes now, not at the next
  // put: a view hidden meanwhile may come back at the old size, and an image that merely has the
  // right size is not the memory the picture is drawn into.
  FBitmap.SetSize(w, h);
  FImage.reset();
}

TServerImage* TWindowSurface::ImageForPut() {
  if (FBitmap.Empty() || FNoImage || !FFactory) return nullptr;
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

void TWindowSurface::Release() {
  // The bitmap never points into an image that is gone.
  FBitmap.DetachPixels();
  FImage.reset();
}

}  // namespace varnel
