// The program varnel: the CPU-load monitor's tool window on FLTK. Program start: the command
// line (--help and --version answer without a display), the display, the application title, the
// main window (whose creation reads and applies the settings), one hidden About box, then the
// message loop until the main window closes.
#include <malloc.h>
#include <pthread.h>
#include <pwd.h>
#include <sys/mman.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/AboutBox.h"
#include "app/Application.h"
#include "app/Form1.h"
#include "app/ReadingReport.h"
#include "app/SettingsLocation.h"
#include "app/SourceSetting.h"
#include "remote/NetworkLoadSource.h"
#include "base/PixelScale.h"
#include "platform/canvas/FontCache.h"
#include "sampler/ProcStatLoadSource.h"
#include "ui/ConfigureEvents.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"

// After the program's headers: Xlib's macros (None, Status, ...) must not reach them.
#include <FL/Fl.H>
#include <FL/x.H>
#include <X11/Xatom.h>

namespace {

constexpr const char* UsageText =
    "usage: varnel [--ini FILE] [--source URL] [--dpi N]\n"
    "       varnel --help | --version\n"
    "Shows the processor load once a second as a line graph or a needle gauge, in a small\n"
    "window above the others; right-click it for the menu.\n"
    "  --ini FILE   the settings file (else FENDUL.INI beside the program where it can be\n"
    "               written, else $XDG_CONFIG_HOME/varnel/FENDUL.INI)\n"
    "  --source URL another machine's load (else the settings file's Source, else this\n"
    "               machine's): a node exporter's page, http[s]://HOST:9100/metrics, or a\n"
    "               server's query, prometheus+http[s]://HOST:9090/?query=URL-ENCODED-QUERY\n"
    "  --dpi N      the screen's pixels per inch, 48..480 (else the X resource Xft.dpi, else\n"
    "               96); sizes and fonts follow it\n"
    "  --help       this text\n"
    "  --version    the program's version\n"
    "Varnel runs on X11 (under Wayland, through XWayland): DISPLAY names the display.\n";

struct TCommandLine {
  bool Help = false;
  bool Version = false;
  std::string Ini;
  std::string Source;
  std::string Dpi;  // checked later, with Xft.dpi
};

// The command line, or nullopt (with the reason in `why`) for anything it does not know.
std::optional<TCommandLine> ParseCommandLine(int argc, char** argv, std::string& why) {
  TCommandLine cl;
  // An option with a value, "--name VALUE" or "--name=VALUE", given at most once; false (with
  // `why`) for a repeat or a missing value, true with `matched` false when `arg` is not it.
  const auto valueOption = [&](int& i, std::string_view name, const char* what, std::string& value, bool& matched) {
    const std::string_view arg = argv[i];
    matched = arg == name || (arg.starts_with(name) && arg.size() > name.size() && arg[name.size()] == '=');
    if (!matched) return true;
    if (!value.empty()) {
      why = "repeated option " + std::string(name);
      return false;
    }
    if (arg == name && i + 1 >= argc) {
      why = std::string(name) + " needs " + what;
      return false;
    }
    value = arg == name ? std::string(argv[++i]) : std::string(arg.substr(name.size() + 1));
    if (value.empty()) why = std::string(name) + " needs " + what;
    return !value.empty();
  };
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    bool matched = false;
    if (arg == "--help" || arg == "-h") {
      cl.Help = true;
    } else if (arg == "--version") {
      cl.Version = true;
    } else if (!valueOption(i, "--ini", "a file name", cl.Ini, matched) ||
               (!matched && !valueOption(i, "--source", "an address", cl.Source, matched)) ||
               (!matched && !valueOption(i, "--dpi", "a number", cl.Dpi, matched))) {
      return std::nullopt;
    } else if (!matched) {
      why = "unknown option " + std::string(arg);
      return std::nullopt;
    }
  }
  return cl;
}

// The executable's full path (the settings file lives beside it).
std::string ExecutablePath(const char* argv0) {
  char buf[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string(argv0 ? argv0 : "");
}

// The user's home directory: $HOME, else the password database's entry.
const char* HomeDirectory() {
  const char* home = std::getenv("HOME");
  if (home && *home) return home;
  const passwd* pw = getpwuid(getuid());
  return pw ? pw->pw_dir : nullptr;
}

// The X display, or null after one line on standard error that says why there is none.
Display* OpenDisplay() {
  const char* name = std::getenv("DISPLAY");
  if (!name || !*name) {
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (wayland && *wayland)
      std::fputs("varnel: Varnel needs X11 and DISPLAY is unset; under Wayland it runs through XWayland, "
                 "which sets DISPLAY\n", stderr);
    else
      std::fputs("varnel: cannot open a display: DISPLAY is unset\n", stderr);
    return nullptr;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) std::fprintf(stderr, "varnel: cannot open display %s\n", name);
  return display;
}

// An X protocol error is reported in one line on standard error and the program goes on. Any
// client can make a request of ours fail: a drag source that vanishes before it is answered, a
// message naming a window that does not exist. Xlib's own handler would end the program for it.
// A flood of them writes at most 20 lines a second; the number left out is told with the next
// line written. (A lost connection to the server is another matter: Xlib's handler for it still
// ends the program.)
int ReportXError(Display* display, XErrorEvent* e) {
  constexpr int LinesPerSecond = 20;
  static std::chrono::steady_clock::time_point second{};
  static int lines = 0;
  static long left = 0;
  const auto now = std::chrono::steady_clock::now();
  if (now - second >= std::chrono::seconds(1)) {
    second = now;
    lines = 0;
  }
  if (lines >= LinesPerSecond) {
    ++left;
    return 0;
  }
  ++lines;
  char what[160] = "";
  XGetErrorText(display, e->error_code, what, sizeof what);
  char major[16];
  std::snprintf(major, sizeof major, "%d", e->request_code);
  char request[160] = "";
  XGetErrorDatabaseText(display, "XRequest", major, "", request, sizeof request);
  std::fprintf(stderr, "varnel: X error %s in request %d.%d%s%s on 0x%lx, ignored", what, e->request_code,
               e->minor_code, *request ? " " : "", request, e->resourceid);
  if (left > 0) std::fprintf(stderr, " (%ld more before it not shown)", left);
  std::fputc('\n', stderr);
  left = 0;
  return 0;
}

// The text of the root window's RESOURCE_MANAGER property (the resource database xrdb and the
// desktops set), at most 4 MB of it; nullopt when there is none.
std::optional<std::string> ResourceDatabase(Display* display) {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(display, RootWindow(display, DefaultScreen(display)), XA_RESOURCE_MANAGER, 0,
                                        1L << 20, False, XA_STRING, &type, &format, &count, &after, &data);
  std::optional<std::string> text;
  if (status == Success && data && type == XA_STRING && format == 8)
    text.emplace(reinterpret_cast<const char*>(data), count);
  if (data) XFree(data);
  return text;
}

// The font configuration (the system's font files and the rules that choose among them, some 25
// million instructions of parsing on a usual desktop) loads on a second thread from the start,
// while the display is opened and the window made, instead of in the way of the first picture;
// the first text measured or drawn waits for it if it is not done yet. The thread runs on a stack
// of its own that goes back to the system when it ends (the C library would keep its stack, and
// the pages it touched, for a later thread that never comes).
class TFontWarmUp {
 public:
  TFontWarmUp() {
    void* block = mmap(nullptr, kGuard + kStack, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_STACK, -1, 0);
    if (block == MAP_FAILED) return;
    FBlock = block;
    mprotect(FBlock, kGuard, PROT_NONE);  // an overflow faults instead of writing below the stack
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstack(&attr, static_cast<char*>(FBlock) + kGuard, kStack);
    FStarted = pthread_create(&FThread, &attr, Load, nullptr) == 0;
    pthread_attr_destroy(&attr);
    if (!FStarted) Release();
  }
  ~TFontWarmUp() { Finish(); }
  // Waits for the thread, and gives its stack back.
  void Finish() {
    if (FStarted) pthread_join(FThread, nullptr);
    FStarted = false;
    Release();
  }
  TFontWarmUp(const TFontWarmUp&) = delete;
  TFontWarmUp& operator=(const TFontWarmUp&) = delete;

 private:
  static constexpr std::size_t kGuard = 4096, kStack = std::size_t(1) << 20;
  static void* Load(void*) {
    varnel::text::TFontCache::Instance();
    return nullptr;
  }
  void Release() {
    if (FBlock) munmap(FBlock, kGuard + kStack);
    FBlock = nullptr;
  }
  void* FBlock = nullptr;
  pthread_t FThread{};
  bool FStarted = false;
};

}  // namespace

int main(int argc, char** argv) {
  using namespace varnel;
#ifdef M_MMAP_THRESHOLD
  // Pictures of a megabyte and more (a big window's surfaces, the gauge's kept picture) get
  // memory of their own from the system, which goes back to it when the picture goes: a view
  // that is hidden, or a window made smaller, then really shrinks the program.
  // Left to itself, the C library raises this limit after the first such picture is freed and
  // keeps the later ones in its heap, still resident after they are freed.
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
  std::string why;
  const std::optional<TCommandLine> cl = ParseCommandLine(argc, argv, why);
  if (!cl) {
    std::fprintf(stderr, "varnel: %s\n%s", why.c_str(), UsageText);
    return 2;
  }
  if (cl->Help) {
    std::fputs(UsageText, stdout);
    return 0;
  }
  if (cl->Version) {
    std::string version(TAboutBox::VersionText);
    while (!version.empty() && version.back() == ' ') version.pop_back();
    std::printf("Varnel %s\n", version.c_str());
    return 0;
  }
  // A source address that cannot be is refused before anything else happens.
  if (!cl->Source.empty() && !ParseSourceAddress(cl->Source, why)) {
    std::fprintf(stderr, "varnel: --source: %s\n", why.c_str());
    return 2;
  }
  TFontWarmUp fonts;
  Display* display = OpenDisplay();
  if (!display) return 1;
  XSetErrorHandler(ReportXError);
  fl_open_display(display);
  CoalesceConfigureEvents();
  Fl::visual(FL_RGB);
  // The screen's density, once: every size in pixels and every font in points follows it.
  const TPixelsPerInchChoice dpi = ChooseScreenPixelsPerInch(
      cl->Dpi.empty() ? std::nullopt : std::optional<std::string_view>(cl->Dpi), ResourceDatabase(display));
  if (!dpi.Warning.empty()) std::fprintf(stderr, "varnel: %s\n", dpi.Warning.c_str());
  const TPixelScale scale(dpi.PixelsPerInch);

  // FLTK's widgets (the colour picker's fields among them) take their text size from here.
  FL_NORMAL_SIZE = static_cast<Fl_Fontsize>(scale.Px(FL_NORMAL_SIZE));

  TMainWindow window;
  window.SetScale(scale);
  window.icon(ProgramIconImage());
  window.xclass("varnel");
  TFltkColorDialog colorDialog(scale);
  TFltkPrompt prompt(scale);
  TFltkMessageBox messageBox(scale);
  TFltkAboutBox aboutBox(scale);
  TFltkShell shell;
  TFltkTimer timer;

  // The application title: the caption of every error box.
  TApplication Application(&messageBox);
  Application.SetTitle("Varnel");

  // The main window; its creation reads and applies the settings.
  TFormPorts ports{&window,     &window.ChartWidget(), &window.MeterWidget(), &window, &colorDialog,
                   &prompt,     &messageBox,           &aboutBox,             &shell,  &timer,
                   scale.PixelsPerInch()};
  // The dynamic performance data, from /proc/stat, or from the file VARNEL_STAT_FILE names (a
  // fixed load for demonstrations and the end-to-end test).
  const char* statFile = std::getenv("VARNEL_STAT_FILE");
  const std::string statPath = statFile && *statFile ? statFile : "/proc/stat";
  const std::string executable = ExecutablePath(argv[0]);
  const TSettingsLocation settings =
      ChooseSettingsLocation({cl->Ini, executable, std::getenv("XDG_CONFIG_HOME"), HomeDirectory()});
  for (const std::string& warning : settings.Warnings) std::fprintf(stderr, "varnel: %s\n", warning.c_str());
  // Another machine's load when --source or the settings name one, over the network.
  const TSourceSetting source = ChooseSourceSetting(cl->Source, settings.StartPath);
  std::unique_ptr<TLoadSource> loadSource;
  if (source.Address.empty()) {
    loadSource = std::make_unique<TProcStatLoadSource>(statPath);
  } else if (!(loadSource = MakeNetworkLoadSource(source.Address, why))) {
    std::fprintf(stderr, "varnel: %s: %s\n", source.Origin.c_str(), why.c_str());
    return 2;
  }
  TForm1 Form1(Application, ports, settings,
               ReportReadings(std::move(loadSource), source.Address.empty() ? statPath : source.Address,
                              [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); }));

  window.ChartWidget().OnPaint = [&Form1] { Form1.Chart2.Paint(); };
  window.MeterWidget().OnPaint = [&Form1] { Form1.Meter1.Paint(); };
  window.ChartWidget().OnResize = [&Form1] { Form1.AlignControls(); };
  window.MeterWidget().SetOwnTooltip(true);
  window.MeterWidget().SetTooltipText(Form1.Meter1.Hint());
  Form1.OnMeterHintChanged = [&] { window.MeterWidget().SetTooltipText(Form1.Meter1.Hint()); };
  window.OnRightClick = [&] { Application.Guard([&] { Form1.WMNCRButtonDown(); }); };
  window.OnDoubleClick = [&] { Application.Guard([&] { Form1.WMNCLButtonDblClk(); }); };
  window.OnActivate = [&] { Form1.FormPaint(); };

  // One About box, hidden; never shown.
  TAboutBox AboutBox(&shell);

  // The message loop until the main window closes.
  window.ShowFirst();
  fonts.Finish();
  return Fl::run();
}
