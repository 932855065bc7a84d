// TBitmap: an off-screen picture of 32-bit pixels (0x00RRGGBB words, rows top to bottom, no
// padding) with its own canvas. Resizing to the same size keeps the memory; a size of zero or
// less in either direction makes an empty bitmap on which every drawing is a no-op.
//
//   TBitmap bmp;  bmp.SetSize(332, 190);  bmp.Canvas().FillRect(Rect(0, 0, 332, 190));
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace varnel {

class TCanvas;

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

  std::uint32_t* Data() { return FPixels.data(); }
  const std::uint32_t* Data() const { return FPixels.data(); }
  std::uint32_t* ScanLine(int y) { return FPixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(FWidth); }
  const std::uint32_t* ScanLine(int y) const {
    return FPixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(FWidth);
  }
  // The pixel word at (x, y), or 0 outside the bitmap.
  std::uint32_t PixelWord(int x, int y) const;
  // The colour (0x00BBGGRR) at (x, y), or -1 outside the bitmap.
  int Pixel(int x, int y) const;

 private:
  int FWidth = 0;
  int FHeight = 0;
  std::vector<std::uint32_t> FPixels;
  std::unique_ptr<TCanvas> FCanvas;
};

// Writes the bitmap as an 8-bit RGB PNG; false when the file cannot be written.
bool SaveBitmapToPng(const TBitmap& bitmap, const std::string& path);
// Reads an RGB or RGBA PNG (alpha dropped); false when the file is missing or not a PNG.
bool LoadBitmapFromPng(TBitmap& bitmap, const std::string& path);

}  // namespace varnel
