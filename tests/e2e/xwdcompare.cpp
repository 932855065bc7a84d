// The end-to-end test's picture check: compares a window dump made by xwd (32-bit ZPixmap) with
// a PNG made by varnel-render, pixel by pixel over the PNG's size from the dump's top-left corner.
// Prints the number of differing pixels and the first few; exit code 0 when none differ, 1 when
// some do, 2 when a file cannot be read.
//
//   xwdcompare window.xwd expected.png
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/canvas/Bitmap.h"

namespace {

// A window dump's pixels as 0x00RRGGBB words.
struct TDump {
  int Width = 0, Height = 0;
  std::vector<std::uint32_t> Pixels;
};

std::uint32_t BigEndian32(const std::vector<unsigned char>& b, std::size_t at) {
  return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) | (std::uint32_t{b[at + 2]} << 8) | b[at + 3];
}

bool ReadDump(const char* path, TDump& dump) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (b.size() < 100) return false;
  const auto field = [&](int i) { return BigEndian32(b, static_cast<std::size_t>(i) * 4); };
  const std::uint32_t headerSize = field(0), format = field(2), width = field(4), height = field(5);
  const std::uint32_t byteOrder = field(7), bitsPerPixel = field(11), bytesPerLine = field(12), colours = field(19);
  if (format != 2 || bitsPerPixel != 32 || width > 16384 || height > 16384 || bytesPerLine < width * 4) return false;
  const std::size_t start = std::size_t{headerSize} + std::size_t{colours} * 12;
  if (start + std::size_t{bytesPerLine} * height > b.size()) return false;
  dump.Width = static_cast<int>(width);
  dump.Height = static_cast<int>(height);
  dump.Pixels.resize(std::size_t{width} * height);
  for (std::uint32_t y = 0; y < height; ++y)
    for (std::uint32_t x = 0; x < width; ++x) {
      const std::size_t p = start + std::size_t{y} * bytesPerLine + std::size_t{x} * 4;
      const std::uint32_t v = byteOrder == 0 ? (std::uint32_t{b[p + 3]} << 24) | (std::uint32_t{b[p + 2]} << 16) |
                                                   (std::uint32_t{b[p + 1]} << 8) | b[p]
                                             : BigEndian32(b, p);
      dump.Pixels[std::size_t{y} * width + x] = v & 0x00FFFFFFu;
    }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: xwdcompare window.xwd expected.png\n");
    return 2;
  }
  TDump dump;
  varnel::TBitmap expected;
  if (!ReadDump(argv[1], dump)) {
    std::fprintf(stderr, "xwdcompare: cannot read the window dump %s\n", argv[1]);
    return 2;
  }
  if (!varnel::LoadBitmapFromPng(expected, argv[2])) {
    std::fprintf(stderr, "xwdcompare: cannot read %s\n", argv[2]);
    return 2;
  }
  if (expected.Width() > dump.Width || expected.Height() > dump.Height) {
    std::printf("the window (%d x %d) is smaller than the picture (%d x %d)\n", dump.Width, dump.Height,
                expected.Width(), expected.Height());
    return 1;
  }
  int differing = 0;
  for (int y = 0; y < expected.Height(); ++y)
    for (int x = 0; x < expected.Width(); ++x) {
      const std::uint32_t want = expected.PixelWord(x, y) & 0x00FFFFFFu;
      const std::uint32_t got = dump.Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(dump.Width) +
                                            static_cast<std::size_t>(x)];
      if (got == want) continue;
      if (++differing <= 5) std::printf("at %d,%d: window %06X, picture %06X\n", x, y, got, want);
    }
  std::printf("%d pixels differ\n", differing);
  return differing == 0 ? 0 : 1;
}
