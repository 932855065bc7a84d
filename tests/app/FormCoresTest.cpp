// The Cores choice: the submenu and its setting, the busiest line and needle, one line and rim
// mark per core, their colours and legend entries, the hints with the reading, and pictures of
// every mode in both views.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>

#include "chart/SeriesList.h"
#include "tests/app/FormTestSupport.h"
#include "tests/support/TestSupport.h"

namespace varnel {
namespace {

using test::FormFixture;

// A reading of the total and the cores' loads (-1: the core has no load).
TLoadReading Reading(int total, std::vector<int> cores) {
  TLoadReading r{total, {}};
  for (std::size_t i = 0; i < cores.size(); ++i)
    r.Cores.push_back({"cpu" + std::to_string(i), cores[i] < 0 ? std::nullopt : std::optional<int>(cores[i])});
  return r;
}

// A fixture whose load source gives the readings queued in Next.
struct CoresFixture : FormFixture {
  explicit CoresFixture(int width = 332, int height = 190) : FormFixture(width, height) {
    ReadingOverride = [this]() -> std::optional<TLoadReading> {
      if (Next.empty()) return std::nullopt;
      TLoadReading r = Next.front();
      Next.pop_front();
      return r;
    };
  }
  void TickWith(const TLoadReading& r) {
    Next.push_back(r);
    Ws.Timer.Fire();
  }
  static std::vector<double> Ys(const TFastLineSeries& s) {
    std::vector<double> v;
    for (int i = 0; i < s.Count(); ++i) v.push_back(s.YValues().Value(i));
    return v;
  }
  // The legend's entries as the chart gives them, in the order shown.
  std::vector<std::string> Legend() {
    std::vector<std::string> out;
    const TChartLegend& l = Form->Chart2.Legend();
    const int n = l.CountItems();
    for (int k = 0; k < n; ++k) out.push_back(Form->Chart2.ItemText(l.Inverted() ? n - 1 - k : k));
    return out;
  }
  std::deque<TLoadReading> Next;
};

double Distance(TColor a, TColor b) {
  a = ColorToRGB(a), b = ColorToRGB(b);
  double d = 0;
  for (int s = 0; s < 24; s += 8) d += std::pow(double(a >> s & 0xFF) - double(b >> s & 0xFF), 2);
  return std::sqrt(d);
}

TEST(FormCores, SubmenuAndSettingOfAnyText) {
  {
    CoresFixture f;
    TForm1& form = f.Start();
    // After "&3D View": "&Cores" with three radio items, Total marked.
    const TMenuItem& root = form.PopupMenu1.Items();
    int at = -1;
    for (int i = 0; i < root.Count(); ++i)
      if (root.Item(i) == form.N3DView1) at = i;
    ASSERT_EQ(root.Item(at + 1), form.Cores1);
    EXPECT_EQ(form.Cores1->Caption(), "&Cores");
    ASSERT_EQ(form.Cores1->Count(), 3);
    EXPECT_EQ(form.Cores1->Item(0)->Caption(), "&Total");
    EXPECT_EQ(form.Cores1->Item(1)->Caption(), "Total and &Busiest");
    EXPECT_EQ(form.Cores1->Item(2)->Caption(), "&Every Core");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(form.Cores1->Item(i)->Kind(), mkRadio);
    EXPECT_TRUE(form.CoresTotal1->Checked());
    EXPECT_EQ(f.CoresWanted, false);  // the total alone: the source need not read the cores
    // Choosing saves the choice with the other settings and starts every line again, flat.
    f.TickWith(Reading(40, {30, 50}));
    f.Choose(form.CoresEvery1);
    EXPECT_EQ(f.Ini("Cores"), "2");
    EXPECT_EQ(f.Ini("PlotSeconds"), "60");
    EXPECT_TRUE(form.CoresEvery1->Checked() && !form.CoresTotal1->Checked() && !form.CoresBusiest1->Checked());
    EXPECT_EQ(f.Points(), std::vector<double>(60, 0.0));
    EXPECT_EQ(f.CoresWanted, true);
    f.Choose(form.CoresBusiest1);
    EXPECT_EQ(f.Ini("Cores"), "1");
    EXPECT_EQ(f.CoresWanted, true);
    f.Choose(form.CoresTotal1);
    EXPECT_EQ(f.CoresWanted, false);
  }
  // Whatever the file holds: 0, 1 and 2 are kept, anything else is the total alone, and the
  // other keys survive the next save.
  const std::pair<const char*, int> cases[] = {{"2", 2}, {" 1", 1}, {"0x2", 2}, {"3", 0}, {"-1", 0}, {"two", 0},
                                              {"", 0},  {"2.5", 0}, {"99999999999999", 0}, {"$1", 1}};
  for (const auto& [text, mode] : cases) {
    SCOPED_TRACE(text);
    CoresFixture f;
    f.WriteIni(std::string("Cores=") + text + "\nPlotSeconds=9\nOther=kept\n");
    TForm1& form = f.Start();
    EXPECT_EQ(form.Cores(), mode);
    EXPECT_EQ(f.CoresWanted, mode != 0);
    EXPECT_EQ(form.CoresTotal1->Checked(), mode == 0);
    EXPECT_EQ(form.CoresEvery1->Checked(), mode == 2);
    f.Choose(form.DisplayAxis1);
    EXPECT_EQ(f.Ini("Cores"), std::to_string(mode));
    EXPECT_EQ(f.Ini("PlotSeconds"), "9");
    EXPECT_EQ(f.Ini("Other"), "kept");
  }
}

TEST(FormCores, BusiestLineNeedleAndHints) {
  CoresFixture f;
  f.WriteIni("PlotSeconds=5\nCores=1\n");
  TForm1& form = f.Start();
  f.TickWith(Reading(37, {20, 100, 100, -1}));  // two at 100: the first is named
  EXPECT_EQ(f.Ws.Frame.Hint, "CPU Usage: 37 %, busiest 100 % (CPU1)");
  EXPECT_EQ(form.Meter1.Hint(), "CPU %: 37, busiest 100 % (CPU1)");
  EXPECT_EQ(f.Ws.Frame.Caption, "CPU Usage");
  f.TickWith(Reading(12, {3, -1, 9, 4}));
  f.TickWith(Reading(50, {-1, -1, -1, -1}));  // no core has a load: no busiest
  EXPECT_EQ(f.Ws.Frame.Hint, "CPU Usage: 50 %");
  EXPECT_EQ(f.Points(), (std::vector<double>{0, 0, 37, 12, 50}));
  EXPECT_EQ(CoresFixture::Ys(form.SeriesMax), (std::vector<double>{0, 0, 100, 9, 0}));
  EXPECT_FALSE(form.Meter1.SecondValue());
  f.TickWith(Reading(60, {80, 10}));
  EXPECT_EQ(form.Meter1.SecondValue(), 80.0);
  EXPECT_EQ(form.Meter1.Value(), 60.0);
  EXPECT_TRUE(form.Meter1.RimMarks().empty());
  // The legend: the total first, then the busiest, each with its value.
  EXPECT_EQ(f.Legend(), (std::vector<std::string>{" CPU 60", " Max 80"}));
  // The total's line is drawn last, over the busiest; the busiest is one pixel wide.
  ASSERT_EQ(form.Chart2.SeriesList().Count(), 2);
  EXPECT_EQ(form.Chart2.SeriesList()[1], &form.Series3);
  EXPECT_EQ(form.SeriesMax.LinePen().Width(), 1);
  // The busiest shade stands apart from the line and the background, whatever the two are.
  const std::pair<TColor, TColor> pairs[] = {{clMaroon, clBtnFace}, {clBlack, clWhite}, {clWhite, clBlack},
                                             {0x00FFFF, clWhite},  {clGray, clSilver}, {clNavy, clBlack}};
  for (const auto& [line, background] : pairs) {
    f.Ws.ColorDialog.Answers.push_back(line);
    f.Choose(form.ColourCPUUsage1);
    f.Ws.ColorDialog.Answers.push_back(background);
    f.Choose(form.ColorBackground1);
    const TColor busiest = form.SeriesMax.SeriesColor();
    EXPECT_GE(Distance(busiest, line), 60.0) << std::hex << line << " on " << background;
    EXPECT_GE(Distance(busiest, background), 60.0) << std::hex << line << " on " << background;
    EXPECT_EQ(form.Meter1.SecondColor(), busiest);
  }
  // Back to the total alone: its hint has no busiest core, and only its line is on the chart.
  f.Choose(form.CoresTotal1);
  f.TickWith(Reading(61, {90, 10}));
  EXPECT_EQ(f.Ws.Frame.Hint, "CPU Usage: 61 %");
  EXPECT_EQ(form.Meter1.Hint(), "CPU %: 61");
  EXPECT_EQ(form.Chart2.SeriesList().Count(), 1);
  EXPECT_FALSE(form.Meter1.SecondValue());
  EXPECT_FALSE(form.Chart2.Legend().Inverted());
}

TEST(FormCores, EveryCoreLinesMarksColoursAndLegend) {
  CoresFixture f(520, 377);
  f.WriteIni("PlotSeconds=5\nCores=2\n");
  TForm1& form = f.Start();
  f.Ws.ChartHost.OnPaint = [&form] { form.Chart2.Paint(); };
  f.TickWith(Reading(30, {10, 70, -1}));
  f.TickWith(Reading(45, {20, 90, 40}));
  ASSERT_EQ(form.CoreSeries.size(), 3u);
  EXPECT_EQ(CoresFixture::Ys(*form.CoreSeries[1]), (std::vector<double>{0, 0, 0, 70, 90}));
  EXPECT_EQ(CoresFixture::Ys(*form.CoreSeries[2]), (std::vector<double>{0, 0, 0, 0, 40}));
  f.Ws.Flush();
  f.Ws.Flush();
  // Three cores fit a 377-pixel window: the total, then each core by name.
  EXPECT_EQ(f.Legend(), (std::vector<std::string>{" CPU 45", " CPU0 20", " CPU1 90", " CPU2 40"}));
  EXPECT_FALSE(form.SeriesMax.Active());
  // Each core's colour: from the palette, apart from the background, the line and each other
  // (three cores take three palette colours).
  for (std::size_t i = 0; i < 3; ++i) {
    const TColor c = form.CoreSeries[i]->SeriesColor();
    EXPECT_NE(std::find(std::begin(ChartPalette), std::end(ChartPalette), c), std::end(ChartPalette));
    EXPECT_GE(Distance(c, form.Chart2.Color()), 100.0) << i;
    EXPECT_GE(Distance(c, form.Series3.SeriesColor()), 100.0) << i;
    for (std::size_t j = 0; j < i; ++j) EXPECT_NE(c, form.CoreSeries[j]->SeriesColor());
  }
  // The gauge: the busiest needle and a mark at each core's load in its colour.
  ASSERT_EQ(form.Meter1.RimMarks().size(), 3u);
  EXPECT_EQ(form.Meter1.RimMarks()[1].Value, 90.0);
  EXPECT_EQ(form.Meter1.RimMarks()[1].Color, form.CoreSeries[1]->SeriesColor());
  EXPECT_EQ(form.Meter1.SecondValue(), 90.0);
  // A core that goes offline keeps its line at 0 and shows its name alone; one that appears
  // gets a line of its own from a flat start.
  f.TickWith(Reading(50, {25, -1, 60, 5}));
  f.Ws.Flush();
  f.Ws.Flush();
  ASSERT_EQ(form.CoreSeries.size(), 4u);
  EXPECT_EQ(CoresFixture::Ys(*form.CoreSeries[1]), (std::vector<double>{0, 0, 70, 90, 0}));
  EXPECT_EQ(CoresFixture::Ys(*form.CoreSeries[3]), (std::vector<double>{0, 0, 0, 0, 5}));
  EXPECT_EQ(f.Legend(), (std::vector<std::string>{" CPU 50", " CPU0 25", " CPU1", " CPU2 60", " CPU3 5"}));
  EXPECT_EQ(form.Meter1.RimMarks().size(), 3u);  // no mark for the core without a load
  // The line colour changed to one of the cores' colours: that core takes another.
  f.Ws.ColorDialog.Answers.push_back(form.CoreSeries[0]->SeriesColor());
  f.Choose(form.ColourCPUUsage1);
  for (auto& s : form.CoreSeries) EXPECT_GE(Distance(s->SeriesColor(), form.Series3.SeriesColor()), 100.0);
}

// Lightness apart, as a reader sees a thin line on a background: the contrast of the two
// relative luminances (sRGB to linear light, weighted 0.2126, 0.7152, 0.0722), each plus 0.05.
double LightnessContrast(TColor a, TColor b) {
  const auto luminance = [](TColor c) {
    c = ColorToRGB(c);
    const auto linear = [](unsigned v) {
      const double x = v / 255.0;
      return x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c & 0xFF) + 0.7152 * linear(c >> 8 & 0xFF) + 0.0722 * linear(c >> 16 & 0xFF);
  };
  const double la = luminance(a) + 0.05, lb = luminance(b) + 0.05;
  return std::max(la, lb) / std::min(la, lb);
}

TEST(FormCores, CoreColoursStandOutFromDarkAndLightBackgrounds) {
  // On black the palette's navy differs in hue (128 apart) but hardly in lightness: it is left
  // out, as are the lime and aqua on the default silver; every colour kept is at least 1.5 times
  // lighter or darker than the background.
  for (const TColor background : {clBlack, TColor(0x101010), clBtnFace, clWhite, clNavy, TColor(0x404040)}) {
    CoresFixture f;
    f.WriteIni("PlotSeconds=5\nCores=2\nColors - Background=" + std::to_string(background) + "\n");
    TForm1& form = f.Start();
    f.TickWith(Reading(33, std::vector<int>(16, 20)));
    ASSERT_EQ(form.CoreSeries.size(), 16u);
    for (const auto& s : form.CoreSeries) {
      EXPECT_GE(LightnessContrast(s->SeriesColor(), background), 1.5) << std::hex << background << " " << s->SeriesColor();
      EXPECT_GE(Distance(s->SeriesColor(), background), 100.0) << std::hex << background;
      if (background == clBlack) {
        EXPECT_NE(s->SeriesColor(), clNavy);
      }
    }
  }
}

TEST(FormCores, ManyCoresListTheBusiestInstead) {
  CoresFixture f;  // 332 x 190: room for a few entries only
  f.WriteIni("PlotSeconds=5\nCores=2\n");
  TForm1& form = f.Start();
  f.Ws.ChartHost.OnPaint = [&form] { form.Chart2.Paint(); };
  std::vector<int> loads(64);
  for (int i = 0; i < 64; ++i) loads[i] = i % 50;
  loads[17] = 99;
  f.TickWith(Reading(33, loads));
  f.Ws.Flush();
  f.Ws.Flush();  // the legend found the cores do not fit
  EXPECT_EQ(f.Legend(), (std::vector<std::string>{" CPU 33", " Max 99"}));
  EXPECT_TRUE(form.SeriesMax.Active());
  EXPECT_EQ(f.Ws.Frame.Hint, "CPU Usage: 33 %, busiest 99 % (CPU17)");
  // Sixty-four lines go round the palette: none takes a colour that would vanish as a swatch on
  // the legend's box (the palette's white on the white box) or as a line on the plot.
  ASSERT_EQ(form.CoreSeries.size(), 64u);
  for (const auto& s : form.CoreSeries) {
    EXPECT_GE(Distance(s->SeriesColor(), form.Chart2.Legend().Color()), 100.0);
    EXPECT_GE(Distance(s->SeriesColor(), form.Chart2.Color()), 100.0);
  }
  // More cores than are drawn as lines: the busiest line alone.
  f.TickWith(Reading(20, std::vector<int>(TForm1::MaxCoreLines + 1, 7)));
  EXPECT_TRUE(form.CoreSeries.empty());
  f.Ws.Flush();
  EXPECT_EQ(f.Legend(), (std::vector<std::string>{" CPU 20", " Max 7"}));
}

// Pictures of every mode in both views, against the golden ones; the total alone is today's
// picture whichever mode came before it.
TEST(FormCores, PicturesOfEveryMode) {
  auto picture = [](const std::string& ini, bool switchBack) {
    CoresFixture f;
    f.WriteIni("PlotSeconds=20\nDisplayAxis=1\n" + ini);
    TForm1& form = f.Start();
    f.Ws.ChartHost.OnPaint = [&form] { form.Chart2.Paint(); };
    f.Ws.MeterHost.OnPaint = [&form] { form.Meter1.Paint(); };
    if (switchBack) {
      f.Choose(form.CoresEvery1);
      f.TickWith(Reading(50, {50, 50}));
      f.Choose(form.CoresTotal1);
    }
    for (int t = 0; t < 20; ++t)
      f.TickWith(Reading(20 + t * 2, {t * 5, 10 + t, 90 - t * 3, t % 2 ? 100 : 0}));
    f.Ws.Flush();
    f.Ws.Flush();
    return f.Ws.ClientPicture();
  };
  for (int display : {0, 1}) {
    const std::string view = display ? "gauge" : "graph";
    const std::string d = "Display=" + std::to_string(display) + "\n";
    const TBitmap total = picture(d, false);
    const TBitmap back = picture(d, true);
    ASSERT_EQ(total.Width(), back.Width());
    for (int y = 0; y < total.Height(); ++y)
      for (int x = 0; x < total.Width(); ++x) ASSERT_EQ(total.Pixel(x, y), back.Pixel(x, y)) << x << "," << y;
    EXPECT_EQ(test::CompareWithGolden(picture(d + "Cores=1\n", false), "cores_busiest_" + view), "");
    EXPECT_EQ(test::CompareWithGolden(picture(d + "Cores=2\n", false), "cores_every_" + view), "");
  }
  EXPECT_EQ(test::CompareWithGolden(picture("Cores=2\n3D View=1\n", false), "cores_every_graph_3d"), "");
}

}  // namespace
}  // namespace varnel
