// TForm1: the main window's logic, without a toolkit. It owns the components of the window (the
// gauge Meter1, the chart Chart2 with its series Series3, the timer Timer1, the popup menu
// PopupMenu1 and the colour dialog ColorDialog1), applies the stored settings at start-up, runs
// the one-second tick, picks the line and needle style by window size, switches the display and
// the title bar, and carries out every menu command, writing the settings after each. It reaches
// the window system only through the ports (app/Ports.h).
//
// The check marks of OnTop, NoTitle, DisplayAxis1, N3DView1 and Legend1 are the store of the five
// on/off settings; the radio marks of Graph and UVMeter only show Display.
//
//   THeadlessWindowSystem ws;  TApplication app(&ws.MessageBox);
//   TForm1 form(app, ws.Ports(), "/opt/varnel/FENDUL.INI", std::make_unique<TProcStatLoadSource>());
//   ws.Timer.Fire();   // one tick
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/Ports.h"
#include "app/PopupMenu.h"
#include "app/SettingsLocation.h"
#include "base/Color.h"
#include "base/Controls.h"
#include "base/PixelScale.h"
#include "chart/Chart.h"
#include "gauge/Meter.h"
#include "sampler/LoadSource.h"
#include "series/FastLineSeries.h"

namespace varnel {

// The timer component: interval and enabled state, ticking through the timer port.
class TTimer {
 public:
  int Interval() const { return FInterval; }
  bool Enabled() const { return FEnabled; }
  std::function<void()> OnTimer;

 private:
  friend class TForm1;
  int FInterval = 1000;
  bool FEnabled = true;
};

// The colour dialog component: its colour and options, run through the colour-dialog port.
class TColorDialog {
 public:
  explicit TColorDialog(TColorDialogPort* port) : FPort(port) {}
  TColor Color() const { return FColor; }
  void SetColor(TColor v) { FColor = v; }
  unsigned Options() const { return FOptions; }
  void SetOptions(unsigned v) { FOptions = v; }
  // Runs the dialog from Color; true with Color changed when the user confirms.
  bool Execute();

 private:
  TColorDialogPort* FPort;
  TColor FColor = clBlack;
  unsigned FOptions = 0;
};

class TForm1 {
 public:
  // The bounds of the plot length in points.
  static constexpr int MinPlotSeconds = 5;
  static constexpr int MaxPlotSeconds = 86400;  // one day

  // Creates the components from the form's design, then runs FormCreate, which reads the
  // settings file at settingsPath; every save writes the same file. Each tick reads `loadSource`.
  TForm1(TApplication& application, const TFormPorts& ports, std::string settingsPath,
         std::unique_ptr<TLoadSource> loadSource);
  // As above, with start-up reading settings.StartPath and every save writing settings.Path
  // (the program passes ChooseSettingsLocation's choice).
  TForm1(TApplication& application, const TFormPorts& ports, TSettingsLocation settings,
         std::unique_ptr<TLoadSource> loadSource);
  ~TForm1();
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // ---- Handlers ---------------------------------------------------------------------------
  void FormCreate();
  // Activated, painted or shown: keep the program off the taskbar.
  void FormPaint();
  // The tick: sample, caption and hint, scroll the series, size style, gauge value.
  void Timer1Timer();
  // Every menu command; ends with SaveSettings.
  void UserClick(TMenuItem* Sender);
  // A right click anywhere: the menu at (Left + 10, Top + 10) of the outer frame.
  void WMNCRButtonDown();
  // A double click anywhere: toggle the title bar.
  void WMNCLButtonDblClk();
  // The client area changed size: both children fill it (Align = alClient).
  void AlignControls();

  // ---- Operations -------------------------------------------------------------------------
  void ResetPlot();
  void ApplyDisplay();
  void ToggleTitle();
  void ApplySizeStyle();
  void SetAxisDisplay(bool v);
  void SaveSettings();
  // The Cores choice: 0 the total alone, 1 the total and the busiest core, 2 every core. Any
  // other value is 0. Marks the radio item, builds the lines for the mode and starts the graph
  // again from a flat line.
  void SetCores(int mode);

  // ---- State ------------------------------------------------------------------------------
  int PlotSeconds() const { return FPlotSeconds; }
  int Display() const { return FDisplay; }
  int Cores() const { return FCores; }
  // The most cores drawn as lines of their own; with more, Every Core shows the busiest line.
  static constexpr std::size_t MaxCoreLines = 256;
  const std::string& SettingsPath() const { return FSettingsPath; }
  const std::string& Caption() const { return FCaption; }
  const std::string& Hint() const { return FHint; }
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  TFormStyle FormStyle() const { return FFormStyle; }
  // The window's outer geometry, from the frame.
  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  // The screen's density, as the ports gave it at creation.
  const TPixelScale& Scale() const { return FScale; }

  // Called after a tick gave the gauge a new hint (the reading), for a window system that shows
  // the gauge's hint as its own tooltip.
  std::function<void()> OnMeterHintChanged;

  // ---- Components -------------------------------------------------------------------------
  TMeter Meter1;
  TChart Chart2;
  TFastLineSeries Series3;
  // The busiest core's line ("Max") and one line per core, on the chart only while the Cores
  // choice shows them.
  TFastLineSeries SeriesMax;
  std::vector<std::unique_ptr<TFastLineSeries>> CoreSeries;
  TTimer Timer1;
  TPopupMenu PopupMenu1;
  TColorDialog ColorDialog1;
  TMenuItem* About1;
  TMenuItem* N1;
  TMenuItem* NoTitle;
  TMenuItem* OnTop;
  TMenuItem* N5;
  TMenuItem* Graph;
  TMenuItem* UVMeter;
  TMenuItem* N2;
  TMenuItem* Secondstodisplay1;
  TMenuItem* DisplayAxis1;
  TMenuItem* Legend1;
  TMenuItem* N3DView1;
  TMenuItem* Cores1;
  TMenuItem* CoresTotal1;
  TMenuItem* CoresBusiest1;
  TMenuItem* CoresEvery1;
  TMenuItem* Colour1;
  TMenuItem* ColourCPUUsage1;
  TMenuItem* ColorBackground1;
  TMenuItem* N3;
  TMenuItem* Exit1;

 private:
  void CreateMenu();
  void LoadDesign();
  void ReadSettings();
  void SetCaption(const std::string& v);
  void SetHint(const std::string& v);
  void SetBorderStyle(TFormBorderStyle v);
  void SetFormStyle(TFormStyle v);
  void SetChartVisible(bool v);
  void SetMeterVisible(bool v);
  // The cores of one reading: the busiest line and needle, each core's line and rim mark, and
  // the hints with the reading (the window's after `caption`).
  void ShowCores(const TLoadReading& reading, const std::string& caption);
  // The chart's lines and legend entries for the Cores choice.
  void ApplyCoreLines();
  // The colours of the busiest line and of each core's line, for the line and background colours.
  void ApplyCoreColors();
  // Whether every core's legend entry fits; called as the legend is laid out.
  void CheckCoreLegend();
  // Every line of the mode back to PlotSeconds points of zero load.
  void ResetCoreLines();

  TApplication& Application;
  TFormPorts FPorts;
  TPixelScale FScale;
  std::string FSettingsPath;
  std::string FSettingsStartPath;
  std::string FSettingsDirectory;  // made before a save when it is not empty
  std::unique_ptr<TLoadSource> FLoadSource;
  TLoadReading FReading;  // the last tick's reading, written over by the next
  int FPlotSeconds = 60;
  int FDisplay = 0;
  int FCores = 0;
  std::vector<std::string> FCoreNames;  // each core line's name ("CPU0") as the legend shows it
  std::vector<bool> FCoreOnline;        // whether each core had a load in the last reading
  bool FMaxKnown = false;               // whether the last reading had a busiest core
  bool FCoreLegendFits = true;
  std::string FCaption = "FENDUL";
  std::string FHint;
  TFormBorderStyle FBorderStyle = bsSizeToolWin;
  TFormStyle FFormStyle = fsNormal;
};

}  // namespace varnel
