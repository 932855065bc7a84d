// TCanvas's text: measuring and drawing UTF-8 strings with the current font through the font
// store (FontCache.h). Placement follows the classic rules: the reference point is moved by
// the alignment (left, right or centre of the advance widths; top, bottom or baseline of the
// cell), an opaque background box covers exactly the advance widths and the cell height, and
// antialiased glyphs are blended over it in the font colour.
//
// Turned text (the font's Orientation, tenths of a degree counterclockwise): the picture the
// upright text would give is turned about the reference point, taken as the corner (x, y) of
// the pixel grid, so at 90 degrees the box of an upright W x H string becomes H columns from x
// rightwards and W rows ending just above row y. The right angles turn upright glyph bitmaps
// exactly; other angles render turned outlines and place each glyph at its rounded pen point.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <mutex>
#include <numbers>

#include "base/Color.h"
#include "platform/canvas/Bitmap.h"
#include "platform/canvas/Canvas.h"
#include "platform/canvas/FontCache.h"

namespace varnel {

namespace {

using text::TFontCache;
using text::TGlyph;
using text::TSizedFont;

constexpr char32_t kReplacement = 0xFFFD;

// The next code point of UTF-8 text at i, advancing i. A byte that does not start a valid,
// shortest-form sequence gives U+FFFD and is skipped alone.
char32_t NextCodePoint(std::string_view s, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  std::size_t len;
  char32_t cp;
  char32_t least;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2, cp = b0 & 0x1Fu, least = 0x80;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3, cp = b0 & 0x0Fu, least = 0x800;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4, cp = b0 & 0x07u, least = 0x10000;
  } else {
    ++i;
    return kReplacement;
  }
  if (s.size() - i < len) {
    ++i;
    return kReplacement;
  }
  for (std::size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return kReplacement;
    }
    cp = (cp << 6) | (b & 0x3Fu);
  }
  if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return kReplacement;
  }
  i += len;
  return cp;
}

std::int64_t Advances(TSizedFont& font, std::string_view s) {
  std::int64_t width = 0;
  for (std::size_t i = 0; i < s.size();) width += font.Glyph(NextCodePoint(s, i))->Advance;
  return width;
}

int ClampToInt(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// fg over dst at coverage a (0..255), per channel rounded: (fg*a + dst*(255-a)) / 255.
inline std::uint32_t Blend(std::uint32_t dst, std::uint32_t fg, std::uint32_t a) {
  const std::uint32_t na = 255 - a;
  std::uint32_t rb = (fg & 0x00FF00FFu) * a + (dst & 0x00FF00FFu) * na + 0x00800080u;
  rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
  std::uint32_t g = ((fg >> 8) & 0xFFu) * a + ((dst >> 8) & 0xFFu) * na + 0x80u;
  g = ((g + (g >> 8)) >> 8) & 0xFFu;
  return rb | (g << 8);
}

// A rectangle in 64 bits, half-open, for intermediate device coordinates beyond the int range.
struct TBox {
  std::int64_t L, T, R, B;
};

// Draws one TextOut: state shared by the background box, the glyphs and the lines.
class TTextPainter {
 public:
  TTextPainter(TCanvas& canvas, int x, int y, int angle)
      : FCanvas(canvas), FBitmap(*canvas.Bitmap()), FX(x), FY(y), FClip(canvas.ClipBox()),
        FPerPixel(canvas.HasClip()), FMono(canvas.MonochromeTarget()) {
    FQuadrant = angle % 900 == 0 ? angle / 900 : -1;
    const double radians = angle * std::numbers::pi / 1800.0;
    FCos = std::cos(radians);
    FSin = std::sin(radians);
  }

  bool NothingVisible() const { return FClip.IsEmpty(); }

  // Fills the text-frame rectangle [u0, u1) x [v0, v1) (relative to the reference point,
  // v downwards) with one colour.
  void FillFrameRect(std::int64_t u0, std::int64_t u1, std::int64_t v0, std::int64_t v1, std::uint32_t pixel) {
    if (u1 <= u0 || v1 <= v0) return;
    if (FQuadrant >= 0) {
      const TBox d = Clipped(DeviceBox(u0, v0, u1 - u0, v1 - v0));
      for (std::int64_t py = d.T; py < d.B; ++py) {
        std::uint32_t* row = FBitmap.RowToPaint(static_cast<int>(py));
        for (std::int64_t px = d.L; px < d.R; ++px)
          if (Visible(px, py)) row[px] = pixel;
      }
      return;
    }
    // Other angles: the pixels whose centres fall inside the turned rectangle.
    const double cu[2] = {static_cast<double>(u0), static_cast<double>(u1)};
    const double cv[2] = {static_cast<double>(v0), static_cast<double>(v1)};
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    for (double u : cu) {
      for (double v : cv) {
        const double dx = FX + u * FCos + v * FSin, dy = FY - u * FSin + v * FCos;
        minX = std::min(minX, dx), maxX = std::max(maxX, dx), minY = std::min(minY, dy), maxY = std::max(maxY, dy);
      }
    }
    const TBox d = Clipped(TBox{Floor(minX), Floor(minY), Floor(maxX) + 1, Floor(maxY) + 1});
    for (std::int64_t py = d.T; py < d.B; ++py) {
      std::uint32_t* row = FBitmap.RowToPaint(static_cast<int>(py));
      const double dy = static_cast<double>(py) + 0.5 - FY;
      for (std::int64_t px = d.L; px < d.R; ++px) {
        const double dx = static_cast<double>(px) + 0.5 - FX;
        const double u = dx * FCos - dy * FSin, v = dx * FSin + dy * FCos;
        if (u >= cu[0] && u < cu[1] && v >= cv[0] && v < cv[1] && Visible(px, py)) row[px] = pixel;
      }
    }
  }

  // Draws the glyph whose pen point is at text-frame (pen, baseline).
  void DrawGlyph(TSizedFont& font, char32_t cp, std::int64_t pen, std::int64_t baseline, std::uint32_t fg) {
    TGlyph* g = font.Glyph(cp);
    if (g->Width <= 0 || g->Rows <= 0) return;
    if (FQuadrant >= 0) {
      // The outline's box, widened by a pixel, decides before any rendering.
      const TBox probe = DeviceBox(pen + g->Left - 1, baseline - g->Top - 1, g->Width + 2, g->Rows + 2);
      if (IsEmpty(Clipped(probe))) return;
      if (!g->Rendered) g = font.Glyph(cp, true);
      if (g->Coverage.empty()) return;
      const std::int64_t i0 = pen + g->Left, j0 = baseline - g->Top, w = g->Width;
      const TBox d = Clipped(DeviceBox(i0, j0, g->Width, g->Rows));
      if (IsEmpty(d)) return;
      // Source (gi, gj) of the first device pixel and the steps per device column and row.
      std::int64_t gi, gj, stepX, stepY;
      switch (FQuadrant) {
        case 0: gi = d.L - FX - i0, gj = d.T - FY - j0, stepX = 1, stepY = w; break;
        case 1: gi = FY - 1 - d.T - i0, gj = d.L - FX - j0, stepX = w, stepY = -1; break;
        case 2: gi = FX - 1 - d.L - i0, gj = FY - 1 - d.T - j0, stepX = -1, stepY = -w; break;
        default: gi = d.T - FY - i0, gj = FX - 1 - d.L - j0, stepX = -w, stepY = 1; break;
      }
      Blit(*g, d, gj * w + gi, stepX, stepY, fg);
      return;
    }
    // Other angles: the glyph was rendered turned; put it at the rounded pen point.
    const double u = static_cast<double>(pen), v = static_cast<double>(baseline);
    const std::int64_t ox = Round(FX + u * FCos + v * FSin), oy = Round(FY - u * FSin + v * FCos);
    if (g->Coverage.empty()) return;
    const TBox d = Clipped(TBox{ox + g->Left, oy - g->Top, ox + g->Left + g->Width, oy - g->Top + g->Rows});
    if (IsEmpty(d)) return;
    Blit(*g, d, (d.T - (oy - g->Top)) * g->Width + (d.L - (ox + g->Left)), 1, g->Width, fg);
  }

 private:
  static std::int64_t Floor(double v) { return static_cast<std::int64_t>(std::floor(std::clamp(v, -4e18, 4e18))); }
  static std::int64_t Round(double v) { return static_cast<std::int64_t>(std::llround(std::clamp(v, -4e18, 4e18))); }
  static bool IsEmpty(const TBox& b) { return b.R <= b.L || b.B <= b.T; }

  // The device box of the text-frame pixel rectangle [i0, i0+w) x [j0, j0+h), turned by the
  // right angle about the grid corner (x, y).
  TBox DeviceBox(std::int64_t i0, std::int64_t j0, std::int64_t w, std::int64_t h) const {
    switch (FQuadrant) {
      case 0: return {FX + i0, FY + j0, FX + i0 + w, FY + j0 + h};
      case 1: return {FX + j0, FY - i0 - w, FX + j0 + h, FY - i0};
      case 2: return {FX - i0 - w, FY - j0 - h, FX - i0, FY - j0};
      default: return {FX - j0 - h, FY + i0, FX - j0, FY + i0 + w};
    }
  }

  TBox Clipped(TBox b) const {
    b.L = std::max<std::int64_t>(b.L, FClip.Left);
    b.T = std::max<std::int64_t>(b.T, FClip.Top);
    b.R = std::min<std::int64_t>(b.R, FClip.Right);
    b.B = std::min<std::int64_t>(b.B, FClip.Bottom);
    return b;
  }

  bool Visible(std::int64_t px, std::int64_t py) const {
    return !FPerPixel || FCanvas.PtVisible(static_cast<int>(px), static_cast<int>(py));
  }

  void Blit(const TGlyph& g, const TBox& d, std::int64_t start, std::int64_t stepX, std::int64_t stepY,
            std::uint32_t fg) {
    const std::uint8_t* cov = g.Coverage.data();
    for (std::int64_t py = d.T; py < d.B; ++py, start += stepY) {
      std::uint32_t* row = FBitmap.RowToPaint(static_cast<int>(py));
      std::int64_t s = start;
      for (std::int64_t px = d.L; px < d.R; ++px, s += stepX) {
        const std::uint32_t a = cov[s];
        if (a == 0 || !Visible(px, py)) continue;
        if (FMono)
          row[px] = a >= 128 ? fg : row[px];  // no shades in a 1-bit picture
        else
          row[px] = a == 255 ? fg : Blend(row[px], fg, a);
      }
    }
  }

  TCanvas& FCanvas;
  TBitmap& FBitmap;
  std::int64_t FX, FY;
  int FQuadrant;  // 0..3 for the right angles, -1 for any other
  double FCos = 1, FSin = 0;
  TRect FClip;
  bool FPerPixel;
  bool FMono;
};

}  // namespace

void TCanvas::TextOut(int x, int y, std::string_view text) {
  TraceCall("TextOut", {x, y}, text);
  if (text.empty() || !FBitmap || FBitmap->Empty()) return;  // an empty string has no box either
  auto& cache = TFontCache::Instance();
  std::lock_guard lock(cache.Mutex());
  TSizedFont* font = cache.Find(FFont);
  if (!font) return;

  int angle = FFont.Orientation() % 3600;
  if (angle < 0) angle += 3600;
  TTextPainter painter(*this, x, y, angle);
  if (painter.NothingVisible()) return;

  // Alignment in the text's own frame: u along the baseline, v downwards, (0, 0) at (x, y).
  const std::int64_t width = Advances(*font, text);
  std::int64_t u0 = 0;
  switch (FTextAlign & TA_CENTER) {
    case TA_CENTER: u0 = -(width / 2); break;
    case TA_RIGHT: u0 = -width; break;
    default: break;
  }
  std::int64_t baseline = font->Ascent;
  switch (FTextAlign & TA_BASELINE) {
    case TA_BASELINE: baseline = 0; break;
    case TA_BOTTOM: baseline = -font->Descent; break;
    default: break;
  }

  if (FBkMode == OPAQUE)
    painter.FillFrameRect(u0, u0 + width, baseline - font->Ascent, baseline + font->Descent, BkPixel());

  const std::uint32_t fg = InkPixel(FFont.Color());
  std::int64_t pen = u0;
  for (std::size_t i = 0; i < text.size();) {
    const char32_t cp = NextCodePoint(text, i);
    painter.DrawGlyph(*font, cp, pen, baseline, fg);
    pen += font->Glyph(cp)->Advance;
  }

  const TFontStyles style = FFont.Style();
  if (style & fsUnderline) {
    const std::int64_t top = baseline + font->UnderlineOffset;
    painter.FillFrameRect(u0, u0 + width, top, top + font->UnderlineThickness, fg);
  }
  if (style & fsStrikeOut) {
    const std::int64_t top = baseline + font->StrikeOffset;
    painter.FillFrameRect(u0, u0 + width, top, top + font->StrikeThickness, fg);
  }
}

int TCanvas::TextWidth(std::string_view text) {
  if (text.empty()) return 0;
  auto& cache = TFontCache::Instance();
  std::lock_guard lock(cache.Mutex());
  TSizedFont* font = cache.Find(FFont);
  return font ? ClampToInt(Advances(*font, text)) : 0;
}

int TCanvas::TextHeight(std::string_view text) {
  if (text.empty()) return 0;  // the extent of an empty string is 0 x 0
  auto& cache = TFontCache::Instance();
  std::lock_guard lock(cache.Mutex());
  TSizedFont* font = cache.Find(FFont);
  return font ? font->Ascent + font->Descent : 0;
}

TSize TCanvas::TextExtent(std::string_view text) {
  if (text.empty()) return TSize{0, 0};
  auto& cache = TFontCache::Instance();
  std::lock_guard lock(cache.Mutex());
  TSizedFont* font = cache.Find(FFont);
  if (!font) return TSize{0, 0};
  return TSize{ClampToInt(Advances(*font, text)), font->Ascent + font->Descent};
}

TTextMetric TCanvas::TextMetrics() {
  auto& cache = TFontCache::Instance();
  std::lock_guard lock(cache.Mutex());
  TSizedFont* font = cache.Find(FFont);
  TTextMetric tm;
  if (!font) return tm;
  tm.Ascent = font->Ascent;
  tm.Descent = font->Descent;
  tm.Height = font->Ascent + font->Descent;
  tm.InternalLeading = tm.Height - font->PixelsPerEm;
  tm.AveCharWidth = font->AveCharWidth;
  return tm;
}

}  // namespace varnel
