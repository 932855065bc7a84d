// TFastLineSeries: the polyline pass with its same-pixel skip, the line pen kept together with
// the series colour, the hit test and the legend symbol.
#include "series/FastLineSeries.h"

#include <algorithm>
#include <cstdlib>

#include "platform/canvas/Canvas.h"
#include "series/SeriesChartLink.h"

namespace varnel {

TFastLineSeries::TFastLineSeries() {
  FLinePen = NewChartPen();
  FLinePen->OnChange = [this] { LinePenChanged(); };
  SetDrawsSinglePoint(false);
  SetIncludeEdgePoint(true);
}

TFastLineSeries::~TFastLineSeries() = default;

void TFastLineSeries::LinePenChanged() {
  // A colour given to the pen directly becomes the series colour too, so the line always shows
  // the colour last set through either of them.
  if (FLinePen->Color() != SeriesColor() && SeriesColor() != clAutoColor)
    TChartSeries::SetSeriesColor(FLinePen->Color());
  else
    PenChanged();
}

void TFastLineSeries::SetLinePen(const TChartPen& pen) {
  FLinePen->Assign(pen);
  SetSeriesColor(FLinePen->Color());
}

void TFastLineSeries::SetSeriesColor(TColor v) {
  TChartSeries::SetSeriesColor(v);
  FLinePen->SetColor(v);
}

void TFastLineSeries::PrepareLinePen() {
  if (!FCanvas) return;
  FCanvas->Pen().Assign(static_cast<const TPen&>(*FLinePen));
  FCanvas->Pen().SetColor(SeriesColor());
}

void TFastLineSeries::DrawAllPoints() {
  FCanvas = ParentChart() ? serieslink::DrawCanvas(ParentChart()) : nullptr;
  if (!FCanvas) return;
  PrepareLinePen();
  TChartSeries::DrawAllPoints();
  FCanvas = nullptr;
}

void TFastLineSeries::DrawPoint(int index) {
  if (!FCanvas) return;
  const int x = XPixelOf(index);
  const int y = YPixelOf(index);
  if (index == FirstShownIndex()) {
    if (index < 1) {
      FCanvas->MoveTo(x, y);
      FLastX = x;
      FLastY = y;
      return;
    }
    // The line enters the plot from the point before the first visible one.
    FLastX = XPixelOf(index - 1);
    FLastY = YPixelOf(index - 1);
    FCanvas->MoveTo(FLastX, FLastY);
  } else if (x == FLastX && y == FLastY) {
    return;
  }
  FCanvas->LineTo(x, y);
  FLastX = x;
  FLastY = y;
}

bool PixelOnSegment(TPoint p, TPoint a, TPoint b) {
  const long long dx = static_cast<long long>(b.x) - a.x;
  const long long dy = static_cast<long long>(b.y) - a.y;
  const long long cross = dy * (static_cast<long long>(p.x) - a.x) - (static_cast<long long>(p.y) - a.y) * dx;
  const long long band = std::max(std::llabs(dx), std::llabs(dy));
  if (std::llabs(cross) >= band) return false;
  if (a.x != b.x && (p.x < std::min(a.x, b.x) || p.x > std::max(a.x, b.x))) return false;
  if (a.y != b.y && (p.y < std::min(a.y, b.y) || p.y > std::max(a.y, b.y))) return false;
  return true;
}

int TFastLineSeries::PointAtPixel(int x, int y) const {
  const int first = FirstShownIndex();
  const int last = LastShownIndex();
  if (first < 0 || last < 0 || last < first) return -1;
  const TPoint p{x, y};
  TPoint previous{0, 0};
  for (int i = first; i <= last; ++i) {
    const TPoint q{XPixelOf(i), YPixelOf(i)};
    if (p == q) return i;
    if (i > first && PixelOnSegment(p, q, previous)) return i - 1;
    previous = q;
  }
  return -1;
}

void TFastLineSeries::DrawSymbolShape(int /*index*/, const TRect& rect) {
  TCanvas* canvas = ParentChart() ? serieslink::DrawCanvas(ParentChart()) : nullptr;
  if (!canvas) return;
  FCanvas = canvas;
  PrepareLinePen();
  FCanvas = nullptr;
  const int m = (rect.Top + rect.Bottom) / 2;
  canvas->MoveTo(rect.Left, m);
  canvas->LineTo(rect.Right, m);
}

void TFastLineSeries::Assign(const TChartSeries& source) {
  if (&source == this) return;
  if (const auto* other = dynamic_cast<const TFastLineSeries*>(&source)) FLinePen->Assign(*other->FLinePen);
  TChartSeries::Assign(source);
}

}  // namespace varnel
