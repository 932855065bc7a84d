// ReportReadings: one line when the load readings stop, one when they come back.
#include "app/ReadingReport.h"

#include <utility>

namespace varnel {
namespace {

class TReportingLoadSource : public TLoadSource {
 public:
  TReportingLoadSource(std::unique_ptr<TLoadSource> source, std::string sourceName,
                       std::function<void(const std::string&)> print)
      : FSource(std::move(source)), FSourceName(std::move(sourceName)), FPrint(std::move(print)) {}

  std::optional<TLoadReading> Read() override {
    std::optional<TLoadReading> reading = FSource ? FSource->Read() : std::nullopt;
    Report(reading.has_value());
    return reading;
  }
  bool ReadInto(TLoadReading& reading) override {
    const bool read = FSource && FSource->ReadInto(reading);
    Report(read);
    return read;
  }

  std::string MachineName() const override { return FSource ? FSource->MachineName() : std::string(); }
  std::string FailureReason() const override { return FSource ? FSource->FailureReason() : std::string(); }
  void SetCoresWanted(bool wanted) override {
    if (FSource) FSource->SetCoresWanted(wanted);
  }

 private:
  // Tells a change between reading and not reading.
  void Report(bool read) {
    // The first read may come too early for a source that measures between two (another
    // machine's counters): readings stop only when the second has none either.
    if (FFirst) {
      FFirst = false;
      if (!read) return;
    }
    if (read == !FFailing) return;
    FFailing = !read;
    if (FPrint) {
      const std::string why = FFailing && FSource ? FSource->FailureReason() : std::string();
      FPrint(FFailing ? "varnel: no CPU load can be read from " + FSourceName + (why.empty() ? "" : " (" + why + ")") +
                            "; the window shows no new load until it can"
                      : "varnel: the CPU load can be read from " + FSourceName + " again");
    }
  }

  std::unique_ptr<TLoadSource> FSource;
  std::string FSourceName;
  std::function<void(const std::string&)> FPrint;
  bool FFailing = false;
  bool FFirst = true;
};

}  // namespace

std::unique_ptr<TLoadSource> ReportReadings(std::unique_ptr<TLoadSource> source, const std::string& sourceName,
                                            std::function<void(const std::string&)> print) {
  return std::make_unique<TReportingLoadSource>(std::move(source), sourceName, std::move(print));
}

}  // namespace varnel
