// The report of failing load readings: one line when they stop, one when they come back.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/ReadingReport.h"

namespace varnel {
namespace {

TEST(ReadingReport, TellsEachChangeOnceAndPassesReadingsThrough) {
  // n: no reading; t: the source raises; a number: that load.
  const std::vector<std::string> script = {"n", "n", "n", "40", "41", "t", "n", "t", "n", "42", "t"};
  std::size_t next = 0;
  std::vector<std::string> lines;
  std::unique_ptr<TLoadSource> source = ReportReadings(
      std::make_unique<TFunctionLoadSource>([&]() -> std::optional<TLoadReading> {
        const std::string& s = script.at(next++);
        if (s == "n") return std::nullopt;
        if (s == "t") throw std::runtime_error("registry");
        return TLoadReading{std::stoi(s), {{"cpu0", 7}}};
      }),
      "/tmp/stat", [&](const std::string& line) { lines.push_back(line); });
  // Read and ReadInto (the tick's, into the reading it keeps) in turn: the report is the same.
  std::vector<std::string> seen;
  TLoadReading kept{-1, {}};
  for (std::size_t i = 0; i < script.size(); ++i) {
    try {
      if (i % 2 == 0) {
        const auto v = source->Read();
        seen.push_back(v ? std::to_string(v->Total) : "n");
        if (v) {
          EXPECT_EQ(v->Cores.size(), 1u);  // the cores pass through too
        }
      } else {
        const int before = kept.Total;
        const bool read = source->ReadInto(kept);
        seen.push_back(read ? std::to_string(kept.Total) : "n");
        if (read) EXPECT_EQ(kept.Cores.size(), 1u);
        else EXPECT_EQ(kept.Total, before);  // left as it was
      }
    } catch (const std::runtime_error&) {
      seen.push_back("t");
    }
  }
  EXPECT_EQ(seen, script);
  ASSERT_EQ(lines.size(), 4u);  // stop, back, stop, back: errors raised change nothing
  EXPECT_NE(lines[0].find("no CPU load can be read from /tmp/stat"), std::string::npos);
  EXPECT_NE(lines[1].find("/tmp/stat again"), std::string::npos);
  EXPECT_EQ(lines[2], lines[0]);
  EXPECT_EQ(lines[3], lines[1]);
}

TEST(ReadingReport, SaysWhyWhenTheSourceSays) {
  // A source that fails twice with a reason, then reads; the reason and the source's machine
  // pass through the report. The first read's failure alone is not told (a source may need two).
  class TFailing : public TLoadSource {
   public:
    int Reads = 0;
    std::optional<TLoadReading> Read() override { return ++Reads > 2 ? std::optional<TLoadReading>(TLoadReading{5, {}}) : std::nullopt; }
    std::string MachineName() const override { return "build1"; }
    std::string FailureReason() const override { return Reads > 2 ? "" : "HTTP status 500"; }
  };
  std::vector<std::string> lines;
  std::unique_ptr<TLoadSource> source =
      ReportReadings(std::make_unique<TFailing>(), "http://build1:9100/metrics", [&](const std::string& l) { lines.push_back(l); });
  EXPECT_EQ(source->MachineName(), "build1");
  EXPECT_FALSE(source->Read());
  EXPECT_TRUE(lines.empty());
  EXPECT_FALSE(source->Read());
  EXPECT_EQ(source->FailureReason(), "HTTP status 500");
  EXPECT_TRUE(source->Read());
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "varnel: no CPU load can be read from http://build1:9100/metrics (HTTP status 500); the window "
                      "shows no new load until it can");
  EXPECT_EQ(lines[1], "varnel: the CPU load can be read from http://build1:9100/metrics again");
}

}  // namespace
}  // namespace varnel
