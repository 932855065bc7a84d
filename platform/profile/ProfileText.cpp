// Finding and replacing keys in the text of a settings file, line by line, without copying
// lines: every scan is one pass over the text, whatever the line lengths.
#include "platform/profile/ProfileText.h"

#include <algorithm>
#include <cstring>

namespace varnel {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// One line of the text: [Start, End) is its content without the line ending, Next the start of
// the following line (the text's size after the last line).
struct TLine {
  std::size_t Start = 0, End = 0, Next = 0;
  bool HasEnding() const { return Next > End; }
};

// The lines of a text in order. Lines end in LF, CR LF or a CR alone. The next LF and the next CR
// are found with memchr and remembered, so a text of short lines costs one scan for each kind
// of ending, not one per line (a file with CR endings alone has no LF to find at all).
class TLineReader {
 public:
  TLineReader(std::string_view text, std::size_t start)
      : FText(text), FPos(std::min(start, text.size())), FNextLf(Find('\n')), FNextCr(Find('\r')) {}
  bool AtEnd() const { return FPos >= FText.size(); }
  TLine Next() {
    if (FNextLf < FPos) FNextLf = Find('\n');
    if (FNextCr < FPos) FNextCr = Find('\r');
    TLine line;
    line.Start = FPos;
    line.End = std::min(FNextLf, FNextCr);
    line.Next = line.End;
    if (line.End < FText.size()) line.Next += (FText[line.End] == '\r' && FText.substr(line.End + 1, 1) == "\n") ? 2 : 1;
    FPos = line.Next;
    return line;
  }

 private:
  std::size_t Find(char c) const {
    const void* at = std::memchr(FText.data() + FPos, c, FText.size() - FPos);
    return at ? static_cast<std::size_t>(static_cast<const char*>(at) - FText.data()) : FText.size();
  }
  std::string_view FText;
  std::size_t FPos;
  std::size_t FNextLf, FNextCr;
};

enum TLineKind { lkBlank, lkSection, lkKey, lkOther };

// What a line is, with the section name or the key name and value it holds.
struct TParsedLine {
  TLineKind Kind = lkOther;
  std::string_view Name;
  std::string_view Value;
};

// Outside the wanted section only section headers matter: with `headersOnly` any other line is
// lkOther after a look at its first non-blank character, and blank lines are not told apart.
TParsedLine ParseLine(std::string_view raw, bool headersOnly) {
  TParsedLine p;
  if (headersOnly) {
    std::size_t b = 0;
    while (b < raw.size() && IsBlank(raw[b])) ++b;
    if (b == raw.size() || raw[b] != '[') return p;
  }
  const std::string_view t = Trim(raw);
  if (t.empty()) {
    p.Kind = lkBlank;
  } else if (t[0] == '[') {
    p.Kind = lkSection;
    std::string_view name = t.substr(1);
    name = name.substr(0, name.find(']'));
    p.Name = Trim(name);
  } else if (t[0] != ';') {
    const std::size_t eq = t.find('=');
    if (eq != std::string_view::npos) {
      p.Kind = lkKey;
      p.Name = Trim(t.substr(0, eq));
      p.Value = Trim(t.substr(eq + 1));
    }
  }
  return p;
}

// A value with one pair of matching quotes around it is the text between them.
std::string_view Unquote(std::string_view v) {
  if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) return v.substr(1, v.size() - 2);
  return v;
}

std::size_t BodyStart(std::string_view content) {
  return content.substr(0, kBom.size()) == kBom ? kBom.size() : 0;
}

bool HasAny(std::string_view s, std::string_view chars) { return s.find_first_of(chars) != std::string_view::npos; }

const std::string_view kLineBreaks("\r\n\0", 3);

}  // namespace

bool SameTextAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

std::optional<std::string_view> ProfileLookup(std::string_view content, std::string_view section,
                                              std::string_view key) {
  bool inSection = false;
  for (TLineReader lines(content, BodyStart(content)); !lines.AtEnd();) {
    const TLine line = lines.Next();
    const TParsedLine p = ParseLine(content.substr(line.Start, line.End - line.Start), !inSection);
    if (p.Kind == lkSection) {
      if (inSection) return std::nullopt;  // the first section of that name has ended
      inSection = SameTextAscii(p.Name, section);
    } else if (inSection && p.Kind == lkKey && SameTextAscii(p.Name, key)) {
      return Unquote(p.Value);
    }
  }
  return std::nullopt;
}

std::optional<std::string> ProfileUpdate(std::string_view content, std::string_view section,
                                         std::string_view key, std::string_view value) {
  if (key.empty() || Trim(key).size() != key.size() || Trim(section).size() != section.size() || HasAny(key, "=") || key[0] == '[' || key[0] == ';' ||
      HasAny(key, kLineBreaks) || HasAny(section, "]") || HasAny(section, kLineBreaks) ||
      HasAny(value, kLineBreaks))
    return std::nullopt;

  // New lines take the ending of the file's first line: LF, CR LF or CR (LF for a file without one).
  const TLine first = TLineReader(content, BodyStart(content)).Next();
  const std::string_view eol =
      first.HasEnding() ? content.substr(first.End, first.Next - first.End) : std::string_view("\n");
  std::string keyLine;
  keyLine.reserve(key.size() + 1 + value.size());
  keyLine.append(key).append("=").append(value);

  bool inSection = false;
  TLine lastFilled;  // the section header or the last non-blank line inside the section
  for (TLineReader lines(content, BodyStart(content)); !lines.AtEnd();) {
    const TLine line = lines.Next();
    const TParsedLine p = ParseLine(content.substr(line.Start, line.End - line.Start), !inSection);
    if (p.Kind == lkSection) {
      if (inSection) break;
      inSection = SameTextAscii(p.Name, section);
      if (inSection) lastFilled = line;
      continue;
    }
    if (!inSection) continue;
    if (p.Kind == lkKey && SameTextAscii(p.Name, key)) {
      // The line becomes "Key=value", the key spelt as the file already has it.
      std::string out;
      out.reserve(content.size() + keyLine.size());
      out.append(content.substr(0, line.Start)).append(p.Name).append("=").append(value);
      out.append(content.substr(line.End));
      return out;
    }
    if (p.Kind != lkBlank) lastFilled = line;
  }

  std::string out;
  out.reserve(content.size() + section.size() + keyLine.size() + 8);
  if (inSection) {
    // Insert after the last non-blank line of the section, as a whole line.
    // The new line ends as the line before it does: a CR alone followed by a LF line would
    // otherwise become one CR LF, and a blank line would be lost.
    out.append(content.substr(0, lastFilled.Next));
    if (!lastFilled.HasEnding()) out.append(eol);
    const std::string_view ending =
        lastFilled.HasEnding() ? content.substr(lastFilled.End, lastFilled.Next - lastFilled.End) : eol;
    out.append(keyLine).append(ending).append(content.substr(lastFilled.Next));
    return out;
  }
  out.append(content);
  if (!out.empty() && out.back() != '\n' && out.back() != '\r' && out != kBom) out.append(eol);
  out.append("[").append(section).append("]").append(eol).append(keyLine).append(eol);
  return out;
}

}  // namespace varnel
