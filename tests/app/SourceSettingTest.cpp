// Another machine's load: which address the window takes (the command line's over the settings
// file's), that a save never writes or changes the Source key, and the caption and hint that
// name the machine shown.
#include <gtest/gtest.h>

#include "app/SourceSetting.h"
#include "tests/app/FormTestSupport.h"

namespace varnel {
namespace {

// A source of another machine, always at 40 %.
class TOtherMachine : public TLoadSource {
 public:
  std::optional<TLoadReading> Read() override { return TLoadReading{40, {}}; }
  std::string MachineName() const override { return "build1"; }
};

TEST(SourceSetting, TheCommandLineOverTheSettingsFileOverThisMachine) {
  test::FormFixture f;
  EXPECT_EQ(ChooseSourceSetting("", f.IniPath).Address, "");  // no file
  f.WriteIni("Top=7\nsource = http://build1:9100/metrics \n");
  const TSourceSetting fromFile = ChooseSourceSetting("", f.IniPath);
  EXPECT_EQ(fromFile.Address, "http://build1:9100/metrics");
  EXPECT_EQ(fromFile.Origin, "Source in " + f.IniPath);
  const TSourceSetting given = ChooseSourceSetting("http://other:9100/metrics", f.IniPath);
  EXPECT_EQ(given.Address, "http://other:9100/metrics");
  EXPECT_EQ(given.Origin, "--source");
}

TEST(SourceSetting, ASaveKeepsTheStoredAddressAsItIsAndNeverAddsOne) {
  const std::string stored = "prometheus+http://mon:9090/?query=avg(x)";
  for (const bool inFile : {true, false}) {
    test::FormFixture f;
    f.WriteIni(inFile ? "Source=" + stored + "\n" : "Top=7\n");
    TForm1& form = f.Start();
    f.Ws.Timer.Fire();
    f.Choose(form.Legend1);  // a command: the settings are written
    EXPECT_EQ(f.Ini("Legend"), "0");
    EXPECT_EQ(f.Ini("Source"), inFile ? stored : "<missing>");
  }
}

TEST(SourceSetting, CaptionAndHintNameAnotherMachine) {
  test::FormFixture f;
  TForm1 form(f.App, f.Ws.Ports(), f.IniPath, std::make_unique<TOtherMachine>());
  f.Ws.Timer.Fire();
  EXPECT_EQ(f.Ws.Frame.Caption, "CPU Usage - build1");
  EXPECT_EQ(f.Ws.Frame.Hint, "CPU Usage - build1: 40 %");  // the hint adds the reading
  EXPECT_EQ(form.Series3.YValues().Last(), 40.0);
}

}  // namespace
}  // namespace varnel
