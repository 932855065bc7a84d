// TSeriesMarks: defaults, setters that repaint the series, and Assign.
#include "series/SeriesMarks.h"

#include "base/Messages.h"
#include "base/Numbers.h"
#include "base/Text.h"
#include "series/Series.h"

namespace varnel {

TSeriesMarks::TSeriesMarks(TChartSeries* series) : FSeries(series) {
  // The chart's default font: Arial 8, black, no style.
  FFont.SetName(msg::DefaultFontName);
  FFont.SetSize(StrToInt(msg::DefaultFontSize));
  FFont.SetColor(clBlack);
  FFont.OnChange = [this] { Changed(); };
  FFrame.OnChange = [this] { Changed(); };
  FArrow.OnChange = [this] { Changed(); };
}

void TSeriesMarks::Changed() {
  if (FSeries) FSeries->PenChanged();
}

void TSeriesMarks::SetVisible(bool v) {
  if (v == FVisible) return;
  FVisible = v;
  if (FSeries) FSeries->Repaint();
}
void TSeriesMarks::SetBackColor(TColor v) {
  if (v == FBackColor) return;
  FBackColor = v;
  if (FSeries) FSeries->Repaint();
}
void TSeriesMarks::SetTransparent(bool v) {
  if (v == FTransparent) return;
  FTransparent = v;
  if (FSeries) FSeries->Repaint();
}
void TSeriesMarks::SetStyle(TSeriesMarksStyle v) {
  if (v == FStyle) return;
  FStyle = v;
  if (FSeries) FSeries->Repaint();
}
void TSeriesMarks::SetClip(bool v) {
  if (v == FClip) return;
  FClip = v;
  if (FSeries) FSeries->Repaint();
}
void TSeriesMarks::SetArrowLength(int v) {
  v = ClampPixels(v);
  if (v == FArrowLength) return;
  FArrowLength = v;
  if (FSeries) FSeries->Repaint();
}

void TSeriesMarks::Assign(const TSeriesMarks& s) {
  if (&s == this) return;
  SetVisible(s.FVisible);
  SetBackColor(s.FBackColor);
  SetTransparent(s.FTransparent);
  FFont.Assign(s.FFont);
  SetStyle(s.FStyle);
  FFrame.Assign(static_cast<const TChartPen&>(s.FFrame));
  FArrow.Assign(static_cast<const TChartPen&>(s.FArrow));
  SetClip(s.FClip);
  SetArrowLength(s.FArrowLength);
}

}  // namespace varnel
