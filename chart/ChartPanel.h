// TCustomChartPanel: the windowed base of the chart. It keeps the panel's own state (colour,
// bevels, border, margins, size), the canvases of one repaint (WindowCanvas, DrawCanvas and the
// off-screen bitmap), the 3D offsets and the plot rectangle, and offers the text and line
// operations every part of the chart draws with. The repaint pipeline itself lives in
// TCustomAxisPanel (AxisPanel.h).
//
// The panel reaches its window through a TControlHost: Invalidate asks the host for a paint,
// and the host then calls Paint(), which draws into the off-screen bitmap (or only copies it
// when nothing changed), copies it onto host->WindowCanvas() and calls host->Present().
//
//   TBitmapHost host(332, 190);  chart.SetHost(&host);  host.OnPaint = [&] { chart.Paint(); };
#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "base/Color.h"
#include "base/Controls.h"
#include "base/Geometry.h"
#include "base/PixelScale.h"
#include "platform/canvas/Bitmap.h"
#include "platform/canvas/Canvas.h"
#include "platform/canvas/Graphics.h"

namespace varnel {

class TControlHost;

// Bevel of a panel edge.
enum TPanelBevel : int { bvNone, bvLowered, bvRaised, bvSpace };
// How a control is placed in its parent.
enum TAlign : int { alNone, alTop, alBottom, alLeft, alRight, alClient };
// Cursor ids (only those the chart names).
using TCursor = std::int16_t;
constexpr TCursor crDefault = 0;
constexpr TCursor crCross = -3;
constexpr TCursor crHandPoint = -21;

// The chart's default font: name "Arial" and size 8 from the message table, black, no style.
TFont DefaultChartFont();
// Whether a font equals the default font in size, name, colour and style.
bool IsDefaultChartFont(const TFont& font);

// Start and end of a mouse drag (zoom rectangle or panning); only mouse zooming uses it.
struct TZoomPanningRecord {
  int X0 = 0;
  int Y0 = 0;
  int X1 = 0;
  int Y1 = 0;
  bool Active = false;
  void Activate(int x, int y) {
    X0 = X1 = x;
    Y0 = Y1 = y;
    Active = true;
  }
};

class TCustomChartPanel {
 public:
  TCustomChartPanel();
  virtual ~TCustomChartPanel();
  TCustomChartPanel(const TCustomChartPanel&) = delete;
  TCustomChartPanel& operator=(const TCustomChartPanel&) = delete;

  // ---- Window -----------------------------------------------------------------------------
  // The host that shows the chart (not owned; null for a chart that only paints on request).
  // It must outlive the chart and its series, or be taken away with SetHost(nullptr) first.
  TControlHost* Host() const { return FHost; }
  void SetHost(TControlHost* host);
  // The client rectangle: the host's, or (0, 0, Width, Height) without a host.
  virtual TRect ClientRect() const;
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Bounds change: NeedsRedraw, then the ordinary move and resize.
  void SetBounds(int left, int top, int width, int height);

  // Invalidate: NeedsRedraw := true, then the host's invalidate (nothing is erased).
  virtual void Invalidate();
  // The paint handler: only copies OffscreenBitmap when nothing changed (and there is one), else
  // PaintTo over the client rectangle; then asks the host to present the window surface.
  void Paint();
  // One repaint onto a canvas and a rectangle (see TCustomAxisPanel).
  virtual void PaintTo(TCanvas& canvas, const TRect& r) = 0;

  // The design-time loading bracket: setters that behave differently while loading ask Loading().
  void BeginLoading() { FLoading = true; }
  virtual void Loaded();
  bool Loading() const { return FLoading; }
  // True while the destructor runs (series then skip their repaint).
  bool Destroying() const { return FDestroying; }
  // The chart never prints in this system; the printing rules of the drawing code ask this.
  bool IsPrinting() const { return FPrinting; }
  void SetPrinting(bool v) { FPrinting = v; }

  // The screen's density: fonts in points are drawn at it, and the few sizes the chart itself
  // gives in pixels (gaps, symbol widths) scale by it / 96. The owner sets it once, before
  // loading its design; 96 by default. A change invalidates.
  const TPixelScale& Scale() const { return FScale; }
  void SetScale(const TPixelScale& v);

  // ---- Panel properties (the property rule: a changed value invalidates) -------------------
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  TPanelBevel BevelInner() const { return FBevelInner; }
  void SetBevelInner(TPanelBevel v);
  TPanelBevel BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TPanelBevel v);
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int v);
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int v);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle v);
  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign v) { FAlign = v; }
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor v) { FCursor = v; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v) { FEnabled = v; }
  bool Visible() const { return FVisible; }
  // Hiding the chart frees its off-screen picture.
  void SetVisible(bool v);
  int TabOrder() const { return FTabOrder; }
  void SetTabOrder(int v) { FTabOrder = v; }
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool v) { FTabStop = v; }

  // Margins are percent of the panel, within +-kMaxMargin (a hundred times the panel): a
  // margin beyond it is kept as that, so that the plot's edges stay far inside the int range.
  static constexpr int kMaxMargin = 10000;
  static constexpr int ClampMargin(int v) { return v < -kMaxMargin ? -kMaxMargin : v > kMaxMargin ? kMaxMargin : v; }
  int MarginLeft() const { return FMarginLeft; }
  void SetMarginLeft(int v);
  int MarginTop() const { return FMarginTop; }
  void SetMarginTop(int v);
  int MarginRight() const { return FMarginRight; }
  void SetMarginRight(int v);
  int MarginBottom() const { return FMarginBottom; }
  void SetMarginBottom(int v);

  TCursor RestingCursor() const { return FRestingCursor; }

  // ---- Canvases of one repaint ------------------------------------------------------------
  // The canvas of the chart's own window. Without a host (or before its window has a surface)
  // a small private canvas stands in, so text can always be measured.
  TCanvas& WindowCanvas() const;
  // The canvas every drawing step writes to; WindowCanvas outside a repaint.
  TCanvas& DrawCanvas() const { return FDrawCanvas ? *FDrawCanvas : WindowCanvas(); }
  bool NeedsRedraw() const { return FNeedsRedraw; }
  // The off-screen picture, or null before the first buffered repaint.
  const TBitmap* OffscreenBitmap() const { return FOffscreenBitmap.get(); }

  // ---- 3D offsets and depth levels (recomputed at every repaint) ---------------------------
  bool SeriesInDepth() const { return FSeriesInDepth; }
  void SetSeriesInDepth(bool v);
  int DepthDX() const { return FDepthDX; }
  int DepthDY() const { return FDepthDY; }
  int LevelDX() const { return FLevelDX; }
  int LevelDY() const { return FLevelDY; }
  int MaxDepthLevel() const { return FMaxDepthLevel; }
  void SetMaxDepthLevel(int v) { FMaxDepthLevel = v; }
  // Set by the depth computation (ComputeDepth, ChartWall.h).
  void SetDepthOffsets(int levelDX, int levelDY, int depthDX, int depthDY) {
    FLevelDX = levelDX;
    FLevelDY = levelDY;
    FDepthDX = depthDX;
    FDepthDY = depthDY;
  }

  // ---- Plot rectangle ---------------------------------------------------------------------
  const TRect& PanelRect() const { return FPanelRect; }
  const TRect& PlotRect() const { return FPlotRect; }
  // Sets PlotRect and recomputes the plot size (RecalcPlotSize).
  void SetPlotRect(const TRect& r);
  int PlotWidth() const { return FPlotWidth; }
  int PlotHeight() const { return FPlotHeight; }
  int PlotCenterX() const { return FPlotCenterX; }
  int PlotCenterY() const { return FPlotCenterY; }
  // Keeps PlotRect inside PanelRect's left and top, never inverted, and recomputes the size.
  void RecalcPlotSize();

  // ---- Text -------------------------------------------------------------------------------
  // The DrawCanvas font takes all values of the given font.
  virtual void SelectFont(const TFont& font);
  // Text at (x, y) on DrawCanvas with its font, alignment, background mode and colours.
  virtual void OutText(int x, int y, std::string_view text);
  virtual int TextHeightOf(std::string_view text);
  virtual int TextWidthOf(std::string_view text);
  // TextHeightOf("W"): the line spacing of titles, legend, axis labels and marks.
  int LineHeight() { return TextHeightOf("W"); }
  // Text at an angle (degrees, counterclockwise) in the current DrawCanvas font, clear brush.
  void RotatedTextOut(int x, int y, std::string_view text, int angle);

  // ---- Lines and shapes on DrawCanvas with its current pen and brush ------------------------
  void DrawRectangle(const TRect& r);
  void DrawRectangle(int left, int top, int right, int bottom) { DrawRectangle(Rect(left, top, right, bottom)); }
  void DrawPolygon(std::span<const TPoint> points);
  void DrawLine(int x0, int y0, int x1, int y1);
  void DrawHorizLine(int x0, int x1, int y);
  void DrawVertLine(int x, int y0, int y1);
  // Brush for walls and legend boxes: a hatch whose colour equals its background becomes black
  // (white on black); a solid brush makes the background transparent, any other opaque in the
  // back colour.
  void SetPatternBrush(TColor color, TColor backColor, TBrushStyle style);

  // The change handler of every owned pen, brush, font and picture: invalidates the chart.
  virtual void NotifyChanged() { Invalidate(); }

  // Mouse drag records (mouse zooming and panning only).
  TZoomPanningRecord& Zoom() { return *FZoom; }
  TZoomPanningRecord& Panning() { return *FPanning; }

 protected:
  // The property rule: compare, store, invalidate.
  template <typename T>
  void SetProperty(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Invalidate();
  }
  // Creates OffscreenBitmap when absent, or frees it (Monochrome changes).
  TBitmap& EnsureOffscreenBitmap();
  void FreeOffscreenBitmap() { FOffscreenBitmap.reset(); }
  void SetNeedsRedraw(bool v) { FNeedsRedraw = v; }
  void SetDrawCanvas(TCanvas* canvas) { FDrawCanvas = canvas; }
  void SetPanelRect(const TRect& r) { FPanelRect = r; }
  void SetPlotRectRaw(const TRect& r) { FPlotRect = r; }
  void SetDestroying() { FDestroying = true; }

 private:
  TControlHost* FHost = nullptr;
  int FLeft = 0;
  int FTop = 0;
  int FWidth = 0;
  int FHeight = 0;
  TPixelScale FScale;
  TColor FColor = clBtnFace;
  TPanelBevel FBevelInner = bvNone;
  TPanelBevel FBevelOuter = bvRaised;
  int FBevelWidth = 1;
  int FBorderWidth = 0;
  TBorderStyle FBorderStyle = bsNone;
  TAlign FAlign = alNone;
  TCursor FCursor = crDefault;
  bool FEnabled = true;
  bool FVisible = true;
  int FTabOrder = -1;
  bool FTabStop = false;
  bool FLoading = false;
  bool FDestroying = false;
  bool FPrinting = false;

  int FMarginLeft = 3;
  int FMarginTop = 3;
  int FMarginRight = 3;
  int FMarginBottom = 3;
  bool FNeedsRedraw = true;
  TCanvas* FDrawCanvas = nullptr;  // null outside a repaint: DrawCanvas() is WindowCanvas()
  std::unique_ptr<TBitmap> FOffscreenBitmap;
  mutable std::unique_ptr<TBitmap> FFallbackSurface;  // WindowCanvas without a host surface
  bool FSeriesInDepth = true;
  int FDepthDX = 0;
  int FDepthDY = 0;
  int FMaxDepthLevel = 0;
  int FLevelDX = 0;
  int FLevelDY = 0;
  TRect FPanelRect{};
  TRect FPlotRect{};
  int FPlotWidth = 0;
  int FPlotHeight = 0;
  int FPlotCenterX = 0;
  int FPlotCenterY = 0;
  TCursor FRestingCursor = crDefault;
  std::unique_ptr<TZoomPanningRecord> FZoom;
  std::unique_ptr<TZoomPanningRecord> FPanning;
};

}  // namespace varnel
