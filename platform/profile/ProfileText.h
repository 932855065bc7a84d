// The text of a private-profile (settings) file: finding a key's value and producing the text
// with one key replaced or added. Pure functions over the whole file text; the file I/O is in
// PrivateProfile.h.
//
// The format: lines ending in LF, CR LF or a CR alone (a UTF-8 byte-order mark at the start is
// skipped); "[Name]" opens a section; "Key=Value" lines belong to the section above them; lines
// starting with ";" are comments. Blanks and tabs around names and values are not part of them,
// and neither is one pair of matching quotes (" or ') around a value. Section and key names
// match without regard to ASCII case; when a section or a key occurs twice, the first one counts.
//
//   ProfileLookup("[FENDUL]\nTop=7\n", "fendul", "TOP") == "7"
//   *ProfileUpdate("[FENDUL]\nTop=7\n", "FENDUL", "Left", "396") == "[FENDUL]\nTop=7\nLeft=396\n"
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace varnel {

// The value of `key` in the first section named `section`, as a view into `content`; no value
// when the section or the key is missing. A key line with nothing after "=" gives "", and
// `Key="90"` or `Key='90'` gives 90.
std::optional<std::string_view> ProfileLookup(std::string_view content, std::string_view section,
                                              std::string_view key);

// `content` with `key` of `section` set to `value`: the first matching key line becomes
// "Key=value" (the key spelt as in the file, the line ending kept); a missing key is added after
// the last non-blank line of the section; a missing section is added at the end. Every other
// byte is kept (a byte-order mark too). A key added to a section ends as the line before it
// does; other new lines take the ending of the file's first line (LF for a file without one). No value when the names or the value cannot be stored and read
// back: an empty key, a key or section with blanks around it, a key with "=" or starting with
// "[" or ";", a section with "]", or any of them holding CR, LF or NUL. (Blanks and a pair of quotes around a value are written but not read back.)
std::optional<std::string> ProfileUpdate(std::string_view content, std::string_view section,
                                         std::string_view key, std::string_view value);

// True when a and b are equal ignoring ASCII case.
bool SameTextAscii(std::string_view a, std::string_view b);

}  // namespace varnel
