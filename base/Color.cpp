// The system-colour table and resolver behind ColorToRGB.
#include "base/Color.h"

#include <array>
#include <cmath>

namespace varnel {
namespace {

constexpr int kSystemColorCount = 31;

constexpr std::array<TColor, kSystemColorCount> ClassicTable() {
  std::array<TColor, kSystemColorCount> t{};
  t[0] = 0xC0C0C0;   // scroll bar
  t[1] = 0x808000;   // background (desktop)
  t[2] = 0x800000;   // active caption
  t[3] = 0x808080;   // inactive caption
  t[4] = 0xC0C0C0;   // menu
  t[5] = 0xFFFFFF;   // window
  t[6] = 0x000000;   // window frame
  t[7] = 0x000000;   // menu text
  t[8] = 0x000000;   // window text
  t[9] = 0xFFFFFF;   // caption text
  t[10] = 0xC0C0C0;  // active border
  t[11] = 0xC0C0C0;  // inactive border
  t[12] = 0x808080;  // application workspace
  t[13] = 0x800000;  // highlight
  t[14] = 0xFFFFFF;  // highlight text
  t[15] = 0xC0C0C0;  // button face
  t[16] = 0x808080;  // button shadow
  t[17] = 0x808080;  // gray text
  t[18] = 0x000000;  // button text
  t[19] = 0xC0C0C0;  // inactive caption text
  t[20] = 0xFFFFFF;  // button highlight
  t[21] = 0x000000;  // 3D dark shadow
  t[22] = 0xC0C0C0;  // 3D light
  t[23] = 0x000000;  // info text
  t[24] = 0xE1FFFF;  // info background
  return t;
}

std::array<TColor, kSystemColorCount> gTable = ClassicTable();

}  // namespace

TColor ColorToRGB(TColor c) {
  if (!IsSystemColor(c)) return c & 0x00FFFFFF;
  const auto index = static_cast<std::uint32_t>(c) & 0xFFu;
  if (index >= kSystemColorCount) return clBlack;
  return gTable[index];
}

void SetSystemColor(int index, TColor rgb) {
  if (index >= 0 && index < kSystemColorCount) gTable[static_cast<std::size_t>(index)] = rgb & 0x00FFFFFF;
}

void ResetSystemColors() { gTable = ClassicTable(); }

namespace {

// An 8-bit sRGB channel as linear light, 0..1.
double LinearChannel(int v) {
  const double s = v / 255.0;
  return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(TColor rgb) {
  return 0.2126 * LinearChannel(GetRValue(rgb)) + 0.7152 * LinearChannel(GetGValue(rgb)) +
         0.0722 * LinearChannel(GetBValue(rgb));
}

}  // namespace

bool IsDarkColor(TColor c) {
  // The grey itself is not below its own level; the margin keeps the weights' rounding out.
  static const double threshold = RelativeLuminance(clGray) - 1e-9;
  return RelativeLuminance(ColorToRGB(c)) < threshold;
}

double ContrastRatio(TColor a, TColor b) {
  const double la = RelativeLuminance(ColorToRGB(a)) + 0.05, lb = RelativeLuminance(ColorToRGB(b)) + 0.05;
  return la > lb ? la / lb : lb / la;
}

TColor ContrastInk(TColor ink, TColor background) {
  return ColorToRGB(ink) == clBlack && IsDarkColor(background) ? clWhite : ink;
}

}  // namespace varnel
