// The program's icon, drawn once from a character map in the 16 classic colours.
#include "app/ProgramIcon.h"

#include <cstring>

#include "platform/canvas/Canvas.h"

namespace varnel {
namespace {

// One letter per pixel; "." is transparent.
constexpr const char* IconMap[ProgramIconSize] = {
    "................................",
    "................................",
    "...fffffffffffffffffffffffff0...",
    "...f7777777777777777777777780...",
    "...f7888888888888888888888f80...",
    "...f78fffffffffffffffffffff80...",
    "...f78fffffff000000ffffffff80...",
    "...f78fffff000ff0f000ffffff80...",
    "...f78ffff00fffffff100fffff80...",
    "...f78fff00ffffffff1f00ffff80...",
    "...f78ff00ffffffff11ff00fff80...",
    "...f78ff0ffffffff11ffff0fff80...",
    "...f78f00ffffffff1fffff00ff80...",
    "...f78f0ffffffff01ffffff0ff80...",
    "...f78f00ffffff000fffff00ff80...",
    "...f78fffffffffffffffffffff80...",
    "...f78fffffffffffffffffffff80...",
    "...f7777777777777777777777780...",
    "...f7888888888888888888888f80...",
    "...f78bbbbbbbbbbbbbbbbbbbbf80...",
    "...f78bbbbbbbb1bbbbbbb11bbf80...",
    "...f78bbbbbbb1b1bb1bb1bb11f80...",
    "...f78bb1bbbb1b1b1b11bbbbbf80...",
    "...f78b1b1bb1bbb1bbbbbbbbbf80...",
    "...f781bbb11bbbbbbbbbbbbbbf80...",
    "...f78bbbbbbbbbbbbbbbbbbbbf80...",
    "...f78fffffffffffffffffffff80...",
    "...f8888888888888888888888880...",
    "...f0000000000000000000000000...",
    "................................",
    "................................",
    "................................",
};

// The 16 classic colours, 0xRRGGBB, indexed by hexadecimal digit.
constexpr std::uint32_t Palette[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

std::array<std::uint32_t, ProgramIconSize * ProgramIconSize> MakeIcon() {
  std::array<std::uint32_t, ProgramIconSize * ProgramIconSize> px{};
  for (int y = 0; y < ProgramIconSize; ++y) {
    const char* row = IconMap[y];
    const int n = static_cast<int>(std::strlen(row));
    for (int x = 0; x < ProgramIconSize; ++x) {
      const char c = x < n ? row[x] : '.';
      int index = -1;
      if (c >= '0' && c <= '9') index = c - '0';
      if (c >= 'a' && c <= 'f') index = c - 'a' + 10;
      px[static_cast<std::size_t>(y * ProgramIconSize + x)] = index < 0 ? 0u : 0xFF000000u | Palette[index];
    }
  }
  return px;
}

}  // namespace

const std::array<std::uint32_t, ProgramIconSize * ProgramIconSize>& ProgramIconPixels() {
  static const auto pixels = MakeIcon();
  return pixels;
}

TBitmap DrawProgramIcon(int size) {
  TBitmap bitmap(size, size);
  TCanvas& canvas = bitmap.Canvas();
  canvas.Brush().SetStyle(bsSolid);
  const auto& px = ProgramIconPixels();
  const auto edge = [size](int i) { return i * size / ProgramIconSize; };
  for (int y = 0; y < ProgramIconSize; ++y) {
    for (int x = 0; x < ProgramIconSize; ++x) {
      const std::uint32_t p = px[static_cast<std::size_t>(y * ProgramIconSize + x)];
      const std::uint32_t rgb = (p >> 24) ? p & 0xFFFFFF : ProgramIconTransparent;
      canvas.Brush().SetColor(RGB(static_cast<int>(rgb >> 16), static_cast<int>(rgb >> 8), static_cast<int>(rgb)));
      canvas.FillRect(Rect(edge(x), edge(y), edge(x + 1), edge(y + 1)));
    }
  }
  return bitmap;
}

}  // namespace varnel
