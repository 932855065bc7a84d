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
    // The first read may come too early for a source that measures between two (another
    // machine's counters): readings stop only when the second has none either.
    if (FFirst) {
      FFirst = false;
      if (!reading) return reading;
    }
    if (reading.has_value() == !FFailing) return reading;
    FFailing = !reading.has_value();
    if (FPrint) {
      const std::string why = FFailing && FSource ? FSource->FailureReason() : std::string();
      FPrint(FFailing ? "varnel: no CPU load can be read from " + FSourceName + (why.empty() ? "" : " (" + why + ")") +
                            "; the window shows no new load until it can"
                      : "varnel: the CPU load can be read from " + FSourceName + " again");
    }
    return reading;
  }

  std::string MachineName() const override { return FSource ? FSource->MachineName() : std::string(); }
  std::string FailureReason() const override { return FSource ? FSource->FailureReason() : std::string(); }
  void SetCoresWanted(bool wanted) override {
    if (FSource) FSource->SetCoresWanted(wanted);
  }

 private:
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
