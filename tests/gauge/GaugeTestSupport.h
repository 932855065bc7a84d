// Test helper: a gauge configured as this program's Meter1 at start-up (stored design-time
// values, then the colours and needle sizes the main window gives it), on a bitmap host.
#pragma once
#include "gauge/Meter.h"
#include "platform/BitmapHost.h"

namespace varnel::test {

// Applies Meter1's stored configuration inside the loading bracket, then the main window's
// start-up colours (background button face, needle maroon, black text) and the full size style.
inline void ConfigureProgramGauge(TMeter& m) {
  m.BeginLoading();
  m.SetHint("CPU %");
  m.SetCaption("CPU %");
  m.SetColorBakG(clWhite);
  m.SetColorCover(clGray);
  m.SetColorScale(clBlack);
  m.SetColorScheme(csSytem);
  TFont font;
  font.SetName("MS Sans Serif");
  font.SetHeight(-11);
  font.SetColor(clBlack);
  m.SetFont(font);
  m.SetFrameStyle(fsEmbossed);
  m.SetLimWatchHighOn(false);
  m.SetLimWatchLowOn(false);
  m.SetMeterMaxValue(100.0);
  m.SetMeterDecPlaces(0);
  m.SetMeterNrTicks(6);
  m.SetMeterLayout(mlCirc180);
  TNeedleLayout n;
  n.SetHeadSize(20);
  n.SetHeadAngle(30);
  n.SetHeadMidLeng(20);
  n.SetAnchorSize(5);
  n.SetThickness(2);
  n.SetColorBody(clOlive);
  n.SetColorOutline(clBlack);
  m.SetNeedleLayout(n);
  m.SetParentFont(false);
  m.SetParentShowHint(false);
  m.SetRimBottom(2);
  m.SetRimTop(2);
  m.SetRimSide(2);
  m.Loaded();
  m.SetColorBakG(clBtnFace);
  m.NeedleLayout().SetColorBody(clMaroon);
  m.NeedleLayout().SetColorOutline(clMaroon);
  m.Font().SetColor(clBlack);
  m.NeedleLayout().SetThickness(2);
  m.NeedleLayout().SetHeadMidLeng(20);
  m.NeedleLayout().SetHeadSize(20);
  m.NeedleLayout().SetAnchorSize(5);
  m.SetMeterShortTicks(true);
}

}  // namespace varnel::test
