// A day of history through varnel-render: 86,400 noisy samples given in a samples file, with
// PlotSeconds=86400 at 332 x 190, must give the picture of the same chart whose line is drawn
// one LineTo a point.
//
// The model is the program's own chart, built in this test from the same settings, with the
// series' pen made clear so that the series draws nothing; after the chart has painted, the
// test draws the line itself with the series' colour and width, one MoveTo and then one LineTo
// per sample, at the pixels the axes give for each value (the axes' own mapping, one value at a
// time). That path shares neither the series' block mapping and same-pixel skip nor the
// canvas's merged stroke of a batch, which the renderer's picture goes through; and the model's
// data are the samples as generated, not the series after 86,400 scrolling ticks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "tests/app/FormTestSupport.h"

namespace varnel {
namespace {

#ifdef VARNEL_RENDER

// A reproducible noisy load: a slow triangle wave over -10..110, held inside 0..100 (so that it
// rests at both ends for a while and the 2-pixel line runs along the plot's edges), with a
// little noise at every sample and a rare spike to either end.
std::vector<std::int32_t> NoisyDay() {
  std::mt19937 gen(20261210);
  std::vector<std::int32_t> v;
  for (int i = 0; i < 86400; ++i) {
    const std::uint32_t r = gen();
    const int t = i % 28800;
    int load = t < 14400 ? t * 120 / 14400 - 10 : 110 - (t - 14400) * 120 / 14400;
    load += static_cast<int>(r % 9) - 4;
    if (r % 4000 == 0) load = (r >> 16) % 2 ? 100 : 0;
    v.push_back(load < 0 ? 0 : load > 100 ? 100 : load);
  }
  return v;
}

TEST(RenderDay, ADayOfSamplesGivesTheLineDrawnSegmentBySegment) {
  const std::vector<std::int32_t> day = NoisyDay();
  ASSERT_GT(std::count(day.begin(), day.end(), 0), 100);
  ASSERT_GT(std::count(day.begin(), day.end(), 100), 100);

  // The legend is off: it shows the last value in the series' pen, which the model clears.
  test::FormFixture f(332, 190);
  f.WriteIni("PlotSeconds=86400\nLegend=0\nDisplayAxis=1\nDisplay=0\nWidth=332\nHeight=190\n");
  const std::string samples = f.Dir + "/day.txt", png = f.Dir + "/day.png";
  {
    std::ofstream out(samples);
    for (std::size_t i = 0; i < day.size(); ++i) out << day[i] << (i % 20 == 19 ? '\n' : ' ');
  }
  const std::string command = std::string(VARNEL_RENDER) + " --ini " + f.IniPath + " --size 332x190 --samples-file " +
                              samples + " --out " + png;
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  TBitmap rendered;
  ASSERT_TRUE(LoadBitmapFromPng(rendered, png));

  TForm1& form = f.Start();
  f.Ws.ChartHost.OnPaint = [&form] { form.Chart2.Paint(); };
  form.Series3.Clear();
  for (const std::int32_t v : day) form.Series3.AppendY(v, "", clAutoColor);
  const TColor color = form.Series3.SeriesColor();
  const int width = form.Series3.LinePen().Width();
  ASSERT_EQ(width, 2);  // the program's pen at this size
  form.Series3.LinePen().SetStyle(psClear);
  form.Chart2.OnAfterDraw = [&](TCustomAxisPanel* chart) {
    TCanvas& c = chart->DrawCanvas();
    c.Pen().SetColor(color);
    c.Pen().SetWidth(width);
    c.Pen().SetStyle(psSolid);
    c.Pen().SetMode(pmCopy);
    const TChartAxis& x = chart->BottomAxis();
    const TChartAxis& y = chart->LeftAxis();
    c.MoveTo(x.XPixelOfValue(0), y.YPixelOfValue(day[0]));
    for (std::size_t i = 1; i < day.size(); ++i)
      c.LineTo(x.XPixelOfValue(static_cast<double>(i)), y.YPixelOfValue(day[i]));
  };
  f.Ws.Frame.UserSetBounds(f.Ws.Frame.Left(), f.Ws.Frame.Top(), 332, 190);  // as the renderer sizes it
  form.AlignControls();
  f.Ws.Flush();
  const TBitmap model = f.Ws.ClientPicture();

  ASSERT_EQ(rendered.Width(), model.Width());
  ASSERT_EQ(rendered.Height(), model.Height());
  int differing = 0, linePixels = 0;
  std::string first;
  for (int py = 0; py < model.Height(); ++py)
    for (int px = 0; px < model.Width(); ++px) {
      if (model.Pixel(px, py) == static_cast<int>(color)) ++linePixels;
      if (rendered.Pixel(px, py) != model.Pixel(px, py) && differing++ == 0)
        first = std::to_string(px) + "," + std::to_string(py);
    }
  EXPECT_EQ(differing, 0) << "first at " << first;
  if (differing) {
    SaveBitmapToPng(model, std::string(VARNEL_BINARY_DIR) + "/render-day-model.png");
    SaveBitmapToPng(rendered, std::string(VARNEL_BINARY_DIR) + "/render-day-rendered.png");
  }
  // The line is there: a band some ten pixels wide across the plot, and the spikes.
  EXPECT_GT(linePixels, 3000);
}

#endif

}  // namespace
}  // namespace varnel
