// The private-profile functions on real files: creating, atomic replacement that keeps
// permissions, failures that leave the old file alone, and files that are huge, binary, not
// regular or not there.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "platform/profile/PrivateProfile.h"

namespace varnel {
namespace {

namespace fs = std::filesystem;

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
  static std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static void Spit(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  // Names in the directory, so a test can see that no temporary file was left behind.
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(FDir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
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
  std::system(("chattr -i '" + FDir + "'").c_str());
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

}  // namespace
}  // namespace varnel
