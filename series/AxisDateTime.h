// Calendar helpers of the date-time axes: TDateTime (days since 30 December 1899) to and from
// year, month and day, month stepping, and FormatDateTime, the date-time format language of
// axis labels with a fixed English locale.
//
//   FormatDateTime("dd mmm yyyy hh:mm", EncodeDate(2023, 12, 31) + 0.5) == "31 Dec 2023 12:00"
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

// The locale the labels are written in: English names, ISO-style dates.
inline constexpr const char* ShortDateFormat = "yyyy/mm/dd";
inline constexpr const char* LongDateFormat = "dddd, d mmmm yyyy";
inline constexpr const char* ShortTimeFormat = "hh:nn:ss";
inline constexpr const char* LongTimeFormat = "hh:nn:ss";
inline constexpr char DateSeparator = '-';
inline constexpr char TimeSeparator = ':';
inline constexpr const char* TimeAMString = "AM";
inline constexpr const char* TimePMString = "PM";

// Formats a date-time. Specifiers, in upper or lower case:
//   d dd          day of the month, without and with a leading zero
//   ddd dddd      abbreviated and full day name (Sun, Sunday)
//   ddddd dddddd  the short and the long date format
//   m mm          month without and with a leading zero; minutes when right after h or hh
//   mmm mmmm      abbreviated and full month name (Jan, January)
//   yy yyyy       year in two and in four digits
//   h hh          hour, 24-hour clock unless an am/pm specifier follows later in the pattern
//   n nn, s ss    minutes, seconds; z zzz milliseconds (without and with leading zeros)
//   t tt          the short and the long time format
//   c             short date, then (unless the time is exactly midnight) a blank and long time
//   am/pm a/p     12-hour clock, "am"/"pm" or "a"/"p" in the case they are written in
//   ampm          12-hour clock, TimeAMString or TimePMString
//   / :           the locale's date and time separators
//   "..." '...'   text copied as it stands
// Every other character is copied. An empty pattern formats as "c". Times are rounded to the
// millisecond; 86,400,000 milliseconds carry into the next day.
std::string FormatDateTime(std::string_view pattern, TDateTime v);

}  // namespace varnel
