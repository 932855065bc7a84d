// TNeedleLayout: setters and copying of the needle's shape and colours.
#include "gauge/NeedleLayout.h"

#include <algorithm>

namespace varnel {

void TNeedleLayout::SetHeadSize(int v) { Update(FHeadSize, v); }
void TNeedleLayout::SetHeadAngle(int v) { Update(FHeadAngle, std::clamp(v, 0, 180)); }
void TNeedleLayout::SetHeadMidLeng(int v) { Update(FHeadMidLeng, v); }
void TNeedleLayout::SetAnchorSize(int v) { Update(FAnchorSize, v); }
void TNeedleLayout::SetAnchorCovered(bool v) { Update(FAnchorCovered, v); }
void TNeedleLayout::SetThickness(int v) { Update(FThickness, v); }
void TNeedleLayout::SetColorBody(TColor v) { Update(FColorBody, v); }
void TNeedleLayout::SetColorOutline(TColor v) { Update(FColorOutline, v); }
void TNeedleLayout::SetShadowDx(int v) { Update(FShadowDx, v); }
void TNeedleLayout::SetShadowDy(int v) { Update(FShadowDy, v); }
void TNeedleLayout::SetShadowColor(TColor v) { Update(FShadowColor, v); }

bool TNeedleLayout::CopyValues(const TNeedleLayout& s) {
  if (&s == this) return false;
  bool changed = false;
  auto copy = [&changed](auto& field, auto v) {
    if (field != v) {
      field = v;
      changed = true;
    }
  };
  copy(FHeadSize, s.FHeadSize);
  copy(FHeadAngle, s.FHeadAngle);
  copy(FHeadMidLeng, s.FHeadMidLeng);
  copy(FAnchorSize, s.FAnchorSize);
  copy(FAnchorCovered, s.FAnchorCovered);
  copy(FThickness, s.FThickness);
  copy(FColorBody, s.FColorBody);
  copy(FColorOutline, s.FColorOutline);
  copy(FShadowDx, s.FShadowDx);
  copy(FShadowDy, s.FShadowDy);
  copy(FShadowColor, s.FShadowColor);
  return changed;
}

void TNeedleLayout::Assign(const TNeedleLayout& source) {
  if (CopyValues(source)) Changed();
}

}  // namespace varnel
