// Line breaking at blanks, and inside words too long for a line.
#include "ui/TextWrap.h"

#include <vector>

namespace varnel {

namespace {

// The length of the UTF-8 character that starts at s[i] (1 for a stray byte).
std::size_t CharLength(std::string_view s, std::size_t i) {
  const auto c = static_cast<unsigned char>(s[i]);
  std::size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
  if (i + n > s.size()) n = 1;
  for (std::size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 1;
  return n;
}

// Breaks one paragraph (no line breaks inside) into lines.
void WrapParagraph(std::string_view text, int maxWidth, const std::function<int(std::string_view)>& width,
                   std::vector<std::string>& lines) {
  std::string line;
  bool started = false;
  std::size_t pos = 0;
  while (true) {
    const std::size_t blank = text.find(' ', pos);
    const std::string word(text.substr(pos, blank == std::string_view::npos ? std::string_view::npos : blank - pos));
    if (!started) {
      line = word;
      started = true;
    } else if (const std::string candidate = line + " " + word; width(candidate) <= maxWidth) {
      line = candidate;
    } else {
      lines.push_back(line);
      line = word;
    }
    // A line that is a single word too wide: cut it where the limit falls.
    while (width(line) > maxWidth) {
      std::size_t cut = CharLength(line, 0);  // at least one character a line
      while (cut < line.size()) {
        const std::size_t next = cut + CharLength(line, cut);
        if (width(std::string_view(line).substr(0, next)) > maxWidth) break;
        cut = next;
      }
      if (cut >= line.size()) break;
      lines.push_back(line.substr(0, cut));
      line.erase(0, cut);
    }
    if (blank == std::string_view::npos) break;
    pos = blank + 1;
  }
  lines.push_back(line);
}

}  // namespace

std::string WrapText(const std::string& text, int maxWidth, const std::function<int(std::string_view)>& width) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find('\n', start);
    WrapParagraph(std::string_view(text).substr(start, end == std::string::npos ? std::string::npos : end - start),
                  maxWidth, width, lines);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) out += '\n';
    out += lines[i];
  }
  return out;
}

void OneLineTooltip(std::string_view text, std::string& out) {
  std::size_t characters = 0;
  for (const char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
  if (characters > OneLineCharacters) {
    out.assign(text);
    return;
  }
  out.clear();
  for (const char c : text) {
    if (c == ' ')
      out += "\xC2\xA0";
    else
      out += c;
  }
}

}  // namespace varnel
