// The report of a load source that stops giving readings: without a reading the window keeps its
// caption and a flat line, so one line on standard error says why, the first time a reading fails,
// and one more when readings come back. Each change of state is told once, not every second. The
// very first read may fail unreported: a source that measures between two readings of another
// machine's counters has its first load at the second.
//
//   std::unique_ptr<TLoadSource> source =
//       ReportReadings(std::make_unique<TProcStatLoadSource>(), "/proc/stat", PrintLine);
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "sampler/LoadSource.h"

namespace varnel {

// `source` with the report added; `print` gets each line (without its line end), naming the
// source as `sourceName`. Errors the source raises pass through unchanged and change nothing here.
std::unique_ptr<TLoadSource> ReportReadings(std::unique_ptr<TLoadSource> source, const std::string& sourceName,
                                            std::function<void(const std::string&)> print);

}  // namespace varnel
