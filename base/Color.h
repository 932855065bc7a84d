// Colours: the 32-bit TColor (0x00BBGGRR), the named colours, the two chart markers and the
// system-colour resolver (values with the top bit set name a system colour by index).
#pragma once
#include <cstdint>

namespace varnel {

using TColor = std::int32_t;

// Markers, never drawn.
constexpr TColor clAutoColor = static_cast<TColor>(0x80000000u);  // automatic or unset colour
constexpr TColor clNone = 0x1FFFFFFF;                              // null point: no mark, no legend box

// Named colours (0x00BBGGRR).
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clLightYellow = 0x80FFFF;

// System colours: 0x80000000 + index.
constexpr TColor SystemColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<std::uint32_t>(index)); }
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor cl3DDkShadow = SystemColor(21);
constexpr TColor cl3DLight = SystemColor(22);

constexpr bool IsSystemColor(TColor c) { return (static_cast<std::uint32_t>(c) & 0x80000000u) != 0; }

// Resolves a colour to plain 0x00BBGGRR. Plain colours pass through (upper byte cleared);
// system colours come from the installed table (the classic one by default); unknown indexes
// give black. clAutoColor resolves like system index 0 (scroll bar, silver) but callers never
// draw it.
TColor ColorToRGB(TColor c);

// Replaces one system colour's value (the UI adapter may install the desktop's colours).
void SetSystemColor(int index, TColor rgb);
// Restores the classic table.
void ResetSystemColors();

// Conversions between TColor (0x00BBGGRR) and the pixel words of TBitmap (0x00RRGGBB).
constexpr std::uint32_t ColorToPixel(TColor rgb) {
  const auto v = static_cast<std::uint32_t>(rgb);
  return ((v & 0xFFu) << 16) | (v & 0xFF00u) | ((v >> 16) & 0xFFu);
}
constexpr TColor PixelToColor(std::uint32_t px) {
  return static_cast<TColor>(((px & 0xFFu) << 16) | (px & 0xFF00u) | ((px >> 16) & 0xFFu));
}

// Dark or light: a colour is dark when its relative luminance (the sRGB channels taken to linear
// light and weighted 0.2126 red, 0.7152 green, 0.0722 blue) is below that of the mid grey
// 0x808080 (about 0.216). System colours are resolved first. So 0x7F7F7F is dark and 0x808080
// is not; the default button face (silver) and white are light.
bool IsDarkColor(TColor c);

// How far apart two colours are in lightness: the ratio of their relative luminances, each plus
// 0.05, the lighter over the darker: 1 for two colours alike, 21 for black and white. System
// colours are resolved first.
double ContrastRatio(TColor a, TColor b);

// The colour to draw an element in that the program draws in black, on a given background:
// white when the ink is black and the background dark, the ink itself otherwise.
TColor ContrastInk(TColor ink, TColor background);

constexpr int GetRValue(TColor c) { return c & 0xFF; }
constexpr int GetGValue(TColor c) { return (c >> 8) & 0xFF; }
constexpr int GetBValue(TColor c) { return (c >> 16) & 0xFF; }
constexpr TColor RGB(int r, int g, int b) { return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16); }

}  // namespace varnel
