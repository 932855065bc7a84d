// The settings file accessor: integer and boolean text with defaults, the written forms, and
// the exception a failed write raises.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "base/Exceptions.h"
#include "platform/profile/IniFile.h"

namespace varnel {
namespace {

TEST(IniTextToInt, FollowsTheSettingsIntegerRules) {
  struct Case {
    const char* Text;
    int Expected;
  } cases[] = {
      {"0x10", 16},         {"0X1e", 30},          {"0x", 60},           {"0X", 60},
      {"$1E", 30},          {"$1e", 30},           {"$", 60},            {"$FFFFFFFF", -1},
      {"0xFFFFFFFF", -1},   {"$100000000", 60},    {"0x-1", 60},         {"0x 1", 60},
      {"  -5", -5},         {"+128", 128},         {"-2147483648", -2147483647 - 1},
      {"2147483647", 2147483647}, {"2147483648", 60}, {"-2147483649", 60},
      {"", 60},             {"   ", 60},           {"yes", 60},          {"5 ", 60},
      {"1.5", 60},          {"00012", 12},         {"0", 0},             {"0x0", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(IniTextToInt(c.Text, 60), c.Expected) << "'" << c.Text << "'";
}

class IniFile : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = testing::TempDir() + "/varnel-ini-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    FDir = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(FDir); }
  std::string FDir;
};

TEST_F(IniFile, ReadsWithDefaultsAndWritesDecimalText) {
  const std::string path = FDir + "/FENDUL.INI";
  std::ofstream(path) << "[FENDUL]\nOn=-1\nOff=0\nWord=yes\nPlotSeconds=0x10\n";
  TIniFile ini(path);
  EXPECT_TRUE(ini.ReadBool("FENDUL", "On", false));
  EXPECT_FALSE(ini.ReadBool("FENDUL", "Off", true));
  EXPECT_FALSE(ini.ReadBool("FENDUL", "Word", false));  // not an integer: the default
  EXPECT_TRUE(ini.ReadBool("FENDUL", "Word", true));
  EXPECT_TRUE(ini.ReadBool("FENDUL", "Missing", true));
  EXPECT_EQ(ini.ReadInteger("FENDUL", "PlotSeconds", 60), 16);
  EXPECT_EQ(ini.ReadString("FENDUL", "PlotSeconds", ""), "0x10");

  ini.WriteInteger("FENDUL", "Top", -5);
  ini.WriteInteger("FENDUL", "Colors - Line", 128);
  ini.WriteBool("FENDUL", "Legend", true);
  ini.WriteBool("FENDUL", "HideTitle", false);
  EXPECT_EQ(ini.ReadString("FENDUL", "Top", ""), "-5");
  EXPECT_EQ(ini.ReadString("FENDUL", "Colors - Line", ""), "128");
  EXPECT_EQ(ini.ReadString("FENDUL", "Legend", ""), "1");
  EXPECT_EQ(ini.ReadString("FENDUL", "HideTitle", ""), "0");
}

TEST_F(IniFile, AFailedWriteRaisesWithTheFullPath) {
  const std::string path = FDir + "/missing-dir/FENDUL.INI";
  TIniFile ini(path);
  try {
    ini.WriteInteger("FENDUL", "Top", 7);
    FAIL() << "no exception";
  } catch (const EConvertError&) {
    FAIL() << "wrong exception type";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Unable to write to " + path);
  }
  EXPECT_THROW(ini.WriteBool("FENDUL", "Legend", true), Exception);
  EXPECT_EQ(ini.ReadInteger("FENDUL", "Top", 7), 7);
}

}  // namespace
}  // namespace varnel
