// Parsing the "cpu" lines of /proc/stat and the load between two snapshots.
#include "platform/registry/CpuLoad.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

#include "base/Numbers.h"

namespace varnel {
namespace {

bool Blank(char c) { return c == ' ' || c == '\t'; }

constexpr std::uint64_t kPowersOfTen[9] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};

std::uint64_t Word(const char* p) {
  std::uint64_t x;
  std::memcpy(&x, p, 8);
  if constexpr (std::endian::native == std::endian::big) x = __builtin_bswap64(x);
  return x;  // the first character in the low byte
}

// The bytes of x (a character each) that are not decimal digits, as their top bits. A byte below
// '0' sets its top bit when '0' is taken away, one above '9' when 0x46 is added; what a borrow or
// carry does to the bytes after the first such byte does not matter. For a word of four or eight
// characters.
template <class U>
U NotDigits(U x) {
  return ((x - static_cast<U>(0x3030303030303030u)) | (x + static_cast<U>(0x4646464646464646u))) &
         static_cast<U>(0x8080808080808080u);
}

// How many of the 8 characters at p are decimal digits before the first that is not (0..8).
int LeadingDigits(const char* p) {
  const std::uint64_t other = NotDigits(Word(p));
  return other ? std::countr_zero(other) >> 3 : 8;
}

// The number written by eight digits whose values (0..9) are the bytes of x, the first digit in
// the low byte: pairs, then groups of four, then the eight.
std::uint64_t DigitBytesValue(std::uint64_t x) {
  x = (x * 2561) >> 8;
  x = ((x & 0x00FF00FF00FF00FFu) * 6553601) >> 16;
  return ((x & 0x0000FFFF0000FFFFu) * 42949672960001u) >> 32;
}

// The value of the first n (1..8) characters at p, all digits.
std::uint64_t EightDigitsValue(const char* p, int n) {
  // The digits move to the top bytes; the bytes shifted in are zeros, leading zero digits.
  return DigitBytesValue((Word(p) & 0x0F0F0F0F0F0F0F0Fu) << (8 * (8 - n)));
}

// The counters from position i on, into out; false when there are fewer than four. `end`, when
// given, receives where reading stopped.
bool ParseCounters(const char* data, std::size_t size, std::size_t i, TCpuTimes& out, std::size_t* end = nullptr,
                   int fields = TCpuTimes::kFields) {
  TCpuTimes t;
  const char* p = data + i;
  const char* const last = data + size;
  while (t.Count < fields) {
    while (p < last && Blank(*p)) ++p;
    if (p == last) break;
    auto digit = static_cast<unsigned>(*p - '0');
    if (digit > 9) break;
    std::uint64_t v = 0;
    int digits = 0;
    // Eight characters at a time while eight are left: a snapshot of many cores is thousands of
    // numbers, and a digit at a time is a chain of dependent steps.
    while (last - p >= 8 && digits <= 10) {
      const int n = LeadingDigits(p);
      if (n == 0) break;  // the number ended with the eight before
      v = v * kPowersOfTen[n] + EightDigitsValue(p, n);
      p += n;
      digits += n;
      if (n < 8) break;
    }
    // The rest a digit at a time; once above kMaxCpuTicks the value stays there (10 times it
    // and 9 more still fit in 64 bits). Leading zeros are read as zeros, however many.
    for (; p < last && (digit = static_cast<unsigned>(*p - '0')) <= 9; ++p)
      if (v <= kMaxCpuTicks) v = v * 10 + digit;
    if (v > kMaxCpuTicks) v = kMaxCpuTicks;
    if (p < last && !Blank(*p) && *p != '\n' && *p != '\r') break;  // "12ab": not a number
    t.Ticks[t.Count++] = v;
  }
  if (end) *end = static_cast<std::size_t>(p - data);
  if (t.Count < 4) return false;
  out = t;
  return true;
}

// A core's guest times are inside its user and nice times and count nowhere else: its line is
// read up to steal.
constexpr int kCoreFields = TCpuLoadMeter::kCounted;

// A core's counters the quick way, for the lines the kernel writes: each counter after one space,
// 1 to 16 digits, the last followed by a blank or the line's end. From p (the space after the
// core's number) on, at least kQuickNeeds characters readable; `length` receives where reading
// stopped. False for anything else, which the general reading then decides.
constexpr std::size_t kQuickNeeds = kCoreFields * 17 + 8;
bool QuickCoreCounters(const char* p, std::uint64_t* v, std::size_t& length) {
  const char* q = p;
  for (int k = 0; k < kCoreFields; ++k) {
    if (*q != ' ') return false;
    ++q;
    const std::uint64_t x = Word(q);
    // Each digit's value, in the bytes before the first that is not a digit.
    const std::uint64_t digits = x - 0x3030303030303030u;
    const std::uint64_t other = (digits | (x + 0x4646464646464646u)) & 0x8080808080808080u;  // as NotDigits
    // The first character that is not a digit, the n-th, sets bit 8n + 7; eight digits set none.
    // Eight digits take a branch of their own: after them the next counter's reading can start
    // before this one's length is worked out.
    const unsigned low = other ? static_cast<unsigned>(std::countr_zero(other)) : 64;
    const unsigned n = low >> 3;
    if (n == 0) return false;
    // The digits move to the top bytes (by 64 - 8n bits, none for eight).
    std::uint64_t value = DigitBytesValue(digits << (64 - (low & 0x78)));
    q += n;
    if (n == 8 && static_cast<unsigned>(*q - '0') <= 9) {
      const int more = LeadingDigits(q);
      if (more == 8) return false;
      value = value * kPowersOfTen[more] + EightDigitsValue(q, more);
      q += more;
    }
    v[k] = value;
  }
  if (!Blank(*q) && *q != '\n' && *q != '\r') return false;
  length = static_cast<std::size_t>(q - p);
  return true;
}

// ParseCoreTimes, also giving where reading stopped in `end` (on success or failure), and free to
// leave anything in `number` and `out` when it fails.
bool ParseCoreLine(const char* data, std::size_t size, std::uint32_t& number, TCpuTimes& out, std::size_t& end) {
  end = 0;
  if (size < 5 || data[0] != 'c' || data[1] != 'p' || data[2] != 'u' || data[3] < '0' || data[3] > '9') return false;
  std::size_t i = 3;
  std::uint64_t n = 0;
  // A number of up to three digits (a machine's first thousand cores) four characters at a
  // time, one of up to seven eight at a time, when they are there; a longer one a digit at a
  // time, stopped at 2^31.
  if (size >= 11) {
    const std::uint64_t x = Word(data + 3);
    const auto w = static_cast<std::uint32_t>(x);
    const std::uint32_t other = NotDigits(w);
    if (other) {
      // The first non-digit, the d-th character (1..3), sets bit 8d + 7; the digits move to the
      // top bytes, then pairs and the four are added up as for eight.
      const int digits = std::countr_zero(other) >> 3;
      std::uint32_t v = (w & 0x0F0F0F0Fu) << (8 * (4 - digits));
      v = (v * 10 + (v >> 8)) & 0x00FF00FFu;
      n = (v * 100 + (v >> 16)) & 0xFFFFu;
      i += static_cast<std::size_t>(digits);
    } else if (const int digits = LeadingDigits(data + 3); digits < 8) {
      n = EightDigitsValue(data + 3, digits);
      i += static_cast<std::size_t>(digits);
    }
  }
  for (; i < size && data[i] >= '0' && data[i] <= '9'; ++i) {
    n = n * 10 + static_cast<std::uint64_t>(data[i] - '0');
    if (n >= (std::uint64_t(1) << 31)) return false;
  }
  end = i;
  if (i == size || !Blank(data[i]) || (data[3] == '0' && i > 4)) return false;  // "cpu1x", "cpu007"
  std::size_t length;
  if (size - i >= kQuickNeeds && QuickCoreCounters(data + i, out.Ticks, length)) {
    for (int f = kCoreFields; f < TCpuTimes::kFields; ++f) out.Ticks[f] = 0;
    out.Count = kCoreFields;
    end = i + length;
  } else if (!ParseCounters(data, size, i, out, &end, kCoreFields)) {
    return false;
  }
  number = static_cast<std::uint32_t>(n);
  return true;
}

}  // namespace

bool ParseCpuTimes(const char* data, std::size_t size, TCpuTimes& out) {
  if (size < 4 || data[0] != 'c' || data[1] != 'p' || data[2] != 'u' || !Blank(data[3])) return false;
  return ParseCounters(data, size, 3, out);
}

bool ParseCoreTimes(const char* data, std::size_t size, std::uint32_t& number, TCpuTimes& out) {
  std::size_t end;
  std::uint32_t n;
  TCpuTimes t;
  if (!ParseCoreLine(data, size, n, t, end)) return false;
  number = n;
  out = t;
  return true;
}

int TCpuLoadMeter::Update(const std::uint64_t* now) {
  // Without a previous snapshot FPrevious is all zeros: the time since boot. The first eight
  // counters' differences two at a time (a snapshot of many cores does this for each core):
  // counters are at most 2^60, so a difference is negative exactly when the counter went back,
  // and is then taken as 0.
  using TPair = std::int64_t __attribute__((vector_size(16)));
  TPair sum{};
  std::uint64_t idle = 0;
  for (int f = 0; f < 8; f += 2) {
    TPair a, b;
    std::memcpy(&a, now + f, sizeof a);
    std::memcpy(&b, FPrevious + f, sizeof b);
    TPair d = a - b;
    d &= ~(d >> 63);
    sum += d;
    // idle and iowait (3 and 4); the rest is busy: user, nice, system, irq, softirq, steal
    // (guest and guest_nice, 8 and 9, count nowhere).
    if (f == 2) idle += static_cast<std::uint64_t>(d[1]);
    if (f == 4) idle += static_cast<std::uint64_t>(d[0]);
  }
  std::memcpy(FPrevious, now, sizeof FPrevious);
  const std::uint64_t total = static_cast<std::uint64_t>(sum[0]) + static_cast<std::uint64_t>(sum[1]);  // at most 8 * 2^60
  const std::uint64_t busy = total - idle;
  if (total == 0) return FLoad;
  if (total < (std::uint64_t(1) << 57)) {
    // 100 * busy / total to the nearest whole, halves to even, exactly: 100 * busy fits 64 bits.
    const std::uint64_t scaled = 100 * busy, whole = scaled / total, twiceRest = 2 * (scaled % total);
    FLoad = static_cast<int>(whole + (twiceRest > total || (twiceRest == total && (whole & 1))));
    return FLoad;
  }
  // Counters since boot near the cap, which no machine reaches: in doubles.
  const std::int64_t load = Round(100.0 * static_cast<double>(busy) / static_cast<double>(total));
  FLoad = static_cast<int>(load < 0 ? 0 : load > 100 ? 100 : load);
  return FLoad;
}

// The parsing and the meter inlined: the loop is the reading of a many-core machine.
[[gnu::flatten]] std::size_t TCoreLoadMeters::UpdateKnownLines(const char*& start, const char* end, bool complete) {
  const char* p = start;
  TCore* core = FCores.data();
  const TLineHead* head = FHeads.data();
  for (TCore* const last = core + FCores.size(); core != last; ++core, ++head) {
    if (!core->Present || head->Length == 0 || static_cast<std::size_t>(end - p) < head->Length + kQuickNeeds) break;
    if ((Word(p) & head->Mask) != head->Word) break;
    // The line's end first, as in the general reading: where the next line starts then does not
    // wait for this one's counters, which cannot run past it.
    const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    if (!nl && !complete) break;  // the text was cut inside this line
    std::uint64_t now[kCoreFields];
    std::size_t length;
    if (!QuickCoreCounters(p + head->Length, now, length)) break;
    core->Load = core->Meter.Update(now);
    p = nl ? nl + 1 : end;
  }
  start = p;
  return static_cast<std::size_t>(core - FCores.data());
}

void TCoreLoadMeters::Update(const char* data, std::size_t size, bool complete) {
  const char* const end = data + size;
  const char* first = size ? static_cast<const char*>(std::memchr(data, '\n', size)) : nullptr;
  const char* p = first ? first + 1 : end;
  // The usual snapshot begins with the lines of the cores kept, in their order, each present before
  // and now: those are read straight into their meters.
  const std::size_t paired = UpdateKnownLines(p, end, complete);

  // The rest go in FLines[0 .. count); its slots are kept from one snapshot to the next and
  // written over, never cleared.
  std::size_t count = 0;
  // The lines must ascend from the last core paired on: a line for a core paired already is a
  // repeat, and a smaller number a core out of order.
  bool ascending = true;
  std::uint32_t last = paired ? FCores[paired - 1].Number : 0;  // the number of the last line kept
  // The next slot, FLines[count], and how many slots there are.
  std::size_t slots = FLines.size();
  TLine* line = FLines.data();
  // A file of more lines than twice the cores kept is read only that far: the work stays bounded.
  while (p < end && paired + count < 2 * kMaxCores) {
    const auto left = static_cast<std::size_t>(end - p);
    if (left < 3 || p[0] != 'c' || p[1] != 'p' || p[2] != 'u') break;
    // The line's end is found before its counters are read, so where the next line starts does
    // not wait for the reading. A line's counters stop at its line end, so they are never taken
    // from the next line. Read in place into the next slot, which counts only when the line is
    // kept.
    const char* nl = static_cast<const char*>(std::memchr(p, '\n', left));
    if (count == slots) {
      FLines.emplace_back();
      slots = FLines.size();
      line = FLines.data() + count;
    }
    std::size_t stop = 0;
    const bool ok = ParseCoreLine(p, left, line->Number, line->Times, stop);
    const bool cut = !nl && !complete;  // the text was cut inside this line
    if (ok && !cut) {
      if ((count > 0 || paired > 0) && line->Number <= last) ascending = false;
      last = line->Number;
      ++count;
      ++line;
    }
    if (cut) break;
    p = nl ? nl + 1 : end;
  }
  if (!ascending) {
    // Out of order or repeated: in order of number, of each number the first line, and none for
    // a core paired above (its line came first).
    const auto first = FLines.begin(), last = FLines.begin() + static_cast<std::ptrdiff_t>(count);
    for (std::size_t i = 0; i < count; ++i) FLines[i].Order = static_cast<std::uint32_t>(i);
    std::sort(first, last,
              [](const TLine& a, const TLine& b) { return a.Number != b.Number ? a.Number < b.Number : a.Order < b.Order; });
    auto kept = std::unique(first, last, [](const TLine& a, const TLine& b) { return a.Number == b.Number; });
    const auto pairedEnd = FCores.begin() + static_cast<std::ptrdiff_t>(paired);
    kept = std::remove_if(first, kept, [&](const TLine& l) {
      const auto at = std::lower_bound(FCores.begin(), pairedEnd, l.Number,
                                       [](const TCore& c, std::uint32_t n) { return c.Number < n; });
      return at != pairedEnd && at->Number == l.Number;
    });
    count = static_cast<std::size_t>(kept - first);
  }

  // Both lists ascend: one walk pairs each remaining core with its line.
  FMerged.clear();
  std::size_t i = paired, k = 0;
  while (i < FCores.size() || k < count) {
    if (k == count || (i < FCores.size() && FCores[i].Number < FLines[k].Number)) {
      FCores[i].Present = false;  // away: no load until it is back
      FCores[i].Load.reset();
      ++i;
    } else if (i == FCores.size() || FLines[k].Number < FCores[i].Number) {
      if (FCores.size() + FMerged.size() < kMaxCores) {
        TCore core;
        core.Number = FLines[k].Number;
        core.Present = true;
        core.Meter = TCpuLoadMeter(FLines[k].Times);  // a new start: no load before the next snapshot
        FMerged.push_back(core);
      }
      ++k;
    } else {
      TCore& core = FCores[i];
      if (core.Present) {
        core.Load = core.Meter.Update(FLines[k].Times);
      } else {
        core.Meter = TCpuLoadMeter(FLines[k].Times);
        core.Present = true;
      }
      ++i;
      ++k;
    }
  }
  if (!FMerged.empty()) {
    // Numbers are unique: a plain sort (the library's merge and stable sort take a temporary
    // buffer that the sanitizer build reports as a mismatched free).
    FCores.insert(FCores.end(), FMerged.begin(), FMerged.end());
    std::sort(FCores.begin(), FCores.end(), [](const TCore& a, const TCore& b) { return a.Number < b.Number; });
    FHeads.resize(FCores.size());
    for (std::size_t c = 0; c < FCores.size(); ++c) FHeads[c] = LineHead(FCores[c].Number);
    ++FGeneration;
  }
}

TCoreLoadMeters::TLineHead TCoreLoadMeters::LineHead(std::uint32_t number) {
  const std::string name = "cpu" + std::to_string(number);
  TLineHead head;
  if (name.size() > 8) return head;  // read the general way
  head.Length = static_cast<unsigned>(name.size());
  char bytes[8] = {};
  std::memcpy(bytes, name.data(), name.size());
  head.Word = Word(bytes);
  head.Mask = name.size() == 8 ? ~std::uint64_t(0) : (std::uint64_t(1) << (8 * name.size())) - 1;
  return head;
}

void TCoreLoadMeters::MarkAllAway() {
  for (TCore& core : FCores) {
    core.Present = false;
    core.Load.reset();
  }
}

}  // namespace varnel
