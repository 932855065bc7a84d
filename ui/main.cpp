// The program varnel: the CPU-load monitor's tool window on FLTK. Program start: the application
// title, the main window (whose creation reads and applies the settings), one hidden About box,
// then the message loop until the main window closes.
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "app/AboutBox.h"
#include "app/Application.h"
#include "app/Form1.h"
#include "app/SettingsKeys.h"
#include "platform/registry/ProcStatRegistry.h"
#include "sampler/ReadSample.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"

// After the program's headers: Xlib's macros (None, Status, ...) must not reach them.
#include <FL/Fl.H>
#include <FL/x.H>

namespace {
// The executable's full path (the settings file lives beside it).
std::string ExecutablePath(const char* argv0) {
  char buf[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string(argv0 ? argv0 : "");
}
}  // namespace

int main(int, char** argv) {
  using namespace varnel;
  Fl::visual(FL_RGB);
  fl_open_display();

  TMainWindow window;
  window.icon(ProgramIconImage());
  window.xclass("varnel");
  TFltkColorDialog colorDialog;
  TFltkPrompt prompt;
  TFltkMessageBox messageBox;
  TFltkAboutBox aboutBox;
  TFltkShell shell;
  TFltkTimer timer;

  // 1. The application title: the caption of every error box.
  TApplication Application(&messageBox);
  Application.SetTitle("Varnel");

  // 2. The main window; its creation reads and applies the settings.
  TFormPorts ports{&window,     &window.ChartWidget(), &window.MeterWidget(), &window, &colorDialog,
                   &prompt,     &messageBox,           &aboutBox,             &shell,  &timer};
  // The dynamic performance data, from /proc/stat, or from the file VARNEL_STAT_FILE names (a
  // fixed load for demonstrations and the end-to-end test).
  const char* statFile = std::getenv("VARNEL_STAT_FILE");
  TProcStatRegistry registry(statFile && *statFile ? statFile : "/proc/stat");
  TForm1 Form1(Application, ports, SettingsFilePath(ExecutablePath(argv[0])),
               [&registry] { return ReadSample(registry); });

  window.ChartWidget().OnPaint = [&Form1] { Form1.Chart2.Paint(); };
  window.MeterWidget().OnPaint = [&Form1] { Form1.Meter1.Paint(); };
  window.ChartWidget().OnResize = [&Form1] { Form1.AlignControls(); };
  window.MeterWidget().SetOwnTooltip(true);
  window.MeterWidget().copy_tooltip(Form1.Meter1.Hint().c_str());
  window.OnRightClick = [&] { Application.Guard([&] { Form1.WMNCRButtonDown(); }); };
  window.OnDoubleClick = [&] { Application.Guard([&] { Form1.WMNCLButtonDblClk(); }); };
  window.OnActivate = [&] { Form1.FormPaint(); };

  // 3. One About box, hidden; never shown.
  TAboutBox AboutBox(&shell);

  // 4. The message loop until the main window closes.
  window.ShowFirst();
  return Fl::run();
}
