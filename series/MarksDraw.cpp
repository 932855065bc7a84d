// Drawing the point marks of a series: one small text box per visible point (DrawAllMarks),
// each with its optional arrow, frame and fill (DrawOneMark), and the widest mark text.
#include <algorithm>

#include "base/Numbers.h"
#include "platform/canvas/Canvas.h"
#include "series/Series.h"
#include "series/SeriesChartLink.h"

namespace varnel {

namespace link = serieslink;

void TChartSeries::DrawAllMarks() {
  if (!FParentChart || !FMarks->Visible() || FFirstShownIndex < 0) return;
  TCanvas& c = *link::DrawCanvas(FParentChart);
  const TChartPen& frame = FMarks->Frame();
  for (int i = FFirstShownIndex; i <= FLastShownIndex && i < Count(); ++i) {
    if (PointColor(i) == clNone) continue;
    const std::string text = MarkTextOf(i);
    if (text.empty()) continue;
    c.Font().Assign(FMarks->Font());
    int h = c.TextHeight("W");
    int w = c.TextWidth(text + "W");
    if (frame.Visible()) {
      c.Pen().Assign(static_cast<const TPen&>(frame));
      w += 2 * ClampPixels(frame.Width());
      h += 2 * ClampPixels(frame.Width());
    } else {
      c.Pen().SetStyle(psClear);
    }
    const int x = XPixelOf(i);
    const int y = YPixelOf(i);
    // A point that far off the plot has its mark far outside any picture (a mark box is at
    // most a few million pixels across): it is left out rather than laid out past the int range.
    constexpr int kFar = 1 << 26;
    if (x < -kFar || x > kFar || y < -kFar || y > kFar) continue;
    w = ClampPixels(w);
    h = ClampPixels(h);
    const int left = x - w / 2;
    const int top = y - h / 2;
    DrawOneMark(i, text, Point(x, y), Point(x, y), Rect(left, top, left + w, top + h));
  }
}

void TChartSeries::DrawOneMark(int index, const std::string& text, TPoint arrowStart, TPoint arrowEnd,
                               const TRect& box) {
  if (!FParentChart) return;
  TCanvas& c = *link::DrawCanvas(FParentChart);
  const TChartPen& frame = FMarks->Frame();
  const TChartPen& arrow = FMarks->Arrow();
  if (arrow.Visible()) {
    c.Pen().Assign(static_cast<const TPen&>(arrow));
    const TColor chartColor = link::ChartColor(FParentChart);
    if (arrow.Color() == PointColor(index) || arrow.Color() == chartColor)
      c.Pen().SetColor(chartColor == clBlack ? clWhite : clBlack);
    c.MoveTo(arrowStart.x, arrowStart.y);
    c.LineTo(arrowEnd.x, arrowEnd.y);
  }
  int textTop = box.Top;
  if (frame.Visible()) {
    c.Brush().SetColor(FMarks->BackColor());
    c.Brush().SetStyle(FMarks->Transparent() ? bsClear : bsSolid);
    c.Pen().Assign(static_cast<const TPen&>(frame));
    c.Rectangle(box);
    textTop += ClampPixels(frame.Width());
  } else if (!FMarks->Transparent()) {
    c.Brush().SetColor(FMarks->BackColor());
    c.Brush().SetStyle(bsSolid);
    c.Pen().SetStyle(psClear);
    c.Rectangle(box);
  }
  c.Brush().SetStyle(bsClear);
  c.SetTextAlign(TA_CENTER | TA_TOP);
  c.TextOut((box.Left + box.Right) / 2, textTop, text);
  c.SetTextAlign(TA_LEFT | TA_TOP);
}

int TChartSeries::WidestMark() {
  if (!FParentChart) return 0;
  TCanvas& c = *link::DrawCanvas(FParentChart);
  int widest = 0;
  for (int i = 0; i < Count(); ++i) widest = std::max(widest, c.TextWidth(MarkTextOf(i)));
  return widest;
}

}  // namespace varnel
