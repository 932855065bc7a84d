// Calendar arithmetic and FormatDateTime, the date-time format language of axis labels.
#include "series/AxisDateTime.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace varnel {

namespace {

// Days between 30 December 1899 and 1 January 1970.
constexpr long long kUnixOffset = 25569;

// Days since 1 January 1970 of a civil date (proleptic Gregorian calendar).
long long DaysFromCivil(long long y, int m, int d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(long long z, long long& y, int& m, int& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = yoe + era * 400 + (m <= 2);
}

std::string Pad(long long v, int width) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*lld", width, v);
  return buf;
}

constexpr const char* kShortMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr const char* kLongMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                             "July",    "August",   "September", "October", "November", "December"};
constexpr const char* kShortDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kLongDayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

constexpr long long kMSecsPerDay = 86400000;

// The parts of a date-time as the formatter shows them.
struct TStamp {
  TDateParts Date;
  int DayOfWeek = 0;  // 0 = Sunday
  long long MSec = 0;  // milliseconds since midnight
};

// The date is the whole part of the value, the time of day its fraction (also for values
// before 30 December 1899: -1.25 is 29 December 1899, 06:00). Rounding to the millisecond
// carries a time of 24:00 into the next day.
TStamp StampOf(TDateTime v) {
  if (!std::isfinite(v)) v = 0;
  const double magnitude = std::fmin(std::fabs(v), 1e9);
  const long long ms = std::llround(magnitude * static_cast<double>(kMSecsPerDay));
  const long long whole = ms / kMSecsPerDay;
  TStamp t;
  t.MSec = ms % kMSecsPerDay;
  const long long day = v < 0 ? -whole : whole;
  t.Date = DecodeDate(static_cast<double>(day));
  t.DayOfWeek = static_cast<int>(((day + 6) % 7 + 7) % 7);  // day 0 was a Saturday
  return t;
}

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view word) {
  if (text.size() - at < word.size()) return false;
  for (std::size_t k = 0; k < word.size(); ++k)
    if ((text[at + k] | 0x20) != word[k]) return false;
  return true;
}

// The length of the am/pm specifier at a position (am/pm, a/p or ampm), 0 when there is none.
std::size_t AmPmLength(std::string_view pattern, std::size_t at) {
  if (StartsWithNoCase(pattern, at, "am/pm")) return 5;
  if (StartsWithNoCase(pattern, at, "a/p")) return 3;
  if (StartsWithNoCase(pattern, at, "ampm")) return 4;
  return 0;
}

// Whether an am/pm specifier follows a position, outside quoted text.
bool AmPmFollows(std::string_view pattern, std::size_t at) {
  for (std::size_t i = at; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c == '"' || c == '\'') {
      const std::size_t end = pattern.find(c, i + 1);
      if (end == std::string_view::npos) return false;
      i = end;
    } else if (AmPmLength(pattern, i) > 0) {
      return true;
    }
  }
  return false;
}

void Append(std::string& out, std::string_view pattern, const TStamp& t, int depth);

// One specifier or literal at pattern[i]; returns the number of characters it took.
std::size_t AppendOne(std::string& out, std::string_view pattern, std::size_t i, const TStamp& t, int depth,
                      bool& afterHour) {
  const char c = pattern[i];
  const char lower = static_cast<char>(c | 0x20);
  const auto count = [&](char letter) {
    std::size_t n = 0;
    while (i + n < pattern.size() && (pattern[i + n] | 0x20) == letter) ++n;
    return n;
  };
  const long long hour = t.MSec / 3600000;
  const long long minute = t.MSec / 60000 % 60;
  const long long second = t.MSec / 1000 % 60;
  const auto number = [&](long long v, std::size_t n) { out += n >= 2 ? Pad(v, 2) : std::to_string(v); };
  bool hourSpecifier = false;
  std::size_t n = 1;
  if (c == '"' || c == '\'') {
    const std::size_t end = pattern.find(c, i + 1);
    const std::size_t stop = end == std::string_view::npos ? pattern.size() : end;
    out.append(pattern.substr(i + 1, stop - i - 1));
    return stop == pattern.size() ? stop - i : stop - i + 1;
  }
  // Am/pm specifiers are checked before the letters.
  if (const std::size_t ampm = lower == 'a' ? AmPmLength(pattern, i) : 0) {
    const bool pm = hour >= 12;
    if (ampm == 5)
      out.append(pattern.substr(pm ? i + 3 : i, 2));  // written case: "am"/"pm", "AM"/"PM"
    else if (ampm == 3)
      out += pattern[pm ? i + 2 : i];
    else
      out += pm ? TimePMString : TimeAMString;
    return ampm;
  }
  switch (lower) {
    case 'y':
      n = count('y');
      out += n <= 2 ? Pad(t.Date.Year % 100, 2) : Pad(t.Date.Year, 4);
      break;
    case 'm':
      n = count('m');
      if (n <= 2 && afterHour)
        number(minute, n);
      else if (n <= 2)
        number(t.Date.Month, n);
      else
        out += (n == 3 ? kShortMonthNames : kLongMonthNames)[t.Date.Month - 1];
      break;
    case 'd':
      n = count('d');
      if (n <= 2) {
        number(t.Date.Day, n);
      } else if (n <= 4) {
        out += (n == 3 ? kShortDayNames : kLongDayNames)[t.DayOfWeek];
      } else {
        Append(out, n == 5 ? ShortDateFormat : LongDateFormat, t, depth + 1);
        n = std::min<std::size_t>(n, 6);
      }
      break;
    case 'h': {
      n = std::min<std::size_t>(count('h'), 2);
      long long h = hour;
      if (AmPmFollows(pattern, i + n)) h = h % 12 == 0 ? 12 : h % 12;
      number(h, n);
      hourSpecifier = true;
      break;
    }
    case 'n':
      n = std::min<std::size_t>(count('n'), 2);
      number(minute, n);
      break;
    case 's':
      n = std::min<std::size_t>(count('s'), 2);
      number(second, n);
      break;
    case 'z':
      n = std::min<std::size_t>(count('z'), 3);
      out += n == 3 ? Pad(t.MSec % 1000, 3) : std::to_string(t.MSec % 1000);
      break;
    case 't':
      n = std::min<std::size_t>(count('t'), 2);
      Append(out, n == 1 ? ShortTimeFormat : LongTimeFormat, t, depth + 1);
      break;
    case 'c':
      Append(out, ShortDateFormat, t, depth + 1);
      if (t.MSec != 0) {
        out += ' ';
        Append(out, LongTimeFormat, t, depth + 1);
      }
      break;
    case '/':
      out += DateSeparator;
      return 1;  // separators and literals leave the hour context as it is ("hh:mm")
    case ':':
      out += TimeSeparator;
      return 1;
    default:
      out += c;
      return 1;
  }
  afterHour = hourSpecifier;
  return n;
}

void Append(std::string& out, std::string_view pattern, const TStamp& t, int depth) {
  if (depth > 2) return;  // the locale's formats do not refer to each other; a guard all the same
  bool afterHour = false;
  std::size_t i = 0;
  while (i < pattern.size()) i += AppendOne(out, pattern, i, t, depth, afterHour);
}

}  // namespace

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2) return (year % 4 == 0 && (year % 100 != 0 || year % 400 == 0)) ? 29 : 28;
  return kDays[(month - 1) % 12];
}

TDateParts DecodeDate(TDateTime v) {
  // Keep the day count far inside the range of the calendar arithmetic.
  const double days = std::isfinite(v) ? std::fmax(-1e9, std::fmin(1e9, std::floor(v))) : 0.0;
  long long y = 0;
  int m = 1;
  int d = 1;
  CivilFromDays(static_cast<long long>(days) - kUnixOffset, y, m, d);
  return TDateParts{static_cast<int>(y), m, d};
}

TDateTime EncodeDate(int year, int month, int day) {
  while (month < 1) {
    month += 12;
    --year;
  }
  while (month > 12) {
    month -= 12;
    ++year;
  }
  day = std::max(1, std::min(day, DaysInMonth(year, month)));
  return static_cast<double>(DaysFromCivil(year, month, day) + kUnixOffset);
}

TDateTime IncMonth(TDateTime date, int months) {
  const TDateParts p = DecodeDate(date);
  return EncodeDate(p.Year, p.Month - months, p.Day);
}

std::string FormatDateTime(std::string_view pattern, TDateTime v) {
  std::string out;
  Append(out, pattern.empty() ? std::string_view("c") : pattern, StampOf(v), 0);
  return out;
}

}  // namespace varnel
