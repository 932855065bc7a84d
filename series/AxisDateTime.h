// Calendar helpers of the date-time axes: TDateTime (days since 30 December 1899) to and from
// year, month and day, month stepping, and FormatDateTime with fixed, locale-free patterns.
//
//   FormatDateTime("yyyy-mm-dd hh:nn", EncodeDate(2024, 2, 29) + 0.5) == "2024-02-29 12:00"
#pragma once
#include <string>
#include <string_view>

#include "series/ChartAxis.h"

namespace varnel {

struct TDateParts {
  int Year = 1899;
  int Month = 12;
  int Day = 30;
};

// The date of a TDateTime (the time of day dropped, rounding toward earlier days).
TDateParts DecodeDate(TDateTime v);
// The TDateTime of midnight of a date; the day is clamped to the month's length.
TDateTime EncodeDate(int year, int month, int day);
int DaysInMonth(int year, int month);
// The same day `months` months earlier (negative: later), clamped to the month's length.
TDateTime IncMonth(TDateTime date, int months);

// The date format of labels on an axis that spans more than a day, and the time format of one
// that spans less.
inline constexpr const char* ShortDateFormat = "yyyy-mm-dd";
inline constexpr const char* ShortTimeFormat = "hh:nn:ss";

// Pattern letters: yyyy, yy, m, mm (month), d, dd, h, hh, n, nn (minutes), s, ss; text in
// quotes and every other character are copied.
std::string FormatDateTime(std::string_view pattern, TDateTime v);

}  // namespace varnel
