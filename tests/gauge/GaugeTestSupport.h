// Test helper: a gauge configured as this program's Meter1 at start-up (stored design-time
// values, then the colours and needle sizes the main window gives it), on a bitmap host.
#pragma once
#include "app/FormDesign.h"
#include "gauge/Meter.h"
#include "platform/BitmapHost.h"

namespace varnel::test {

// Applies Meter1's stored configuration inside the loading bracket, then the main window's
// start-up colours (background button face, needle maroon, black text) and the full size style.
inline void ConfigureProgramGauge(TMeter& m) {
  LoadMeter1Design(m);
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
