// The private-profile functions on real files: creating, durable replacement that keeps
// permissions, failures that leave the old file alone (a process killed at any system call of a
// save, a full or read-only file system, a read-only file), stale temporary files, and files
// that are huge, binary, not regular or not there.
#include <grp.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "platform/profile/PrivateProfile.h"

namespace varnel {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The names in a directory, sorted.
std::vector<std::string> EntriesOf(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Runs `work` in a child process under ptrace and kills it with SIGKILL as it enters its k-th
// system call (counted from the start of `work`); with k = 0 it runs to the end. Returns the
// numbers of the system calls it entered, or nothing when it could not be traced here.
std::optional<std::vector<long>> RunKilledAt(int k, const std::function<void()>& work) {
  const pid_t pid = fork();
  if (pid < 0) return std::nullopt;
  if (pid == 0) {
    if (ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0) _exit(3);
    raise(SIGSTOP);
    work();
    _exit(0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFSTOPPED(status)) return std::nullopt;  // exited: ptrace refused
  ptrace(PTRACE_SETOPTIONS, pid, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
  std::vector<long> calls;
  int signal = 0;
  for (;;) {
    ptrace(PTRACE_SYSCALL, pid, nullptr, signal);
    signal = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status) || WIFSIGNALED(status)) return calls;
    if (WSTOPSIG(status) != (SIGTRAP | 0x80)) {
      signal = WSTOPSIG(status);  // a signal of the child's own: deliver it
      continue;
    }
    __ptrace_syscall_info info{};
    if (ptrace(PTRACE_GET_SYSCALL_INFO, pid, sizeof info, &info) <= 0) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return std::nullopt;
    }
    if (info.op != PTRACE_SYSCALL_INFO_ENTRY) continue;
    calls.push_back(static_cast<long>(info.entry.nr));
    if (static_cast<int>(calls.size()) == k) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return calls;
    }
  }
}

class ProfileFile : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = testing::TempDir() + "/varnel-profile-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    FDir = pattern;
    FPath = FDir + "/FENDUL.INI";
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(FDir, ec);
  }
  static void Spit(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  // Names in the directory, so a test can see that no temporary file was left behind.
  std::vector<std::string> Entries() const { return EntriesOf(FDir); }
  // Runs `check` as an ordinary user (nobody), in a child process when this one is root, since
  // permission bits do not stop root. The directory is opened to everyone first.
  static void AsOrdinaryUser(const std::string& dir, const std::function<bool()>& check) {
    ASSERT_EQ(chmod(dir.c_str(), 0777), 0);
    if (geteuid() != 0) {
      EXPECT_TRUE(check());
      return;
    }
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      if (setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
      _exit(check() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_NE(WEXITSTATUS(status), 2) << "cannot become an ordinary user";
    EXPECT_EQ(WEXITSTATUS(status), 0);
  }
  std::string Get(std::string_view key, std::string_view def = "dflt") const {
    return GetPrivateProfileString("FENDUL", key, def, FPath);
  }

  std::string FDir, FPath;
};

TEST_F(ProfileFile, WritesCreateTheFileAndReadBack) {
  EXPECT_EQ(Get("Top"), "dflt");
  ASSERT_TRUE(WritePrivateProfileString("FENDUL", "Top", "7", FPath));
  ASSERT_TRUE(WritePrivateProfileString("FENDUL", "Colors - Background", "-2147483633", FPath));
  ASSERT_TRUE(WritePrivateProfileString("fendul", "TOP", "-5", FPath));
  EXPECT_EQ(Slurp(FPath), "[FENDUL]\nTop=-5\nColors - Background=-2147483633\n");  // key spelt as stored
  EXPECT_EQ(Get("top"), "-5");
  EXPECT_EQ(Entries(), std::vector<std::string>{"FENDUL.INI"});
}

TEST_F(ProfileFile, ReadsAreCutAt1023CharactersAndAtNul) {
  Spit(FPath, "[FENDUL]\nLong=" + std::string(3000, '7') + "\n" + std::string("Nul=12\0xx\n", 10));
  EXPECT_EQ(Get("Long"), std::string(1023, '7'));
  EXPECT_EQ(Get("Nul"), "12");
  EXPECT_EQ(Get("Missing", std::string(2000, 'd')), std::string(1023, 'd'));
  EXPECT_EQ(Get("Missing", " 60 \t  "), " 60 \t");  // a default's trailing spaces go
}

TEST_F(ProfileFile, ReplacementKeepsPermissionsOtherLinesAndLineEndings) {
  Spit(FPath, "; mine\r\n[Other]\r\nX=1\r\n[FENDUL]\r\nTop=1\r\n");
  ASSERT_EQ(chmod(FPath.c_str(), 0640), 0);
  // A second name for the old file: a file rewritten in place would change under it too.
  const std::string oldName = FDir + "/old";
  ASSERT_EQ(link(FPath.c_str(), oldName.c_str()), 0);
  ASSERT_TRUE(WritePrivateProfileString("FENDUL", "Top", "2", FPath));
  ASSERT_TRUE(WritePrivateProfileString("FENDUL", "Left", "3", FPath));
  EXPECT_EQ(Slurp(FPath), "; mine\r\n[Other]\r\nX=1\r\n[FENDUL]\r\nTop=2\r\nLeft=3\r\n");
  struct stat after;
  ASSERT_EQ(stat(FPath.c_str(), &after), 0);
  EXPECT_EQ(after.st_mode & 07777, 0640u);
  EXPECT_EQ(Slurp(oldName), "; mine\r\n[Other]\r\nX=1\r\n[FENDUL]\r\nTop=1\r\n");

  const mode_t old = umask(027);
  const std::string fresh = FDir + "/new.ini";
  EXPECT_TRUE(WritePrivateProfileString("S", "K", "V", fresh));
  umask(old);
  struct stat st;
  ASSERT_EQ(stat(fresh.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(ProfileFile, ASymbolicLinkWritesItsTarget) {
  const std::string target = FDir + "/real.ini";
  Spit(target, "[FENDUL]\nTop=1\n");
  ASSERT_EQ(symlink("real.ini", FPath.c_str()), 0);
  ASSERT_TRUE(WritePrivateProfileString("FENDUL", "Top", "9", FPath));
  EXPECT_TRUE(fs::is_symlink(FPath));
  EXPECT_EQ(Slurp(target), "[FENDUL]\nTop=9\n");
}

// ---- Links in a folder that everyone may write to and that is sticky (as /tmp): anyone can
// plant a link there, so only links of the user running the program or of the folder's owner
// are followed, for reads and writes alike, whatever the kernel's own setting.

constexpr uid_t kNobody = 65534, kOther = 54321;

// Runs `check` in a child process as the user `uid` (kept when this process already runs as
// it). True when the check held.
bool HoldsAs(uid_t uid, const std::function<bool()>& check) {
  const pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    if (uid != geteuid() && (setgroups(0, nullptr) != 0 || setgid(uid) != 0 || setuid(uid) != 0)) _exit(2);
    _exit(check() ? 0 : 1);
  }
  int status = 0;
  return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(ProfileFile, ALinkInASharedFolderIsFollowedOnlyWhenItsUserOrTheFolderOwnerMadeIt) {
  const uid_t self = geteuid();
  // shared: the folder everyone writes to; home: where the real settings file lives, owned by
  // the ordinary user the cases run as.
  const std::string shared = FDir + "/shared", home = FDir + "/home", real = home + "/real.ini";
  const std::string old = "[FENDUL]\nTop=1\n";
  ASSERT_EQ(chmod(FDir.c_str(), 0755), 0);
  ASSERT_EQ(mkdir(shared.c_str(), 0777), 0);
  ASSERT_EQ(mkdir(home.c_str(), 0755), 0);
  const uid_t user = self == 0 ? kNobody : self;
  if (self == 0) {
    ASSERT_EQ(chown(home.c_str(), kNobody, kNobody), 0);
  }
  struct TCase {
    const char* Name;
    uid_t Runner, LinkOwner;
    mode_t FolderMode;
    bool ToFolder;  // the link stands for the folder of the file, not the file
    bool Followed;
  };
  const TCase cases[] = {
      {"the user's own link", user, user, 01777, false, true},
      {"the user's own link to the folder", user, user, 01777, true, true},
      {"root's own link", 0, 0, 01777, false, true},
      {"root follows no other user's link", 0, kOther, 01777, false, false},
      {"nor another user's link to the folder", 0, kOther, 01777, true, false},
      {"a user follows no other user's link", kNobody, kOther, 01777, false, false},
      {"a user follows the folder owner's link", kNobody, 0, 01777, false, true},
      {"a folder that is not sticky", 0, kOther, 0777, false, true},
      {"a sticky folder only its owner writes", kNobody, kOther, 01755, false, true},
  };
  int ran = 0;
  for (const TCase& c : cases) {
    if (self != 0 && (c.Runner != self || c.LinkOwner != self)) continue;  // needs root to arrange
    ++ran;
    const std::string link = shared + (c.ToFolder ? "/sub" : "/FENDUL.INI");
    const std::string path = c.ToFolder ? link + "/real.ini" : link;
    for (const char* name : {"/sub", "/FENDUL.INI"}) unlink((shared + name).c_str());
    Spit(real, old);
    if (self == 0) {
      ASSERT_EQ(chown(real.c_str(), kNobody, kNobody), 0);
    }
    ASSERT_EQ(symlink((c.ToFolder ? home : real).c_str(), link.c_str()), 0);
    if (self == 0) {
      ASSERT_EQ(lchown(link.c_str(), c.LinkOwner, c.LinkOwner), 0);
    }
    ASSERT_EQ(chmod(shared.c_str(), c.FolderMode), 0);
    // Followed: the file's value is read and the save reaches it. Refused: the defaults are read
    // and the save fails.
    EXPECT_TRUE(HoldsAs(c.Runner, [&] {
      const bool read = GetPrivateProfileString("FENDUL", "Top", "7", path) == "1";
      const bool saved = WritePrivateProfileString("FENDUL", "Top", "2", path);
      return read == c.Followed && saved == c.Followed;
    })) << c.Name;
    EXPECT_EQ(Slurp(real), c.Followed ? "[FENDUL]\nTop=2\n" : old) << c.Name;
    EXPECT_TRUE(fs::is_symlink(link)) << c.Name;
    EXPECT_EQ(EntriesOf(shared), std::vector<std::string>{c.ToFolder ? "sub" : "FENDUL.INI"}) << c.Name;
    EXPECT_EQ(EntriesOf(home), std::vector<std::string>{"real.ini"}) << c.Name;
  }
  if (self != 0)
    GTEST_SKIP() << "ran " << ran << " cases; the links of other users and root's own need a test run as root";
}

TEST_F(ProfileFile, WritesThatCannotBeMadeFailAndChangeNothing) {
  // No such directory, and a plain file where the directory should be.
  EXPECT_FALSE(WritePrivateProfileString("FENDUL", "Top", "1", FDir + "/nodir/FENDUL.INI"));
  Spit(FDir + "/file", "x");
  EXPECT_FALSE(WritePrivateProfileString("FENDUL", "Top", "1", FDir + "/file/FENDUL.INI"));
  EXPECT_EQ(GetPrivateProfileString("FENDUL", "Top", "d", FDir + "/file/FENDUL.INI"), "d");
  EXPECT_FALSE(WritePrivateProfileString("FENDUL", "Top", "1", ""));
  // A directory in the file's place: reads give defaults, writes fail, the directory stays.
  fs::create_directory(FPath);
  Spit(FPath + "/inside", "y");
  EXPECT_EQ(Get("Top"), "dflt");
  EXPECT_FALSE(WritePrivateProfileString("FENDUL", "Top", "1", FPath));
  EXPECT_TRUE(fs::is_directory(FPath));
  EXPECT_EQ(Slurp(FPath + "/inside"), "y");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"FENDUL.INI", "file"}));
}

TEST_F(ProfileFile, AFailedWriteHalfwayLeavesTheOldFileAndNoTemporary) {
  const std::string old = "[FENDUL]\nTop=1\n";
  Spit(FPath, old);
  // Files may not grow beyond 20 bytes: the temporary file's write fails part of the way.
  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  void (*savedHandler)(int) = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 20;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = WritePrivateProfileString("FENDUL", "Left", "396", FPath);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, savedHandler);
  EXPECT_FALSE(written);
  EXPECT_EQ(Slurp(FPath), old);
  EXPECT_EQ(Entries(), std::vector<std::string>{"FENDUL.INI"});
}

TEST_F(ProfileFile, AnImmutableDirectoryFailsEveryWrite) {
  Spit(FPath, "[FENDUL]\nTop=1\n");
  if (std::system(("chattr +i '" + FDir + "' 2>/dev/null").c_str()) != 0)
    GTEST_SKIP() << "chattr +i is not available here";
  const bool written = WritePrivateProfileString("FENDUL", "Top", "2", FPath);
  EXPECT_EQ(std::system(("chattr -i '" + FDir + "'").c_str()), 0);  // else the folder stays immutable
  EXPECT_FALSE(written);
  EXPECT_EQ(Slurp(FPath), "[FENDUL]\nTop=1\n");
}

TEST_F(ProfileFile, AHugeFileReadsItsFirstMegabyteAndIsNeverRewritten) {
  {
    std::ofstream out(FPath, std::ios::binary);
    out << "[FENDUL]\nTop=11\n";
    const std::string filler(1024 * 1024, 'z');
    for (int i = 0; i < 50; ++i) out << "Pad" << i << "=" << filler << "\n";
    out << "Left=22\n";
  }
  const auto size = fs::file_size(FPath);
  EXPECT_EQ(Get("Top"), "11");
  EXPECT_EQ(Get("Left"), "dflt");  // beyond the part that is read
  EXPECT_FALSE(WritePrivateProfileString("FENDUL", "Top", "1", FPath));
  EXPECT_EQ(fs::file_size(FPath), size);
  EXPECT_EQ(Entries(), std::vector<std::string>{"FENDUL.INI"});
}

TEST_F(ProfileFile, BinaryGarbageAndSpecialFilesReadAsDefaults) {
  std::string garbage;
  for (int i = 0; i < 70000; ++i) garbage += static_cast<char>((i * 7919) & 0xFF);
  Spit(FPath, garbage);
  EXPECT_EQ(Get("Top"), "dflt");
  ASSERT_TRUE(WritePrivateProfileString("FENDUL", "Top", "5", FPath));
  EXPECT_EQ(Get("Top"), "5");
  EXPECT_EQ(Slurp(FPath).substr(0, garbage.size()), garbage);

  const std::string fifo = FDir + "/fifo.ini";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(GetPrivateProfileString("FENDUL", "Top", "d", fifo), "d");  // does not wait for a writer
  EXPECT_FALSE(WritePrivateProfileString("FENDUL", "Top", "1", fifo));
}

TEST_F(ProfileFile, AnUnreadableFileReadsAsDefaultsAndIsNotOverwritten) {
  Spit(FPath, "[FENDUL]\nTop=1\n");
  ASSERT_EQ(chmod(FPath.c_str(), 0200), 0);  // write only
  AsOrdinaryUser(FDir, [&] { return Get("Top") == "dflt" && !WritePrivateProfileString("FENDUL", "Left", "1", FPath); });
  EXPECT_EQ(Slurp(FPath), "[FENDUL]\nTop=1\n");
}

TEST_F(ProfileFile, AFileWithoutWritePermissionIsNeverReplaced) {
  // Only the file's own permission counts: the directory is writable by everyone.
  const std::string rootsFile = FDir + "/roots.ini", readOnly = FDir + "/ro.ini", writable = FDir + "/rw.ini";
  const std::string old = "[FENDUL]\nTop=1\n";
  for (const std::string* p : {&rootsFile, &readOnly, &writable}) Spit(*p, old);
  ASSERT_EQ(chmod(rootsFile.c_str(), 0644), 0);
  ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);
  ASSERT_EQ(chmod(writable.c_str(), 0640), 0);
  if (geteuid() == 0) {
    ASSERT_EQ(chown(readOnly.c_str(), 65534, 65534), 0);
    ASSERT_EQ(chown(writable.c_str(), 65534, 65534), 0);
  }
  AsOrdinaryUser(FDir, [&] {
    return !WritePrivateProfileString("FENDUL", "Top", "2", rootsFile) &&
           !WritePrivateProfileString("FENDUL", "Top", "2", readOnly) &&
           WritePrivateProfileString("FENDUL", "Top", "2", writable);
  });
  EXPECT_EQ(Slurp(rootsFile), old);
  EXPECT_EQ(Slurp(readOnly), old);
  EXPECT_EQ(Slurp(writable), "[FENDUL]\nTop=2\n");
  struct stat st;
  ASSERT_EQ(stat(writable.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"ro.ini", "roots.ini", "rw.ini"}));
}

TEST_F(ProfileFile, AWriteNeverMakesAFileItWouldRefuse) {
  // Just under the bound: a write that would cross it fails before writing anything; one that
  // fits is made, and the file it makes is read whole.
  const std::string head = "[FENDUL]\nTop=1\n;";
  const std::string old = head + std::string(kMaxProfileFileSize - head.size() - 12, 'c') + "\n";
  Spit(FPath, old);
  EXPECT_FALSE(WritePrivateProfileStrings({{"FENDUL", "Left", "12345"}, {"FENDUL", "Width", "1"}}, FPath));
  EXPECT_EQ(Slurp(FPath), old);
  ASSERT_TRUE(WritePrivateProfileString("FENDUL", "Left", "12345", FPath));  // 11 more bytes: at the bound
  EXPECT_EQ(fs::file_size(FPath), kMaxProfileFileSize);
  ASSERT_TRUE(WritePrivateProfileString("FENDUL", "Top", "9", FPath));
  EXPECT_EQ(Get("Left"), "12345");
  EXPECT_EQ(Get("Top"), "9");
  EXPECT_EQ(Entries(), std::vector<std::string>{"FENDUL.INI"});
}

// ---- A save under the worst conditions: killed at every system call in turn, a full disk, a
// read-only file system. The file is always the old text or the new one, byte for byte.

bool IsRename(long nr) {
#ifdef SYS_rename
  if (nr == SYS_rename) return true;
#endif
  return nr == SYS_renameat || nr == SYS_renameat2;
}

TEST_F(ProfileFile, AKilledSaveLeavesTheOldOrTheNewFileAndTheNextStartClearsUp) {
  const std::string old = "; kept\r\n[FENDUL]\r\nTop=1\r\nLeft=2\r\n";
  std::vector<TProfileWrite> writes;
  const char* keys[] = {"Top", "Left", "Width", "Height", "StayOnTop", "HideTitle", "Colors - Line",
                        "Colors - Background", "PlotSeconds", "DisplayAxis", "3D View", "Legend", "Display"};
  for (int i = 0; i < 13; ++i) writes.push_back({"FENDUL", keys[i], std::to_string(100 + i)});
  std::string expectedNew = "; kept\r\n[FENDUL]\r\nTop=100\r\nLeft=101\r\n";
  for (int i = 2; i < 13; ++i) expectedNew += std::string(keys[i]) + "=" + std::to_string(100 + i) + "\r\n";
  auto save = [&] { _exit(WritePrivateProfileStrings(writes, FPath) ? 0 : 1); };

  // The whole save, traced: the file is flushed before the rename and the directory after it.
  std::ofstream(FPath, std::ios::binary) << old;
  const std::optional<std::vector<long>> all = RunKilledAt(0, save);
  if (!all) GTEST_SKIP() << "this system does not let a test trace its child (ptrace)";
  ASSERT_EQ(Slurp(FPath), expectedNew);
  std::vector<long> order;
  for (long nr : *all)
    if (nr == SYS_fsync || nr == SYS_fdatasync || IsRename(nr)) order.push_back(IsRename(nr) ? -1 : 1);
  EXPECT_EQ(order, (std::vector<long>{1, -1, 1})) << "flush, rename, flush of the directory";

  int sawOld = 0, sawNew = 0;
  for (int k = 1; k <= static_cast<int>(all->size()) + 1; ++k) {
    SCOPED_TRACE("killed at system call " + std::to_string(k));
    std::ofstream(FPath, std::ios::binary | std::ios::trunc) << old;
    ASSERT_TRUE(RunKilledAt(k, save));
    const std::string now = Slurp(FPath);
    ASSERT_TRUE(now == old || now == expectedNew) << now;
    (now == old ? sawOld : sawNew)++;
    RemoveStaleProfileTemporaries(FPath);  // what the next start does
    EXPECT_EQ(Entries(), std::vector<std::string>{"FENDUL.INI"});
  }
  EXPECT_GT(sawOld, 0);
  EXPECT_GT(sawNew, 0);
}

TEST_F(ProfileFile, StartUpRemovesOnlyOurOwnStaleTemporaries) {
  std::ofstream(FPath) << "[FENDUL]\n";
  const std::string mine = ".FENDUL.INI.999999999-3.tmp";  // no such process
  const std::string live = ".FENDUL.INI." + std::to_string(getppid()) + "-0.tmp";  // a running process
  std::vector<std::string> others = {"FENDUL.INI.tmp", ".FENDUL.INI.12-x.tmp", ".OTHER.INI.999999999-3.tmp",
                                     ".FENDUL.INI.999999999-3.tmp~", "notes.txt"};
  for (const std::string& n : others) std::ofstream(FDir + "/" + n) << "x";
  std::ofstream(FDir + "/" + mine) << "x";
  std::ofstream(FDir + "/" + live) << "x";
  // Another user's file of our pattern (only root can make one), in a folder both may write to,
  // stays theirs.
  if (geteuid() == 0) {
    const std::string theirs = ".FENDUL.INI.999999998-0.tmp";
    std::ofstream(FDir + "/" + theirs) << "x";
    ASSERT_EQ(chown((FDir + "/" + theirs).c_str(), kOther, kOther), 0);
    others.push_back(theirs);
  }
  EXPECT_EQ(RemoveStaleProfileTemporaries(FPath), 1);
  EXPECT_FALSE(fs::exists(FDir + "/" + mine));
  EXPECT_TRUE(fs::exists(FDir + "/" + live));
  for (const std::string& n : others) EXPECT_TRUE(fs::exists(FDir + "/" + n)) << n;
}

// In a child process of its own mount namespace: a 64 KiB tmpfs over `dir`, filled to the last
// block, then a save; then the same made read-only, and a save. Exit 0 when both saves failed
// and left the old file alone, 77 when no tmpfs can be mounted here.
int SaveOnAFullDisk(const std::string& dir) {
  const uid_t uid = geteuid();
  if (unshare(uid == 0 ? CLONE_NEWNS : CLONE_NEWUSER | CLONE_NEWNS) != 0) return 77;
  if (uid != 0) {
    std::ofstream("/proc/self/setgroups") << "deny";
    std::ofstream("/proc/self/uid_map") << "0 " << uid << " 1";
  }
  if (mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return 77;
  if (mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=64k") != 0) return 77;
  const std::string path = dir + "/FENDUL.INI", old = "[FENDUL]\nTop=1\n";
  std::ofstream(path) << old;
  {
    std::ofstream fill(dir + "/fill", std::ios::binary);
    const std::string block(4096, 'f');
    for (int i = 0; i < 64 && fill; ++i) fill.write(block.data(), block.size()).flush();
  }
  const bool saved = WritePrivateProfileString("FENDUL", "Left", std::string(200, '9'), path);
  const bool intact = Slurp(path) == old && EntriesOf(dir).size() == 2;
  std::filesystem::remove(dir + "/fill");
  const bool savedAfter = WritePrivateProfileString("FENDUL", "Left", "396", path);
  if (saved || !intact || !savedAfter || Slurp(path) != old + "Left=396\n") return 1;
  // The same file system made read-only: reads work, a save fails and changes nothing.
  if (mount(nullptr, dir.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) return 1;
  const bool savedReadOnly = WritePrivateProfileString("FENDUL", "Top", "2", path);
  return !savedReadOnly && GetPrivateProfileString("FENDUL", "Left", "", path) == "396" ? 0 : 1;
}

TEST_F(ProfileFile, AFullOrReadOnlyFileSystemFailsTheSaveAndKeepsTheOldFile) {
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) _exit(SaveOnAFullDisk(FDir));
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no small tmpfs can be mounted here (no mount namespace)";
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace varnel
