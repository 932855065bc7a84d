// The body of the chart fuzz target, shared with the ordinary test that replays its saved
// corpus. The bytes are a program of calls a user of the chart engine may make: points of any
// double (NaN, infinities, the extremes), series added, removed and fed from each other, axes with
// any range, increment, format and angle, legend, titles, walls, 3D, margins, pens of any width,
// fonts of any size, and paints on a host of any size up to 256 x 256, composed off screen or
// straight into the host's picture. The engine may refuse a call with its own exceptions; it
// must not crash, read or write out of bounds, or hang (ASan and UBSan in the fuzz build, and the
// fuzzer's timeout, catch the rest).
//
//   EXPECT_TRUE(FuzzChartCommands(bytes.data(), bytes.size()));
#pragma once
#include <climits>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/Exceptions.h"
#include "chart/Chart.h"
#include "fuzz/FuzzInput.h"
#include "platform/BitmapHost.h"
#include "series/ChartFunction.h"
#include "series/FastLineSeries.h"

namespace varnel::fuzz {

inline bool FuzzChartCommands(const std::uint8_t* data, std::size_t size) {
  TFuzzBytes in(data, size);
  TChart chart;
  TBitmapHost host(1 + in.Pick(256), 1 + in.Pick(256));
  chart.SetHost(&host);
  host.SetBackBuffer(in.Byte() & 1);
  host.OnPaint = [&chart] { chart.Paint(); };
  std::vector<std::unique_ptr<TFastLineSeries>> series;
  const auto some = [&]() -> TFastLineSeries* {
    return series.empty() ? nullptr : series[static_cast<std::size_t>(in.Pick(static_cast<int>(series.size())))].get();
  };
  const auto axis = [&]() -> TChartAxis& {
    switch (in.Pick(4)) {
      case 0: return chart.LeftAxis();
      case 1: return chart.BottomAxis();
      case 2: return chart.TopAxis();
      default: return chart.RightAxis();
    }
  };
  int points = 0;  // every series' points together, kept small enough for a quick run
  for (int step = 0; step < 400 && !in.Empty(); ++step) {
    try {
      switch (in.Pick(24)) {
        case 0:
          if (series.size() < 4) {
            series.push_back(std::make_unique<TFastLineSeries>());
            chart.AddSeries(series.back().get());
          }
          break;
        case 1:
          if (!series.empty()) {
            const std::size_t k = static_cast<std::size_t>(in.Pick(static_cast<int>(series.size())));
            series.erase(series.begin() + static_cast<std::ptrdiff_t>(k));  // leaves the chart and its links
          }
          break;
        case 2:
          if (TFastLineSeries* s = some(); s && points < 20000) {
            const int n = 1 + in.Pick(64);
            for (int i = 0; i < n; ++i) s->AppendY(FuzzDouble(in));
            points += n;
          }
          break;
        case 3:
          if (TFastLineSeries* s = some(); s && points < 20000) {
            s->AppendXY(FuzzDouble(in), FuzzDouble(in), FuzzText(in), static_cast<TColor>(in.Word()));
            ++points;
          }
          break;
        case 4:
          if (TFastLineSeries* s = some()) s->Delete(FuzzInt(in));
          break;
        case 5:
          if (TFastLineSeries* s = some()) (in.Byte() & 1) ? s->Clear() : s->FillWithSamples(in.Pick(300) - 5);
          break;
        case 6:
          if (TFastLineSeries* s = some()) {
            s->LinePen().SetWidth(FuzzInt(in));
            s->LinePen().SetStyle(static_cast<TPenStyle>(in.Pick(7)));
            s->LinePen().SetMode(static_cast<TPenMode>(in.Pick(16)));
            s->LinePen().SetVisible(in.Byte() & 1);
            s->SetSeriesColor(static_cast<TColor>(in.Word() & 0xFFFFFF));
          }
          break;
        case 7:
          if (TFastLineSeries* s = some()) {
            s->SetActive(in.Byte() & 1);
            s->SetShowInLegend(in.Byte() & 1);
            s->SetValueFormat(FuzzText(in));
            s->SetTitle(FuzzText(in));
          }
          break;
        case 8:
          if (TFastLineSeries* s = some()) {
            s->Marks().SetVisible(in.Byte() & 1);
            s->Marks().SetStyle(static_cast<TSeriesMarksStyle>(in.Pick(9)));
            s->Marks().SetArrowLength(FuzzInt(in));
            s->Marks().SetClip(in.Byte() & 1);
          }
          break;
        case 9:
          if (TFastLineSeries *s = some(), *t = some(); s && t) {
            if (in.Byte() & 1)
              s->SetDataSource(in.Byte() & 1 ? t : nullptr);
            else
              s->AttachCalculation(in.Byte() & 1 ? std::make_unique<TAverageFunction>() : nullptr);
          }
          break;
        case 10: {
          TChartAxis& a = axis();
          const double lo = FuzzDouble(in), hi = FuzzDouble(in);
          if (in.Byte() & 1) a.SetRange(lo, hi);
          a.SetAutomatic(in.Byte() & 1);
          if (in.Byte() & 1) a.SetIncrement(FuzzDouble(in));
          break;
        }
        case 11: {
          TChartAxis& a = axis();
          a.SetLogarithmic(in.Byte() & 1);
          a.SetInverted(in.Byte() & 1);
          a.SetVisible(in.Byte() & 1);
          a.SetLabelsAngle(FuzzInt(in));
          a.SetLabelsSeparation(FuzzInt(in));
          a.SetLabelStyle(static_cast<TAxisLabelStyle>(in.Pick(5)));
          break;
        }
        case 12: {
          TChartAxis& a = axis();
          a.SetAxisValuesFormat(FuzzText(in));
          a.SetDateTimeFormat(FuzzText(in));
          a.SetExactDateTime(in.Byte() & 1);
          a.Title().SetCaption(FuzzText(in));
          a.Title().SetAngle(FuzzInt(in));
          break;
        }
        case 13: {
          TChartAxis& a = axis();
          a.SetTickLength(FuzzInt(in));
          a.SetTickInnerLength(FuzzInt(in));
          a.SetMinorTickCount(FuzzInt(in));
          a.SetMinorTickLength(FuzzInt(in));
          a.SetTitleSize(FuzzInt(in));
          a.SetLabelsSize(FuzzInt(in));
          a.Grid().SetWidth(FuzzInt(in));
          a.Grid().SetStyle(static_cast<TPenStyle>(in.Pick(7)));
          break;
        }
        case 14:
          chart.Legend().SetVisible(in.Byte() & 1);
          chart.Legend().SetAlignment(static_cast<TLegendAlignment>(in.Pick(4)));
          chart.Legend().SetLegendStyle(static_cast<TLegendStyle>(in.Pick(4)));
          chart.Legend().SetTextStyle(static_cast<TLegendTextStyle>(in.Pick(6)));
          break;
        case 15:
          chart.Legend().SetColorWidth(FuzzInt(in));
          chart.Legend().SetTopPos(FuzzInt(in));
          chart.Legend().SetHorizMargin(FuzzInt(in));
          chart.Legend().SetVertMargin(FuzzInt(in));
          chart.Legend().SetFirstValue(FuzzInt(in));
          chart.Legend().SetShadowSize(FuzzInt(in));
          chart.Legend().SetInverted(in.Byte() & 1);
          chart.Legend().SetResizeChart(in.Byte() & 1);
          break;
        case 16: {
          TChartTitle& t = (in.Byte() & 1) ? chart.Title() : chart.Foot();
          t.SetVisible(in.Byte() & 1);
          std::vector<std::string> lines(static_cast<std::size_t>(in.Pick(4)));
          for (std::string& l : lines) l = FuzzText(in);
          t.SetText(lines);
          t.SetAdjustFrame(in.Byte() & 1);
          break;
        }
        case 17: {
          TFont& f = (in.Byte() & 1) ? chart.Legend().Font() : axis().LabelsFont();
          f.SetSize(in.Byte() & 1 ? in.Pick(80) - 10 : FuzzInt(in));
          f.SetOrientation(FuzzInt(in));
          break;
        }
        case 18:
          chart.SetView3D(in.Byte() & 1);
          chart.SetView3DWalls(in.Byte() & 1);
          chart.SetChart3DPercent(FuzzInt(in));
          break;
        case 19:
          chart.SetMarginLeft(FuzzInt(in));
          chart.SetMarginTop(FuzzInt(in));
          chart.SetMarginRight(FuzzInt(in));
          chart.SetMarginBottom(FuzzInt(in));
          break;
        case 20:
          chart.SetBorderWidth(FuzzInt(in));
          chart.SetBevelWidth(FuzzInt(in));
          chart.SetBevelInner(static_cast<TPanelBevel>(in.Pick(4)));
          chart.SetBevelOuter(static_cast<TPanelBevel>(in.Pick(4)));
          chart.Gradient().SetVisible(in.Byte() & 1);
          chart.SetAxisVisible(in.Byte() & 1);
          chart.SetOffscreenDrawing(in.Byte() & 1);
          chart.SetMonochrome((in.Byte() & 7) == 0);
          break;
        case 21:
          chart.SetScale(TPixelScale(FuzzInt(in)));
          break;
        case 22:
          host.Resize(in.Pick(257), in.Pick(257));
          chart.Invalidate();
          break;
        default:
          host.Flush();
          chart.Paint();
          break;
      }
    } catch (const Exception&) {
      // The engine's own refusal of a call: allowed.
    }
  }
  try {
    chart.Invalidate();
    host.Flush();
  } catch (const Exception&) {
  }
  return true;
}

}  // namespace varnel::fuzz
