// TMeter: construction, the property setters with their clamps and range rules, and the
// loading bracket. The picture itself is drawn in MeterPaint.cpp.
#include "gauge/Meter.h"

#include <algorithm>
#include <cmath>

#include "platform/ControlHost.h"

namespace varnel {

namespace {

// The first `count` characters of UTF-8 text (a character never split; invalid bytes count as
// one character each).
std::string_view FirstChars(std::string_view text, std::size_t count) {
  std::size_t pos = 0;
  for (std::size_t n = 0; n < count && pos < text.size(); ++n) {
    ++pos;
    while (pos < text.size() && (static_cast<unsigned char>(text[pos]) & 0xC0u) == 0x80u) ++pos;
  }
  return text.substr(0, pos);
}

}  // namespace

TMeter::TMeter() {
  FNeedleLayout.OnChange = [this](TNeedleLayout*) { RepaintGauge(); };
  FFont.OnChange = [this] { Repaint(); };
}

TMeter::~TMeter() {
  FNeedleLayout.OnChange = nullptr;
  FFont.OnChange = nullptr;
}

int TMeter::Width() const { return FHost ? FHost->ClientRect().Width() : FDefaultWidth; }
int TMeter::Height() const { return FHost ? FHost->ClientRect().Height() : FDefaultHeight; }

void TMeter::Loaded() {
  FLoading = false;
  if (FValue > FMeterMaxValue)
    FValue = FMeterMaxValue;
  else if (FValue < FMeterMinValue)
    FValue = FMeterMinValue;
  Repaint();
}

void TMeter::Repaint() {
  FLast.Valid = false;  // a property changed: the whole picture is drawn again
  if (FLoading) return;  // Loaded paints once at the end
  Paint();
}

void TMeter::SetCaption(std::string_view v) {
  FCaption = std::string(FirstChars(v, MaxCaptionLength));
  Repaint();
}

void TMeter::SetScale(const TPixelScale& v) {
  if (v == FPixelScale) return;
  FPixelScale = v;
  FFont.SetPixelsPerInch(v.PixelsPerInch());  // its size in points stays
  Repaint();
}

void TMeter::SetContrastText(bool v) { Update(FContrastText, v); }
void TMeter::SetColorBakG(TColor v) { Update(FColorBakG, v); }
void TMeter::SetColorCover(TColor v) { Update(FColorCover, v); }
void TMeter::SetColorScale(TColor v) { Update(FColorScale, v); }

void TMeter::SetColorScheme(TColorScheme v) {
  if (v == FColorScheme) return;
  FColorScheme = v;
  if (v == csSytem) {
    FColorShadow = clBtnShadow;
    FColorHighlight = clBtnHighlight;
  } else {
    FColorShadow = clGray;
    FColorHighlight = clWhite;
  }
  Repaint();
}

void TMeter::SetFrameStyle(TFrameStyle v) { Update(FFrameStyle, v); }
void TMeter::SetLimWatchHighOn(bool v) { Update(FLimWatchHighOn, v); }
void TMeter::SetLimWatchLowOn(bool v) { Update(FLimWatchLowOn, v); }
void TMeter::SetLimWatchActColor(TColor v) { Update(FLimWatchActColor, v); }
void TMeter::SetLimWatchPsvColor(TColor v) { Update(FLimWatchPsvColor, v); }

// The range ends must be finite numbers (an infinite or NaN end would leave nothing to draw);
// such a number is ignored. NaN as the value is ignored likewise; an infinite value clamps.
void TMeter::SetMeterMinValue(double v) {
  if (!std::isfinite(v)) return;
  if (FLoading) {
    FMeterMinValue = v;
    return;
  }
  if (v == FMeterMinValue) return;
  FMeterMinValue = v;
  if (!(FMeterMaxValue > v)) FMeterMaxValue = v + 1.0;
  if (FValue < v) FValue = v;
  Repaint();
}

void TMeter::SetMeterMaxValue(double v) {
  if (!std::isfinite(v)) return;
  if (FLoading) {
    FMeterMaxValue = v;
    return;
  }
  if (v == FMeterMaxValue) return;
  FMeterMaxValue = v;
  if (!(FMeterMinValue < v)) FMeterMinValue = v - 1.0;
  if (FValue > v) FValue = v;
  Repaint();
}

void TMeter::SetSecondNeedle(std::optional<double> value, TColor color) {
  if (value && std::isnan(*value)) value.reset();
  if (value == FSecondValue && color == FSecondColor) return;
  FSecondValue = value;
  FSecondColor = color;
  RepaintMoved();
}

void TMeter::SetRimMarks(const std::vector<TRimMark>& marks) {
  if (marks == FRimMarks) return;
  FRimMarks = marks;
  RepaintMoved();
}

void TMeter::SetValue(double v) {
  if (std::isnan(v)) return;
  if (FLoading) {
    FValue = v;
    return;
  }
  if (v == FValue) return;
  if (v > FMeterMaxValue) {
    FValue = FMeterMaxValue;
    FLimHighActive = true;
  } else if (v < FMeterMinValue) {
    FValue = FMeterMinValue;
    FLimLowActive = true;
  } else {
    FValue = v;
    FLimHighActive = false;
    FLimLowActive = false;
  }
  RepaintMoved();
}

void TMeter::SetMeterDecPlaces(int v) {
  if (v == FMeterDecPlaces) return;
  FMeterDecPlaces = std::clamp(v, 0, 4);
  Repaint();
}

void TMeter::SetMeterNrTicks(int v) {
  if (v == FMeterNrTicks) return;
  FMeterNrTicks = std::clamp(v, 2, 21);
  Repaint();
}

void TMeter::SetMeterLayout(TMeterLayout v) { Update(FMeterLayout, v); }
void TMeter::SetMeterShortTicks(bool v) { Update(FMeterShortTicks, v); }
void TMeter::SetMeterScaleLine(bool v) { Update(FMeterScaleLine, v); }

void TMeter::SetNeedleLayout(const TNeedleLayout& v) {
  FNeedleLayout.CopyValues(v);
  Repaint();
}

void TMeter::SetRimBottom(int v) { Update(FRimBottom, v); }
void TMeter::SetRimTop(int v) { Update(FRimTop, v); }
void TMeter::SetRimSide(int v) { Update(FRimSide, v); }

void TMeter::SetVisible(bool v) {
  if (v == FVisible) return;
  FVisible = v;
  if (!v) {
    // Hidden, the gauge needs no picture: showing it draws a new one.
    FScale.SetSize(0, 0);
    FScaleKept = false;
  }
  Repaint();
}

}  // namespace varnel
