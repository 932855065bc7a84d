// The pixel scale arithmetic and the choice of the screen's pixels per inch.
#include "base/PixelScale.h"

#include <climits>
#include <cstdint>

namespace varnel {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int ScaleBetween(int v, int to, int from) {
  if (to <= 0 || from <= 0 || to == from) return v;
  const std::int64_t p = static_cast<std::int64_t>(v) * to;  // |p| < 2^62
  const std::int64_t half = from / 2;
  std::int64_t r = p >= 0 ? (p + half) / from : (p - half) / from;
  if (r > INT_MAX) r = INT_MAX;
  if (r < INT_MIN) r = INT_MIN;
  if (r == 0 && v != 0) r = v > 0 ? 1 : -1;
  return static_cast<int>(r);
}

std::optional<int> ParsePixelsPerInch(std::string_view text) {
  text = Trim(text);
  std::size_t i = 0;
  std::int64_t whole = 0;
  while (i < text.size() && IsDigit(text[i])) {
    whole = whole * 10 + (text[i] - '0');
    if (whole > 1000000) return std::nullopt;
    ++i;
  }
  if (i == 0) return std::nullopt;
  if (i < text.size() && text[i] == '.') {
    ++i;
    const std::size_t fraction = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    if (i > fraction && text[fraction] >= '5') ++whole;
  }
  if (i != text.size()) return std::nullopt;
  return static_cast<int>(whole);
}

std::optional<std::string_view> FindResourceValue(std::string_view database, std::string_view name) {
  std::optional<std::string_view> found;
  while (!database.empty()) {
    const std::size_t end = database.find('\n');
    std::string_view line = database.substr(0, end);
    database.remove_prefix(end == std::string_view::npos ? database.size() : end + 1);
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    if (Trim(line.substr(0, colon)) == name) found = Trim(line.substr(colon + 1));
  }
  return found;
}

TPixelsPerInchChoice ChooseScreenPixelsPerInch(std::optional<std::string_view> option,
                                               std::optional<std::string_view> resourceDatabase) {
  TPixelsPerInchChoice choice;
  std::optional<std::string_view> given;
  std::string source;
  if (option) {
    given = option;
    source = "--dpi";
  } else if (resourceDatabase) {
    given = FindResourceValue(*resourceDatabase, "Xft.dpi");
    source = "the X resource Xft.dpi";
  }
  if (!given) return choice;
  const std::optional<int> v = ParsePixelsPerInch(*given);
  if (v && *v >= MinPixelsPerInch && *v <= MaxPixelsPerInch) {
    choice.PixelsPerInch = *v;
    return choice;
  }
  // Show at most 40 characters of what was given, printable ones only.
  std::string shown;
  for (char c : given->substr(0, 40)) shown += c >= 0x20 && c < 0x7F ? c : '?';
  choice.Warning = source + " \"" + shown + "\" is not a number of pixels per inch in " +
                   std::to_string(MinPixelsPerInch) + ".." + std::to_string(MaxPixelsPerInch) + "; using " +
                   std::to_string(DesignPixelsPerInch);
  return choice;
}

}  // namespace varnel
