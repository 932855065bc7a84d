// varnel-render: the program's main window on the headless window system, writing its client
// area to a PNG picture.
//
//   varnel-render --ini FILE --size WIDTHxHEIGHT [--samples V1,V2,...] --out FILE.png
//
// The settings file is read as at start-up and never written. The size is the window's outer
// size (the headless frame has no border, so the client area is the same size). Each sample is
// one tick with that load, in order, read through the sampler from an in-memory registry;
// without samples the picture is the window right after start-up. The picture shows the chart
// (inside its sunken edge) or the gauge, as the "Display" setting says. Bad arguments print the
// usage and exit with code 2.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/Application.h"
#include "app/Form1.h"
#include "app/HeadlessPorts.h"
#include "base/Text.h"
#include "platform/canvas/Bitmap.h"
#include "platform/registry/MemoryRegistry.h"
#include "sampler/ReadSample.h"

namespace {

using namespace varnel;

// The largest picture side the tool draws.
constexpr int MaxSide = 8192;
// The most samples one run takes (a day of ticks).
constexpr std::size_t MaxSamples = 86400;

struct TArgs {
  std::string Ini;
  int Width = 0;
  int Height = 0;
  std::vector<std::int32_t> Samples;
  std::string Out;
};

int Usage(const char* why) {
  std::fprintf(stderr,
               "varnel-render: %s\n"
               "usage: varnel-render --ini FILE --size WIDTHxHEIGHT [--samples V1,V2,...] --out FILE.png\n"
               "  --ini FILE        settings file, read as at start-up (never written)\n"
               "  --size WxH        the window's outer size, 1..%d pixels each way\n"
               "  --samples LIST    loads in percent, one tick each, in order (comma-separated integers)\n"
               "  --out FILE.png    the picture of the client area\n",
               why, MaxSide);
  return 2;
}

// A whole decimal integer (optional sign), nothing else.
std::optional<int> ParseInt(std::string_view s) {
  if (s.empty() || s.front() == ' ' || s.front() == '$') return std::nullopt;
  return TryStrToInt(s);
}

std::optional<TArgs> Parse(int argc, char** argv, const char*& why) {
  TArgs a;
  bool haveSize = false, haveSamples = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view opt = argv[i];
    if (i + 1 >= argc) {
      why = "missing value after an option";
      return std::nullopt;
    }
    const std::string_view val = argv[++i];
    if (opt == "--ini" && a.Ini.empty() && !val.empty()) {
      a.Ini = val;
    } else if (opt == "--out" && a.Out.empty() && !val.empty()) {
      a.Out = val;
    } else if (opt == "--size" && !haveSize) {
      const std::size_t x = val.find('x');
      const auto w = x == std::string_view::npos ? std::nullopt : ParseInt(val.substr(0, x));
      const auto h = x == std::string_view::npos ? std::nullopt : ParseInt(val.substr(x + 1));
      if (!w || !h || *w < 1 || *h < 1 || *w > MaxSide || *h > MaxSide) {
        why = "bad --size (WIDTHxHEIGHT, each 1..8192)";
        return std::nullopt;
      }
      a.Width = *w;
      a.Height = *h;
      haveSize = true;
    } else if (opt == "--samples" && !haveSamples) {
      std::size_t start = 0;
      while (true) {
        const std::size_t comma = val.find(',', start);
        const auto v = ParseInt(val.substr(start, comma == std::string_view::npos ? val.npos : comma - start));
        if (!v || a.Samples.size() >= MaxSamples) {
          why = "bad --samples (comma-separated integers, at most 86400)";
          return std::nullopt;
        }
        a.Samples.push_back(*v);
        if (comma == std::string_view::npos) break;
        start = comma + 1;
      }
      haveSamples = true;
    } else {
      why = "unknown, repeated or empty option";
      return std::nullopt;
    }
  }
  if (a.Ini.empty() || a.Out.empty() || !haveSize) {
    why = "--ini, --size and --out are required";
    return std::nullopt;
  }
  return a;
}

}  // namespace

int main(int argc, char** argv) {
  const char* why = "";
  const std::optional<TArgs> args = Parse(argc, argv, why);
  if (!args) return Usage(why);

  // The dynamic performance data, scripted: the start values exist; the statistic gets each
  // sample just before its tick.
  TMemoryRegistry registry;
  registry.SetBinary("PerfStats\\StartSrv", "KERNEL", {0, 0, 0, 0});
  registry.SetBinary("PerfStats\\StartStat", "KERNEL\\CPUUsage", {0, 0, 0, 0});

  THeadlessWindowSystem ws(args->Width, args->Height);
  TApplication Application(&ws.MessageBox);
  Application.SetTitle("Varnel");
  TForm1 Form1(Application, ws.Ports(), args->Ini, [&registry] { return ReadSample(registry); });
  ws.ChartHost.OnPaint = [&Form1] { Form1.Chart2.Paint(); };
  ws.MeterHost.OnPaint = [&Form1] { Form1.Meter1.Paint(); };
  // The window at the asked size (as if the user had sized it so).
  ws.Frame.UserSetBounds(ws.Frame.Left(), ws.Frame.Top(), args->Width, args->Height);
  Form1.AlignControls();
  ws.Flush();

  for (const std::int32_t load : args->Samples) {
    const auto u = static_cast<std::uint32_t>(load);
    registry.SetBinary("PerfStats\\StatData", "KERNEL\\CPUUsage",
                       {static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8),
                        static_cast<std::uint8_t>(u >> 16), static_cast<std::uint8_t>(u >> 24)});
    ws.Timer.Fire();
    ws.Flush();
  }
  for (const std::string& text : ws.MessageBox.Texts) std::fprintf(stderr, "varnel-render: error box: %s\n", text.c_str());

  if (!SaveBitmapToPng(ws.ClientPicture(), args->Out)) {
    std::fprintf(stderr, "varnel-render: cannot write %s\n", args->Out.c_str());
    return 1;
  }
  return 0;
}
