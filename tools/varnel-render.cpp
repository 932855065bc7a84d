// varnel-render: the program's main window on the headless window system, writing its client
// area to a PNG picture.
//
//   varnel-render --ini FILE --size WIDTHxHEIGHT [--samples V1,V2,... | --samples-file FILE] --out FILE.png
//   varnel-render --help
//
// The settings file is read as at start-up and never written. The size is the window's outer
// size (the headless frame has no border, so the client area is the same size). Each sample is
// one tick with that load, in order, read through the sampler from an in-memory registry (a
// samples file holds a whole day of them, which a command line cannot, and may give each tick's
// cores: "37: 10 100 - 4");
// without samples the picture is the window right after start-up. The picture shows the chart
// (inside its sunken edge) or the gauge, as the "Display" setting says. Bad arguments print the
// usage on standard error and exit with code 2; --help prints it on standard output.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/Application.h"
#include "app/Form1.h"
#include "app/HeadlessPorts.h"
#include "platform/canvas/Bitmap.h"
#include "platform/registry/MemoryRegistry.h"
#include "sampler/ReadSample.h"
#include "tools/RenderArgs.h"

namespace {

// The whole of a samples file, or of standard input for "-"; nullopt when it cannot be read or
// holds more than RenderMaxSamplesBytes.
std::optional<std::string> ReadSamplesFile(const std::string& path) {
  std::FILE* f = path == "-" ? stdin : std::fopen(path.c_str(), "rb");
  if (!f) return std::nullopt;
  std::string text;
  char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0 && text.size() <= varnel::RenderMaxSamplesBytes)
    text.append(buf, n);
  const bool ok = !std::ferror(f) && text.size() <= varnel::RenderMaxSamplesBytes;
  if (f != stdin) std::fclose(f);
  if (!ok) return std::nullopt;
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace varnel;
  const std::vector<std::string_view> words(argv + (argc > 0 ? 1 : 0), argv + argc);
  std::string why;
  std::optional<TRenderArgs> args = ParseRenderArgs(words, why);
  if (!args) {
    std::fprintf(stderr, "varnel-render: %s\n%s", why.c_str(), RenderUsage().c_str());
    return 2;
  }
  if (args->Help) {
    std::fputs(RenderUsage().c_str(), stdout);
    return 0;
  }
  if (!args->SamplesFile.empty()) {
    const std::optional<std::string> text = ReadSamplesFile(args->SamplesFile);
    if (!text) {
      std::fprintf(stderr, "varnel-render: cannot read %s (or it is over %zu bytes)\n", args->SamplesFile.c_str(),
                   RenderMaxSamplesBytes);
      return 1;
    }
    if (!ParseSampleText(*text, args->Samples, why, &args->Cores)) {
      std::fprintf(stderr, "varnel-render: %s: %s\n", args->SamplesFile.c_str(), why.c_str());
      return 2;
    }
  }

  // The dynamic performance data, scripted: the start values exist; the statistic gets each
  // sample just before its tick.
  TMemoryRegistry registry;
  registry.SetBinary("PerfStats\\StartSrv", "KERNEL", {0, 0, 0, 0});
  registry.SetBinary("PerfStats\\StartStat", "KERNEL\\CPUUsage", {0, 0, 0, 0});

  if (!args->DpiWarning.empty()) std::fprintf(stderr, "varnel-render: %s\n", args->DpiWarning.c_str());
  THeadlessWindowSystem ws(args->Width, args->Height, args->PixelsPerInch);
  // As the program's child windows: pictures no one sees until a paint is done, which the
  // chart paints straight into instead of composing a copy first (at 8192 x 8192, 268 MB less).
  ws.ChartHost.SetBackBuffer(true);
  ws.MeterHost.SetBackBuffer(true);
  TApplication Application(&ws.MessageBox);
  Application.SetTitle("Varnel");
  // Each tick's cores, as the samples file gives them ("cpu0", "cpu1", ... in order).
  std::vector<TCoreLoad> cores;
  TForm1 Form1(Application, ws.Ports(), args->Ini, std::make_unique<TFunctionLoadSource>([&registry, &cores] {
                 const std::optional<int> total = ReadSample(registry);
                 return total ? std::optional<TLoadReading>(TLoadReading{*total, cores}) : std::nullopt;
               }));
  ws.ChartHost.OnPaint = [&Form1] { Form1.Chart2.Paint(); };
  ws.MeterHost.OnPaint = [&Form1] { Form1.Meter1.Paint(); };
  // The window at the asked size (as if the user had sized it so).
  ws.Frame.UserSetBounds(ws.Frame.Left(), ws.Frame.Top(), args->Width, args->Height);
  Form1.AlignControls();

  // The ticks only change the data: both views paint once, after the last of them, which gives
  // the picture a paint after every tick would end with (a paint reads the data and the
  // settings, and keeps nothing from one paint to the next that the picture depends on; the
  // gauge's repaint of where its needles moved gives the picture of a whole paint). The gauge
  // paints at each new value in the program: a day of ticks at 8192 x 8192 would take hours.
  ws.ChartHost.HoldPaints(true);
  ws.MeterHost.HoldPaints(true);
  for (std::size_t k = 0; k < args->Samples.size(); ++k) {
    const auto u = static_cast<std::uint32_t>(args->Samples[k]);
    cores.clear();
    if (k < args->Cores.size())
      for (std::size_t i = 0; i < args->Cores[k].size(); ++i) cores.push_back({"cpu" + std::to_string(i), args->Cores[k][i]});
    registry.SetBinary("PerfStats\\StatData", "KERNEL\\CPUUsage",
                       {static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8),
                        static_cast<std::uint8_t>(u >> 16), static_cast<std::uint8_t>(u >> 24)});
    ws.Timer.Fire();
  }
  ws.ChartHost.HoldPaints(false);
  ws.MeterHost.HoldPaints(false);
  ws.Flush();
  // A paint that found every core's legend entry no longer fits (or fits again) asked for one more.
  ws.Flush();
  for (const std::string& text : ws.MessageBox.Texts) std::fprintf(stderr, "varnel-render: error box: %s\n", text.c_str());

  if (!SaveBitmapToPng(ws.ClientPicture(), args->Out)) {
    std::fprintf(stderr, "varnel-render: cannot write %s\n", args->Out.c_str());
    return 1;
  }
  return 0;
}
