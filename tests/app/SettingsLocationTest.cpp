// Where the settings live: --ini, beside the executable where it can be written, else the user's
// configuration directory, taking starting values from a read-only file beside the executable.
// Read-only files and directories mean nothing to root, so the checks run as the user nobody
// when the test runs as root.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "app/Application.h"
#include "app/Form1.h"
#include "app/HeadlessPorts.h"
#include "app/SettingsLocation.h"

namespace varnel {
namespace {

constexpr uid_t kNobody = 65534;

// Runs `body` in a child process that has dropped to the user nobody when this process is root,
// and returns the text it returned; in process otherwise.
std::string AsUnprivilegedUser(const std::function<std::string()>& body) {
  if (::geteuid() != 0) return body();
  int fds[2];
  if (::pipe(fds) != 0) return "pipe failed";
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    std::string out = "could not drop privileges";
    if (::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0) out = body();
    const char* p = out.data();
    for (std::size_t left = out.size(); left > 0;) {
      const ssize_t n = ::write(fds[1], p, left);
      if (n <= 0) break;
      p += n;
      left -= static_cast<std::size_t>(n);
    }
    ::_exit(0);
  }
  ::close(fds[1]);
  std::string out;
  char buf[4096];
  for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;) out.append(buf, static_cast<std::size_t>(n));
  ::close(fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return out;
}

std::string Describe(const TSettingsLocation& w) {
  return "path=" + w.Path + " start=" + w.StartPath + " mkdir=" + w.MakeDirectory +
         " warnings=" + std::to_string(w.Warnings.size());
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

class SettingsLocation : public testing::Test {
 protected:
  // R/bin holds the executable, R/home the user's home, R/xdg a configuration directory; all
  // belong to the user the checks run as.
  void SetUp() override {
    std::string templ = (std::filesystem::temp_directory_path() / "varnel-where-XXXXXX").string();
    ASSERT_NE(mkdtemp(templ.data()), nullptr);
    R = templ;
    Exe = R + "/bin/varnel";
    Beside = R + "/bin/FENDUL.INI";
    Reset();
  }
  void TearDown() override {
    Unlock();
    std::filesystem::remove_all(R);
  }
  // Directories made read-only by a case are writable again, so that they can be removed.
  void Unlock() {
    for (const auto& e : std::filesystem::recursive_directory_iterator(R))
      if (e.is_directory() && !e.is_symlink()) ::chmod(e.path().c_str(), 0755);
  }
  // An empty tree again, under the same root.
  void Reset() {
    Unlock();
    for (const auto& e : std::filesystem::directory_iterator(R)) std::filesystem::remove_all(e.path());
    for (const char* d : {"/bin", "/home", "/xdg"}) std::filesystem::create_directory(R + d);
  }

  // Hands the tree to nobody when running as root, with the given modes applied last.
  void Own() {
    if (::geteuid() != 0) return;
    ASSERT_EQ(::chown(R.c_str(), kNobody, kNobody), 0);
    for (const auto& e : std::filesystem::recursive_directory_iterator(R))
      ASSERT_EQ(::lchown(e.path().c_str(), kNobody, kNobody), 0);
  }
  void Write(const std::string& path, const std::string& text, mode_t mode = 0644) {
    std::ofstream(path, std::ios::binary) << text;
    ::chmod(path.c_str(), mode);
  }
  TSettingsEnvironment Env(const char* xdg, const char* home, std::string_view ini = {}) const {
    return {ini, Exe, xdg, home};
  }

  std::string R, Exe, Beside;
};

TEST_F(SettingsLocation, EachBranchOfTheRule) {
  const std::string xdg = R + "/xdg", home = R + "/home";
  const std::string fallback = R + "/xdg/varnel/FENDUL.INI";
  struct TCase {
    const char* Name;
    std::function<void()> Arrange;
    const char* Xdg;
    const char* Home;
    std::string Expected;
  };
  const TCase cases[] = {
      {"writable directory, no file", [] {}, xdg.c_str(), home.c_str(),
       "path=" + Beside + " start=" + Beside + " mkdir= warnings=0"},
      {"writable file", [&] { Write(Beside, "[FENDUL]\n"); }, xdg.c_str(), home.c_str(),
       "path=" + Beside + " start=" + Beside + " mkdir= warnings=0"},
      {"read-only file: starts from it, saves to the fallback", [&] { Write(Beside, "[FENDUL]\n", 0444); },
       xdg.c_str(), home.c_str(), "path=" + fallback + " start=" + Beside + " mkdir=" + R + "/xdg/varnel warnings=0"},
      {"read-only file, fallback already saved: starts from the fallback",
       [&] {
         Write(Beside, "[FENDUL]\n", 0444);
         std::filesystem::create_directory(R + "/xdg/varnel");
         Write(fallback, "[FENDUL]\n");
       },
       xdg.c_str(), home.c_str(), "path=" + fallback + " start=" + fallback + " mkdir=" + R + "/xdg/varnel warnings=0"},
      {"read-only directory, no file", [&] { ::chmod((R + "/bin").c_str(), 0555); }, xdg.c_str(), home.c_str(),
       "path=" + fallback + " start=" + fallback + " mkdir=" + R + "/xdg/varnel warnings=0"},
      {"read-only directory, writable file in it", [&] {
         Write(Beside, "[FENDUL]\n", 0666);
         ::chmod((R + "/bin").c_str(), 0555);
       },
       xdg.c_str(), home.c_str(), "path=" + fallback + " start=" + Beside + " mkdir=" + R + "/xdg/varnel warnings=0"},
      {"XDG_CONFIG_HOME unset: ~/.config", [&] { ::chmod((R + "/bin").c_str(), 0555); }, nullptr, home.c_str(),
       "path=" + home + "/.config/varnel/FENDUL.INI start=" + home + "/.config/varnel/FENDUL.INI mkdir=" + home +
           "/.config/varnel warnings=0"},
      {"XDG_CONFIG_HOME relative: ignored, said so", [&] { ::chmod((R + "/bin").c_str(), 0555); }, "xdg",
       home.c_str(),
       "path=" + home + "/.config/varnel/FENDUL.INI start=" + home + "/.config/varnel/FENDUL.INI mkdir=" + home +
           "/.config/varnel warnings=1"},
      {"no usable home: the file beside, said so", [&] { ::chmod((R + "/bin").c_str(), 0555); }, "", "relative",
       "path=" + Beside + " start=" + Beside + " mkdir= warnings=1"},
      {"link to a writable file elsewhere", [&] {
         Write(R + "/home/real.ini", "[FENDUL]\n");
         std::filesystem::create_symlink(R + "/home/real.ini", Beside);
       },
       xdg.c_str(), home.c_str(), "path=" + Beside + " start=" + Beside + " mkdir= warnings=0"},
      {"dangling link", [&] { std::filesystem::create_symlink(R + "/home/none.ini", Beside); }, xdg.c_str(),
       home.c_str(), "path=" + fallback + " start=" + fallback + " mkdir=" + R + "/xdg/varnel warnings=0"},
  };
  for (const TCase& c : cases) {
    Reset();
    c.Arrange();
    Own();
    EXPECT_EQ(AsUnprivilegedUser([&] { return Describe(ChooseSettingsLocation(Env(c.Xdg, c.Home))); }), c.Expected)
        << c.Name;
  }
}

// The folder beside the executable holds settings only when it is the user's own and no system
// folder, and root starts no new file there. Each case runs as root or as the user nobody, on a
// tree that belongs to the user the case runs as unless the case hands the folder to another.
TEST_F(SettingsLocation, SettingsAreKeptBesideOnlyTheUsersOwnProgramAndRootMakesNoNewFileThere) {
  const bool root = ::geteuid() == 0;
  const std::string xdg = R + "/xdg", fallback = R + "/xdg/varnel/FENDUL.INI", mkdir = R + "/xdg/varnel";
  const std::string toFallback = "path=" + fallback + " start=" + fallback + " mkdir=" + mkdir + " warnings=0";
  const std::string startBeside = "path=" + fallback + " start=" + Beside + " mkdir=" + mkdir + " warnings=0";
  const std::string besideOnly = "path=" + Beside + " start=" + Beside + " mkdir= warnings=0";
  const auto theirs = [&] { ASSERT_EQ(::chown((R + "/bin").c_str(), 54321, 54321), 0); };
  struct TCase {
    const char* Name;
    bool AsRoot;
    std::function<void()> Arrange;  // after the tree is given to the user of the case
    std::string Exe, Expected;
  };
  // The system's own folder of programs is only looked at: no file is made there.
  const std::string usrBin = std::filesystem::exists("/usr/bin/FENDUL.INI")
                                 ? "path=" + fallback + " start=/usr/bin/FENDUL.INI mkdir=" + mkdir + " warnings=0"
                                 : toFallback;
  const TCase cases[] = {
      {"user: another user's folder, open to everyone", false, [&] { theirs(); ::chmod((R + "/bin").c_str(), 0777); },
       Exe, toFallback},
      {"user: a writable file in another user's folder gives starting values only", false,
       [&] {
         Write(Beside, "[FENDUL]\n", 0666);
         theirs();
         ::chmod((R + "/bin").c_str(), 0777);
       },
       Exe, startBeside},
      {"user: a program in /usr/bin", false, [] {}, "/usr/bin/varnel", usrBin},
      {"root: its own folder, no file", true, [] {}, Exe, toFallback},
      {"root: its own folder, the file there", true, [&] { Write(Beside, "[FENDUL]\n"); }, Exe, besideOnly},
      {"root: its own folder, a read-only file", true, [&] { Write(Beside, "[FENDUL]\n", 0444); }, Exe, startBeside},
      {"root: another user's folder, the file there", true,
       [&] {
         Write(Beside, "[FENDUL]\n", 0666);
         theirs();
       },
       Exe, startBeside},
      {"root: a program in /usr/bin", true, [] {}, "/usr/bin/varnel", usrBin},
  };
  int skipped = 0;
  for (const TCase& c : cases) {
    if (!root && (c.AsRoot || c.Name == cases[0].Name || c.Name == cases[1].Name)) {
      ++skipped;  // root's own cases, and folders handed to another user, need root
      continue;
    }
    Reset();
    if (!c.AsRoot) Own();
    c.Arrange();
    const TSettingsEnvironment env{{}, c.Exe, xdg.c_str(), nullptr};
    const auto choose = [&] { return Describe(ChooseSettingsLocation(env)); };
    EXPECT_EQ(c.AsRoot ? choose() : AsUnprivilegedUser(choose), c.Expected) << c.Name;
  }
  if (skipped > 0) GTEST_SKIP() << skipped << " cases need a test run as root";
}

TEST(SettingsFolder, SystemFoldersAreTheSystemsProgramAndDataFoldersAndAnythingInThem) {
  for (const char* folder : {"/usr", "/usr/bin", "/usr/local/bin", "/bin", "/sbin/x", "/lib", "/lib64/a", "/libx32",
                             "/opt/varnel/bin", "/etc", "/etc/xdg"})
    EXPECT_TRUE(IsSystemFolder(folder)) << folder;
  for (const char* folder : {"/", "/home/me/varnel", "/tmp/bin", "/usrx", "/optional", "/home/usr", "/srv/etc"})
    EXPECT_FALSE(IsSystemFolder(folder)) << folder;
}

TEST_F(SettingsLocation, TheIniOptionWinsAndIsMadeAbsolute) {
  Own();
  const std::string cwd = std::filesystem::current_path().string();
  EXPECT_EQ(Describe(ChooseSettingsLocation(Env(nullptr, nullptr, "sub/../my.ini"))),
            "path=" + cwd + "/my.ini start=" + cwd + "/my.ini mkdir= warnings=0");
  // A directory is taken as named (its saves fail) and the user is told at once.
  EXPECT_EQ(Describe(ChooseSettingsLocation(Env(nullptr, nullptr, R + "/home"))),
            "path=" + R + "/home start=" + R + "/home mkdir= warnings=1");
}

// The whole program: a read-only file beside the executable gives the starting values, a menu
// command saves them with its change to the fallback file, whose directories it makes, and the
// read-only file stays as it was. With an unwritable configuration directory the command
// reports the fallback's path and nothing is written anywhere.
TEST_F(SettingsLocation, TheProgramStartsFromTheReadOnlyFileAndSavesToTheFallback) {
  const std::string shipped = "[FENDUL]\nPlotSeconds=90\nLegend=1\n";
  Write(Beside, shipped, 0444);
  std::filesystem::create_directory(R + "/locked");
  Own();
  ::chmod((R + "/locked").c_str(), 0555);
  const std::string result = AsUnprivilegedUser([&] {
    std::string out;
    for (const std::string& xdg : {R + "/xdg/new/deeper", R + "/locked"}) {
      THeadlessWindowSystem ws;
      TApplication app(&ws.MessageBox);
      const TSettingsLocation where = ChooseSettingsLocation(Env(xdg.c_str(), nullptr));
      TForm1 form(app, ws.Ports(), where, nullptr);  // no load source: ticks change nothing
      out += "plot=" + std::to_string(form.PlotSeconds()) + ";";
      form.Legend1->Click();
      for (const std::string& t : ws.MessageBox.Texts) out += "error=" + t + ";";
      const std::string saved = ReadFile(where.Path);
      out += std::string(saved.find("PlotSeconds=90\n") != std::string::npos ? "kept" : "lost") +
             (saved.find("Legend=0\n") != std::string::npos ? "+changed;" : ";");
    }
    return out;
  });
  EXPECT_EQ(result, "plot=90;kept+changed;plot=90;error=Unable to write to " + R + "/locked/varnel/FENDUL.INI.;lost;");
  EXPECT_EQ(ReadFile(Beside), shipped);
  struct stat st;
  ASSERT_EQ(::stat((R + "/xdg/new/deeper/varnel").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_FALSE(std::filesystem::exists(R + "/locked/varnel"));
}

// A settings file in a folder everyone writes to, which another user has made a link to a file
// of theirs: the program starts with the defaults and every save reports the path, as for any
// file it cannot write, and the other user's file is never touched. Run as root, and as an
// ordinary user.
TEST_F(SettingsLocation, AnotherUsersLinkAsTheSettingsFileIsNeitherReadNorWritten) {
  if (::geteuid() != 0) GTEST_SKIP() << "a link owned by another user can only be made by root";
  const std::string shared = R + "/shared", theirs = R + "/theirs.ini", ini = shared + "/FENDUL.INI";
  const std::string planted = "[FENDUL]\nPlotSeconds=90\n";
  ASSERT_EQ(::mkdir(shared.c_str(), 0777), 0);
  ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
  ASSERT_EQ(::chmod(R.c_str(), 0755), 0);
  Write(theirs, planted, 0666);
  ASSERT_EQ(::symlink(theirs.c_str(), ini.c_str()), 0);
  ASSERT_EQ(::lchown(ini.c_str(), 54321, 54321), 0);
  const auto run = [&] {
    THeadlessWindowSystem ws;
    TApplication app(&ws.MessageBox);
    TForm1 form(app, ws.Ports(), ChooseSettingsLocation(Env(nullptr, nullptr, ini)), nullptr);
    std::string out = "plot=" + std::to_string(form.PlotSeconds()) + ";";
    form.Legend1->Click();
    for (const std::string& t : ws.MessageBox.Texts) out += "error=" + t + ";";
    return out;
  };
  const std::string expected = "plot=60;error=Unable to write to " + ini + ".;";
  EXPECT_EQ(run(), expected);
  EXPECT_EQ(AsUnprivilegedUser(run), expected);
  EXPECT_EQ(ReadFile(theirs), planted);
  EXPECT_TRUE(std::filesystem::is_symlink(ini));
}

}  // namespace
}  // namespace varnel
