// TBitmap: an off-screen picture of 32-bit pixels (0x00RRGGBB words, rows top to bottom, no
// padding) with its own canvas. Resizing to the same size keeps the memory; another size takes
// memory of just that size. A size of zero or less in either direction makes an empty bitmap on
// which every drawing is a no-op.
// A monochrome bitmap is a 1-bit picture: each pixel is black or white (the words 0x000000 and
// 0xFFFFFF), and its canvas maps every colour drawn on it to one of the two (Canvas.h).
//
//   TBitmap bmp;  bmp.SetSize(332, 190);  bmp.Canvas().FillRect(Rect(0, 0, 332, 190));
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace varnel {

class TCanvas;
namespace raster {
struct TLateFill;
}

class TBitmap {
 public:
  TBitmap();
  TBitmap(int width, int height);
  ~TBitmap();
  TBitmap(const TBitmap& other);             // copies the pixels; the canvas starts fresh
  TBitmap& operator=(const TBitmap& other);  // likewise
  TBitmap(TBitmap&&) noexcept;
  TBitmap& operator=(TBitmap&&) noexcept;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Empty() const { return FWidth <= 0 || FHeight <= 0; }
  // New pixels are white. Keeps the memory when the size does not change.
  void SetSize(int width, int height);
  void SetWidth(int w) { SetSize(w, FHeight); }
  void SetHeight(int h) { SetSize(FWidth, h); }

  TCanvas& Canvas();
  // The canvas when one was made (the background colour of a copy's source), else null.
  const TCanvas* ExistingCanvas() const { return FCanvas.get(); }

  // The 1-bit picture. Switching to it turns every pixel into the nearer of black and white.
  bool Monochrome() const { return FMonochrome; }
  void SetMonochrome(bool v);

  // Moves the pixels into memory the caller provides (Width() * Height() words, e.g. an image
  // the display server reads), copying the picture there; drawing then goes straight into it.
  // The memory must outlive the attachment, which ends with DetachPixels (the picture is copied
  // back into the bitmap's own memory) or with a change of size (new white pixels of its own).
  // Copies of the bitmap get memory of their own; a move takes the attachment along.
  void AttachPixels(std::uint32_t* memory);
  // A new white picture of width x height straight in memory the caller provides (at least
  // width * height words), as SetSize would make one in memory of its own; attached as above.
  void AttachPixels(std::uint32_t* memory, int width, int height);
  void DetachPixels();
  bool PixelsAttached() const { return FAttached; }
  // The bytes of pixel memory the bitmap holds of its own (none while attached).
  std::size_t OwnBytes() const { return FPixels.capacity() * sizeof(std::uint32_t); }

  // The pixels, with every fill the canvas has left for later written.
  std::uint32_t* Data() {
    Settle();
    return FData;
  }
  const std::uint32_t* Data() const {
    Settle();
    return FData;
  }
  std::uint32_t* ScanLine(int y) { return Data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(FWidth); }
  const std::uint32_t* ScanLine(int y) const { return Data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(FWidth); }

  // For the canvas: a plain fill of the box [l, r) x [t, b) (inside the bitmap) with the pixel
  // word, written when the pixels are next asked for, or row by row by a wide line drawn
  // meanwhile (LateFill, RawData) so that a large picture is written once.
  void FillLater(int l, int t, int r, int b, std::uint32_t pixel);
  // The fill left for later while rows of it are still unwritten, else null.
  raster::TLateFill* LateFill();
  // The pixels as they are, rows of a late fill perhaps not yet written.
  std::uint32_t* RawData() { return FData; }
  // Writes what is left of a late fill.
  void Settle() const {
    if (FLateActive) SettleLate();
  }
  // Row y to paint on (inside the bitmap): of a late fill only this row is written first.
  std::uint32_t* RowToPaint(int y) {
    if (FLateActive) SettleLateRow(y);
    return FData + static_cast<std::size_t>(y) * static_cast<std::size_t>(FWidth);
  }
  // The pixel word at (x, y), or 0 outside the bitmap.
  std::uint32_t PixelWord(int x, int y) const;
  // The colour (0x00BBGGRR) at (x, y), or -1 outside the bitmap.
  int Pixel(int x, int y) const;

 private:
  std::size_t Count() const { return static_cast<std::size_t>(FWidth) * static_cast<std::size_t>(FHeight); }
  void SettleLate() const;
  void SettleLateRow(int y);
  // Forgets a late fill (the pixels it was to cover are gone).
  void DropLate();

  int FWidth = 0;
  int FHeight = 0;
  std::vector<std::uint32_t> FPixels;  // the bitmap's own memory (empty while attached)
  std::uint32_t* FData = nullptr;      // the pixels: FPixels.data() or the attached memory
  bool FAttached = false;
  bool FMonochrome = false;
  std::unique_ptr<TCanvas> FCanvas;
  // A fill not yet written (kept between uses); FLateActive while rows of it are due.
  mutable std::unique_ptr<raster::TLateFill> FLate;
  mutable bool FLateActive = false;
};

// The nearer of black and white to a pixel word (squared distance over the three channels).
std::uint32_t NearestMonoPixel(std::uint32_t pixel);

// Writes the bitmap as an 8-bit RGB PNG, or as RGBA with the pixels of the word `transparent`
// (0x00RRGGBB) fully transparent and all others opaque; false when the file cannot be written.
// An existing picture is replaced only by a whole new one (ReplaceFileWith): a failed write
// leaves it as it was; a device, pipe or terminal is written in place and never removed.
bool SaveBitmapToPng(const TBitmap& bitmap, const std::string& path,
                     std::optional<std::uint32_t> transparent = std::nullopt);
// Reads an RGB or RGBA PNG (alpha dropped); false when the file is missing or not a PNG.
bool LoadBitmapFromPng(TBitmap& bitmap, const std::string& path);

}  // namespace varnel
