// TCustomChart: the pipeline steps that draw the chart's own decorations: the panel background
// with its bevels and border, the back image, titles and legend in their order, the walls and
// the depth computation.
#include "chart/Chart.h"

#include <algorithm>
#include <climits>

#include "series/Series.h"

namespace varnel {

TCustomChart::TCustomChart()
    : FBackImage(std::make_unique<TBitmap>()),
      FGradient(std::make_unique<TChartGradient>(this)),
      FLeftWall(std::make_unique<TChartWall>(this)),
      FBottomWall(std::make_unique<TChartWall>(this)),
      FTitle(std::make_unique<TChartTitle>(this)),
      FFoot(std::make_unique<TChartTitle>(this)) {
  FLeftWall->SetColor(clLightYellow);
  FBottomWall->SetColor(clWhite);
}

TCustomChart::~TCustomChart() = default;

void TCustomChart::SetBackImage(const TBitmap& v) {
  *FBackImage = v;
  NotifyChanged();
}

int TCustomChart::WallSize(const TChartAxis& axis) const {
  if (!View3D() || !View3DWalls()) return 0;
  if (&axis == &LeftAxis()) return FLeftWall->Size();
  if (&axis == &BottomAxis()) return FBottomWall->Size();
  return 0;
}

int TCustomChart::CalcDepth() { return ComputeDepth(*this); }

void TCustomChart::PaintWalls() { PaintChartWalls(*this); }

// ---- Background ---------------------------------------------------------------------------------

void TCustomChart::FillPanelBackground(const TRect& r) {
  TCanvas& c = DrawCanvas();
  if (FGradient->Visible()) {
    FGradient->Draw(c, r);
    return;
  }
  c.Brush().SetColor(Color());
  c.Brush().SetStyle(bsSolid);
  c.FillRect(r);
}

void TCustomChart::PaintBackImage(const TRect& r) {
  const TBitmap& image = *FBackImage;
  if (image.Empty()) return;
  TCanvas& c = DrawCanvas();
  switch (FBackImageMode) {
    case pbmStretch:
      c.StretchDraw(r, image);
      break;
    case pbmTile:
      c.SetClipRect(r);
      for (int y = r.Top; y < r.Bottom; y += image.Height())
        for (int x = r.Left; x < r.Right; x += image.Width()) c.Draw(x, y, image);
      c.ClearClip();
      break;
    case pbmCenter:
      c.SetClipRect(r);
      FillPanelBackground(r);
      c.Draw(r.Left + (r.Width() - image.Width()) / 2, r.Top + (r.Height() - image.Height()) / 2, image);
      c.ClearClip();
      break;
  }
}

void TCustomChart::PaintBackImageInside() {
  if (FBackImage->Empty() || !FBackImageInside) return;
  const TRect& p = PlotRect();
  PaintBackImage(Rect(p.Left + DepthDX(), p.Top - DepthDY(), p.Right + DepthDX() + 1, p.Bottom - DepthDY()));
}

void TCustomChart::DrawFrame(TRect& r, TColor topColor, TColor bottomColor, int width) {
  TCanvas& c = DrawCanvas();
  --r.Right;
  --r.Bottom;
  // Each outline moves its left and top edges one pixel right and down and its right and bottom
  // edges one pixel left and up, also once they have crossed. Once every edge has left what can
  // be painted on its own side, no later outline paints a pixel: a frame of any width ends there,
  // its rectangle where the last outline would have left it (kept far from the int range's ends).
  const TRect box = c.ClipBox();
  const auto beyond = [&] {
    return box.Left >= box.Right || box.Top >= box.Bottom ||
           (r.Left >= box.Right && r.Top >= box.Bottom && r.Right < box.Left && r.Bottom < box.Top);
  };
  for (int i = 0; i < width; ++i) {
    if (beyond()) {
      const auto move = [&](int& edge, long long by) {
        edge = static_cast<int>(std::clamp<long long>(edge + by, INT_MIN / 2, INT_MAX / 2));
      };
      const long long left = static_cast<long long>(width) - i;
      move(r.Left, left);
      move(r.Top, left);
      move(r.Right, -left);
      move(r.Bottom, -left);
      break;
    }
    c.Pen().SetColor(topColor);
    c.MoveTo(r.Left, r.Bottom);
    c.LineTo(r.Left, r.Top);
    c.LineTo(r.Right, r.Top);
    c.Pen().SetColor(bottomColor);
    c.MoveTo(r.Right, r.Top);
    c.LineTo(r.Right, r.Bottom);
    c.LineTo(r.Left - 1, r.Bottom);
    ++r.Left;
    ++r.Top;
    --r.Right;
    --r.Bottom;
  }
  ++r.Right;
  ++r.Bottom;
}

void TCustomChart::PaintPanelBackground(const TRect& r) {
  FillPanelBackground(r);
  if (!FBackImage->Empty() && !FBackImageInside) PaintBackImage(r);
  TCanvas& c = DrawCanvas();
  c.Pen().SetStyle(psSolid);
  c.Pen().SetWidth(1);
  c.Pen().SetMode(pmCopy);
  c.Brush().SetStyle(bsClear);
  TRect frame = r;
  const auto bevel = [&](TPanelBevel kind) {
    const TColor shadow = clBtnShadow;
    const TColor highlight = clBtnHighlight;
    if (kind == bvLowered)
      DrawFrame(frame, shadow, highlight, BevelWidth());
    else
      DrawFrame(frame, highlight, shadow, BevelWidth());
  };
  if (BevelOuter() != bvNone) bevel(BevelOuter());
  DrawFrame(frame, Color(), Color(), BorderWidth());
  if (BevelInner() != bvNone) bevel(BevelInner());
}

void TCustomChart::PaintTitlesAndLegend() {
  const auto titles = [this] {
    if (FTitle->Visible()) FTitle->Draw(true);
    if (FFoot->Visible()) FFoot->Draw(false);
  };
  const bool legend = Legend().Visible() && SeriesList().ActiveCount() > 0;
  if (legend && (Legend().Alignment() == laLeft || Legend().Alignment() == laRight)) {
    Legend().Draw();
    titles();
  } else {
    titles();
    if (legend) Legend().Draw();
  }
}

}  // namespace varnel
