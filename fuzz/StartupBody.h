// The body of the start-up fuzz target, shared with the ordinary test that replays its saved
// corpus. The bytes become the settings file; the program starts from it on the headless window
// system, saves, and starts again from what it saved: the second start must come up exactly as
// the first (every setting read back the same), and the save must succeed.
//
//   EXPECT_TRUE(FuzzStartup(bytes.data(), bytes.size()));
#pragma once
#include <stdlib.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "app/Application.h"
#include "app/Form1.h"
#include "app/HeadlessPorts.h"

namespace varnel::fuzz {

// What start-up took from the settings: the thirteen settings as the window holds them.
inline std::array<int, 13> StartedSettings(const TForm1& form, const THeadlessWindowSystem& ws) {
  return {ws.Frame.Top(),          ws.Frame.Left(),          ws.Frame.Width(),          ws.Frame.Height(),
          form.OnTop->Checked(),   form.NoTitle->Checked(),  form.Chart2.Color(),       form.Series3.SeriesColor(),
          form.PlotSeconds(),      form.DisplayAxis1->Checked(), form.N3DView1->Checked(), form.Legend1->Checked(),
          form.Display()};
}

// A directory of its own for the settings file, made once (in memory where /dev/shm exists) and
// removed when the process ends.
inline const std::string& FuzzSettingsPath() {
  struct TDir {
    std::string Dir, Path;
    TDir() {
      Dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm/varnel-fuzz-XXXXXX" : "/tmp/varnel-fuzz-XXXXXX";
      if (!mkdtemp(Dir.data())) Dir.clear();
      Path = (Dir.empty() ? std::string("/tmp") : Dir) + "/FENDUL.INI";
    }
    ~TDir() {
      std::error_code ec;
      if (!Dir.empty()) std::filesystem::remove_all(Dir, ec);
    }
  };
  static const TDir dir;
  return dir.Path;
}

inline bool FuzzStartup(const std::uint8_t* data, std::size_t size) {
  // A small client area: the settings do not depend on it, and each start paints it.
  constexpr int kClientWidth = 64, kClientHeight = 48;
  const std::string& path = FuzzSettingsPath();
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                               static_cast<std::streamsize>(size));
  std::array<int, 13> first;
  {
    THeadlessWindowSystem ws(kClientWidth, kClientHeight);
    TApplication app(&ws.MessageBox);
    TForm1 form(app, ws.Ports(), path, nullptr);
    first = StartedSettings(form, ws);
    try {
      form.SaveSettings();
    } catch (const Exception&) {
      return false;  // a file we could read and may write must take a save
    }
  }
  THeadlessWindowSystem ws(kClientWidth, kClientHeight);
  TApplication app(&ws.MessageBox);
  TForm1 form(app, ws.Ports(), path, nullptr);
  return StartedSettings(form, ws) == first;
}

}  // namespace varnel::fuzz
