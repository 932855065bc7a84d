// The bodies of the settings-file fuzz targets, shared with the ordinary tests that replay their
// saved corpora. Both check the settings text functions against a small reference reader written
// here from the file format's rules, which reads the whole file in one pass; every check is a
// pass or two over the input, so a run costs microseconds.
//
//   EXPECT_TRUE(FuzzProfileText(bytes.data(), bytes.size()));
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/profile/ProfileText.h"

namespace varnel::fuzz {

// ---- The reference reader ------------------------------------------------------------------

inline char LowerChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Names compare without regard to ASCII case.
inline int CompareNames(std::string_view a, std::string_view b) {
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
    if (LowerChar(a[i]) != LowerChar(b[i])) return LowerChar(a[i]) < LowerChar(b[i]) ? -1 : 1;
  return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

inline std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// What a key's stored value reads as: blanks around it and one pair of matching quotes go.
inline std::string_view ReadForm(std::string_view v) {
  v = TrimBlanks(v);
  if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) v = v.substr(1, v.size() - 2);
  return v;
}

struct TRefLine {
  enum TKind { Other, Header, Key };
  std::string_view Text;    // without its ending
  std::string_view Ending;  // "", LF, CR LF or CR
  TKind Kind = Other;
  std::string_view Name;    // the section of a header, the key of a key line
};

// A value the file gives: the key of the first section of its name, the first key of its name.
struct TRefValue {
  std::string_view Section, Key, Value;
};

inline bool NameLess(const TRefValue& a, const TRefValue& b) {
  const int c = CompareNames(a.Section, b.Section);
  return c != 0 ? c < 0 : CompareNames(a.Key, b.Key) < 0;
}

// A settings text read as the format says: a UTF-8 byte-order mark skipped, lines split at
// CR LF, LF or CR; values are the keys of the first section of each name, first key wins
// (sorted by name, for lookups and comparisons).
struct TRefFile {
  bool Bom = false;
  std::vector<TRefLine> Lines;
  std::vector<TRefValue> Values;

  explicit TRefFile(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
      Bom = true;
      text.remove_prefix(3);
    }
    // Where the next CR and the next LF are, from the start of what is left of `text`.
    auto find = [&](char c) {
      const void* at = std::memchr(text.data(), c, text.size());
      return at ? static_cast<std::size_t>(static_cast<const char*>(at) - text.data()) : text.size();
    };
    std::size_t cr = find('\r'), lf = find('\n');
    while (!text.empty()) {
      const std::size_t end = std::min(cr, lf);
      std::size_t next = end;
      if (next < text.size()) next += text.substr(end, 2) == "\r\n" ? 2 : 1;
      TRefLine line;
      line.Text = text.substr(0, end);
      line.Ending = text.substr(end, next - end);
      const std::string_view t = TrimBlanks(line.Text);
      if (!t.empty() && t[0] == '[') {
        line.Kind = TRefLine::Header;
        line.Name = TrimBlanks(t.substr(1, t.find(']') == std::string_view::npos ? t.npos : t.find(']') - 1));
      } else if (!t.empty() && t[0] != ';' && t.find('=') != std::string_view::npos) {
        line.Kind = TRefLine::Key;
        line.Name = TrimBlanks(t.substr(0, t.find('=')));
      }
      Lines.push_back(line);
      text.remove_prefix(next);
      cr = cr >= next ? cr - next : find('\r');
      lf = lf >= next ? lf - next : find('\n');
    }
    // Keys of every section occurrence, then only the first occurrence of each section name.
    // (Sorted by name, then by line: plain sorts, since the order of equal names must be the
    // file's.)
    struct TKeyAt {
      TRefValue Value;
      std::size_t HeaderLine, Line;
    };
    std::vector<TKeyAt> all;
    const TRefLine* header = nullptr;
    std::size_t headerLine = 0;
    for (std::size_t i = 0; i < Lines.size(); ++i) {
      if (Lines[i].Kind == TRefLine::Header) {
        header = &Lines[i];
        headerLine = i;
      } else if (Lines[i].Kind == TRefLine::Key && header) {
        const std::string_view t = TrimBlanks(Lines[i].Text);
        all.push_back({{header->Name, Lines[i].Name, ReadForm(t.substr(t.find('=') + 1))}, headerLine, i});
      }
    }
    std::sort(all.begin(), all.end(), [](const TKeyAt& a, const TKeyAt& b) {
      return NameLess(a.Value, b.Value) || (!NameLess(b.Value, a.Value) && a.Line < b.Line);
    });
    std::vector<std::pair<std::string_view, std::size_t>> firstHeader;  // section name, header line
    for (std::size_t i = 0; i < Lines.size(); ++i)
      if (Lines[i].Kind == TRefLine::Header) firstHeader.push_back({Lines[i].Name, i});
    std::sort(firstHeader.begin(), firstHeader.end(), [](const auto& a, const auto& b) {
      const int c = CompareNames(a.first, b.first);
      return c != 0 ? c < 0 : a.second < b.second;
    });
    auto firstOf = [&](std::string_view section) {
      return std::lower_bound(firstHeader.begin(), firstHeader.end(), section,
                              [](const auto& a, std::string_view n) { return CompareNames(a.first, n) < 0; })
          ->second;
    };
    for (const TKeyAt& k : all)
      if (k.HeaderLine == firstOf(k.Value.Section) && (Values.empty() || NameLess(Values.back(), k.Value)))
        Values.push_back(k.Value);
  }

  std::optional<std::string_view> Lookup(std::string_view section, std::string_view key) const {
    const TRefValue probe{section, key, {}};
    const auto it = std::lower_bound(Values.begin(), Values.end(), probe, NameLess);
    if (it == Values.end() || NameLess(probe, *it)) return std::nullopt;
    return it->Value;
  }
};

// One key write: the value the key must read as afterwards.
struct TRefWrite {
  std::string Section, Key, Value;
};

// What a sequence of key writes may change: the lines of the written keys (replaced or added),
// the headers of sections it added, and the ending of a last line that had none. Every other
// line, with its ending, stays as it was.
inline bool SameUntouchedLines(const TRefFile& before, const TRefFile& after, const std::vector<TRefWrite>& written) {
  auto untouched = [&](const TRefFile& f) {
    std::vector<const TRefLine*> out;
    for (const TRefLine& line : f.Lines) {
      bool touched = false;
      for (const TRefWrite& w : written)
        touched = touched || (line.Kind == TRefLine::Key && CompareNames(line.Name, w.Key) == 0) ||
                  (line.Kind == TRefLine::Header && CompareNames(line.Name, w.Section) == 0);
      if (!touched) out.push_back(&line);
    }
    return out;
  };
  const std::vector<const TRefLine*> a = untouched(before), b = untouched(after);
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i]->Text != b[i]->Text || (a[i]->Ending != b[i]->Ending && !a[i]->Ending.empty())) return false;
  return true;
}

// The values `before` gives with `written` (the last write of each name counting) applied.
inline bool ValuesAfterWrites(const TRefFile& before, const TRefFile& after, const std::vector<TRefWrite>& written) {
  std::size_t expected = before.Values.size();
  for (std::size_t i = 0; i < written.size(); ++i) {
    const TRefWrite& w = written[i];
    bool later = false;
    for (std::size_t j = i + 1; j < written.size(); ++j)
      later = later || (CompareNames(written[j].Section, w.Section) == 0 && CompareNames(written[j].Key, w.Key) == 0);
    if (later) continue;
    if (after.Lookup(w.Section, w.Key) != std::optional<std::string_view>(w.Value)) return false;
    if (!before.Lookup(w.Section, w.Key)) ++expected;
  }
  if (after.Values.size() != expected) return false;
  for (const TRefValue& v : before.Values) {
    bool isWritten = false;
    for (const TRefWrite& w : written)
      isWritten = isWritten || (CompareNames(v.Section, w.Section) == 0 && CompareNames(v.Key, w.Key) == 0);
    if (!isWritten && after.Lookup(v.Section, v.Key) != std::optional<std::string_view>(v.Value)) return false;
  }
  return true;
}

// The line endings a text uses, as a set of flags: 1 LF, 2 CR LF, 4 CR.
inline int EndingKinds(const TRefFile& f) {
  int kinds = 0;
  for (const TRefLine& line : f.Lines) kinds |= line.Ending == "\n" ? 1 : line.Ending == "\r\n" ? 2 : line.Ending == "\r" ? 4 : 0;
  return kinds;
}

// After writes to `before` giving `after`: the written keys read as written, every other key
// reads as before, nothing else changed, the byte-order mark stayed, and a text with one kind
// of line ending still has only that kind (a text with none gets LF).
inline bool WritesKeptTheRest(const TRefFile& before, const TRefFile& after, const std::vector<TRefWrite>& written) {
  if (after.Bom != before.Bom || !ValuesAfterWrites(before, after, written)) return false;
  if (!SameUntouchedLines(before, after, written)) return false;
  const int kinds = EndingKinds(before);
  const bool single = kinds == 1 || kinds == 2 || kinds == 4;
  return kinds == 0 ? (EndingKinds(after) & ~1) == 0 : !single || EndingKinds(after) == kinds;
}

// ---- The targets -----------------------------------------------------------------------------

// The settings file text: lookups agree with the reference reader, and setting a key makes it
// read back while every other key and line stays as it was.
inline bool FuzzProfileText(const std::uint8_t* data, std::size_t size) {
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  const TRefFile ref(content);
  struct TName {
    std::string_view Section, Key;
  };
  static constexpr TName kNames[] = {{"FENDUL", "Top"}, {"fendul", "3D View"}, {"FENDUL", "Colors - Line"},
                                     {"a", "b"},        {"", "x"},             {"A", "B"}};
  for (const TName& n : kNames) {
    const std::optional<std::string_view> v = ProfileLookup(content, n.Section, n.Key);
    if (v && (v->data() < content.data() || v->data() + v->size() > content.data() + size)) return false;
    if (v != ref.Lookup(n.Section, n.Key)) return false;
  }
  // One update a run, of the name the input's size picks: the fuzzer varies sizes anyway.
  const TName& n = kNames[size % std::size(kNames)];
  const std::optional<std::string> updated = ProfileUpdate(content, n.Section, n.Key, "-123");
  if (!updated || updated->size() > size + 64) return false;  // every name here can be stored
  if (!WritesKeptTheRest(ref, TRefFile(*updated), {{std::string(n.Section), std::string(n.Key), "-123"}}))
    return false;
  // Names that cannot be stored are refused, never written.
  return !ProfileUpdate(content, "FENDUL", "a=b", "1") && !ProfileUpdate(content, "FENDUL", "Top", "1\n[X]");
}

// Writing: the input's first byte gives a count of operations, each three bytes (kind, name,
// value); the rest is the file. Writes go through ProfileUpdate, as a save does; reads compare
// ProfileLookup with the reference reader. Afterwards every key written reads back as written,
// and every other key, comment and unknown line is unchanged.
inline bool FuzzProfileWrites(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return true;
  std::size_t ops = data[0] % 16;
  ops = std::min(ops, (size - 1) / 3);
  const std::uint8_t* op = data + 1;
  const std::string_view file(reinterpret_cast<const char*>(data + 1 + 3 * ops), size - 1 - 3 * ops);
  static constexpr std::string_view kSections[] = {"FENDUL", "fendul", "Other", "A b", ""};
  static constexpr std::string_view kKeys[] = {"Top", "TOP", "Colors - Line", "3D View", "x", "a=b", " pad"};
  static constexpr std::string_view kValues[] = {"7",     "-2147483648", "",       " 5 ",   "\"90\"", "'x'",
                                                 "\"",    "a=b",         "[S]",    ";c",    "1\n[X]", "1\r"};
  const TRefFile before(file);
  std::string text(file);
  std::vector<TRefWrite> written;
  for (std::size_t i = 0; i < ops; ++i, op += 3) {
    const std::string_view section = kSections[op[1] % std::size(kSections)];
    const std::string_view key = kKeys[(op[1] / 8) % std::size(kKeys)];
    const std::string_view value = kValues[op[2] % std::size(kValues)];
    if (op[0] & 1) {
      if (ProfileLookup(text, section, key) != TRefFile(text).Lookup(section, key)) return false;
      continue;
    }
    const bool storable = key != "a=b" && key != " pad" && value.find_first_of("\r\n") == std::string_view::npos;
    std::optional<std::string> updated = ProfileUpdate(text, section, key, value);
    if (updated.has_value() != storable) return false;
    if (!updated) continue;
    text = std::move(*updated);
    written.push_back({std::string(section), std::string(key), std::string(ReadForm(value))});
  }
  const TRefFile after(text);
  for (const TRefWrite& w : written)
    if (ProfileLookup(text, w.Section, w.Key) != after.Lookup(w.Section, w.Key)) return false;
  return WritesKeptTheRest(before, after, written);
}

}  // namespace varnel::fuzz
