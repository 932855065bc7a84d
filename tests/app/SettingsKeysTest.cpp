// The fourteen settings: names, defaults and orders, the file a first save creates, the
// integer and boolean rules on stored text, and a save that fails as a whole.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "app/SettingsKeys.h"
#include "base/Exceptions.h"

namespace varnel {
namespace {

class SettingsKeys : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = testing::TempDir() + "/varnel-settings-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    FDir = pattern;
    FPath = SettingsFilePath(FDir + "/varnel");
  }
  void TearDown() override { std::filesystem::remove_all(FDir); }
  std::map<TSettingId, int> ReadAll() const {
    std::map<TSettingId, int> values;
    std::vector<TSettingId> order;
    ReadSettings(TIniFile(FPath), [&](TSettingId id, int v, bool) {
      values[id] = v;
      order.push_back(id);
    });
    EXPECT_EQ(order.size(), 14u);
    for (std::size_t i = 0; i < order.size(); ++i) EXPECT_EQ(order[i], SettingsReadOrder[i].Id);
    return values;
  }
  std::string FDir, FPath;
};

TEST_F(SettingsKeys, TheFileLivesBesideTheExecutable) {
  EXPECT_EQ(FPath, FDir + "/FENDUL.INI");
  EXPECT_EQ(SettingsFilePath("/opt/varnel/bin/varnel"), "/opt/varnel/bin/FENDUL.INI");
  EXPECT_EQ(SettingsFilePath("/varnel"), "/FENDUL.INI");
  EXPECT_EQ(SettingsFilePath("varnel"), "FENDUL.INI");
}

TEST_F(SettingsKeys, NoFileGivesDefaultsAndTheFirstSaveWritesAllFourteenKeys) {
  const std::map<TSettingId, int> values = ReadAll();
  const std::map<TSettingId, int> defaults = {
      {siTop, 7},          {siLeft, 396},     {siWidth, 332},  {siHeight, 190},
      {siStayOnTop, 1},    {siHideTitle, 0},  {siColorsBackground, -2147483633},
      {siColorsLine, 128}, {siPlotSeconds, 60}, {siDisplayAxis, 0}, {si3DView, 0}, {siLegend, 1},
      {siDisplay, 0},      {siCores, 0}};
  EXPECT_EQ(values, defaults);
  TIniFile ini(FPath);
  WriteSettings(ini, [&](TSettingId id) { return values.at(id); }, 96);
  std::ifstream in(FPath, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_EQ(text,
            "[FENDUL]\nTop=7\nLeft=396\nWidth=332\nHeight=190\nStayOnTop=1\nHideTitle=0\n"
            "Colors - Line=128\nColors - Background=-2147483633\nPlotSeconds=60\nDisplayAxis=0\n"
            "3D View=0\nLegend=1\nDisplay=0\nCores=0\nPixelsPerInch=96\n");
  EXPECT_EQ(ReadAll(), defaults);
}

TEST_F(SettingsKeys, StoredTextFollowsTheIntegerAndBooleanRules) {
  auto valueWith = [&](const std::string& key, const std::string& text, TSettingId id) {
    std::ofstream(FPath, std::ios::trunc) << "[FENDUL]\n" << key << "=" << text << "\n";
    return ReadAll().at(id);
  };
  EXPECT_EQ(valueWith("PlotSeconds", "0x10", siPlotSeconds), 16);
  EXPECT_EQ(valueWith("PlotSeconds", "0x", siPlotSeconds), 60);
  EXPECT_EQ(valueWith("PlotSeconds", "$1E", siPlotSeconds), 30);
  EXPECT_EQ(valueWith("Legend", "2", siLegend), 1);
  EXPECT_EQ(valueWith("Legend", "-1", siLegend), 1);
  EXPECT_EQ(valueWith("Legend", "yes", siLegend), 1);
  EXPECT_EQ(valueWith("DisplayAxis", "yes", siDisplayAxis), 0);
  EXPECT_EQ(valueWith("colors - background", "$8000000F", siColorsBackground), -2147483633);

  TIniFile ini(FPath);
  WriteSetting(ini, siLegend, 5);  // any non-zero value is on
  WriteSetting(ini, siTop, -5);
  EXPECT_EQ(ini.ReadString("FENDUL", "Legend", ""), "1");
  EXPECT_EQ(ini.ReadString("FENDUL", "Top", ""), "-5");
}

TEST_F(SettingsKeys, AFailedSaveRaisesOnceAndWritesNoKey) {
  // A file read-only for everyone is refused even to root: the save fails as a whole.
  const std::string old = "[FENDUL]\nTop=1\n";
  std::ofstream(FPath, std::ios::binary) << old;
  ASSERT_EQ(chmod(FPath.c_str(), 0444), 0);
  TIniFile ini(FPath);
  int asked = 0, raised = 0;
  try {
    WriteSettings(ini, [&](TSettingId) { return ++asked; }, 96);
  } catch (const Exception& e) {
    ++raised;
    EXPECT_EQ(e.Message(), "Unable to write to " + FPath);
  }
  EXPECT_EQ(asked, 14);
  EXPECT_EQ(raised, 1);
  std::ifstream in(FPath, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), old);
  // The group ended with the failure: a later single write is made at once.
  ASSERT_EQ(chmod(FPath.c_str(), 0644), 0);
  WriteSetting(ini, siLeft, 3);
  EXPECT_EQ(ReadAll().at(siLeft), 3);
}

TEST_F(SettingsKeys, TheWriteOrderHoldsEveryKeyOnceWithTheColoursSwapped) {
  std::vector<std::string> names;
  for (TSettingId id : SettingsWriteOrder) names.push_back(SettingKey(id).Name);
  EXPECT_EQ(names, (std::vector<std::string>{"Top", "Left", "Width", "Height", "StayOnTop", "HideTitle",
                                             "Colors - Line", "Colors - Background", "PlotSeconds", "DisplayAxis",
                                             "3D View", "Legend", "Display", "Cores"}));
}

}  // namespace
}  // namespace varnel
