// TForm1: start-up, the tick, the size style, the display and title switches, and the window
// messages. The menu commands are in Form1Commands.cpp, the settings in Form1Settings.cpp and
// the form's design-time values in FormDesign.cpp.
#include "app/Form1.h"

#include <algorithm>
#include <climits>

#include "app/FormDesign.h"
#include "base/Exceptions.h"

namespace varnel {

bool TColorDialog::Execute() {
  if (!FPort) return false;
  TColor c = FColor;
  if (!FPort->Execute(c, FOptions)) return false;
  FColor = c;
  return true;
}

TForm1::TForm1(TApplication& application, const TFormPorts& ports, std::string settingsPath,
               std::unique_ptr<TLoadSource> loadSource)
    : TForm1(application, ports, TSettingsLocation(std::move(settingsPath)), std::move(loadSource)) {}

TForm1::TForm1(TApplication& application, const TFormPorts& ports, TSettingsLocation settings,
               std::unique_ptr<TLoadSource> loadSource)
    : ColorDialog1(ports.ColorDialog),
      Application(application),
      FPorts(ports),
      FScale(ports.PixelsPerInch),
      FSettingsPath(std::move(settings.Path)),
      FSettingsStartPath(std::move(settings.StartPath)),
      FSettingsDirectory(std::move(settings.MakeDirectory)),
      FLoadSource(std::move(loadSource)) {
  // The window's design-time frame: a sizeable tool window captioned "FENDUL".
  if (FPorts.Frame) {
    FPorts.Frame->SetLeft(FScale.Px(182));
    FPorts.Frame->SetTop(FScale.Px(129));
    FPorts.Frame->SetWidth(FScale.Px(520));
    FPorts.Frame->SetHeight(FScale.Px(377));
    FPorts.Frame->SetCaption(FCaption);
  }
  // Components in the order the form creates them: Meter1, Chart2 with Series3, Timer1,
  // PopupMenu1, ColorDialog1.
  Meter1.SetHost(FPorts.MeterHost);
  Chart2.SetHost(FPorts.ChartHost);
  // The gauge stays hidden until the view is applied (FormCreate): each design value and setting
  // would paint it, a picture no one sees, before the graph view hides it or the gauge view
  // paints it again. At start-up that was most of the form's making.
  Meter1.SetVisible(false);
  AlignControls();
  LoadDesign();
  CreateMenu();
  ColorDialog1.SetOptions(cdFullOpen | cdShowHelp | cdAnyColor);
  Timer1.OnTimer = [this] { Application.Guard([this] { Timer1Timer(); }); };
  // The busiest line and the core lines: thin, on the total's axes, named in the legend.
  for (TFastLineSeries* s : {&SeriesMax}) DesignCoreLine(*s, FScale);
  SeriesMax.SetName("SeriesMax");
  SeriesMax.SetValueFormat("Max ###0");
  // A line without a load this second shows its name alone in the legend.
  Chart2.OnGetLegendText = [this](TCustomAxisPanel*, TLegendStyle, int index, std::string& text) {
    const TChartSeries* s = Chart2.SeriesLegend(index);
    if (s == &SeriesMax && !FMaxKnown) text = " Max";
    for (std::size_t i = 0; i < CoreSeries.size() && i < FCoreOnline.size(); ++i)
      if (s == CoreSeries[i].get() && !FCoreOnline[i]) text = " " + FCoreNames[i];
  };
  Chart2.OnGetLegendRect = [this](TCustomChart*, TRect&) { CheckCoreLegend(); };

  FormCreate();

  if (FPorts.Timer && Timer1.Enabled()) FPorts.Timer->Start(Timer1.Interval(), Timer1.OnTimer);
}

TForm1::~TForm1() {
  if (FPorts.Timer) FPorts.Timer->Stop();
  // The series leave the chart before either goes.
  Series3.SetParentChart(nullptr);
  SeriesMax.SetParentChart(nullptr);
  for (auto& s : CoreSeries) s->SetParentChart(nullptr);
  Meter1.SetHost(nullptr);
  Chart2.SetHost(nullptr);
}

void TForm1::CreateMenu() {
  TMenuItem& root = PopupMenu1.Items();
  About1 = root.Add("About1", "&About", mkCommand);
  N1 = root.Add("N1", "-", mkSeparator);
  NoTitle = root.Add("NoTitle", "&No Title", mkCheck);
  OnTop = root.Add("OnTop", "Stay On &Top", mkCheck);
  N5 = root.Add("N5", "-", mkSeparator);
  Graph = root.Add("Graph", "&Graph", mkRadio);
  Graph->SetChecked(true);
  UVMeter = root.Add("UVMeter", "&UV Meter", mkRadio);
  N2 = root.Add("N2", "-", mkSeparator);
  Secondstodisplay1 = root.Add("Secondstodisplay1", "Seconds to &Plot", mkCommand);
  DisplayAxis1 = root.Add("DisplayAxis1", "&Display Axis", mkCheck);
  Legend1 = root.Add("Legend1", "&Legend", mkCheck);
  N3DView1 = root.Add("N3DView1", "&3D View", mkCheck);
  Cores1 = root.Add("Cores1", "&Cores", mkSubmenu);
  CoresTotal1 = Cores1->Add("CoresTotal1", "&Total", mkRadio);
  CoresTotal1->SetChecked(true);
  CoresBusiest1 = Cores1->Add("CoresBusiest1", "Total and &Busiest", mkRadio);
  CoresEvery1 = Cores1->Add("CoresEvery1", "&Every Core", mkRadio);
  Colour1 = root.Add("Colour1", "Colo&ur", mkSubmenu);
  ColourCPUUsage1 = Colour1->Add("ColourCPUUsage1", "&Line", mkCommand);
  ColorBackground1 = Colour1->Add("ColorBackground1", "&Background", mkCommand);
  N3 = root.Add("N3", "-", mkSeparator);
  Exit1 = root.Add("Exit1", "E&xit", mkCommand);
  // Every item but the separators and the submenu runs UserClick; what escapes it is reported.
  auto click = [this](TMenuItem* sender) { Application.Guard([this, sender] { UserClick(sender); }); };
  for (TMenuItem* item : {About1, NoTitle, OnTop, Graph, UVMeter, Secondstodisplay1, DisplayAxis1, Legend1,
                          N3DView1, CoresTotal1, CoresBusiest1, CoresEvery1, ColourCPUUsage1, ColorBackground1,
                          Exit1})
    item->OnClick = click;
}

// ---- Frame ----------------------------------------------------------------------------------

int TForm1::Left() const { return FPorts.Frame ? FPorts.Frame->Left() : 0; }
int TForm1::Top() const { return FPorts.Frame ? FPorts.Frame->Top() : 0; }
int TForm1::Width() const { return FPorts.Frame ? FPorts.Frame->Width() : 0; }
int TForm1::Height() const { return FPorts.Frame ? FPorts.Frame->Height() : 0; }

void TForm1::SetCaption(const std::string& v) {
  if (v == FCaption) return;
  FCaption = v;
  if (FPorts.Frame) FPorts.Frame->SetCaption(v);
}

void TForm1::SetHint(const std::string& v) {
  if (v == FHint) return;
  FHint = v;
  if (FPorts.Frame) FPorts.Frame->SetHint(v);
}

void TForm1::SetBorderStyle(TFormBorderStyle v) {
  if (v == FBorderStyle) return;
  FBorderStyle = v;
  if (FPorts.Frame) FPorts.Frame->SetBorderStyle(v);
}

void TForm1::SetFormStyle(TFormStyle v) {
  if (v == FFormStyle) return;
  FFormStyle = v;
  if (FPorts.Frame) FPorts.Frame->SetFormStyle(v);
}

void TForm1::SetChartVisible(bool v) {
  Chart2.SetVisible(v);
  if (FPorts.ChartHost) FPorts.ChartHost->SetVisible(v);
}

void TForm1::SetMeterVisible(bool v) {
  if (FPorts.MeterHost) FPorts.MeterHost->SetVisible(v);
  Meter1.SetVisible(v);
}

void TForm1::AlignControls() {
  if (FPorts.ChartHost) {
    const TRect r = FPorts.ChartHost->ClientRect();
    Chart2.SetBounds(0, 0, r.Width(), r.Height());
    FPorts.ChartHost->Invalidate();
  }
  if (FPorts.MeterHost && Meter1.Visible()) Meter1.Paint();
}

// ---- Start-up -------------------------------------------------------------------------------

void TForm1::FormCreate() {
  // The settings file, read and applied key by key.
  ReadSettings();
  // The lines of the Cores choice; the total alone needs no core's load.
  if (FCores != 0) ApplyCoreLines();
  if (FLoadSource) FLoadSource->SetCoresWanted(FCores != 0);
  // The plot: PlotSeconds points of zero load.
  ResetPlot();
  // Window level: above the others, or normal.
  SetFormStyle(OnTop->Checked() ? fsStayOnTop : fsNormal);
  // Title bar: invert, then ToggleTitle inverts back and sets the border.
  NoTitle->SetChecked(!NoTitle->Checked());
  ToggleTitle();
  // The view the settings name: graph or gauge.
  ApplyDisplay();
  // The gauge's colours follow the chart's.
  Meter1.SetColorBakG(Chart2.Color());
  Meter1.NeedleLayout().SetColorBody(Series3.SeriesColor());
  Meter1.NeedleLayout().SetColorOutline(Series3.SeriesColor());
  // Axes: the chart's, and the gauge's scale line and short ticks.
  const bool axes = DisplayAxis1->Checked();
  Chart2.SetAxisVisible(axes);
  Meter1.SetMeterScaleLine(axes);
  Meter1.SetMeterShortTicks(axes);
  // The chart's 3D look.
  Chart2.SetView3D(N3DView1->Checked());
  // Legend: shown, or hidden together with the gauge's numbers and caption.
  if (Legend1->Checked()) {
    Chart2.Legend().SetVisible(true);
    Meter1.Font().SetColor(clBlack);
    Meter1.SetContrastText(true);
  } else {
    Chart2.Legend().SetVisible(false);
    Meter1.Font().SetColor(Meter1.ColorBakG());
    Meter1.SetContrastText(false);  // hidden in the dial's colour on a dark dial too
  }
  // No taskbar button for the window.
  if (FPorts.Frame) FPorts.Frame->HideTaskbarEntry();
}

void TForm1::FormPaint() {
  if (FPorts.Frame) FPorts.Frame->HideTaskbarEntry();
}

// ---- The tick -------------------------------------------------------------------------------

void TForm1::Timer1Timer() {
  // A tick without a reading changes nothing; an error ends it here. The reading is kept from
  // tick to tick, so that the cores' names are written only when they change.
  if (!FLoadSource || !FLoadSource->ReadInto(FReading)) return;
  const double load = static_cast<double>(FReading.Total);
  // The caption names what the window shows, and which machine when it is another one; the hint
  // adds the reading.
  const std::string machine = FLoadSource->MachineName();
  const std::string caption = machine.empty() ? "CPU Usage" : "CPU Usage - " + machine;
  SetCaption(caption);
  ShowCores(FReading, caption);
  // Scroll: drop the oldest point, renumber, append the newest.
  Series3.Delete(0);
  Series3.XValues().Renumber();
  Series3.AppendY(load, "", clAutoColor);
  // Pen and needle sizes for the window's size, then the gauge's new value.
  ApplySizeStyle();
  Meter1.SetValue(load);
}

void TForm1::ApplySizeStyle() {
  const int w = Width(), h = Height();
  // Widths, sizes and the small-window threshold are pixels at 96 per inch.
  const TPixelScale& s = FScale;
  auto apply = [this, &s](int pen, int thickness, int headMid, int headSize, int anchor, bool shortTicks) {
    Series3.LinePen().SetWidth(s.Px(pen));
    Meter1.NeedleLayout().SetThickness(s.Px(thickness));
    Meter1.NeedleLayout().SetHeadMidLeng(s.Px(headMid));
    Meter1.NeedleLayout().SetHeadSize(s.Px(headSize));
    Meter1.NeedleLayout().SetAnchorSize(s.Px(anchor));
    Meter1.SetMeterShortTicks(shortTicks);
  };
  const int small = s.Px(300), low = s.Px(150);
  if (h < low || w < small) apply(1, 1, 10, 10, 2, false);  // compact
  if (h > low || w > small) apply(2, 2, 20, 20, 5, true);   // full
}

void TForm1::ResetPlot() {
  Chart2.SetOffscreenDrawing(true);
  Series3.Clear();
  if (FPlotSeconds < MinPlotSeconds) FPlotSeconds = MinPlotSeconds;
  // No plot longer than a day: the series is built in one go and drawn every second.
  if (FPlotSeconds > MaxPlotSeconds) FPlotSeconds = MaxPlotSeconds;
  for (int i = 0; i < FPlotSeconds; ++i) Series3.AppendY(0, "", clAutoColor);
  ResetCoreLines();
}

void TForm1::ApplyDisplay() {
  if (FDisplay == 0) {
    SetChartVisible(true);
    SetMeterVisible(false);
    Graph->SetChecked(true);
    UVMeter->SetChecked(false);
  } else if (FDisplay == 1) {
    SetChartVisible(false);
    SetMeterVisible(true);
    Graph->SetChecked(false);
    UVMeter->SetChecked(true);
  }
}

void TForm1::ToggleTitle() {
  if (NoTitle->Checked()) {
    NoTitle->SetChecked(false);
    SetBorderStyle(bsSizeToolWin);
  } else {
    NoTitle->SetChecked(true);
    SetBorderStyle(bsNone);
  }
}

// ---- Window messages ------------------------------------------------------------------------

void TForm1::WMNCRButtonDown() {
  // 10 pixels (at 96 per inch) inside the outer frame's top-left corner (kept in range for any
  // stored position).
  const int d = FScale.Px(10);
  auto inside = [d](int v) { return static_cast<int>(std::min<long long>(static_cast<long long>(v) + d, INT_MAX)); };
  if (FPorts.Popup) FPorts.Popup->Popup(PopupMenu1, inside(Left()), inside(Top()));
}

void TForm1::WMNCLButtonDblClk() { ToggleTitle(); }

}  // namespace varnel
