// PNG files of a TBitmap through libpng: saving as 8-bit RGB and loading any colour type
// (grey, palette, RGB, with or without alpha, 1 to 16 bits, interlaced) as RGB with the alpha
// dropped. libpng reports errors by longjmp: each libpng session lives in a function of its own
// that holds no C++ object, so the jump skips no destructor.
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/canvas/Bitmap.h"
#include "platform/profile/FileAccess.h"

namespace varnel {

namespace {

// Pictures wider or taller than this, or with more pixels than kMaxPixels, are refused when
// loading (a corrupt header must not make us allocate gigabytes).
constexpr std::uint32_t kMaxSide = 32768;
constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 27;

// libpng's warnings go nowhere; errors jump back to the session's setjmp.
void SilentWarning(png_structp, png_const_charp) {}
void JumpOnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// Writes a picture of `height` rows, each width*3 RGB bytes, or width*4 RGBA bytes with
// `alpha`, that `fill` writes into `row` one at a time: the file is written as the rows come, so
// a big picture needs no second copy of itself. False on any libpng error.
using TFillRow = void (*)(const void* context, std::uint32_t y, unsigned char* row);
bool WriteRows(std::FILE* file, std::uint32_t width, std::uint32_t height, bool alpha, TFillRow fill,
               const void* context, unsigned char* row) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpOnError, SilentWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, width, height, 8, alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (std::uint32_t y = 0; y < height; ++y) {
    fill(context, y, row);
    png_write_row(png, row);
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

// The header of a PNG being read, after the transforms to 8-bit RGB.
struct TPngHeader {
  std::uint32_t Width = 0;
  std::uint32_t Height = 0;
};

// Reads a whole PNG as 8-bit RGB into a malloc'ed block of width*height*3 bytes that the caller
// frees. The buffers are plain C memory so that a jump out of libpng leaks nothing.
bool ReadSession(std::FILE* file, TPngHeader& header, unsigned char*& pixels) {
  pixels = nullptr;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpOnError, SilentWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  // Written after setjmp and read after a jump: volatile, so the jump cannot lose it.
  unsigned char* volatile buffer = nullptr;
  png_bytep* volatile rows = nullptr;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    std::free(rows);
    std::free(buffer);
    return false;
  }
  png_init_io(png, file);
  png_set_user_limits(png, kMaxSide, kMaxSide);
  png_read_info(png, info);

  const int colorType = png_get_color_type(png, info);
  const int bitDepth = png_get_bit_depth(png, info);
  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (bitDepth == 16) png_set_strip_16(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  png_set_strip_alpha(png);  // also drops a tRNS chunk, which is never expanded to alpha here
  png_set_interlace_handling(png);
  png_read_update_info(png, info);

  const std::uint32_t width = png_get_image_width(png, info);
  const std::uint32_t height = png_get_image_height(png, info);
  const std::size_t rowBytes = png_get_rowbytes(png, info);
  if (width == 0 || height == 0 || static_cast<std::uint64_t>(width) * height > kMaxPixels ||
      rowBytes != static_cast<std::size_t>(width) * 3 || png_get_channels(png, info) != 3 ||
      png_get_bit_depth(png, info) != 8) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  buffer = static_cast<unsigned char*>(std::malloc(rowBytes * height));
  rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * height));
  if (!buffer || !rows) {
    png_destroy_read_struct(&png, &info, nullptr);
    std::free(rows);
    std::free(buffer);
    return false;
  }
  for (std::uint32_t y = 0; y < height; ++y) rows[y] = buffer + rowBytes * y;
  png_read_image(png, rows);
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  std::free(rows);
  header.Width = width;
  header.Height = height;
  pixels = buffer;
  return true;
}

}  // namespace

bool SaveBitmapToPng(const TBitmap& bitmap, const std::string& path, std::optional<std::uint32_t> transparent) {
  if (bitmap.Empty()) return false;
  const auto width = static_cast<std::uint32_t>(bitmap.Width());
  const auto height = static_cast<std::uint32_t>(bitmap.Height());
  // The bitmap's row y as the file's bytes: RGB, and with a transparent colour an alpha byte
  // that is 0 for that colour and opaque for every other.
  struct TRowSource {
    const TBitmap* Bitmap;
    std::uint32_t Width;
    std::optional<std::uint32_t> Transparent;
  };
  const TRowSource source{&bitmap, width, transparent};
  const TFillRow fill = [](const void* context, std::uint32_t y, unsigned char* dst) {
    const auto& s = *static_cast<const TRowSource*>(context);
    const std::uint32_t* src = s.Bitmap->ScanLine(static_cast<int>(y));
    const std::size_t channels = s.Transparent ? 4 : 3;
    for (std::uint32_t x = 0; x < s.Width; ++x, dst += channels) {
      const std::uint32_t p = src[x] & 0xFFFFFF;
      dst[0] = static_cast<unsigned char>(p >> 16);
      dst[1] = static_cast<unsigned char>(p >> 8);
      dst[2] = static_cast<unsigned char>(p);
      if (s.Transparent) dst[3] = p == (*s.Transparent & 0xFFFFFF) ? 0 : 0xFF;
    }
  };
  std::vector<unsigned char> row(static_cast<std::size_t>(width) * (transparent ? 4 : 3));
  // A picture file is replaced whole or left as it was; a device or a pipe is written in place.
  return ReplaceFileWith(path, [&](std::FILE* file) {
    return WriteRows(file, width, height, transparent.has_value(), fill, &source, row.data());
  });
}

bool LoadBitmapFromPng(TBitmap& bitmap, const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  unsigned char signature[8];
  if (std::fread(signature, 1, sizeof signature, file) != sizeof signature || png_sig_cmp(signature, 0, 8) != 0) {
    std::fclose(file);
    return false;
  }
  std::rewind(file);
  TPngHeader header;
  unsigned char* pixels = nullptr;
  const bool ok = ReadSession(file, header, pixels);
  std::fclose(file);
  if (!ok) return false;
  // The bitmap changes only once the whole file has been read.
  bitmap.SetSize(static_cast<int>(header.Width), static_cast<int>(header.Height));
  for (std::uint32_t y = 0; y < header.Height; ++y) {
    const unsigned char* src = pixels + static_cast<std::size_t>(y) * header.Width * 3;
    std::uint32_t* dst = bitmap.ScanLine(static_cast<int>(y));
    for (std::uint32_t x = 0; x < header.Width; ++x)
      dst[x] = (std::uint32_t{src[3 * x]} << 16) | (std::uint32_t{src[3 * x + 1]} << 8) | src[3 * x + 2];
  }
  std::free(pixels);
  return true;
}

}  // namespace varnel
