// Calendar arithmetic and the date-time label formatter.
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
  if (!std::isfinite(v)) v = 0;
  const TDateParts date = DecodeDate(v);
  double frac = v - std::floor(v);
  long long secs = std::llround(frac * 86400.0);
  if (secs >= 86400) secs = 86399;
  const long long hour = secs / 3600;
  const long long minute = secs / 60 % 60;
  const long long second = secs % 60;
  std::string out;
  std::size_t i = 0;
  const auto run = [&](char c) {
    std::size_t n = 0;
    while (i + n < pattern.size() && (pattern[i + n] | 0x20) == c) ++n;
    return n;
  };
  while (i < pattern.size()) {
    const char c = pattern[i];
    const char lower = static_cast<char>(c | 0x20);
    if (c == '"' || c == '\'') {
      const std::size_t end = pattern.find(c, i + 1);
      const std::size_t stop = end == std::string_view::npos ? pattern.size() : end;
      out.append(pattern.substr(i + 1, stop - i - 1));
      i = stop == pattern.size() ? stop : stop + 1;
      continue;
    }
    std::size_t n = 0;
    switch (lower) {
      case 'y':
        n = run('y');
        out += n >= 3 ? Pad(date.Year, 4) : Pad(date.Year % 100, 2);
        break;
      case 'm':
        n = std::min<std::size_t>(run('m'), 2);
        out += n == 2 ? Pad(date.Month, 2) : std::to_string(date.Month);
        break;
      case 'd':
        n = std::min<std::size_t>(run('d'), 2);
        out += n == 2 ? Pad(date.Day, 2) : std::to_string(date.Day);
        break;
      case 'h':
        n = std::min<std::size_t>(run('h'), 2);
        out += n == 2 ? Pad(hour, 2) : std::to_string(hour);
        break;
      case 'n':
        n = std::min<std::size_t>(run('n'), 2);
        out += n == 2 ? Pad(minute, 2) : std::to_string(minute);
        break;
      case 's':
        n = std::min<std::size_t>(run('s'), 2);
        out += n == 2 ? Pad(second, 2) : std::to_string(second);
        break;
      default:
        out += c;
        n = 1;
        break;
    }
    i += n;
  }
  return out;
}

}  // namespace varnel
