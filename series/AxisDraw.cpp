// TChartAxis::DrawAxis: the axis title, the label loops (default, custom and series), the
// ticks, minor ticks and grid lines at the label positions, and the axis line, in 2D and 3D.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "base/Numbers.h"
#include "chart/AxisPanel.h"
#include "series/AxisDateTime.h"
#include "series/ChartAxis.h"
#include "series/Series.h"

namespace varnel {

namespace {

constexpr int kNoDateStep = DateTimeStepCount;  // 25: no calendar stepping
constexpr int kMaxLabels = 10000;

}  // namespace

struct TChartAxis::TDrawState {
  double Step = 0;
  int Wall = 0;
  double Value = 0;
  int DateStep = kNoDateStep;
  int PrevLabelPos = -1;
  std::int64_t PrevLabelHalf = 0;
  int PrevTickPos = -1;
};

void TChartAxis::DrawAxis(bool calcPosition) {
  TCustomAxisPanel* c = ParentChart();
  if (!c) return;
  TDrawState s;
  FShowsDateTime = UsesDateTime();
  s.Wall = WallSize();
  c->SelectFont(LabelsFont());
  s.Step = CalcLabelStep();
  const TRect& plot = c->PlotRect();

  if (calcPosition) {
    if (FIsHorizontal)
      FAxisPos = FIsOtherSide ? plot.Top : plot.Bottom;
    else
      FAxisPos = FIsOtherSide ? plot.Right : plot.Left;
    FAxisPos3D = FAxisPos;
    if (FIsHorizontal && FIsOtherSide) FAxisPos3D -= c->DepthDY();
    if (!FIsHorizontal && FIsOtherSide) FAxisPos3D += c->DepthDX();
  }

  if (!FTitle->Caption().empty()) {
    c->SelectFont(FTitle->Font());
    TCanvas& canvas = c->DrawCanvas();
    canvas.Font().SetColor(ContrastInk(canvas.Font().Color(), c->Color()));
    canvas.Brush().SetColor(c->Color());
    canvas.Brush().SetStyle(bsClear);
    int x = FIsHorizontal ? c->PlotCenterX() : FTitlePos;
    int y = FIsHorizontal ? FTitlePos : c->PlotCenterY();
    if (FIsOtherSide) {
      x += c->DepthDX();
      y -= c->DepthDY();
    }
    if (c->IsPrinting() && canvas.Font().Color() == clWhite) canvas.Font().SetColor(clBlack);
    PlaceText(x, y, FTitle->Caption(), FTitle->Angle());
  }

  if (FShowsDateTime && FExactDateTime) {
    s.DateStep = kNoDateStep;
    for (int k = DateTimeStepCount - 1; k >= 0; --k) {
      if (std::fabs(DateTimeStep[k] - FIncrement) < OneSecond) {
        s.DateStep = k;
        break;
      }
    }
    if (s.DateStep != kNoDateStep)
      while (s.Step > DateTimeStep[s.DateStep] && s.DateStep != DateTimeStepCount - 1) ++s.DateStep;
  }

  const bool calendar = s.DateStep >= 18 && s.DateStep <= 24;
  if ((s.Step > 0 || calendar) && FShownMaximum >= FShownMinimum) {
    switch (EffectiveLabelStyle()) {
      case talValue:
        if (c->OnGetNextAxisLabel)
          DrawCustomLoop(s);
        else
          DrawDefaultLoop(s);
        break;
      case talMark:
        DrawSeriesLoop(s, c->SeriesList().FirstActiveBoundTo(this), talMark);
        break;
      case talText: {
        TChartSeries* found = nullptr;
        for (TChartSeries* series : c->SeriesList()) {
          if (!series->Active()) continue;
          if ((FIsHorizontal ? series->GetHorizAxis() : series->GetVertAxis()) != this) continue;
          if (series->Count() > 0 && !series->LabelAt(0).empty()) {
            found = series;
            break;
          }
        }
        DrawSeriesLoop(s, found, talText);
        break;
      }
      default:
        break;
    }
  }

  if (FAxis.Visible()) {
    c->DrawCanvas().Pen().Assign(static_cast<const TPen&>(FAxis));
    c->DrawCanvas().Pen().SetColor(ContrastInk(FAxis.Color(), ParentChart()->Color()));
    DrawAxisLine(s.Wall);
  }
}

// ---- Label loops -----------------------------------------------------------------------------------

void TChartAxis::DrawDefaultLoop(TDrawState& s) {
  if (!std::isfinite(s.Step) || !std::isfinite(FShownMinimum) || !std::isfinite(FShownMaximum)) return;
  if (std::fabs(FShownMaximum / s.Step) >= 2147483647.0 || std::fabs(FShownRange / s.Step) >= kMaxLabels) return;
  // On a date-time axis whose step is a day or more the labels fall on whole days (and with a
  // calendar step on the first of a month, or half month, or year).
  if (FShowsDateTime && FExactDateTime && s.DateStep >= 14 && s.DateStep <= 24) return DrawCalendarLabels(s);
  // A logarithmic axis over a decade or more puts its labels on the powers of ten.
  if (FLogarithmic && DrawDecadeLabels(s)) return;

  // Label i stands at top - i * step: computed afresh for each label rather than by repeated
  // subtraction, and compared with the ends with a tolerance far below one step, so that
  // rounding in the last digits drops no end label (0 to 0.3 by 0.1 labels 0.3 and 0).
  const double step = s.Step;
  const double tolerance = step * 1e-9;
  // Rounded labels are whole multiples of the step (0 exactly where the range crosses it).
  const bool multiples = FShownMinimum != FShownMaximum && FRoundFirstLabel;
  double whole = 0;
  if (multiples) {
    const double q = FShownMaximum / step;
    whole = std::nearbyint(q);
    if (std::fabs(q - whole) > 1e-9 + std::fabs(q) * 1e-12) whole = std::trunc(q);
  }
  const auto label = [&](int i) {
    const double v = multiples ? (whole - i) * step : FShownMaximum - i * step;
    if (std::fabs(v - FShownMaximum) <= tolerance) return FShownMaximum;
    if (std::fabs(v - FShownMinimum) <= tolerance) return FShownMinimum;
    return v;
  };
  // Values at or below 0 have no place on a logarithmic axis.
  const auto draw = [&](double v) {
    if (!(FLogarithmic && v <= 0)) DrawLabelAt(s, v);
  };
  int i = 0;
  if (FLabelsOnAxis) {
    while (label(i) > FShownMaximum) ++i;
    for (double v = label(i); v >= FShownMinimum; v = label(++i)) draw(v);
  } else {
    while (label(i) >= FShownMaximum) ++i;
    for (double v = label(i); v > FShownMinimum; v = label(++i)) draw(v);
  }
}

bool TChartAxis::DrawDecadeLabels(TDrawState& s) {
  // Below 1 the axis starts at 1 when its minimum is not above 0 (the mapping takes ln 1 there).
  const double low = FShownMinimum > 0 ? FShownMinimum : 1.0;
  if (!(FShownMaximum > low)) return false;
  const int first = static_cast<int>(std::ceil(std::log10(low) - 1e-9));
  const int last = static_cast<int>(std::floor(std::log10(FShownMaximum) + 1e-9));
  if (last - first < 1) return false;  // within one decade the value step serves
  // Every n-th power so that the labels fit.
  const int room = std::max(1, LabelRoom());
  const int every = std::max(1, (last - first + room) / room);
  for (int k = last; k >= first; k -= every) {
    double v = std::pow(10.0, k);
    if (std::fabs(v - FShownMaximum) <= v * 1e-9) v = FShownMaximum;
    if (std::fabs(v - FShownMinimum) <= v * 1e-9) v = FShownMinimum;
    const bool end = v == FShownMaximum || v == FShownMinimum;
    if (v > FShownMaximum || v < FShownMinimum || (end && !FLabelsOnAxis)) continue;
    DrawLabelAt(s, v);
  }
  return true;
}

void TChartAxis::DrawCalendarLabels(TDrawState& s) {
  const bool calendar = s.DateStep >= 18 && s.DateStep <= 24;
  // Yearly labels go back by as many whole years as the step holds (it doubles past a year).
  const int years = static_cast<int>(std::max<std::int64_t>(1, Round(s.Step / 365)));
  double v = FShownMaximum;
  if (v > 2) {  // after 1 January 1900
    TDateParts d = DecodeDate(v);
    if (s.DateStep == 18) {
      d.Day = d.Day < 15 ? 1 : 15;
    } else if (s.DateStep >= 19 && s.DateStep <= 23) {
      d.Day = 1;
    } else if (s.DateStep == 24) {
      d.Day = 1;
      d.Month = 1;
      d.Year -= ((d.Year % years) + years) % years;  // on a multiple of the step in years
    }
    v = EncodeDate(d.Year, d.Month, d.Day);
  }
  const auto stepDown = [&](double x) -> double {
    if (!calendar) return x - s.Step;
    TDateParts d = DecodeDate(x);
    switch (s.DateStep) {
      case 18:
        if (d.Day > 15) return EncodeDate(d.Year, d.Month, 15);
        if (d.Day > 1) return EncodeDate(d.Year, d.Month, 1);
        return EncodeDate(d.Year, d.Month - 1, 15);
      case 19: return IncMonth(x, 1);
      case 20: return IncMonth(x, 2);
      case 21: return IncMonth(x, 3);
      case 22: return IncMonth(x, 4);
      case 23: return IncMonth(x, 6);
      default: return EncodeDate(d.Year - years, d.Month, d.Day);
    }
  };
  // The range check of the default loop bounds the number of labels; the guard also stops a
  // step that no longer changes the value.
  int guard = 0;
  const auto next = [&](double x) {
    const double y = stepDown(x);
    return (y < x && ++guard <= 4 * kMaxLabels) ? y : -std::numeric_limits<double>::infinity();
  };
  if (FLabelsOnAxis) {
    while (v > FShownMaximum) v = next(v);
    while (v >= FShownMinimum) {
      DrawLabelAt(s, v);
      v = next(v);
    }
  } else {
    while (v >= FShownMaximum) v = next(v);
    while (v > FShownMinimum) {
      DrawLabelAt(s, v);
      v = next(v);
    }
  }
}

void TChartAxis::DrawCustomLoop(TDrawState& s) {
  TCustomAxisPanel* c = ParentChart();
  double v = FShownMinimum;
  bool stop = true;
  int i = 0;
  do {
    c->OnGetNextAxisLabel(this, i, v, stop);
    if (stop) {
      if (i == 0) DrawDefaultLoop(s);
      return;
    }
    // Not a number ends the loop like a value outside the range.
    if (!(v >= FShownMinimum - 0.0000001 && v <= FShownMaximum + 0.0000001)) return;
    DrawLabelAt(s, v);
    ++i;
  } while (i <= 1000);
}

void TChartAxis::DrawSeriesLoop(TDrawState& s, TChartSeries* series, TAxisLabelStyle style) {
  if (!series) return;
  TCustomAxisPanel* c = ParentChart();
  series->FindVisibleRange();
  const int first = series->FirstShownIndex();
  const int last = series->LastShownIndex();
  if (first < 0) return;
  for (int i = first; i <= last; ++i) {
    const double v = FIsHorizontal ? series->XValueAt(i) : series->YValueAt(i);
    if (!(v >= FShownMinimum && v <= FShownMaximum)) continue;  // also a value that is not a number
    const int p = PixelOfValue(v);
    s.Value = v;
    if (!FTickOnLabelsOnly) DrawTicksAndGrid(s, p);
    if (!FLabels) continue;
    std::string text = style == talMark ? series->MarkTextOf(i) : series->LabelAt(i);
    if (c->OnGetAxisLabel) c->OnGetAxisLabel(this, series, i, text);
    PutLabel(s, FLabelsSeparation != 0 && s.PrevLabelPos != -1, p, text);
  }
}

void TChartAxis::DrawLabelAt(TDrawState& s, double v) {
  const int p = PixelOfValue(v);
  s.Value = v;
  if (!FTickOnLabelsOnly) DrawTicksAndGrid(s, p);
  if (FLabels) PutLabel(s, false, p, LabelText(v));
}

void TChartAxis::PutLabel(TDrawState& s, bool check, int p, const std::string& text) {
  TCustomAxisPanel* c = ParentChart();
  const bool across = FLabelsAngle == 90 || FLabelsAngle == 270;
  // 64-bit: a large LabelsSeparation grows the size past any int.
  std::int64_t size = (FIsHorizontal != across) ? c->TextWidthOf(text) : c->LineHeight();
  size += Trunc(static_cast<double>(size) * 0.02 * FLabelsSeparation);
  const std::int64_t half = size / 2;
  bool fits = true;
  if (check) {
    if (p >= s.PrevLabelPos)
      fits = s.PrevLabelPos + s.PrevLabelHalf <= p - half;
    else
      fits = s.PrevLabelPos - s.PrevLabelHalf >= p + half;
  }
  s.PrevLabelHalf = half;
  if (!fits) return;
  if (FTickOnLabelsOnly) DrawTicksAndGrid(s, p);
  WriteLabel(text, p);
  s.PrevLabelPos = p;
}

void TChartAxis::WriteLabel(const std::string& text, int p) {
  TCustomAxisPanel* c = ParentChart();
  c->SelectFont(LabelsFont());
  TCanvas& canvas = c->DrawCanvas();
  // Black labels turn white on a dark panel; any other colour is the user's and stays.
  canvas.Font().SetColor(ContrastInk(canvas.Font().Color(), c->Color()));
  canvas.Brush().SetColor(c->Color());
  canvas.Brush().SetStyle(bsClear);
  if (c->IsPrinting() && canvas.Font().Color() == clWhite) canvas.Font().SetColor(clBlack);
  int x = 0;
  int y = 0;
  if (FIsHorizontal) {
    x = FIsOtherSide ? p + c->DepthDX() : p;
    y = FIsOtherSide ? FLabelsPos - c->DepthDY() : FLabelsPos;
  } else {
    x = FIsOtherSide ? FLabelsPos + c->DepthDX() : FLabelsPos;
    y = FIsOtherSide ? p - c->DepthDY() : p;
  }
  PlaceText(x, y, text, FLabelsAngle);
}

void TChartAxis::PlaceText(int x, int y, const std::string& text, int angle) {
  TCustomAxisPanel* c = ParentChart();
  TCanvas& canvas = c->DrawCanvas();
  unsigned align = TA_LEFT | TA_TOP;
  const bool bottom = FIsHorizontal && !FIsOtherSide;
  const bool top = FIsHorizontal && FIsOtherSide;
  const bool left = !FIsHorizontal && !FIsOtherSide;
  switch (angle) {
    case 0:
      if (bottom) align = TA_CENTER | TA_TOP;
      else if (top) align = TA_CENTER | TA_BOTTOM;
      else if (left) align = TA_RIGHT | TA_TOP, y -= c->LineHeight() / 2;
      else align = TA_LEFT | TA_TOP, y -= c->LineHeight() / 2;
      break;
    case 90:
      if (bottom) align = TA_RIGHT | TA_TOP, x -= c->TextHeightOf(text) / 2;
      else if (top) align = TA_LEFT | TA_TOP, x -= c->TextHeightOf(text) / 2;
      else if (left) align = TA_CENTER | TA_BOTTOM;
      else align = TA_CENTER | TA_TOP;
      break;
    case 180:
      if (bottom) align = TA_CENTER | TA_BOTTOM;
      else if (top) align = TA_CENTER | TA_TOP;
      else if (left) align = TA_LEFT | TA_TOP, y += c->LineHeight() / 2;
      else align = TA_RIGHT | TA_TOP, y += c->LineHeight() / 2;
      break;
    case 270:
      if (bottom) align = TA_LEFT | TA_TOP, x += c->TextHeightOf(text) / 2;
      else if (top) align = TA_RIGHT | TA_TOP, x += c->TextHeightOf(text) / 2;
      else if (left) align = TA_CENTER | TA_TOP;
      else align = TA_CENTER | TA_BOTTOM;
      break;
    default:
      break;
  }
  canvas.SetTextAlign(align);
  if (angle == 0)
    c->OutText(x, y, text);
  else
    c->RotatedTextOut(x, y, text, angle);
  canvas.SetTextAlign(TA_LEFT | TA_TOP);
}

// ---- Ticks, grid and axis line ---------------------------------------------------------------------

void TChartAxis::DrawTicksAndGrid(TDrawState& s, int p) {
  TCanvas& canvas = ParentChart()->DrawCanvas();
  if (FTicks.Visible()) {
    canvas.Pen().Assign(static_cast<const TPen&>(FTicks));
    canvas.Pen().SetColor(ContrastInk(FTicks.Color(), ParentChart()->Color()));
    DrawTick(p, 1, FTickLength, s.Wall);
  }
  if (FGrid.Visible() && s.Value != FShownMaximum && s.Value != FShownMinimum) DrawGridLine(p);
  if (FTicksInner.Visible()) {
    canvas.Pen().Assign(static_cast<const TPen&>(FTicksInner));
    canvas.Pen().SetColor(ContrastInk(FTicksInner.Color(), ParentChart()->Color()));
    DrawTick(p, -1, -FTickInnerLength, s.Wall);
  }
  if (FMinorTicks.Visible() && s.PrevTickPos > -1) {
    canvas.Pen().Assign(static_cast<const TPen&>(FMinorTicks));
    canvas.Pen().SetColor(ContrastInk(FMinorTicks.Color(), ParentChart()->Color()));
    const double d = (static_cast<double>(p) - s.PrevTickPos) / (FMinorTickCount + 1);
    for (int j = 1; j <= FMinorTickCount; ++j) DrawTick(RoundInt(p - static_cast<double>(Round(j * d))), 1, FMinorTickLength, s.Wall);
  }
  s.PrevTickPos = p;
}

void TChartAxis::DrawTick(int p, int o, int length, int wall) {
  TCustomAxisPanel* c = ParentChart();
  if (FIsHorizontal && !FIsOtherSide) {
    const int y = FAxisPos3D + o + wall;
    c->DrawVertLine(p, y, y + length);
  } else if (!FIsHorizontal && !FIsOtherSide) {
    const int x = FAxisPos3D - o - wall;
    c->DrawHorizLine(x, x - length, p);
  } else if (FIsHorizontal) {
    const int y = FAxisPos - o - c->DepthDY();
    c->DrawVertLine(p + c->DepthDX(), y, FAxisPos - length - o - c->DepthDY());
  } else {
    const int x = FAxisPos + c->DepthDX() + o;
    c->DrawHorizLine(x, x + length, p - c->DepthDY());
  }
}

void TChartAxis::DrawGridLine(int p) {
  TCustomAxisPanel* c = ParentChart();
  TCanvas& canvas = c->DrawCanvas();
  canvas.Brush().SetStyle(bsClear);
  canvas.SetBkMode(TRANSPARENT);
  canvas.Pen().Assign(static_cast<const TPen&>(FGrid));
  // On a printer a patterned one-pixel pen becomes the device's thinnest line (as the series'
  // line pen does).
  if (c->IsPrinting() && FGrid.Style() != psSolid && FGrid.Width() == 1) canvas.Pen().SetWidth(0);
  if (FGrid.Color() == clAutoColor) canvas.Pen().SetColor(clGray);
  const TPenStyle style = FGrid.Style();
  const TRect& plot = c->PlotRect();
  const int dx = c->DepthDX();
  const int dy = c->DepthDY();
  const bool bottom = FIsHorizontal && !FIsOtherSide;
  const bool top = FIsHorizontal && FIsOtherSide;
  const bool left = !FIsHorizontal && !FIsOtherSide;
  if (dx <= 0) {
    if (bottom) c->DrawVertLine(p, FAxisPos - 1, plot.Top);
    else if (top) c->DrawVertLine(p, FAxisPos + 1, plot.Bottom);
    else if (left) c->DrawHorizLine(FAxisPos + 1, plot.Right, p);
    else c->DrawHorizLine(FAxisPos - 1, plot.Left, p);
  } else if (bottom) {
    canvas.Pen().SetStyle(psSolid);
    canvas.MoveTo(p, FAxisPos - 1);
    canvas.LineTo(p + dx, FAxisPos - dy - 1);
    canvas.Pen().SetStyle(style);
    canvas.LineTo(p + dx, plot.Top - dy);
  } else if (top) {
    canvas.MoveTo(p + dx, FAxisPos3D);
    canvas.Pen().SetStyle(style);
    canvas.LineTo(p + dx, plot.Bottom - dy);
  } else if (left) {
    canvas.Pen().SetStyle(psSolid);
    canvas.MoveTo(FAxisPos + 1, p);
    canvas.LineTo(FAxisPos + dx + 1, p - dy);
    canvas.Pen().SetStyle(style);
    canvas.LineTo(plot.Right + dx - 1, p - dy);
  } else {
    canvas.MoveTo(FAxisPos3D, p - dy);
    canvas.Pen().SetStyle(style);
    canvas.LineTo(plot.Left + dx, p - dy);
  }
  canvas.SetBkMode(OPAQUE);
}

void TChartAxis::DrawAxisLine(int wall) {
  TCustomAxisPanel* c = ParentChart();
  const TRect& plot = c->PlotRect();
  const int dx = c->DepthDX();
  const int dy = c->DepthDY();
  if (FIsHorizontal && !FIsOtherSide) {
    c->DrawHorizLine(plot.Left - c->WallSize(c->LeftAxis()), plot.Right, FAxisPos + wall);
  } else if (FIsHorizontal) {
    c->DrawHorizLine(plot.Left + dx, plot.Right + dx, FAxisPos3D);
  } else if (!FIsOtherSide) {
    c->DrawVertLine(FAxisPos - wall, plot.Top + 1, plot.Bottom + c->WallSize(c->BottomAxis()));
  } else {
    c->DrawVertLine(FAxisPos3D, plot.Top - dy + 1, plot.Bottom - dy);
  }
}

}  // namespace varnel
