// TChartAxis and TChartAxisTitle: properties with their checks, the range, value-to-pixel
// mapping and back, the label step, label texts and the room an axis takes.
#include "series/ChartAxis.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "base/Exceptions.h"
#include "base/Messages.h"
#include "base/Numbers.h"
#include "base/Text.h"
#include "chart/AxisPanel.h"
#include "series/AxisDateTime.h"
#include "series/Series.h"

namespace varnel {

const double DateTimeStep[DateTimeStepCount] = {
    OneSecond,        5 * OneSecond,     10 * OneSecond,   15 * OneSecond, 30 * OneSecond,
    1.0 / 1440,       5.0 / 1440,        10.0 / 1440,      15.0 / 1440,    30.0 / 1440,
    1.0 / 24,         2.0 / 24,          6.0 / 24,         12.0 / 24,      1,
    2,                3,                 7,                15,             30,
    60,               90,                120,              182,            365};

double NextLabelStep(double x) {
  if (x < 1) return 2 * x;
  if (x == 1) return 2;
  if (x < 5) return 5;
  if (x == 5) return 10;
  if (x == 10) return 50;
  if (x == 50) return 100;
  if (x == 100) return 200;
  if (x == 200) return 500;
  if (x == 500) return 1000;
  if (x == 1000) return 5000;
  return 2 * x;
}

namespace {

int ClampToInt(std::int64_t v) {
  if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(v);
}

template <typename T>
bool Store(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}

// A label angle: 0..360 with 360 stored as 0, else the angle message for the given name.
int CheckedAngle(int v, const char* name) {
  if (v < 0 || v > 360) throw ChartException(FormatMessage(msg::AngleRange, {name}));
  return v == 360 ? 0 : v;
}

}  // namespace

// ---- TChartAxisTitle ---------------------------------------------------------------------------

TChartAxisTitle::TChartAxisTitle(TCustomAxisPanel* chart, TChartAxis* axis) : TChartFontObject(chart), FAxis(axis) {}

void TChartAxisTitle::SetAngle(int v) {
  if (Store(FAngle, CheckedAngle(v, msg::AxisTitle))) Repaint();
}

void TChartAxisTitle::SetCaption(const std::string& v) {
  if (Store(FCaption, v)) Repaint();
}

int TChartAxisTitle::NaturalAngle() const {
  if (!FAxis || FAxis->IsHorizontal()) return 0;
  return FAxis->IsOtherSide() ? 270 : 90;
}

void TChartAxisTitle::Assign(const TChartFontObject& source) {
  if (const auto* t = dynamic_cast<const TChartAxisTitle*>(&source)) {
    FAxis = t->FAxis;
    FAngle = t->FAngle;
    FCaption = t->FCaption;
    Repaint();
  }
  TChartFontObject::Assign(source);
}

// ---- TChartAxis: properties ----------------------------------------------------------------------

TChartAxis::TChartAxis(TCustomAxisPanel* chart, bool horizontal, bool otherSide)
    : TChartFontObject(chart),
      FTitle(std::make_unique<TChartAxisTitle>(chart, this)),
      FAxisValuesFormat(msg::DefValueFormat),
      FIsHorizontal(horizontal),
      FIsOtherSide(otherSide) {
  for (TChartPen* pen : {static_cast<TChartPen*>(&FTicks), static_cast<TChartPen*>(&FMinorTicks),
                         static_cast<TChartPen*>(&FTicksInner), static_cast<TChartPen*>(&FAxis),
                         static_cast<TChartPen*>(&FGrid)}) {
    pen->OnChange = [this] { Changed(); };
  }
}

TChartAxis::~TChartAxis() = default;

void TChartAxis::SetVisible(bool v) { if (Store(FVisible, v)) Changed(); }
void TChartAxis::SetLabels(bool v) { if (Store(FLabels, v)) Changed(); }
void TChartAxis::SetTitleSize(int v) { if (Store(FTitleSize, ClampPixels(v))) Changed(); }
void TChartAxis::SetLabelsSize(int v) { if (Store(FLabelsSize, ClampPixels(v))) Changed(); }
void TChartAxis::SetLabelsOnAxis(bool v) { if (Store(FLabelsOnAxis, v)) Changed(); }
void TChartAxis::SetLabelStyle(TAxisLabelStyle v) { if (Store(FLabelStyle, v)) Changed(); }
void TChartAxis::SetTickInnerLength(int v) { if (Store(FTickInnerLength, ClampPixels(v))) Changed(); }
void TChartAxis::SetMinorTickLength(int v) { if (Store(FMinorTickLength, ClampPixels(v))) Changed(); }
// A count above kMaxMinorTicks is kept as that: between two major ticks of any picture's axis
// that is a tick every few pixels or closer, and a count in the billions took hours to draw.
void TChartAxis::SetMinorTickCount(int v) { if (Store(FMinorTickCount, std::min(v, kMaxMinorTicks))) Changed(); }
void TChartAxis::SetTickLength(int v) { if (Store(FTickLength, ClampPixels(v))) Changed(); }
void TChartAxis::SetAxisValuesFormat(const std::string& v) { if (Store(FAxisValuesFormat, v)) Changed(); }
void TChartAxis::SetDateTimeFormat(const std::string& v) { if (Store(FDateTimeFormat, v)) Changed(); }
void TChartAxis::SetInverted(bool v) { if (Store(FInverted, v)) Changed(); }
void TChartAxis::SetExactDateTime(bool v) { if (Store(FExactDateTime, v)) Changed(); }
void TChartAxis::SetRoundFirstLabel(bool v) { if (Store(FRoundFirstLabel, v)) Changed(); }
void TChartAxis::SetTickOnLabelsOnly(bool v) { if (Store(FTickOnLabelsOnly, v)) Changed(); }

void TChartAxis::SetAutomatic(bool v) {
  bool changed = Store(FAutomatic, v);
  if (!(ParentChart() && ParentChart()->Loading())) {
    changed |= Store(FAutomaticMinimum, v);
    changed |= Store(FAutomaticMaximum, v);
  }
  if (changed) Changed();
}

void TChartAxis::SetAutomaticMaximum(bool v) {
  bool changed = Store(FAutomaticMaximum, v);
  if (!v) changed |= Store(FAutomatic, false);
  if (changed) Changed();
}

void TChartAxis::SetAutomaticMinimum(bool v) {
  bool changed = Store(FAutomaticMinimum, v);
  if (!v) changed |= Store(FAutomatic, false);
  if (changed) Changed();
}

void TChartAxis::SetLabelsAngle(int v) {
  if (Store(FLabelsAngle, CheckedAngle(v, msg::AxisLabels))) Changed();
}

void TChartAxis::SetLabelsSeparation(int v) {
  if (v < 0) throw AxisException(msg::AxisLabelSep);
  if (Store(FLabelsSeparation, v)) Changed();
}

void TChartAxis::SetMaximum(double v) {
  if (!(ParentChart() && ParentChart()->Loading()) && v < FMinimum) throw AxisException(msg::AxisMaxMin);
  if (Store(FMaximum, v)) Changed();
}

void TChartAxis::SetMinimum(double v) {
  if (!(ParentChart() && ParentChart()->Loading()) && v > FMaximum) throw AxisException(msg::AxisMinMax);
  if (Store(FMinimum, v)) Changed();
}

void TChartAxis::SetIncrement(double v) {
  if (v < 0) throw AxisException(msg::AxisIncrement);
  if (Store(FIncrement, v)) Changed();
}

void TChartAxis::SetLogarithmic(bool v) {
  if (v == FLogarithmic) return;
  if (v) {
    if (UsesDateTime()) throw AxisException(msg::AxisDateTimeLog);
    AdjustRange();
    if (FShownMinimum < 0 || FShownMaximum < 0) throw AxisException(msg::AxisLogNotPositive);
  }
  FLogarithmic = v;
  Changed();
}

void TChartAxis::Assign(const TChartFontObject& source) {
  if (const auto* a = dynamic_cast<const TChartAxis*>(&source)) {
    FVisible = a->FVisible;
    FLabels = a->FLabels;
    FLabelsAngle = a->FLabelsAngle;
    FLabelsSeparation = a->FLabelsSeparation;
    FLabelsSize = a->FLabelsSize;
    FTitleSize = a->FTitleSize;
    FLabelStyle = a->FLabelStyle;
    FLabelsOnAxis = a->FLabelsOnAxis;
    FTicks.Assign(static_cast<const TChartPen&>(a->FTicks));
    FMinorTicks.Assign(static_cast<const TChartPen&>(a->FMinorTicks));
    FTicksInner.Assign(static_cast<const TChartPen&>(a->FTicksInner));
    FAxis.Assign(static_cast<const TChartPen&>(a->FAxis));
    FGrid.Assign(static_cast<const TChartPen&>(a->FGrid));
    FTickLength = a->FTickLength;
    FMinorTickLength = a->FMinorTickLength;
    FMinorTickCount = a->FMinorTickCount;
    FTickInnerLength = a->FTickInnerLength;
    FAxisValuesFormat = a->FAxisValuesFormat;
    FIncrement = a->FIncrement;
    FMaximum = a->FMaximum;
    FMinimum = a->FMinimum;
    FAutomatic = a->FAutomatic;
    FAutomaticMaximum = a->FAutomaticMaximum;
    FAutomaticMinimum = a->FAutomaticMinimum;
    FTitle->Assign(*a->FTitle);
    SetDateTimeFormat(a->FDateTimeFormat);
    SetLogarithmic(a->FLogarithmic);
    FInverted = a->FInverted;
    FExactDateTime = a->FExactDateTime;
    FRoundFirstLabel = a->FRoundFirstLabel;
    FTickOnLabelsOnly = a->FTickOnLabelsOnly;
    Changed();
  }
  TChartFontObject::Assign(source);
}

// ---- Range ---------------------------------------------------------------------------------------

void TChartAxis::AdjustRange() {
  if (TCustomAxisPanel* chart = ParentChart()) {
    if (FAutomatic || FAutomaticMaximum) FMaximum = chart->AxisRange(*this, FIsHorizontal, true);
    if (FAutomatic || FAutomaticMinimum) FMinimum = chart->AxisRange(*this, FIsHorizontal, false);
  }
  FShownMaximum = FMaximum;
  FShownMinimum = FMinimum;
  FShownRange = FShownMaximum - FShownMinimum;
}

void TChartAxis::AdjustRangeToMargins(int left, int top, int right, int bottom) {
  TCustomAxisPanel* chart = ParentChart();
  if (!chart) return;
  const TRect saved = chart->PlotRect();
  TRect r = saved;
  if (FIsHorizontal) {
    r.Right -= right;
    r.Left += left;
  } else {
    r.Bottom -= bottom;
    r.Top += top;
  }
  chart->SetPlotRect(r);
  double a = 0;
  double b = 0;
  if (FIsHorizontal) {
    a = ValueAtPixel(saved.Left);
    b = ValueAtPixel(saved.Right);
  } else {
    a = ValueAtPixel(saved.Bottom);
    b = ValueAtPixel(saved.Top);
  }
  chart->SetPlotRect(saved);
  if (a > b) std::swap(a, b);
  FShownMinimum = a;
  FShownMaximum = b;
  FShownRange = b - a;
}

void TChartAxis::SetRange(double a, double b) {
  FAutomatic = false;
  FAutomaticMinimum = false;
  FAutomaticMaximum = false;
  FMinimum = std::min(a, b);
  FMaximum = std::max(a, b);
  if (FMaximum - FMinimum < 0.001) {
    FMinimum = a;
    FMaximum = b + 0.001;
  }
  Changed();
}

bool TChartAxis::UsesDateTime() const {
  const TCustomAxisPanel* chart = ParentChart();
  if (!chart) return false;
  for (const TChartSeries* s : chart->SeriesList()) {
    if (!s->Active()) continue;
    if (s->GetHorizAxis() == this) return s->XValues().DateTime();
    if (s->GetVertAxis() == this) return s->YValues().DateTime();
  }
  return false;
}

int TChartAxis::WallSize() const { return ParentChart() ? ParentChart()->WallSize(*this) : 0; }

// ---- Pixels --------------------------------------------------------------------------------------

namespace {

// start + f as a 32-bit coordinate: f is cut to a span no 32-bit coordinate needs before it is
// rounded, so huge and infinite values land beyond the far edge on their own side (NaN gives
// f = 0).
int OffsetPixel(int start, double f) {
  constexpr double kSpan = 4294967296.0;  // 2^32
  const std::int64_t whole = Round(std::fmax(-kSpan, std::fmin(kSpan, f)));
  return ClampToInt(std::int64_t{start} + whole);
}

}  // namespace

int TChartAxis::CalcPixel(double v, int start, int end, int size, int centre) const {
  if (!FLogarithmic) {
    if (FShownRange == 0) return centre;
    const double f = size * (v - FShownMinimum) / FShownRange;
    return FInverted ? OffsetPixel(end, -f) : OffsetPixel(start, f);
  }
  const double lnMin = FShownMinimum > 0 ? std::log(FShownMinimum) : 0.0;
  const double lnMax = FShownMaximum > 0 ? std::log(FShownMaximum) : 0.0;
  const double d = lnMax - lnMin;
  if (d == 0) return centre;
  if (v <= 0) return start;
  return OffsetPixel(start, (std::log(v) - lnMin) * size / d);
}

int TChartAxis::XPixelOfValue(double v) const {
  const TCustomAxisPanel* c = ParentChart();
  if (!c) return 0;
  return CalcPixel(v, c->PlotRect().Left, c->PlotRect().Right, c->PlotWidth(), c->PlotCenterX());
}

int TChartAxis::YPixelOfValue(double v) const {
  const TCustomAxisPanel* c = ParentChart();
  if (!c) return 0;
  return CalcPixel(v, c->PlotRect().Bottom, c->PlotRect().Top, -c->PlotHeight(), c->PlotCenterY());
}

double TChartAxis::ValueAtPixel(int pixel) const {
  const TCustomAxisPanel* c = ParentChart();
  if (!c) return 0;
  const TRect& r = c->PlotRect();
  if (!FLogarithmic) {
    if (FIsHorizontal) {
      if (c->PlotWidth() <= 0) return 0;
      const double a = FInverted ? static_cast<double>(r.Right) - pixel : static_cast<double>(pixel) - r.Left;
      return FShownRange * a / c->PlotWidth() + FShownMinimum;
    }
    if (c->PlotHeight() <= 0) return 0;
    const double a = FInverted ? static_cast<double>(r.Bottom) - pixel : static_cast<double>(pixel) - r.Top;
    return FShownMaximum - a * FShownRange / c->PlotHeight();
  }
  const double lnMin = FShownMinimum > 0 ? std::log(FShownMinimum) : 0.0;
  const double lnMax = FShownMaximum > 0 ? std::log(FShownMaximum) : 0.0;
  const double d = lnMax - lnMin;
  if (d == 0) return FShownMinimum;
  if (FIsHorizontal) {
    if (c->PlotWidth() <= 0) return FShownMinimum;
    return std::exp(d * (static_cast<double>(pixel) - r.Left) / c->PlotWidth() + lnMin);
  }
  if (c->PlotHeight() <= 0) return FShownMinimum;
  return std::exp(lnMax - d * (static_cast<double>(pixel) - r.Top) / c->PlotHeight());
}

bool TChartAxis::IsClicked(int x, int y) const {
  const TCustomAxisPanel* c = ParentChart();
  if (!c || !c->AxisShown(*this)) return false;
  const TRect& r = c->PlotRect();
  if (FIsHorizontal) return x >= r.Left && x <= r.Right && std::abs(static_cast<long long>(y) - FAxisPos3D) < 12;
  return y >= r.Top && y <= r.Bottom && std::abs(static_cast<long long>(x) - FAxisPos3D) < 12;
}

// ---- Labels and space ----------------------------------------------------------------------------

int TChartAxis::LabelRoom() {
  TCustomAxisPanel* c = ParentChart();
  if (!c) return 0;
  const bool flat = FLabelsAngle == 0 || FLabelsAngle == 180;
  const auto widest = [&] {
    return std::max(c->TextWidthOf(LabelText(FShownMaximum)), c->TextWidthOf(LabelText(FShownMinimum)));
  };
  // In floating point: a large LabelsSeparation makes the size exceed any int.
  double s = FIsHorizontal ? (flat ? widest() : c->LineHeight()) : (flat ? c->LineHeight() : widest());
  if (FLabelsSeparation > 0) s += static_cast<double>(Round(FLabelsSeparation * 0.01 * s));
  return s <= 0 ? 1 : RoundInt((FIsHorizontal ? c->PlotWidth() : c->PlotHeight()) / s);
}

double TChartAxis::CalcLabelStep() {
  const int room = ParentChart() ? LabelRoom() : 0;
  if (room <= 0) return FShowsDateTime ? DateTimeStep[0] : 0.00001;

  if (FShowsDateTime) {
    double step = std::max(OneSecond, FIncrement);
    if (FShownRange / step > 1000000) step = FShownRange * 0.000001;
    while (std::isfinite(step) && Round(FShownRange / step) > room) {
      if (step >= 365) {
        step *= 2;
      } else {
        int k = 0;
        while (k < DateTimeStepCount - 1 && DateTimeStep[k] <= step) ++k;
        step = DateTimeStep[k] > step ? DateTimeStep[k] : 2 * step;
      }
    }
    return std::max(step, OneSecond);
  }
  double step = FIncrement;
  if (step <= 0) step = std::fabs(FShownRange) >= 1 ? 1 : 0.00001;
  if (FLabelsSeparation > 0) {
    while (std::isfinite(step)) {
      const double q = FShownRange / step;
      if (std::fabs(q) < 2147483647.0 && Round(q) <= room) break;
      step = NextLabelStep(step);
    }
  }
  return std::max(step, 0.00001);
}

std::string TChartAxis::LabelText(double v) const {
  std::string text;
  if (!FShowsDateTime) {
    text = FormatFloat(FAxisValuesFormat, v);
  } else if (v >= 0) {
    const char* pattern = FShownRange > 1 ? ShortDateFormat : ShortTimeFormat;
    text = FormatDateTime(FDateTimeFormat.empty() ? pattern : FDateTimeFormat, v);
  }
  TCustomAxisPanel* c = ParentChart();
  if (c && c->OnGetAxisLabel) c->OnGetAxisLabel(const_cast<TChartAxis*>(this), nullptr, -1, text);
  return text;
}

TAxisLabelStyle TChartAxis::EffectiveLabelStyle() const {
  if (FLabelStyle != talAuto) return FLabelStyle;
  const TCustomAxisPanel* c = ParentChart();
  const TChartSeries* first = c ? c->SeriesList().FirstActiveBoundTo(this) : nullptr;
  if (!first) return talNone;
  const bool along = FIsHorizontal ? first->YIsPrimary() : !first->YIsPrimary();
  if (along) {
    for (const TChartSeries* s : c->SeriesList()) {
      if (s->Active() && s->BoundToAxis(this) && s->Count() > 0 && !s->LabelAt(0).empty()) return talText;
    }
  }
  return talValue;
}

int TChartAxis::LabelsSpaceWidth() {
  TCustomAxisPanel* c = ParentChart();
  if (!c) return 0;
  switch (EffectiveLabelStyle()) {
    case talMark: return c->MaxMarkWidth();
    case talText: return c->MaxTextWidth();
    case talNone: return 0;
    default: break;
  }
  double lo = FShownMinimum;
  double hi = FShownMaximum;
  if ((UsesDateTime() && FExactDateTime) || FRoundFirstLabel) {
    const double t = CalcLabelStep();
    lo = std::trunc(FShownMinimum / t) * t;
    hi = std::trunc(FShownMaximum / t) * t;
  }
  // Measured without the chart's label event.
  struct Suspend {
    TCustomAxisPanel* c;
    TAxisOnGetLabel saved;
    ~Suspend() { c->OnGetAxisLabel = std::move(saved); }
  } suspend{c, std::move(c->OnGetAxisLabel)};
  c->OnGetAxisLabel = nullptr;
  return std::max(c->TextWidthOf(LabelText(hi)), c->TextWidthOf(LabelText(lo))) + c->TextWidthOf(" ");
}

void TChartAxis::ReserveSpace(TRect& r) {
  TCustomAxisPanel* c = ParentChart();
  FShowsDateTime = UsesDateTime();
  if (!c) return;
  const auto move = [&](int amount) {
    if (FIsHorizontal) {
      if (FIsOtherSide) return r.Top += amount;
      return r.Bottom -= amount;
    }
    if (FIsOtherSide) return r.Right -= amount;
    return r.Left += amount;
  };
  if (!FTitle->Caption().empty()) {
    int amount = FTitleSize;
    if (amount == 0) {
      c->SelectFont(FTitle->Font());
      const bool flat = FTitle->Angle() == 0 || FTitle->Angle() == 180;
      if (FIsHorizontal)
        amount = flat ? c->LineHeight() : c->TextWidthOf(FTitle->Caption());
      else
        amount = flat ? c->TextWidthOf(FTitle->Caption()) : c->LineHeight();
    }
    FTitlePos = move(amount);
  }
  if (FLabels) {
    int amount = FLabelsSize;
    if (amount == 0) {
      c->SelectFont(LabelsFont());
      const bool flat = FLabelsAngle == 0 || FLabelsAngle == 180;
      if (FIsHorizontal)
        amount = flat ? c->LineHeight() : LabelsSpaceWidth();
      else
        amount = flat ? LabelsSpaceWidth() : c->LineHeight();
    }
    FLabelsPos = move(amount);
  }
  int t = FAxis.Visible() ? ClampPixels(FAxis.Width()) : 0;
  if (FTicks.Visible()) t += FTickLength;
  if (FMinorTicks.Visible()) t = std::max(t, FMinorTickLength);
  t += WallSize();
  if (t > 0) move(t);
}

}  // namespace varnel
