// The main window's form design: the design-time values of the gauge Meter1, the chart Chart2
// and its series Series3, applied through their setters (the components inside their loading
// brackets), as reading the stored form would. Sizes in pixels are the design's at 96 pixels per
// inch and scale to the screen the components were given (Scale()); percentages stay.
#include "app/FormDesign.h"

#include "app/Form1.h"

namespace varnel {

void LoadMeter1Design(TMeter& m) {
  const TPixelScale& k = m.Scale();
  m.BeginLoading();
  m.SetHint("CPU %");
  m.SetCaption("CPU %");
  m.SetColorBakG(clWhite);
  m.SetColorCover(clGray);
  m.SetColorScale(clBlack);
  m.SetColorScheme(csSytem);
  m.Font().SetName("MS Sans Serif");
  m.Font().SetHeight(k.Px(-11));
  m.Font().SetColor(clBlack);
  m.Font().SetStyle(0);
  m.SetFrameStyle(fsEmbossed);
  m.SetLimWatchHighOn(false);
  m.SetLimWatchLowOn(false);
  m.SetLimWatchActColor(clRed);
  m.SetLimWatchPsvColor(clGray);
  m.SetMeterMaxValue(100.0);
  m.SetMeterDecPlaces(0);
  m.SetMeterNrTicks(6);
  m.SetMeterLayout(mlCirc180);
  m.SetMeterShortTicks(true);
  m.SetMeterScaleLine(true);
  TNeedleLayout needle;
  needle.SetHeadSize(k.Px(20));
  needle.SetHeadAngle(30);
  needle.SetHeadMidLeng(k.Px(20));
  needle.SetAnchorSize(k.Px(5));
  needle.SetAnchorCovered(true);
  needle.SetThickness(k.Px(2));
  needle.SetColorBody(clOlive);
  needle.SetColorOutline(clBlack);
  needle.SetShadowDx(0);
  needle.SetShadowDy(0);
  needle.SetShadowColor(clGray);
  m.SetNeedleLayout(needle);
  m.SetParentFont(false);
  m.SetParentShowHint(false);
  m.SetShowHint(true);
  m.SetRimBottom(k.Px(2));
  m.SetRimTop(k.Px(2));
  m.SetRimSide(k.Px(2));
  m.Loaded();
}

void LoadChart2Design(TChart& c) {
  const TPixelScale& k = c.Scale();
  c.BeginLoading();
  c.SetAlign(alClient);
  c.SetEnabled(false);
  c.SetCursor(crHandPoint);
  c.SetAllowZoom(false);
  c.SetBevelOuter(bvNone);
  c.SetBevelWidth(0);
  c.SetBorderWidth(k.Px(3));
  c.SetBorderStyle(bsSingle);
  c.SetMarginLeft(0);
  c.SetMarginTop(0);
  c.SetMarginRight(0);
  c.SetMarginBottom(0);
  c.Frame().SetVisible(false);
  c.Frame().SetWidth(0);
  c.SetClipPoints(false);
  c.TopAxis().SetVisible(false);
  c.RightAxis().SetVisible(false);
  c.Gradient().SetDirection(gdLeftRight);
  c.Title().SetText({"TChart"});
  c.Title().SetVisible(false);
  c.Title().SetAdjustFrame(false);
  c.Foot().SetText({""});
  c.Foot().SetVisible(false);
  c.Foot().SetAdjustFrame(false);
  c.Foot().Font().SetName("Arial");
  c.Foot().Font().SetPixelsPerInch(k.PixelsPerInch());  // a pixel height: no conversion from points
  c.Foot().Font().SetHeight(k.Px(-11));
  c.Foot().Font().SetColor(clRed);
  c.Foot().Font().SetStyle(fsItalic);
  c.LeftWall().SetColor(clLightYellow);
  c.LeftWall().SetSize(k.Px(3));
  c.BottomWall().SetColor(clLightYellow);
  c.BottomWall().Brush().SetColor(0x808040);
  c.BottomWall().SetSize(k.Px(3));
  c.SetTabOrder(0);
  c.SetTabStop(true);
  // Legend.
  TChartLegend& l = c.Legend();
  l.SetAlignment(laLeft);
  l.SetColorWidth(27);
  l.Frame().SetVisible(false);
  l.SetHorizMargin(k.Px(1));
  l.SetShadowSize(k.Px(l.ShadowSize()));
  l.SetLegendStyle(lsLastValues);
  l.SetResizeChart(false);
  l.SetTextStyle(ltsRightValue);
  l.SetTopPos(0);
  // Axes.
  TChartAxis& left = c.LeftAxis();
  left.SetAutomatic(false);
  left.SetAutomaticMaximum(false);
  left.SetAutomaticMinimum(false);
  left.Axis().SetWidth(k.Px(1));
  left.Ticks().SetWidth(k.Px(left.Ticks().Width()));
  left.MinorTicks().SetWidth(k.Px(left.MinorTicks().Width()));
  left.SetAxisValuesFormat("###0");
  left.SetIncrement(1.0);
  left.SetMaximum(100.0);
  left.SetMinorTickCount(1);
  left.SetMinorTickLength(k.Px(5));
  left.SetTickLength(k.Px(3));
  left.SetExactDateTime(false);
  TChartAxis& bottom = c.BottomAxis();
  bottom.SetAutomatic(false);
  bottom.SetAutomaticMinimum(false);
  bottom.Axis().SetWidth(k.Px(1));
  bottom.Ticks().SetWidth(k.Px(bottom.Ticks().Width()));
  bottom.MinorTicks().SetWidth(k.Px(bottom.MinorTicks().Width()));
  bottom.SetLabels(false);
  bottom.SetMinorTickCount(1);
  bottom.SetMinorTickLength(k.Px(3));
  bottom.SetTickLength(k.Px(3));
  bottom.SetTickOnLabelsOnly(false);
  bottom.SetRoundFirstLabel(false);
  c.Loaded();
}

void LoadSeries3Design(TFastLineSeries& s, const TPixelScale& k) {
  s.SetName("Series3");
  s.Marks().SetVisible(false);
  s.Marks().SetArrowLength(k.Px(8));
  s.SetValueFormat("CPU ###0");
  s.XValues().SetName("X");
  s.XValues().SetOrder(loAscending);
  s.XValues().SetDateTime(false);
  s.XValues().SetMultiplier(1.0);
  s.YValues().SetName("Y");
  s.YValues().SetOrder(loNone);
  s.YValues().SetDateTime(false);
  s.YValues().SetMultiplier(1.0);
  s.SetSeriesColor(clMaroon);
  s.LinePen().SetColor(clMaroon);
  s.LinePen().SetWidth(k.Px(2));
  s.SetHorizAxis(aBottomAxis);
  s.SetVertAxis(aLeftAxis);
}

void TForm1::LoadDesign() {
  Meter1.SetScale(FScale);
  Chart2.SetScale(FScale);
  LoadMeter1Design(Meter1);
  LoadChart2Design(Chart2);
  LoadSeries3Design(Series3, FScale);
  Series3.SetParentChart(&Chart2);
}

}  // namespace varnel
