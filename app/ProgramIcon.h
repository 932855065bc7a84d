// The program's icon: a 32 x 32 picture in the 16 classic colours (a needle gauge over a
// scrolling graph). The About box shows it, stretched, and the window system uses it as the
// main window's icon.
#pragma once
#include <array>
#include <cstdint>

namespace varnel {

inline constexpr int ProgramIconSize = 32;

// The pixels, rows top to bottom, as 0xAARRGGBB words: alpha 0xFF where the icon is opaque and
// 0 where it is transparent.
const std::array<std::uint32_t, ProgramIconSize * ProgramIconSize>& ProgramIconPixels();

}  // namespace varnel
