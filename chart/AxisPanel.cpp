// TCustomAxisPanel: construction, the property checks of the panel, and the repaint pipeline
// (PaintTo, RenderChart, LayoutPlotArea, the back face, clipping and the series loop).
#include "chart/AxisPanel.h"

#include <algorithm>
#include <array>
#include <optional>

#include "base/Exceptions.h"
#include "base/Messages.h"
#include "base/Numbers.h"
#include "base/Text.h"
#include "platform/ControlHost.h"
#include "platform/canvas/Canvas.h"
#include "series/Series.h"
#include "series/SeriesMarks.h"

namespace varnel {

namespace {

bool Intersect(const TRect& a, const TRect& b, TRect& out) {
  out = Rect(std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
             std::min(a.Bottom, b.Bottom));
  return out.Left < out.Right && out.Top < out.Bottom;
}

}  // namespace

TCustomAxisPanel::TCustomAxisPanel() {
  SetBounds(0, 0, 400, 250);
  FSeriesList = std::make_unique<TChartSeriesList>(this);
  FLegend = std::make_unique<TChartLegend>(this);
  FFrame.OnChange = [this] { NotifyChanged(); };
  FBottomAxis = std::make_unique<TChartAxis>(this, true, false);
  FTopAxis = std::make_unique<TChartAxis>(this, true, true);
  FLeftAxis = std::make_unique<TChartAxis>(this, false, false);
  FLeftAxis->Title().SetAngle(90);
  FRightAxis = std::make_unique<TChartAxis>(this, false, true);
  FRightAxis->Title().SetAngle(270);
}

TCustomAxisPanel::~TCustomAxisPanel() {
  // The chart lets go of its series (it does not own them): each leaves through its own
  // ParentChart setter, so none keeps a link to a freed chart.
  SetDestroying();
  while (FSeriesList->Count() > 0) {
    TChartSeries* s = FSeriesList->Series(FSeriesList->Count() - 1);
    s->SetParentChart(nullptr);
    FSeriesList->Remove(s);  // in case the series did not call back
  }
}

void TCustomAxisPanel::SetChart3DPercent(int v) {
  if (v <= 0 || v > 100) throw ChartException(FormatMessage(msg::Chart3DPercent, {"1", "100"}));
  SetProperty(FChart3DPercent, v);
}

void TCustomAxisPanel::SetMonochrome(bool v) {
  FreeOffscreenBitmap();
  SetNeedsRedraw(true);
  SetProperty(FMonochrome, v);
}

void TCustomAxisPanel::SetAxesRange(double leftMin, double leftMax, double rightMin, double rightMax, double topMin,
                                    double topMax, double bottomMin, double bottomMax) {
  FLeftAxis->SetRange(leftMin, leftMax);
  FRightAxis->SetRange(rightMin, rightMax);
  FTopAxis->SetRange(topMin, topMax);
  FBottomAxis->SetRange(bottomMin, bottomMax);
}

// ---- Repaint -------------------------------------------------------------------------------------

namespace {
// The tools of a canvas the chart draws on straight, given back afterwards (also when a step
// fails): its owner finds it as it left it, unclipped, as when the chart drew off screen and only
// copied its picture onto it.
class TSavedTools {
 public:
  explicit TSavedTools(TCanvas& c)
      : FCanvas(c), FBkMode(c.BkMode()), FBkColor(c.BkColor()), FTextAlign(c.TextAlign()),
        FFillMode(c.PolyFillMode()), FPenPos(c.PenPos()) {
    FPen.Assign(c.Pen());
    FBrush.Assign(c.Brush());
    FFont.SetPixelsPerInch(c.Font().PixelsPerInch());
    FFont.Assign(c.Font());
  }
  ~TSavedTools() {
    FCanvas.ClearClip();
    FCanvas.Pen().Assign(FPen);
    FCanvas.Brush().Assign(FBrush);  // sets the background too: the saved one follows
    FCanvas.Font().Assign(FFont);
    FCanvas.SetBkMode(FBkMode);
    FCanvas.SetBkColor(FBkColor);
    FCanvas.SetTextAlign(FTextAlign);
    FCanvas.SetPolyFillMode(FFillMode);
    FCanvas.MoveTo(FPenPos.x, FPenPos.y);
  }
  TSavedTools(const TSavedTools&) = delete;
  TSavedTools& operator=(const TSavedTools&) = delete;

 private:
  TCanvas& FCanvas;
  TPen FPen;
  TBrush FBrush;
  TFont FFont;
  TBkMode FBkMode;
  TColor FBkColor;
  unsigned FTextAlign;
  TFillMode FFillMode;
  TPoint FPenPos;
};
}  // namespace

void TCustomAxisPanel::PaintTo(TCanvas& canvas, const TRect& r) {
  struct Restore {
    TCustomAxisPanel* p;
    ~Restore() { p->SetDrawCanvas(nullptr); }
  } restore{this};
  const auto shrink = [this](TRect plot) {
    plot.Left += BorderWidth();
    plot.Top += BorderWidth();
    plot.Right -= BorderWidth();
    plot.Bottom -= BorderWidth();
    SetPlotRect(plot);
  };
  if (FOffscreenDrawing) {
    // The host's back buffer, painted whole, takes the picture straight: the off-screen picture
    // would only be copied onto it. A 1-bit picture is always composed off screen.
    TControlHost* host = Host();
    const TRect client = ClientRect();
    const bool straight = host && host->SurfaceIsBackBuffer() && !FMonochrome && !canvas.HasClip() &&
                          &canvas == host->WindowCanvas() && r.Left == 0 && r.Top == 0 && r.Right == client.Width() &&
                          r.Bottom == client.Height();
    TBitmap* bmp = nullptr;
    std::optional<TSavedTools> saved;
    if (straight) {
      FreeOffscreenBitmap();
      saved.emplace(canvas);
    } else {
      bmp = &EnsureOffscreenBitmap();
      bmp->SetMonochrome(FMonochrome);  // a 1-bit picture: every colour is drawn black or white
      bmp->SetSize(r.Right - r.Left, r.Bottom - r.Top);
    }
    const int w = bmp ? bmp->Width() : r.Right;
    const int h = bmp ? bmp->Height() : r.Bottom;
    SetPanelRect(Rect(0, 0, w, h));
    shrink(Rect(MulDiv(MarginLeft(), w, 100), MulDiv(MarginTop(), h, 100), w - MulDiv(MarginRight(), w, 100),
                h - MulDiv(MarginBottom(), h, 100)));
    TCanvas& c = bmp ? bmp->Canvas() : canvas;
    c.Font().SetPixelsPerInch(Scale().PixelsPerInch());  // fonts in points take the screen's density
    c.ClearClip();
    c.SetTextAlign(TA_LEFT | TA_TOP);
    SetDrawCanvas(&c);
    // The picture is up to date once drawn, unless a change was made while it was drawn (a
    // handler that changes the legend, say): that asks for another paint, which must then
    // draw again rather than copy this picture. A paint that fails leaves it to be drawn.
    SetNeedsRedraw(false);
    try {
      RenderChart(PanelRect());
    } catch (...) {
      SetNeedsRedraw(true);
      throw;
    }
    if (bmp) canvas.Draw(r.Left, r.Top, *bmp);
  } else {
    canvas.Font().SetPixelsPerInch(Scale().PixelsPerInch());
    SetDrawCanvas(&canvas);
    SetPanelRect(r);
    const int w = r.Right - r.Left;
    const int h = r.Bottom - r.Top;
    shrink(Rect(r.Left + MulDiv(MarginLeft(), w, 100), r.Top + MulDiv(MarginTop(), h, 100),
                r.Right - MulDiv(MarginRight(), w, 100), r.Bottom - MulDiv(MarginBottom(), h, 100)));
    RenderChart(r);
  }
}

void TCustomAxisPanel::RenderChart(const TRect& r) {
  TCanvas& c = DrawCanvas();
  const TColor background = c.BkColor();
  PaintPanelBackground(r);
  c.Pen().SetColor(clBlack);
  PaintTitlesAndLegend();
  AssignDepthLevels();
  LayoutPlotArea();
  SeriesMarginsToAxes();
  FClipRect = PlotRect();
  PaintBackImageInside();
  PaintBackFace();
  if (FView3D && FView3DWalls) PaintWalls();
  if (FAxisVisible) {
    for (TChartAxis* axis : {FTopAxis.get(), FBottomAxis.get(), FLeftAxis.get(), FRightAxis.get()}) {
      if (AxisShown(*axis)) axis->DrawAxis(true);
    }
  }
  PaintAllSeries();
  c.SetBkColor(background);
  if (OnAfterDraw) OnAfterDraw(this);
}

void TCustomAxisPanel::AssignDepthLevels() {
  if (FView3D) {
    SetMaxDepthLevel(-1);
    for (TChartSeries* s : *FSeriesList)
      if (s->Active()) s->RequestDepthLevel();
    for (TChartSeries* s : *FSeriesList)
      if (s->Active()) s->SetDepthLevel(MaxDepthLevel() - s->DepthLevel());
  } else {
    SetMaxDepthLevel(0);
    for (TChartSeries* s : *FSeriesList)
      if (s->Active()) s->SetDepthLevel(0);
  }
}

void TCustomAxisPanel::LayoutPlotArea() {
  FLeftAxis->AdjustRange();
  FRightAxis->AdjustRange();
  FTopAxis->AdjustRange();
  FBottomAxis->AdjustRange();
  CalcDepth();
  TRect r = PlotRect();
  r.Right -= DepthDX();
  r.Top += DepthDY();
  SetPlotRect(r);
  TRect p = PlotRect();
  for (TChartAxis* axis : {FLeftAxis.get(), FRightAxis.get(), FTopAxis.get(), FBottomAxis.get()}) {
    if (!AxisShown(*axis)) continue;
    TRect q = p;
    axis->ReserveSpace(q);
    TRect both;
    if (Intersect(q, p, both)) p = both;
  }
  SetPlotRect(p);
}

bool TCustomAxisPanel::AxisShown(const TChartAxis& axis) const {
  if (!FAxisVisible || !axis.Visible()) return false;
  if (FSeriesList->ActiveCount() == 0) return true;
  return FSeriesList->FirstActiveBoundTo(&axis) != nullptr;
}

void TCustomAxisPanel::SeriesMarginsToAxes() {
  for (TChartAxis* axis : {FTopAxis.get(), FLeftAxis.get(), FRightAxis.get(), FBottomAxis.get()}) {
    int a = 0;
    int b = 0;
    for (TChartSeries* s : *FSeriesList) {
      if (!s->Active() || !s->BoundToAxis(axis)) continue;
      int m1 = 0;
      int m2 = 0;
      if (axis->IsHorizontal())
        s->HorizontalMarginsWanted(m1, m2);
      else
        s->VerticalMarginsWanted(m1, m2);
      a = std::max(a, m1);
      b = std::max(b, m2);
    }
    // Every axis takes its margins, zero ones too: the axis then maps its range from its own
    // edges as the margins leave them.
    if (axis->IsHorizontal())
      axis->AdjustRangeToMargins(a, 0, b, 0);
    else
      axis->AdjustRangeToMargins(0, a, 0, b);
  }
}

void TCustomAxisPanel::PaintBackFace() {
  if (!FFrame.Visible() && FBackColor == clAutoColor) return;
  TCanvas& c = DrawCanvas();
  c.Brush().SetStyle(bsClear);
  if (FFrame.Visible()) {
    c.Pen().Assign(static_cast<const TPen&>(FFrame));
    if (FFrame.Color() == clAutoColor) c.Pen().SetColor(Color() == clBlack ? clWhite : clBlack);
  } else {
    c.Pen().SetStyle(psClear);
  }
  if (FBackColor != clAutoColor) {
    c.Brush().SetColor(FBackColor);
    c.Brush().SetStyle(bsSolid);
  } else {
    c.Brush().SetStyle(bsClear);
  }
  const TRect& p = PlotRect();
  c.Rectangle(p.Left + DepthDX(), p.Top - DepthDY(), p.Right + DepthDX() + 1, p.Bottom - DepthDY());
}

void TCustomAxisPanel::ClipToPlot() {
  TCanvas& c = DrawCanvas();
  const TRect& r = FClipRect;
  if (!FView3D) {
    TRect clip = Rect(r.Left + 1, r.Top + 1, r.Right, r.Bottom - 1);
    if (FFrame.Visible()) {
      clip.Right += 1 - FFrame.Width();
      clip.Bottom += 1 - FFrame.Width();
    }
    c.SetClipRect(clip);
  } else {
    const std::array<TPoint, 6> poly = {
        Point(r.Left + 1, r.Bottom - 1),
        Point(r.Left + 1, r.Top),
        Point(r.Left + DepthDX(), r.Top - DepthDY() + 1),
        Point(r.Right + DepthDX(), r.Top - DepthDY() + 1),
        Point(r.Right + DepthDX(), r.Bottom - DepthDY() + 1),
        Point(r.Right, r.Bottom)};
    c.SetClipPolygon(poly, ALTERNATE);
  }
}

void TCustomAxisPanel::Unclip() { DrawCanvas().ClearClip(); }

// ---- Series ----------------------------------------------------------------------------------------

void TCustomAxisPanel::PaintAllSeries() {
  // Many one-pixel lines crossing one another (a line a core) cost the pixels that show.
  TLineLayer layer(DrawCanvas());
  const int n = FSeriesList->Count();
  std::vector<bool> done(static_cast<std::size_t>(n), false);
  for (int i = 0; i < n; ++i) {
    TChartSeries* s = FSeriesList->Series(i);
    if (!s->Active() || done[static_cast<std::size_t>(i)]) continue;
    bool shared = false;
    if (FView3D) {
      for (int j = 0; j < n; ++j) {
        TChartSeries* o = FSeriesList->Series(j);
        if (j != i && o->Active() && o->DepthLevel() == s->DepthLevel()) shared = true;
      }
    }
    if (!shared) {
      PaintSeries(i);
      continue;
    }
    // The group on this level is drawn by its first member, point by point across the group.
    for (int j = i; j < n; ++j) {
      TChartSeries* o = FSeriesList->Series(j);
      if (o->Active() && o->DepthLevel() == s->DepthLevel()) done[static_cast<std::size_t>(j)] = true;
    }
    PaintSeriesGroup(i);
  }
}

void TCustomAxisPanel::PaintSeries(int index) {
  TChartSeries* s = FSeriesList->Series(index);
  s->FindVisibleRange();
  if (s->FirstShownIndex() < 0) return;
  s->BeforeDrawPoints();
  if (FClipPoints) ClipToPlot();
  s->DrawAllPoints();
  if (FClipPoints) Unclip();
  if (s->Marks().Visible()) {
    const bool clip = s->Marks().Clip();
    if (clip) ClipToPlot();
    s->DrawAllMarks();
    if (clip) Unclip();
  }
  s->AfterDrawPoints();
}

void TCustomAxisPanel::PaintSeriesGroup(int index) {
  TChartSeries* first = FSeriesList->Series(index);
  std::vector<TChartSeries*> group;
  for (int j = index; j < FSeriesList->Count(); ++j) {
    TChartSeries* o = FSeriesList->Series(j);
    if (o->Active() && o->DepthLevel() == first->DepthLevel()) group.push_back(o);
  }
  int from = -1;
  int to = -1;
  for (TChartSeries* o : group) {
    o->FindVisibleRange();
    o->BeforeDrawPoints();
    from = std::max(from, o->FirstShownIndex());
    to = std::max(to, o->LastShownIndex());
  }
  if (FClipPoints) ClipToPlot();
  if (from >= 0) {
    const bool forward = first->DrawsForward();
    for (int k = forward ? from : to; forward ? k <= to : k >= from; k += forward ? 1 : -1) {
      for (TChartSeries* o : group)
        if (o->Count() > k) o->DrawPoint(k);
    }
  }
  if (FClipPoints) Unclip();
  for (TChartSeries* o : group) {
    if (o->FirstShownIndex() < 0) continue;
    if (o->Marks().Visible()) {
      const bool clip = o->Marks().Clip();
      if (clip) ClipToPlot();
      o->DrawAllMarks();
      if (clip) Unclip();
    }
    o->AfterDrawPoints();
  }
}

}  // namespace varnel
