// TMeter: the analogue needle gauge. It shows one value as a needle on a circular dial with a
// graduated scale, a caption, a pair of limit lamps and a decorative frame, drawn through the
// control host of the window that shows it.
//
// Every setter that changes something repaints at once (synchronously) and calls the host's
// Present. The picture under the needle (dial, scale, labels, caption) is drawn off screen and
// kept; it is drawn again only when something it depends on changes, so a new value costs one
// copy of it onto the host's window surface, the needle and what lies over the needle (cover,
// lamps, frame), drawn there on top. A hidden gauge keeps no picture. Without a host, or while the host has no surface yet, a repaint does
// nothing. Design-time values go inside BeginLoading() ... Loaded(), during which the value and
// the range are stored as given and nothing is painted.
//
//   TMeter m;  m.SetHost(&host);
//   m.BeginLoading();  m.SetMeterMaxValue(100);  m.SetMeterLayout(mlCirc180);  m.Loaded();
//   m.SetValue(37);   // clamped into the range, repainted at once
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>
#include <string_view>

#include "base/Color.h"
#include "base/PixelScale.h"
#include "base/Geometry.h"
#include "gauge/NeedleLayout.h"
#include "platform/canvas/Bitmap.h"
#include "platform/canvas/Graphics.h"

namespace varnel {

class TControlHost;
class TCanvasTrace;
class TCanvas;

// The angle the scale spans: 90, 120 or 180 degrees.
enum TMeterLayout : int { mlCirc90, mlCirc120, mlCirc180 };
// The outer frame.
enum TFrameStyle : int { fsNone, fsSimple, fsLowered, fsRaised, fsEmbossed, fsEngraved };
// The two frame colours: gray and white, or the system's button shadow and highlight.
enum TColorScheme : int { csBWG, csSytem };

// The working values of one paint, for a gauge W by H pixels: pivot (cx, cy), the angle the
// scale spans S (degrees), the scale radius R (Ri rounded) and the seven needle points (barb,
// tip, barb, head joint, pivot side, pivot side, head joint). Paintable is false when the dial
// has no room (R not above 0) or the range is empty or reversed; nothing is drawn then.
struct TMeterGeometry {
  int W = 0, H = 0;
  int cx = 0, cy = 0;
  double S = 90.0;
  double R = 0.0;
  int Ri = 0;
  double Min = 0.0, Max = 1.0;
  bool Paintable = false;
  std::array<TPoint, 7> Needle{};
  std::array<TPoint, 7> SecondNeedle{};  // when the gauge has a second needle

  // The angle of a value: the minimum at 90 + S/2 (left), the maximum at 90 - S/2 (right).
  double Angle(double v) const { return S / 2.0 + 90.0 - S * (v - Min) / (Max - Min); }
  // The point at an angle (degrees counterclockwise from the positive x axis, y up) and radius.
  TPoint At(double degrees, double r) const;
};

class TMeter {
 public:
  // The longest caption, in characters.
  static constexpr std::size_t MaxCaptionLength = 10;

  TMeter();
  ~TMeter();
  TMeter(const TMeter&) = delete;
  TMeter& operator=(const TMeter&) = delete;

  // --- Host and loading -------------------------------------------------------------------
  // The window that shows the gauge (not owned; nullptr detaches). The gauge's size is the
  // host's client area. Setting the host does not paint; the host asks for a Paint.
  void SetHost(TControlHost* host) {
    FHost = host;
    FLast.Valid = false;
  }
  TControlHost* Host() const { return FHost; }
  // The gauge's size: the host's client area, or the constructor's 297 x 209 without a host.
  int Width() const;
  int Height() const;

  // The screen's density: the font takes it, and the sizes the gauge itself gives in pixels
  // (the room around the dial, tick lengths, label distance, pen widths, frame) scale by it /
  // 96. The owner sets it once, before loading its design; 96 by default.
  const TPixelScale& Scale() const { return FPixelScale; }
  void SetScale(const TPixelScale& v);

  void BeginLoading() { FLoading = true; }
  bool Loading() const { return FLoading; }
  // Ends loading: brings the value into the range (lamps untouched, the order of minimum and
  // maximum not corrected) and paints.
  void Loaded();

  // --- Properties -------------------------------------------------------------------------
  // Text drawn above the pivot, cut to its first 10 characters; always repaints.
  const std::string& Caption() const { return FCaption; }
  void SetCaption(std::string_view v);
  TColor ColorBakG() const { return FColorBakG; }
  void SetColorBakG(TColor v);
  TColor ColorCover() const { return FColorCover; }
  void SetColorCover(TColor v);
  TColor ColorScale() const { return FColorScale; }
  void SetColorScale(TColor v);
  TColorScheme ColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme v);
  // Whether black scale numbers and caption are drawn white on a dark dial (as the scale line
  // and ticks always are): on by default; off for text meant to vanish in the dial's colour.
  bool ContrastText() const { return FContrastText; }
  void SetContrastText(bool v);
  // Font of the tick labels and caption; its colour is the text colour. A change through this
  // reference repaints.
  TFont& Font() { return FFont; }
  const TFont& Font() const { return FFont; }
  void SetFont(const TFont& v) { FFont.Assign(v); }
  TFrameStyle FrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle v);
  bool LimWatchHighOn() const { return FLimWatchHighOn; }
  void SetLimWatchHighOn(bool v);
  bool LimWatchLowOn() const { return FLimWatchLowOn; }
  void SetLimWatchLowOn(bool v);
  TColor LimWatchActColor() const { return FLimWatchActColor; }
  void SetLimWatchActColor(TColor v);
  TColor LimWatchPsvColor() const { return FLimWatchPsvColor; }
  void SetLimWatchPsvColor(TColor v);
  double MeterMinValue() const { return FMeterMinValue; }
  void SetMeterMinValue(double v);
  double MeterMaxValue() const { return FMeterMaxValue; }
  void SetMeterMaxValue(double v);
  // Digits after the decimal point of the tick labels, kept in 0..4.
  int MeterDecPlaces() const { return FMeterDecPlaces; }
  void SetMeterDecPlaces(int v);
  // Wanted number of label intervals, kept in 2..21.
  int MeterNrTicks() const { return FMeterNrTicks; }
  void SetMeterNrTicks(int v);
  TMeterLayout MeterLayout() const { return FMeterLayout; }
  void SetMeterLayout(TMeterLayout v);
  bool MeterShortTicks() const { return FMeterShortTicks; }
  void SetMeterShortTicks(bool v);
  bool MeterScaleLine() const { return FMeterScaleLine; }
  void SetMeterScaleLine(bool v);
  // The needle: the gauge keeps its own object; a change of any of its properties repaints.
  TNeedleLayout& NeedleLayout() { return FNeedleLayout; }
  const TNeedleLayout& NeedleLayout() const { return FNeedleLayout; }
  // Copies every property of v into the gauge's own layout, then repaints.
  void SetNeedleLayout(const TNeedleLayout& v);
  int RimBottom() const { return FRimBottom; }
  void SetRimBottom(int v);
  int RimTop() const { return FRimTop; }
  void SetRimTop(int v);
  int RimSide() const { return FRimSide; }
  void SetRimSide(int v);
  // The shown value, kept inside [MeterMinValue, MeterMaxValue] outside loading; a value beyond
  // an end lights that end's lamp.
  double Value() const { return FValue; }
  void SetValue(double v);

  // A second, thinner needle drawn under the main one, at a value of its own (clamped into the
  // range, lighting no lamp) in one colour: half the needle's thickness (at least 1) and two
  // thirds of its head. No second needle while the value is empty. Repaints at once when changed.
  const std::optional<double>& SecondValue() const { return FSecondValue; }
  TColor SecondColor() const { return FSecondColor; }
  void SetSecondNeedle(std::optional<double> value, TColor color);

  // Short marks on the inside of the scale's arc, one a value (clamped into the range) in its
  // own colour, drawn under the needles in list order; as wide as the needle is thick and a
  // tenth of the radius long (at least 4 pixels). Repaints at once when changed.
  struct TRimMark {
    double Value = 0.0;
    TColor Color = clBlack;
    bool operator==(const TRimMark&) const = default;
  };
  const std::vector<TRimMark>& RimMarks() const { return FRimMarks; }
  void SetRimMarks(const std::vector<TRimMark>& marks);

  // Standard control properties. A hidden gauge does not paint; showing it paints.
  const std::string& Hint() const { return FHint; }
  void SetHint(std::string_view v) { FHint = v; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool v);
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool v) { FParentFont = v; }
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool v) { FParentShowHint = v; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool v) { FShowHint = v; }

  // Standard control events (mouse position in the gauge's coordinates); the window adapter
  // calls them, this program assigns none.
  std::function<void()> OnClick;
  std::function<void()> OnDblClick;
  std::function<void(int X, int Y)> OnMouseMove;
  std::function<void(int Button, int X, int Y)> OnMouseDown;
  std::function<void(int Button, int X, int Y)> OnMouseUp;

  // --- State the properties do not expose -------------------------------------------------
  bool LimHighActive() const { return FLimHighActive; }
  bool LimLowActive() const { return FLimLowActive; }
  TColor FrameShadowColor() const { return FColorShadow; }
  TColor FrameHighlightColor() const { return FColorHighlight; }

  // --- Painting ---------------------------------------------------------------------------
  // Draws the whole gauge onto the host's window surface and shows it. Also what the window
  // system calls when the gauge's area needs repainting.
  void Paint();
  // Repaints at once (the needle layout's OnChange).
  void RepaintGauge() { Repaint(); }
  // The kept picture under the needle (reused while the size stays; empty while hidden).
  const TBitmap& OffscreenBitmap() const { return FScale; }
  // Test seam: every canvas call of the following paints is reported to trace (nullptr stops).
  void SetPaintTrace(TCanvasTrace* trace) { FPaintTrace = trace; }
  // The geometry a paint at W by H uses with the current properties.
  TMeterGeometry ComputeGeometry(int W, int H) const;

 private:
  void Repaint();
  template <typename T>
  void Update(T& field, T v) {
    if (field == v) return;
    field = v;
    Repaint();
  }
  // Everything the picture under the needle depends on (colours resolved, so a change of the
  // system colours counts too).
  struct TScaleKey {
    int W = 0, H = 0, cx = 0, cy = 0, Ri = 0;
    double R = 0, S = 0, Min = 0, Max = 0;
    TColor BakG = 0, Scale = 0, FontColor = 0;
    std::string FontName;
    int FontHeight = 0, FontPpi = 0, FontOrientation = 0, Ppi = 0;
    bool ContrastText = true;
    TFontStyles FontStyle = 0;
    std::string Caption;
    int DecPlaces = 0, NrTicks = 0;
    TMeterLayout Layout = mlCirc90;
    bool ShortTicks = false, ScaleLine = false;
    bool operator==(const TScaleKey&) const = default;
  };
  TScaleKey ScaleKey(const TMeterGeometry& g) const;
  // Repaints after the needles or the rim marks moved and nothing else changed: while the
  // window surface still holds the last picture, only the part they covered before or cover
  // now is drawn again (the kept picture under it, then what lies over it, clipped to it);
  // otherwise the whole gauge, as Paint. Each tick moves the needle, so this is the usual paint.
  void RepaintMoved();
  // The part of the picture the needles, their shadow and the rim marks cover, with room for
  // their pens.
  TRect MovedBounds(const TMeterGeometry& g) const;
  // The inner and outer end of a rim mark at a value: a tenth of the radius long (at least 4
  // pixels at 96 per inch), ending a pixel inside the arc.
  std::pair<TPoint, TPoint> RimMarkEnds(const TMeterGeometry& g, double value) const;
  // The canvas state every paint starts the picture with.
  void ResetCanvas(TCanvas& c);
  // Drawing steps of Paint (MeterPaint.cpp).
  void PaintScale(TCanvas& c, const TMeterGeometry& g);
  void PaintNeedle(TCanvas& c, const TMeterGeometry& g);
  // The rim marks and the second needle, under the needle.
  void PaintCoreMarks(TCanvas& c, const TMeterGeometry& g);
  void PaintCover(TCanvas& c, const TMeterGeometry& g);
  void PaintLamps(TCanvas& c, const TMeterGeometry& g);
  void PaintFrame(TCanvas& c, const TMeterGeometry& g);

  TControlHost* FHost = nullptr;
  TPixelScale FPixelScale;
  bool FContrastText = true;
  bool FLoading = false;
  TBitmap FScale;  // the picture under the needle of FScaleKey, when FScaleKept
  TScaleKey FScaleKey;
  bool FScaleKept = false;
  TCanvasTrace* FPaintTrace = nullptr;
  // What the last paint drew onto, and where its needles and marks were (for RepaintMoved).
  struct TLastPaint {
    const TCanvas* Canvas = nullptr;
    std::uint64_t Generation = 0;
    TRect Moved{};
    bool LimHigh = false, LimLow = false;
    bool Valid = false;
  };
  TLastPaint FLast;

  std::string FCaption = "V";
  TColor FColorBakG = clWhite;
  TColor FColorCover = clSilver;
  TColor FColorScale = clNavy;
  TColorScheme FColorScheme = csBWG;
  TFont FFont;
  TFrameStyle FFrameStyle = fsRaised;
  bool FLimWatchHighOn = true;
  bool FLimWatchLowOn = true;
  TColor FLimWatchActColor = clRed;
  TColor FLimWatchPsvColor = clGray;
  double FMeterMinValue = 0.0;
  double FMeterMaxValue = 1.0;
  int FMeterDecPlaces = 1;
  int FMeterNrTicks = 3;
  TMeterLayout FMeterLayout = mlCirc90;
  bool FMeterShortTicks = true;
  bool FMeterScaleLine = true;
  TNeedleLayout FNeedleLayout;
  int FRimBottom = 10;
  int FRimTop = 8;
  int FRimSide = 10;
  double FValue = 0.0;
  std::optional<double> FSecondValue;
  TColor FSecondColor = clBlack;
  std::vector<TRimMark> FRimMarks;

  std::string FHint;
  bool FVisible = true;
  bool FParentFont = true;
  bool FParentShowHint = true;
  bool FShowHint = true;

  bool FLimHighActive = false;
  bool FLimLowActive = false;
  TColor FColorShadow = clGray;
  TColor FColorHighlight = clWhite;

  int FDefaultWidth = 297;
  int FDefaultHeight = 209;
};

}  // namespace varnel
