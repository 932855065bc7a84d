// The main window's form design: the design-time values of the gauge Meter1, the chart Chart2
// and its series Series3, applied through their setters (the components inside their loading
// brackets), as reading the stored form would.
#include "app/FormDesign.h"

#include "app/Form1.h"

namespace varnel {

void LoadMeter1Design(TMeter& m) {
  m.BeginLoading();
  m.SetHint("CPU %");
  m.SetCaption("CPU %");
  m.SetColorBakG(clWhite);
  m.SetColorCover(clGray);
  m.SetColorScale(clBlack);
  m.SetColorScheme(csSytem);
  m.Font().SetName("MS Sans Serif");
  m.Font().SetHeight(-11);
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
  needle.SetHeadSize(20);
  needle.SetHeadAngle(30);
  needle.SetHeadMidLeng(20);
  needle.SetAnchorSize(5);
  needle.SetAnchorCovered(true);
  needle.SetThickness(2);
  needle.SetColorBody(clOlive);
  needle.SetColorOutline(clBlack);
  needle.SetShadowDx(0);
  needle.SetShadowDy(0);
  needle.SetShadowColor(clGray);
  m.SetNeedleLayout(needle);
  m.SetParentFont(false);
  m.SetParentShowHint(false);
  m.SetShowHint(true);
  m.SetRimBottom(2);
  m.SetRimTop(2);
  m.SetRimSide(2);
  m.Loaded();
}

void LoadChart2Design(TChart& c) {
  c.BeginLoading();
  c.SetAlign(alClient);
  c.SetEnabled(false);
  c.SetCursor(crHandPoint);
  c.SetAllowZoom(false);
  c.SetBevelOuter(bvNone);
  c.SetBevelWidth(0);
  c.SetBorderWidth(3);
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
  c.Foot().Font().SetHeight(-11);
  c.Foot().Font().SetColor(clRed);
  c.Foot().Font().SetStyle(fsItalic);
  c.LeftWall().SetColor(clLightYellow);
  c.LeftWall().SetSize(3);
  c.BottomWall().SetColor(clLightYellow);
  c.BottomWall().Brush().SetColor(0x808040);
  c.BottomWall().SetSize(3);
  c.SetTabOrder(0);
  c.SetTabStop(true);
  // Legend.
  TChartLegend& l = c.Legend();
  l.SetAlignment(laLeft);
  l.SetColorWidth(27);
  l.Frame().SetVisible(false);
  l.SetHorizMargin(1);
  l.SetLegendStyle(lsLastValues);
  l.SetResizeChart(false);
  l.SetTextStyle(ltsRightValue);
  l.SetTopPos(0);
  // Axes.
  TChartAxis& left = c.LeftAxis();
  left.SetAutomatic(false);
  left.SetAutomaticMaximum(false);
  left.SetAutomaticMinimum(false);
  left.Axis().SetWidth(1);
  left.SetAxisValuesFormat("###0");
  left.SetIncrement(1.0);
  left.SetMaximum(100.0);
  left.SetMinorTickCount(1);
  left.SetMinorTickLength(5);
  left.SetTickLength(3);
  left.SetExactDateTime(false);
  TChartAxis& bottom = c.BottomAxis();
  bottom.SetAutomatic(false);
  bottom.SetAutomaticMinimum(false);
  bottom.Axis().SetWidth(1);
  bottom.SetLabels(false);
  bottom.SetMinorTickCount(1);
  bottom.SetMinorTickLength(3);
  bottom.SetTickLength(3);
  bottom.SetTickOnLabelsOnly(false);
  bottom.SetRoundFirstLabel(false);
  c.Loaded();
}

void LoadSeries3Design(TFastLineSeries& s) {
  s.SetName("Series3");
  s.Marks().SetVisible(false);
  s.Marks().SetArrowLength(8);
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
  s.LinePen().SetWidth(2);
  s.SetHorizAxis(aBottomAxis);
  s.SetVertAxis(aLeftAxis);
}

void TForm1::LoadDesign() {
  LoadMeter1Design(Meter1);
  LoadChart2Design(Chart2);
  LoadSeries3Design(Series3);
  Series3.SetParentChart(&Chart2);
}

}  // namespace varnel
