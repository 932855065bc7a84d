// Line breaking for message boxes: text broken into lines no wider than a limit, as measured by
// the caller's font. Lines break at blanks where they can and inside a word where a word alone is
// wider than the limit (never inside a UTF-8 character); the text's own line breaks stay. And a
// short tooltip kept from breaking.
//
//   std::string shown = WrapText(message, 600, [](std::string_view s) { return Width(s); });
#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace varnel {

// `width` gives the pixel width of a piece of text. A character wider than the limit on its own
// still gets a line (of its own).
std::string WrapText(const std::string& text, int maxWidth, const std::function<int(std::string_view)>& width);

// `text` for the toolkit's tooltip, which breaks a line at a space once it is wider than a fixed
// 400 pixels (at 192 pixels per inch "CPU %: 24, busiest 100 % (CPU3)" is wider): in a text of
// at most OneLineCharacters characters each space becomes a no-break space (U+00A0), which looks
// the same and is never broken at. A longer text (a long host name in the caption) is left to
// break, so that it stays within the screen. `out` is replaced; its storage is kept, so a tooltip
// set each second allocates nothing once it has grown.
inline constexpr std::size_t OneLineCharacters = 80;
void OneLineTooltip(std::string_view text, std::string& out);

}  // namespace varnel
