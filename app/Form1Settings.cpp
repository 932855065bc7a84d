// TForm1's settings: read once at start-up and applied key by key as each is read, written whole
// after every menu command (the keys, their defaults and orders are in SettingsKeys.h).
#include <filesystem>
#include <system_error>

#include "app/Form1.h"
#include "app/SettingsKeys.h"
#include "base/PixelScale.h"
#include "platform/profile/IniFile.h"
#include "platform/profile/PrivateProfile.h"

namespace varnel {

void TForm1::ReadSettings() {
  // A save that was killed part of the way leaves its temporary file behind: clear those first.
  RemoveStaleProfileTemporaries(FSettingsPath);
  const TIniFile ini(FSettingsStartPath);
  TFramePort* frame = FPorts.Frame;
  // Position and size are in the pixels of the screen the file was saved on: on a screen of
  // another density they scale by screen / stored, so the window keeps its size to the eye. One
  // the file lacks (or cannot read) is the default, which is in pixels at 96 whatever the file's
  // density.
  const int stored = ReadStoredPixelsPerInch(ini);
  const int screen = FScale.PixelsPerInch();
  // Applied as read, unchecked: the window system decides what it can show.
  varnel::ReadSettings(ini, [&](TSettingId id, int v, bool inFile) {
    const auto onScreen = [&] { return ScaleBetween(v, screen, inFile ? stored : DesignPixelsPerInch); };
    switch (id) {
      case siTop: if (frame) frame->SetTop(onScreen()); break;
      case siLeft: if (frame) frame->SetLeft(onScreen()); break;
      case siWidth: if (frame) frame->SetWidth(onScreen()); break;
      case siHeight: if (frame) frame->SetHeight(onScreen()); break;
      case siStayOnTop: OnTop->SetChecked(v != 0); break;
      case siHideTitle: NoTitle->SetChecked(v != 0); break;
      case siColorsBackground: Chart2.SetColor(v); break;
      case siColorsLine: Series3.SetSeriesColor(v); break;
      case siPlotSeconds: FPlotSeconds = v; break;
      case siDisplayAxis: DisplayAxis1->SetChecked(v != 0); break;
      case si3DView: N3DView1->SetChecked(v != 0); break;
      case siLegend: Legend1->SetChecked(v != 0); break;
      case siDisplay: FDisplay = v; break;
      case siCores: FCores = v >= 0 && v <= 2 ? v : 0; break;  // anything else is the total alone
    }
  });
  // The default position is meant inside the desktop's free area, not under a panel.
  std::error_code error;
  if (frame && !std::filesystem::exists(FSettingsStartPath, error)) frame->DefaultPositionInWorkArea();
}

void TForm1::SaveSettings() {
  // Fourteen key writes from the live state and the screen's density, grouped into one
  // replacement of the file: a failure
  // raises "Unable to write to <path>" once and leaves the file as it was. The configuration
  // directory, when the settings live there, is made first.
  if (!FSettingsDirectory.empty()) MakeSettingsDirectory(FSettingsDirectory);
  TIniFile ini(FSettingsPath);
  WriteSettings(ini, [this](TSettingId id) -> int {
    switch (id) {
      case siTop: return Top();
      case siLeft: return Left();
      case siWidth: return Width();
      case siHeight: return Height();
      case siStayOnTop: return OnTop->Checked();
      case siHideTitle: return NoTitle->Checked();
      case siColorsBackground: return Chart2.Color();
      case siColorsLine: return Series3.SeriesColor();
      case siPlotSeconds: return FPlotSeconds;
      case siDisplayAxis: return DisplayAxis1->Checked();
      case si3DView: return N3DView1->Checked();
      case siLegend: return Legend1->Checked();
      case siDisplay: return FDisplay;
      case siCores: return FCores;
    }
    return 0;
  }, FScale.PixelsPerInch());
}

}  // namespace varnel
