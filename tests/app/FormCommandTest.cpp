// TForm1's menu commands: each command's effect, the settings written after it, the prompt's
// conversion, cancelled dialogs, the About box, and settings that cannot be written.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/app/FormTestSupport.h"

namespace varnel {
namespace {

using test::FormFixture;

TEST(FormCommand, GraphAndUVMeterBothSwitchAway) {
  FormFixture f;
  TForm1& form = f.Start();
  f.Choose(form.Graph);  // in graph mode, "Graph" switches to the gauge
  EXPECT_EQ(form.Display(), 1);
  EXPECT_TRUE(form.UVMeter->Checked());
  EXPECT_FALSE(form.Graph->Checked());
  EXPECT_TRUE(f.Ws.MeterHost.Visible());
  EXPECT_FALSE(f.Ws.ChartHost.Visible());
  f.Choose(form.UVMeter);  // in gauge mode, "UV Meter" switches to the graph
  EXPECT_EQ(form.Display(), 0);
  EXPECT_TRUE(f.Ws.ChartHost.Visible());
  f.Choose(form.UVMeter);
  EXPECT_EQ(form.Display(), 1);
  EXPECT_EQ(f.Ini("Display"), "1");
}

// A hidden view keeps no picture of its own, nor does its window: at 1920 x 1080 each is some
// 8 MB.
TEST(FormCommand, TheHiddenViewKeepsNoPicture) {
  FormFixture f(1920, 1080);
  f.WriteIni("Width=1920\nHeight=1080\n");
  TForm1& form = f.Start();
  f.Ws.ChartHost.OnPaint = [&form] { form.Chart2.Paint(); };
  f.Ws.MeterHost.OnPaint = [&form] { form.Meter1.Paint(); };
  auto pixels = [](const TBitmap* b) { return b ? static_cast<std::size_t>(b->Width()) * b->Height() : 0u; };
  auto chartPicture = [&] { return pixels(form.Chart2.OffscreenBitmap()); };
  auto windows = [&] { return std::pair(pixels(&f.Ws.ChartHost.Surface()), pixels(&f.Ws.MeterHost.Surface())); };
  const std::size_t chartSize = 1916u * 1076u, meterSize = 1920u * 1080u;
  f.Tick(37);
  f.Ws.Flush();
  ASSERT_EQ(chartPicture(), chartSize);
  EXPECT_EQ(pixels(&form.Meter1.OffscreenBitmap()), 0u);
  EXPECT_EQ(windows(), std::pair(chartSize, std::size_t{0}));
  for (int round = 0; round < 2; ++round) {
    f.Choose(form.Graph);  // to the gauge
    f.Tick(50);
    f.Ws.Flush();
    EXPECT_EQ(chartPicture(), 0u);
    EXPECT_EQ(pixels(&form.Meter1.OffscreenBitmap()), meterSize);
    EXPECT_EQ(windows(), std::pair(std::size_t{0}, meterSize));
    EXPECT_FALSE(f.Ws.MeterHost.Invalidated()) << "the shown gauge was painted";
    f.Choose(form.UVMeter);  // back to the graph
    f.Tick(60);
    f.Ws.Flush();
    EXPECT_EQ(chartPicture(), chartSize);
    EXPECT_EQ(pixels(&form.Meter1.OffscreenBitmap()), 0u);
    EXPECT_EQ(windows(), std::pair(chartSize, std::size_t{0}));
  }
}

TEST(FormCommand, PlotSecondsPrompt) {
  struct TCase {
    std::string Text;
    int Plot;           // PlotSeconds afterwards
    std::string Error;  // the error box's text, or empty
  };
  const std::string digits300(300, '7');
  const std::vector<TCase> cases{
      {"3", 5, ""},
      {"-7", 5, ""},
      {"  90", 90, ""},
      {"$1E", 30, ""},
      {"90a", 60, "'90a' is not a valid integer value."},
      {"9 0", 60, "'9 0' is not a valid integer value."},
      {"", 60, "'' is not a valid integer value."},
      {"sixty", 60, "'sixty' is not a valid integer value."},
      // The edit box takes 255 characters; 255 digits do not fit an integer.
      {digits300, 60, "'" + digits300.substr(0, 255) + "' is not a valid integer value."},
      {"100000", 86400, ""},
  };
  for (const TCase& c : cases) {
    FormFixture f;
    TForm1& form = f.Start();
    f.Tick(40);
    f.Ws.Prompt.Answers.push_back(c.Text);
    f.Choose(form.Secondstodisplay1);
    ASSERT_EQ(f.Ws.Prompt.Shown.size(), 1u);
    EXPECT_EQ(f.Ws.Prompt.Shown[0].Caption, "FENDUL");
    EXPECT_EQ(f.Ws.Prompt.Shown[0].Prompt, "Seconds to Plot on Graph (5..>)");
    EXPECT_EQ(f.Ws.Prompt.Shown[0].Value, "60");
    EXPECT_EQ(form.PlotSeconds(), c.Plot) << c.Text;
    if (c.Error.empty()) {
      EXPECT_TRUE(f.Ws.MessageBox.Texts.empty()) << c.Text;
      EXPECT_EQ(f.Points(), std::vector<double>(static_cast<std::size_t>(c.Plot), 0.0)) << c.Text;
      EXPECT_EQ(f.Ini("PlotSeconds"), std::to_string(c.Plot)) << c.Text;
    } else {
      ASSERT_EQ(f.Ws.MessageBox.Texts.size(), 1u) << c.Text;
      EXPECT_EQ(f.Ws.MessageBox.Texts[0], c.Error);
      EXPECT_EQ(form.Series3.Count(), 60);
      EXPECT_EQ(f.Points().back(), 40.0);  // the graph was not reset
      EXPECT_FALSE(f.IniExists()) << "a failed conversion must not write the settings";
    }
  }
}

TEST(FormCommand, LegendAndBackgroundTogether) {
  FormFixture f;
  TForm1& form = f.Start();
  f.Choose(form.Legend1);  // off: legend hidden, gauge numbers in the background colour
  EXPECT_FALSE(form.Legend1->Checked());
  EXPECT_FALSE(form.Chart2.Legend().Visible());
  EXPECT_EQ(form.Meter1.Font().Color(), clBtnFace);
  f.Ws.ColorDialog.Answers.push_back(clNavy);
  f.Choose(form.ColorBackground1);
  EXPECT_EQ(f.Ws.ColorDialog.Shown.back(), clBtnFace);  // the dialog starts at the current colour
  EXPECT_EQ(f.Ws.ColorDialog.LastOptions, cdFullOpen | cdShowHelp | cdAnyColor);
  EXPECT_EQ(form.Chart2.Color(), clNavy);
  EXPECT_EQ(form.Meter1.ColorBakG(), clNavy);
  EXPECT_EQ(form.Meter1.Font().Color(), clNavy);  // still invisible against the new background
  EXPECT_EQ(f.Ini("Colors - Background"), std::to_string(clNavy));
  EXPECT_EQ(f.Ini("Legend"), "0");
  f.Choose(form.Legend1);  // on again: black numbers
  EXPECT_TRUE(form.Chart2.Legend().Visible());
  EXPECT_EQ(form.Meter1.Font().Color(), clBlack);
  f.Ws.ColorDialog.Answers.push_back(clTeal);
  f.Choose(form.ColorBackground1);
  EXPECT_EQ(form.Meter1.Font().Color(), clBlack);
  // The line colour goes to the series and the needle.
  f.Ws.ColorDialog.Answers.push_back(clRed);
  f.Choose(form.ColourCPUUsage1);
  EXPECT_EQ(f.Ws.ColorDialog.Shown.back(), clMaroon);
  EXPECT_EQ(form.Series3.SeriesColor(), clRed);
  EXPECT_EQ(form.Meter1.NeedleLayout().ColorBody(), clRed);
  EXPECT_EQ(form.Meter1.NeedleLayout().ColorOutline(), clRed);
  EXPECT_EQ(f.Ini("Colors - Line"), "255");
}

TEST(FormCommand, CancelledDialogsStillSave) {
  FormFixture f;
  TForm1& form = f.Start();
  f.Choose(form.ColorBackground1);  // no answer: cancelled
  EXPECT_TRUE(f.IniExists());
  EXPECT_EQ(form.Chart2.Color(), clBtnFace);
  EXPECT_EQ(f.Ini("Colors - Background"), "-2147483633");
  std::filesystem::remove(f.IniPath);
  f.Ws.Prompt.Answers.push_back(std::nullopt);
  f.Choose(form.Secondstodisplay1);
  EXPECT_EQ(form.PlotSeconds(), 60);
  EXPECT_EQ(f.Ini("PlotSeconds"), "60");
  std::filesystem::remove(f.IniPath);
  f.Choose(form.ColourCPUUsage1);
  EXPECT_EQ(f.Ini("Colors - Line"), "128");
}

TEST(FormCommand, StayOnTopFollowsTheWindowLevel) {
  FormFixture f;
  f.WriteIni("StayOnTop=0\n");
  TForm1& form = f.Start();
  EXPECT_EQ(f.Ws.Frame.FormStyle, fsNormal);
  f.Choose(form.OnTop);
  EXPECT_EQ(f.Ws.Frame.FormStyle, fsStayOnTop);
  EXPECT_TRUE(form.OnTop->Checked());
  EXPECT_EQ(f.Ini("StayOnTop"), "1");
  // Decided by the level, not the mark: a mark out of step is put right.
  form.OnTop->SetChecked(false);
  f.Choose(form.OnTop);
  EXPECT_EQ(f.Ws.Frame.FormStyle, fsNormal);
  EXPECT_FALSE(form.OnTop->Checked());
}

TEST(FormCommand, NoTitleAnd3DView) {
  FormFixture f;
  TForm1& form = f.Start();
  f.Choose(form.NoTitle);
  EXPECT_EQ(f.Ws.Frame.BorderStyle, bsNone);
  EXPECT_EQ(f.Ini("HideTitle"), "1");
  f.Choose(form.N3DView1);
  EXPECT_TRUE(form.Chart2.View3D());
  EXPECT_EQ(f.Ini("3D View"), "1");
  f.Choose(form.N3DView1);
  EXPECT_FALSE(form.Chart2.View3D());
  EXPECT_FALSE(form.N3DView1->Checked());
}

TEST(FormCommand, TwoAboutBoxesInARow) {
  FormFixture f;
  TForm1& form = f.Start();
  std::vector<TModalResult> atShow;
  int calls = 0;
  f.Ws.AboutBox.OnShow = [&](TAboutBox& box) {
    // The first box: the home page, then OK. The second is left alone and closed by its box.
    if (calls++ == 0) {
      atShow.push_back(box.ModalResult());
      box.Press("Button1");
      EXPECT_EQ(box.ModalResult(), mrNone);  // still open
      box.Press("OKButton");
    } else {
      atShow.push_back(box.ModalResult());
    }
  };
  f.Choose(form.About1);
  f.Choose(form.About1);
  ASSERT_EQ(atShow.size(), 2u);
  EXPECT_EQ(atShow[1], mrNone);  // nothing of the first box survives
  EXPECT_EQ(f.Ws.Shell.Opened, std::vector<std::string>{std::string(TAboutBox::HomePage)});
  EXPECT_TRUE(f.IniExists());
}

TEST(FormCommand, ExitSavesThenCloses) {
  FormFixture f;
  TForm1& form = f.Start();
  f.Ws.Frame.UserSetBounds(20, 30, 400, 300);
  f.Choose(form.Exit1);
  EXPECT_TRUE(f.Ws.Frame.Closed);
  EXPECT_EQ(f.Ini("Left"), "20");
  EXPECT_EQ(f.Ini("Height"), "300");
  EXPECT_TRUE(f.Ws.MessageBox.Texts.empty());
}

TEST(FormCommand, UnwritableSettingsReportAfterEachEffect) {
  // A directory that is not there, and a file made read-only (refused even to root).
  for (const bool readOnlyFile : {false, true}) {
    SCOPED_TRACE(readOnlyFile ? "read-only file" : "missing directory");
    FormFixture f;
    const std::string path = f.Dir + (readOnlyFile ? "/FENDUL.INI" : "/missing/FENDUL.INI");
    const std::string old = "[FENDUL]\nLegend=1\n";
    if (readOnlyFile) {
      std::ofstream(path, std::ios::binary) << old;
      ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    }
    TForm1& form = f.Start(path);
    const std::string error = "Unable to write to " + path + ".";
    f.Choose(form.Legend1);
    EXPECT_FALSE(form.Chart2.Legend().Visible());  // the effect happened
    ASSERT_EQ(f.Ws.MessageBox.Texts.size(), 1u);
    EXPECT_EQ(f.Ws.MessageBox.Texts[0], error);
    // Exit: the failing write comes before the close, so the window stays open.
    f.Choose(form.Exit1);
    EXPECT_FALSE(f.Ws.Frame.Closed);
    EXPECT_EQ(f.Ws.MessageBox.Texts.size(), 2u);
    EXPECT_EQ(f.Ws.MessageBox.Texts[1], error);
    if (readOnlyFile) {
      EXPECT_EQ(f.IniText(), old);
    }
    // The program carries on.
    f.Tick(10);
    EXPECT_EQ(f.Points().back(), 10.0);
  }
}

}  // namespace
}  // namespace varnel
