// TForm1's cores: the Cores choice (the total alone, the total and the busiest core, every core),
// the busiest core's line and needle, each core's line and rim mark, their colours and legend
// entries, and the hints that carry the last reading.
#include <algorithm>
#include <cmath>

#include "app/Form1.h"
#include "app/FormDesign.h"
#include "base/Text.h"
#include "chart/SeriesList.h"

namespace varnel {
namespace {

// How far apart two colours are: the distance of their red, green and blue values.
double ColorDistance(TColor a, TColor b) {
  a = ColorToRGB(a);
  b = ColorToRGB(b);
  const double dr = static_cast<double>(a & 0xFF) - static_cast<double>(b & 0xFF);
  const double dg = static_cast<double>(a >> 8 & 0xFF) - static_cast<double>(b >> 8 & 0xFF);
  const double db = static_cast<double>(a >> 16 & 0xFF) - static_cast<double>(b >> 16 & 0xFF);
  return std::sqrt(dr * dr + dg * dg + db * db);
}

// Colours nearer than this are hard to tell apart as thin lines.
constexpr double kCloseColors = 100.0;
// A thin line whose lightness is this near the background's is lost in it, however far apart
// their hues: navy on black, lime on silver.
constexpr double kFaintContrast = 1.5;

// A colour moved `part` quarters of the way toward white (toward = 0xFFFFFF) or black (0).
TColor Toward(TColor c, TColor toward, int part) {
  c = ColorToRGB(c);
  TColor out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int a = static_cast<int>(c >> shift & 0xFF), b = static_cast<int>(toward >> shift & 0xFF);
    out |= static_cast<TColor>(a + ((b - a) * part + 2) / 4) << shift;
  }
  return out;
}

// The busiest core's colour: a lighter or darker shade of the line colour, the one that stands
// furthest from both the line and the background (a quarter, half or three quarters of the way
// to white or to black).
TColor BusiestColor(TColor line, TColor background) {
  TColor best = Toward(line, 0xFFFFFF, 2);
  double bestApart = -1;
  for (TColor toward : {TColor(0xFFFFFF), TColor(0)})
    for (int part = 1; part <= 3; ++part) {
      const TColor c = Toward(line, toward, part);
      const double apart = std::min(ColorDistance(c, line), ColorDistance(c, background));
      if (apart > bestApart) {
        bestApart = apart;
        best = c;
      }
    }
  return best;
}

// The legend's name of a core: the source's name in capitals ("cpu3" becomes "CPU3"), without
// quotes (the name goes into a number format between quotes).
std::string CoreLegendName(const std::string& name) {
  std::string out;
  for (char c : name) {
    if (c == '"' || c == '\'') continue;
    out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return out.empty() ? "CPU" : out;
}

// One tick of a line: the oldest point out, the newest in, as the total's line scrolls.
void Scroll(TFastLineSeries& s, double v) {
  s.Delete(0);
  s.XValues().Renumber();
  s.AppendY(v, "", clAutoColor);
}

}  // namespace

void DesignCoreLine(TFastLineSeries& s, const TPixelScale& scale) {
  s.Marks().SetVisible(false);
  s.XValues().SetOrder(loAscending);
  s.YValues().SetOrder(loNone);
  s.LinePen().SetWidth(scale.Px(1));
  s.SetHorizAxis(aBottomAxis);
  s.SetVertAxis(aLeftAxis);
}

void TForm1::SetCores(int mode) {
  FCores = mode >= 0 && mode <= 2 ? mode : 0;
  ApplyCoreLines();
  ResetPlot();
}

void TForm1::ApplyCoreLines() {
  CoresTotal1->SetChecked(FCores == 0);
  CoresBusiest1->SetChecked(FCores == 1);
  CoresEvery1->SetChecked(FCores == 2);
  if (FLoadSource) FLoadSource->SetCoresWanted(FCores != 0);
  // The lines leave the chart and come back in drawing order: the cores first, then the busiest,
  // the total last, over them all. The legend lists them the other way round.
  SeriesMax.SetParentChart(nullptr);
  for (auto& s : CoreSeries) s->SetParentChart(nullptr);
  if (FCores == 0) {
    Meter1.SetSecondNeedle(std::nullopt, clBlack);
    Meter1.SetRimMarks({});
    if (Series3.ParentChart() != &Chart2) Series3.SetParentChart(&Chart2);
    Chart2.Legend().SetInverted(false);
    Chart2.SetSeriesInDepth(true);
    return;
  }
  Series3.SetParentChart(nullptr);
  // Every line on the one plane of a 3D view, where the total's line is.
  Chart2.SetSeriesInDepth(false);
  if (FCores == 2)
    for (auto it = CoreSeries.rbegin(); it != CoreSeries.rend(); ++it) (*it)->SetParentChart(&Chart2);
  SeriesMax.SetParentChart(&Chart2);
  Series3.SetParentChart(&Chart2);
  Chart2.Legend().SetInverted(true);
  // Every Core lists each core while they all fit, and otherwise the busiest; its line is drawn
  // only then.
  const bool listCores = FCores == 2 && !CoreSeries.empty() && FCoreLegendFits;
  for (auto& s : CoreSeries) s->SetShowInLegend(listCores);
  SeriesMax.SetActive(!listCores);
  if (FCores == 1) Meter1.SetRimMarks({});
  ApplyCoreColors();
}

void TForm1::ApplyCoreColors() {
  const TColor line = Series3.SeriesColor(), background = Chart2.Color(), legend = Chart2.Legend().Color();
  const TColor busiest = BusiestColor(line, background);
  SeriesMax.SetSeriesColor(busiest);
  // A core's colour shows on the plot, beside the line, and as its swatch in the legend's box.
  std::vector<TColor> palette;
  for (TColor c : ChartPalette)
    if (ColorDistance(c, background) >= kCloseColors && ContrastRatio(c, background) >= kFaintContrast &&
        ColorDistance(c, line) >= kCloseColors && ColorDistance(c, legend) >= kCloseColors)
      palette.push_back(c);
  if (palette.empty()) palette.push_back(busiest);
  for (std::size_t i = 0; i < CoreSeries.size(); ++i) CoreSeries[i]->SetSeriesColor(palette[i % palette.size()]);
  if (FCores != 0) Meter1.SetSecondNeedle(Meter1.SecondValue(), busiest);
}

void TForm1::ResetCoreLines() {
  if (FCores == 0) {
    SeriesMax.Clear();
    return;
  }
  for (TFastLineSeries* s : {&SeriesMax}) {
    s->Clear();
    for (int i = 0; i < FPlotSeconds; ++i) s->AppendY(0, "", clAutoColor);
  }
  for (auto& s : CoreSeries) {
    s->Clear();
    for (int i = 0; i < FPlotSeconds; ++i) s->AppendY(0, "", clAutoColor);
  }
}

void TForm1::CheckCoreLegend() {
  if (FCores != 2 || CoreSeries.empty()) return;
  // The room the legend had in this layout, as it counts it: whole lines from its top to the
  // bottom of the plot.
  const TChartLegend& legend = Chart2.Legend();
  const int lineHeight = std::max(1, Chart2.LineHeight());
  const int room = (Chart2.PlotRect().Bottom - 2 * legend.Frame().Width() - legend.LegendBox().Top) / lineHeight;
  const bool fits = room >= 1 + static_cast<int>(CoreSeries.size());
  if (fits == FCoreLegendFits) return;
  FCoreLegendFits = fits;
  for (auto& s : CoreSeries) s->SetShowInLegend(fits);
  SeriesMax.SetActive(!fits);
}

void TForm1::ShowCores(const TLoadReading& reading, const std::string& caption) {
  // The busiest core: the first of the highest load.
  std::optional<int> busiest;
  std::size_t busiestIndex = 0;
  for (std::size_t i = 0; i < reading.Cores.size(); ++i) {
    const std::optional<int>& load = reading.Cores[i].Load;
    if (load && (!busiest || *load > *busiest)) {
      busiest = load;
      busiestIndex = i;
    }
  }
  // The hints carry the reading, and the busiest core while the cores are shown.
  std::string busiestText;
  if (FCores != 0 && busiest)
    busiestText = ", busiest " + IntToStr(*busiest) + " % (" + CoreLegendName(reading.Cores[busiestIndex].Name) + ")";
  SetHint(caption + ": " + IntToStr(reading.Total) + " %" + busiestText);
  const std::string meterHint = "CPU %: " + IntToStr(reading.Total) + busiestText;
  if (meterHint != Meter1.Hint()) {
    Meter1.SetHint(meterHint);
    if (OnMeterHintChanged) OnMeterHintChanged();
  }
  if (FCores == 0) return;

  FMaxKnown = busiest.has_value();
  Scroll(SeriesMax, busiest.value_or(0));
  std::vector<TMeter::TRimMark> marks;
  if (FCores == 2) {
    // A line for each core the source has named (up to MaxCoreLines; with more, the busiest line
    // stands for them); a core without a load lies at 0 and its legend entry shows no value.
    const std::size_t wanted = reading.Cores.size() <= MaxCoreLines ? reading.Cores.size() : 0;
    if (wanted > CoreSeries.size() || (wanted == 0 && !CoreSeries.empty())) {
      if (wanted == 0) {
        for (auto& s : CoreSeries) s->SetParentChart(nullptr);
        CoreSeries.clear();
      }
      while (CoreSeries.size() < wanted) {
        auto s = std::make_unique<TFastLineSeries>();
        DesignCoreLine(*s, FScale);
        for (int i = 0; i < Series3.Count(); ++i) s->AppendY(0, "", clAutoColor);
        CoreSeries.push_back(std::move(s));
      }
      FCoreNames.clear();
      ApplyCoreLines();
    }
    FCoreOnline.resize(CoreSeries.size());
    FCoreNames.resize(CoreSeries.size());
    for (std::size_t i = 0; i < CoreSeries.size(); ++i) {
      const std::optional<int> load = i < reading.Cores.size() ? reading.Cores[i].Load : std::nullopt;
      if (i < reading.Cores.size() && FCoreNames[i] != CoreLegendName(reading.Cores[i].Name)) {
        FCoreNames[i] = CoreLegendName(reading.Cores[i].Name);
        CoreSeries[i]->SetValueFormat("\"" + FCoreNames[i] + "\" ###0");
      }
      FCoreOnline[i] = load.has_value();
      Scroll(*CoreSeries[i], load.value_or(0));
      if (load) marks.push_back({static_cast<double>(*load), CoreSeries[i]->SeriesColor()});
    }
  }
  Meter1.SetRimMarks(marks);
  Meter1.SetSecondNeedle(busiest ? std::optional<double>(*busiest) : std::nullopt, SeriesMax.SeriesColor());
}

}  // namespace varnel
