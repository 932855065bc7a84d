// TForm1's menu commands: UserClick runs the block of the chosen item, then writes the settings.
#include "app/AboutBox.h"
#include "app/Form1.h"
#include "base/Text.h"

namespace varnel {

void TForm1::UserClick(TMenuItem* Sender) {
  if (Sender == Exit1) {
    SaveSettings();  // a failing write ends the handler here: the window stays open
    if (FPorts.Frame) FPorts.Frame->Close();
  } else if (Sender == NoTitle) {
    ToggleTitle();
  } else if (Sender == OnTop) {
    // Decided by the window's level, not by the check mark.
    if (FFormStyle == fsNormal) {
      SetFormStyle(fsStayOnTop);
      OnTop->SetChecked(true);
    } else {
      SetFormStyle(fsNormal);
      OnTop->SetChecked(false);
    }
  } else if (Sender == About1) {
    TAboutBox box(FPorts.Shell);
    if (FPorts.AboutBox) FPorts.AboutBox->ShowModal(box);
  } else if (Sender == ColorBackground1) {
    ColorDialog1.SetColor(Chart2.Color());
    if (ColorDialog1.Execute()) {
      Chart2.SetColor(ColorDialog1.Color());
      Meter1.SetColorBakG(ColorDialog1.Color());
      if (!Legend1->Checked()) Meter1.Font().SetColor(Meter1.ColorBakG());
      ApplyCoreColors();
    }
  } else if (Sender == ColourCPUUsage1) {
    ColorDialog1.SetColor(Series3.SeriesColor());
    if (ColorDialog1.Execute()) {
      Series3.SetSeriesColor(ColorDialog1.Color());
      Meter1.NeedleLayout().SetColorBody(ColorDialog1.Color());
      Meter1.NeedleLayout().SetColorOutline(ColorDialog1.Color());
      ApplyCoreColors();
    }
  } else if (Sender == Secondstodisplay1) {
    std::string text = IntToStr(FPlotSeconds);
    if (FPorts.Prompt && FPorts.Prompt->InputQuery("FENDUL", "Seconds to Plot on Graph (5..>)", text)) {
      // Text that is not an integer raises EConvertError and ends the handler: nothing changes.
      FPlotSeconds = StrToInt(text);
      ResetPlot();
    }
  } else if (Sender == DisplayAxis1) {
    SetAxisDisplay(!DisplayAxis1->Checked());
  } else if (Sender == N3DView1) {
    if (N3DView1->Checked()) {
      Chart2.SetView3D(false);
      N3DView1->SetChecked(false);
    } else {
      Chart2.SetView3D(true);
      N3DView1->SetChecked(true);
    }
  } else if (Sender == Legend1) {
    if (Legend1->Checked()) {
      Legend1->SetChecked(false);
      Chart2.Legend().SetVisible(false);
      Meter1.Font().SetColor(Meter1.ColorBakG());
      Meter1.SetContrastText(false);
    } else {
      Legend1->SetChecked(true);
      Chart2.Legend().SetVisible(true);
      Meter1.Font().SetColor(clBlack);
      Meter1.SetContrastText(true);
    }
  } else if (Sender == CoresTotal1 || Sender == CoresBusiest1 || Sender == CoresEvery1) {
    SetCores(Sender == CoresTotal1 ? 0 : Sender == CoresBusiest1 ? 1 : 2);
  } else if (Sender == Graph || Sender == UVMeter) {
    // Either item switches to the other mode.
    FDisplay = FDisplay == 1 ? 0 : 1;
    ApplyDisplay();
  }
  SaveSettings();
}

void TForm1::SetAxisDisplay(bool v) {
  Chart2.SetAxisVisible(v);
  DisplayAxis1->SetChecked(v);
  Meter1.SetMeterScaleLine(v);
  Meter1.SetMeterShortTicks(v);
}

}  // namespace varnel
