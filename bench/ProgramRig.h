// The program without a display, for the benchmarks: the main window on the headless window
// system with back-buffer hosts (as the program's child windows are: the chart draws straight into
// them), a settings file of the caller's in a temporary folder, the caller's load source, and a
// tick as the window system delivers it.
//
//   TProgramRig rig(332, 190, 96, "[FENDUL]\nPlotSeconds=600\n", [] { return Reading(); });
//   rig.Tick();
#pragma once
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "app/Application.h"
#include "app/Form1.h"
#include "app/HeadlessPorts.h"
#include "sampler/LoadSource.h"

namespace varnel {

class TProgramRig {
 public:
  TProgramRig(int width, int height, int ppi, const std::string& ini,
              std::function<std::optional<TLoadReading>()> read)
      : Ws(width, height, ppi), App(&Ws.MessageBox) {
    std::string templ = (std::filesystem::temp_directory_path() / "varnel-bench-XXXXXX").string();
    FDir = mkdtemp(templ.data());
    std::ofstream(FDir + "/FENDUL.INI") << ini;
    Form = std::make_unique<TForm1>(App, Ws.Ports(), FDir + "/FENDUL.INI",
                                    std::make_unique<TFunctionLoadSource>(std::move(read)));
    Ws.ChartHost.OnPaint = [this] { Form->Chart2.Paint(); };
    Ws.MeterHost.OnPaint = [this] { Form->Meter1.Paint(); };
    Ws.ChartHost.SetBackBuffer(true);
    Ws.MeterHost.SetBackBuffer(true);
    Ws.Frame.UserSetBounds(0, 0, width, height);
    Form->AlignControls();
    Ws.Flush();
  }
  ~TProgramRig() {
    Form.reset();
    std::error_code ec;
    std::filesystem::remove_all(FDir, ec);
  }
  TProgramRig(const TProgramRig&) = delete;
  TProgramRig& operator=(const TProgramRig&) = delete;

  // One tick as the window system delivers it, then the paint it asked for.
  void Tick() {
    Ws.Timer.Fire();
    Ws.Flush();
  }

  THeadlessWindowSystem Ws;
  TApplication App;
  std::unique_ptr<TForm1> Form;

 private:
  std::string FDir;
};

}  // namespace varnel
