// TCustomChartPanel: panel properties, the paint handler, the plot rectangle arithmetic and the
// text and line operations on DrawCanvas.
#include "chart/ChartPanel.h"

#include <algorithm>
#include <climits>

#include "base/Messages.h"
#include "base/Numbers.h"
#include "base/Text.h"
#include "platform/ControlHost.h"

namespace varnel {

TFont DefaultChartFont() {
  TFont f;
  f.SetName(msg::DefaultFontName);
  f.SetSize(StrToInt(msg::DefaultFontSize));
  f.SetColor(clBlack);
  f.SetStyle(0);
  return f;
}

bool IsDefaultChartFont(const TFont& font) {
  return font.Size() == StrToInt(msg::DefaultFontSize) && font.Name() == msg::DefaultFontName &&
         font.Color() == clBlack && font.Style() == 0;
}

TCustomChartPanel::TCustomChartPanel()
    : FZoom(std::make_unique<TZoomPanningRecord>()), FPanning(std::make_unique<TZoomPanningRecord>()) {
  FRestingCursor = FCursor;
}

TCustomChartPanel::~TCustomChartPanel() = default;

void TCustomChartPanel::SetHost(TControlHost* host) {
  if (FHost == host) return;
  FHost = host;
  FNeedsRedraw = true;
  if (FHost) FHost->Invalidate();
}

TRect TCustomChartPanel::ClientRect() const {
  if (FHost) return FHost->ClientRect();
  return Rect(0, 0, FWidth, FHeight);
}

void TCustomChartPanel::SetBounds(int left, int top, int width, int height) {
  FNeedsRedraw = true;
  const bool resized = width != FWidth || height != FHeight;
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  if (resized) Invalidate();
}

void TCustomChartPanel::Invalidate() {
  FNeedsRedraw = true;
  if (FHost && !FDestroying) FHost->Invalidate();
}

void TCustomChartPanel::Paint() {
  TCanvas& window = WindowCanvas();
  const TRect client = ClientRect();
  // A cached picture of another size (the window was resized without an invalidation) is out
  // of date as well.
  if (!FNeedsRedraw && FOffscreenBitmap && FOffscreenBitmap->Width() == client.Width() &&
      FOffscreenBitmap->Height() == client.Height()) {
    window.Draw(0, 0, *FOffscreenBitmap);
  } else {
    PaintTo(window, client);
  }
  if (FHost) FHost->Present();
}

void TCustomChartPanel::Loaded() {
  FLoading = false;
  FRestingCursor = FCursor;
}

TCanvas& TCustomChartPanel::WindowCanvas() const {
  if (FHost) {
    if (TCanvas* c = FHost->WindowCanvas()) return *c;
  }
  if (!FFallbackSurface) FFallbackSurface = std::make_unique<TBitmap>(1, 1);
  return FFallbackSurface->Canvas();
}

TBitmap& TCustomChartPanel::EnsureOffscreenBitmap() {
  if (!FOffscreenBitmap) FOffscreenBitmap = std::make_unique<TBitmap>();
  return *FOffscreenBitmap;
}

// ---- Properties ------------------------------------------------------------------------------

void TCustomChartPanel::SetScale(const TPixelScale& v) { SetProperty(FScale, v); }
void TCustomChartPanel::SetColor(TColor v) { SetProperty(FColor, v); }
void TCustomChartPanel::SetBevelInner(TPanelBevel v) { SetProperty(FBevelInner, v); }
void TCustomChartPanel::SetBevelOuter(TPanelBevel v) { SetProperty(FBevelOuter, v); }
void TCustomChartPanel::SetBevelWidth(int v) { SetProperty(FBevelWidth, ClampPixels(v)); }
void TCustomChartPanel::SetBorderWidth(int v) { SetProperty(FBorderWidth, ClampPixels(v)); }
void TCustomChartPanel::SetBorderStyle(TBorderStyle v) { SetProperty(FBorderStyle, v); }
void TCustomChartPanel::SetVisible(bool v) {
  // Hidden, the chart needs no picture (a big window's is megabytes): showing it paints anew.
  if (!v) FreeOffscreenBitmap();
  SetProperty(FVisible, v);
}
void TCustomChartPanel::SetMarginLeft(int v) { SetProperty(FMarginLeft, ClampMargin(v)); }
void TCustomChartPanel::SetMarginTop(int v) { SetProperty(FMarginTop, ClampMargin(v)); }
void TCustomChartPanel::SetMarginRight(int v) { SetProperty(FMarginRight, ClampMargin(v)); }
void TCustomChartPanel::SetMarginBottom(int v) { SetProperty(FMarginBottom, ClampMargin(v)); }
void TCustomChartPanel::SetSeriesInDepth(bool v) { SetProperty(FSeriesInDepth, v); }

// ---- Plot rectangle ----------------------------------------------------------------------------

void TCustomChartPanel::SetPlotRect(const TRect& r) {
  FPlotRect = r;
  RecalcPlotSize();
}

void TCustomChartPanel::RecalcPlotSize() {
  TRect& r = FPlotRect;
  if (r.Left < FPanelRect.Left) r.Left = FPanelRect.Left;
  if (r.Top < FPanelRect.Top) r.Top = FPanelRect.Top;
  if (r.Left > r.Right) r.Right = r.Left < INT_MAX ? r.Left + 1 : r.Left;
  if (r.Top > r.Bottom) r.Bottom = r.Top < INT_MAX ? r.Top + 1 : r.Top;
  // In 64 bits: a plot pushed far out by huge margins still has a width and a centre.
  const auto fit = [](long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); };
  FPlotWidth = fit(static_cast<long long>(r.Right) - r.Left);
  FPlotHeight = fit(static_cast<long long>(r.Bottom) - r.Top);
  FPlotCenterX = fit((static_cast<long long>(r.Left) + r.Right) / 2);
  FPlotCenterY = fit((static_cast<long long>(r.Top) + r.Bottom) / 2);
}

// ---- Text --------------------------------------------------------------------------------------

void TCustomChartPanel::SelectFont(const TFont& font) { DrawCanvas().Font().Assign(font); }

void TCustomChartPanel::OutText(int x, int y, std::string_view text) { DrawCanvas().TextOut(x, y, text); }

int TCustomChartPanel::TextHeightOf(std::string_view text) { return DrawCanvas().TextHeight(text); }

int TCustomChartPanel::TextWidthOf(std::string_view text) { return DrawCanvas().TextWidth(text); }

void TCustomChartPanel::RotatedTextOut(int x, int y, std::string_view text, int angle) {
  TCanvas& c = DrawCanvas();
  c.Brush().SetStyle(bsClear);
  const int previous = c.Font().Orientation();
  c.Font().SetOrientation(angle * 10);
  c.TextOut(x, y, text);
  c.Font().SetOrientation(previous);
}

// ---- Lines and shapes ----------------------------------------------------------------------------

void TCustomChartPanel::DrawRectangle(const TRect& r) { DrawCanvas().Rectangle(r); }

void TCustomChartPanel::DrawPolygon(std::span<const TPoint> points) { DrawCanvas().Polygon(points); }

void TCustomChartPanel::DrawLine(int x0, int y0, int x1, int y1) {
  TCanvas& c = DrawCanvas();
  c.MoveTo(x0, y0);
  c.LineTo(x1, y1);
}

void TCustomChartPanel::DrawHorizLine(int x0, int x1, int y) { DrawLine(x0, y, x1, y); }

void TCustomChartPanel::DrawVertLine(int x, int y0, int y1) { DrawLine(x, y0, x, y1); }

void TCustomChartPanel::SetPatternBrush(TColor color, TColor backColor, TBrushStyle style) {
  TCanvas& c = DrawCanvas();
  if (style != bsSolid && color == backColor) color = backColor == clBlack ? clWhite : clBlack;
  c.Brush().SetColor(color);
  c.Brush().SetStyle(style);
  if (style == bsSolid) {
    c.SetBkMode(TRANSPARENT);
  } else {
    c.SetBkMode(OPAQUE);
    c.SetBkColor(ColorToRGB(backColor));
  }
}

}  // namespace varnel
