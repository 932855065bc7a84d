// The program's icon: a 32 x 32 picture in the 16 classic colours (a needle gauge over a
// scrolling graph). The About box shows it, stretched, and the window system uses it as the
// main window's icon.
#pragma once
#include <array>
#include <cstdint>

#include "platform/canvas/Bitmap.h"

namespace varnel {

inline constexpr int ProgramIconSize = 32;

// The pixels, rows top to bottom, as 0xAARRGGBB words: alpha 0xFF where the icon is opaque and
// 0 where it is transparent.
const std::array<std::uint32_t, ProgramIconSize * ProgramIconSize>& ProgramIconPixels();

// The word a drawn icon has where it is transparent (no colour of the icon's own).
inline constexpr std::uint32_t ProgramIconTransparent = 0x010203;

// The icon drawn by the canvas at size x size pixels for the desktop's icon themes: each pixel
// of the art becomes a filled block whose edges fall at whole pixels (i * size / 32, rounded
// down), so no colour is blended and a multiple of 32 is an exact enlargement. Transparent
// pixels get ProgramIconTransparent.
TBitmap DrawProgramIcon(int size);

}  // namespace varnel
