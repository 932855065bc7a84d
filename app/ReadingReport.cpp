// ReportReadings: one line when the load readings stop, one when they come back.
#include "app/ReadingReport.h"

#include <memory>
#include <utility>

namespace varnel {

TSampleSource ReportReadings(TSampleSource source, const std::string& sourceName,
                             std::function<void(const std::string&)> print) {
  auto failing = std::make_shared<bool>(false);
  return [source = std::move(source), sourceName, print = std::move(print), failing]() -> std::optional<std::int32_t> {
    std::optional<std::int32_t> sample = source ? source() : std::nullopt;
    if (sample.has_value() == !*failing) return sample;
    *failing = !sample.has_value();
    if (print)
      print(*failing ? "varnel: no CPU load can be read from " + sourceName + "; the window shows no new load until it can"
                     : "varnel: the CPU load can be read from " + sourceName + " again");
    return sample;
  };
}

}  // namespace varnel
