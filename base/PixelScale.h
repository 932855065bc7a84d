// The screen's pixels per inch and the sizes that follow it. The window, the chart and the
// gauge are designed at 96 pixels per inch; on a screen of another density every size given in
// pixels scales by ppi / 96 (fonts in points already follow the screen through TFont). The
// program finds the screen's value once at start-up (ChooseScreenPixelsPerInch) and hands it
// down; nothing reads it from anywhere else.
//
//   const TPixelScale s(192);
//   s.Px(3) == 6;  s.Px(-11) == -22;  s.Px(1) == 2;  TPixelScale(120).Px(1) == 1
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace varnel {

inline constexpr int DesignPixelsPerInch = 96;
inline constexpr int MinPixelsPerInch = 48;
inline constexpr int MaxPixelsPerInch = 480;

// v * to / from, rounded half away from zero, held within int (the ends of int saturate); a
// non-zero v never becomes 0 (at least 1 in magnitude, its sign kept). `from` and `to` must be
// positive; otherwise v is returned unchanged.
int ScaleBetween(int v, int to, int from);

// A size designed in pixels at 96, on a screen of `PixelsPerInch`.
class TPixelScale {
 public:
  constexpr TPixelScale() = default;
  // Values outside 48..480 count as 96.
  explicit constexpr TPixelScale(int pixelsPerInch)
      : FPixelsPerInch(pixelsPerInch >= MinPixelsPerInch && pixelsPerInch <= MaxPixelsPerInch ? pixelsPerInch
                                                                                               : DesignPixelsPerInch) {}
  constexpr int PixelsPerInch() const { return FPixelsPerInch; }
  constexpr bool IsDesign() const { return FPixelsPerInch == DesignPixelsPerInch; }
  int Px(int designPixels) const { return ScaleBetween(designPixels, FPixelsPerInch, DesignPixelsPerInch); }
  // The same for a size in floating point (no rounding).
  constexpr double Pxf(double designPixels) const { return designPixels * FPixelsPerInch / DesignPixelsPerInch; }
  constexpr bool operator==(const TPixelScale&) const = default;

 private:
  int FPixelsPerInch = DesignPixelsPerInch;
};

// A pixels-per-inch value as text ("96", " 144 ", "120.5"): decimal digits with an optional
// fraction, blanks around; rounded to a whole number (halves up). nullopt for anything else,
// and for values beyond a million. No range check.
std::optional<int> ParsePixelsPerInch(std::string_view text);

// The value of one resource (for example "Xft.dpi") in the text of an X resource database as
// the root window's RESOURCE_MANAGER holds it: "name:\tvalue" lines; the last line for the
// name wins; lines that are not of that form are skipped. nullopt when there is none.
std::optional<std::string_view> FindResourceValue(std::string_view database, std::string_view name);

struct TPixelsPerInchChoice {
  int PixelsPerInch = DesignPixelsPerInch;
  std::string Warning;  // one line for standard error when a given value was not usable
};

// The screen's pixels per inch: the --dpi option's text when given, else the resource
// database's Xft.dpi, else 96. A given value that is not a number in 48..480 counts as 96 and
// leaves a warning that names where it came from.
TPixelsPerInchChoice ChooseScreenPixelsPerInch(std::optional<std::string_view> option,
                                               std::optional<std::string_view> resourceDatabase);

}  // namespace varnel
