// The report of a load source that stops giving readings: without a reading the window keeps its
// caption and a flat line, so one line on standard error says why, the first time a reading fails,
// and one more when readings come back. Each change of state is told once, not every second.
//
//   TSampleSource read = ReportReadings(std::move(source), "/proc/stat", PrintLine);
#pragma once
#include <functional>
#include <string>

#include "app/Form1.h"

namespace varnel {

// `source` with the report added; `print` gets each line (without its line end). Errors the
// source raises pass through unchanged and change nothing here.
TSampleSource ReportReadings(TSampleSource source, const std::string& sourceName,
                             std::function<void(const std::string&)> print);

}  // namespace varnel
