// Line breaking for message boxes: text broken into lines no wider than a limit, as measured by
// the caller's font. Lines break at blanks where they can and inside a word where a word alone is
// wider than the limit (never inside a UTF-8 character); the text's own line breaks stay.
//
//   std::string shown = WrapText(message, 600, [](std::string_view s) { return Width(s); });
#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace varnel {

// `width` gives the pixel width of a piece of text. A character wider than the limit on its own
// still gets a line (of its own).
std::string WrapText(const std::string& text, int maxWidth, const std::function<int(std::string_view)>& width);

}  // namespace varnel
