// TNeedleLayout: the needle's shape and colours (arrow head, body width, pivot cover, shadow),
// a small persistent object that the gauge owns. Every setter that changes a value calls
// OnChange with the layout as sender; the gauge hooks OnChange to repaint itself.
//
//   TNeedleLayout l;  l.SetThickness(2);  l.SetColorBody(clMaroon);  meter.SetNeedleLayout(l);
#pragma once
#include <functional>

#include "base/Color.h"

namespace varnel {

class TNeedleLayout {
 public:
  TNeedleLayout() = default;
  // A copy takes the values but not the OnChange hook.
  TNeedleLayout(const TNeedleLayout& other) { CopyValues(other); }
  TNeedleLayout& operator=(const TNeedleLayout& other) {
    Assign(other);
    return *this;
  }

  // Length in pixels of the two barbs of the arrow head, measured from the tip.
  int HeadSize() const { return FHeadSize; }
  void SetHeadSize(int v);
  // Full opening angle of the arrow head in degrees, kept in 0..180.
  int HeadAngle() const { return FHeadAngle; }
  void SetHeadAngle(int v);
  // Distance in pixels from the tip back to where the body meets the head.
  int HeadMidLeng() const { return FHeadMidLeng; }
  void SetHeadMidLeng(int v);
  // Radius in pixels of the pivot cover.
  int AnchorSize() const { return FAnchorSize; }
  void SetAnchorSize(int v);
  bool AnchorCovered() const { return FAnchorCovered; }
  void SetAnchorCovered(bool v);
  // Width in pixels of the needle body.
  int Thickness() const { return FThickness; }
  void SetThickness(int v);
  TColor ColorBody() const { return FColorBody; }
  void SetColorBody(TColor v);
  TColor ColorOutline() const { return FColorOutline; }
  void SetColorOutline(TColor v);
  // The shadow is drawn displaced by minus this offset.
  int ShadowDx() const { return FShadowDx; }
  void SetShadowDx(int v);
  int ShadowDy() const { return FShadowDy; }
  void SetShadowDy(int v);
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor v);

  // Copies every property of source; calls OnChange once when anything changed.
  void Assign(const TNeedleLayout& source);
  // Copies every property of source without calling OnChange; true when anything changed.
  bool CopyValues(const TNeedleLayout& source);

  std::function<void(TNeedleLayout* Sender)> OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange(this);
  }
  template <typename T>
  void Update(T& field, T v) {
    if (field == v) return;
    field = v;
    Changed();
  }

  int FHeadSize = 20;
  int FHeadAngle = 30;
  int FHeadMidLeng = 20;
  int FAnchorSize = 24;
  bool FAnchorCovered = true;
  int FThickness = 0;
  TColor FColorBody = clSilver;
  TColor FColorOutline = clBlack;
  int FShadowDx = 0;
  int FShadowDy = 0;
  TColor FShadowColor = clGray;
};

}  // namespace varnel
