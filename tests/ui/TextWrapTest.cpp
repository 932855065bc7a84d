// Line breaking of message-box text, measured with a fixed-width model font (10 pixels a
// character, whatever its byte length).
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "ui/TextWrap.h"

namespace varnel {
namespace {

int Model(std::string_view s) {
  int chars = 0;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) ++chars;
  return chars * 10;
}

TEST(TextWrap, BreaksAtBlanksAndInsideWordsTooLong) {
  struct Case {
    std::string text;
    int max;
    std::string want;
  };
  const Case cases[] = {
      {"short", 100, "short"},
      {"one two three", 70, "one two\nthree"},
      {"one two three", 80, "one two\nthree"},
      {"aaaa bbbb", 40, "aaaa\nbbbb"},
      // A 300-digit entry: broken inside the word, every line within the limit.
      {"'" + std::string(25, '7') + "' is not", 100,
       "'777777777\n7777777777\n777777' is\nnot"},
      {"first\nsecond line", 60, "first\nsecond\nline"},
      {"", 50, ""},
      // UTF-8 characters stay whole.
      {"\xC3\xA9\xC3\xA9\xC3\xA9", 20, "\xC3\xA9\xC3\xA9\n\xC3\xA9"},
      // A limit below one character still moves on, one character a line.
      {"abc", 5, "a\nb\nc"},
  };
  for (const Case& c : cases) EXPECT_EQ(WrapText(c.text, c.max, Model), c.want) << c.text << " at " << c.max;
}

// OneLineTooltip into a string of its own.
std::string OneLine(std::string_view text) {
  std::string out = "left over from before";
  OneLineTooltip(text, out);
  return out;
}

TEST(TextWrap, ShortTooltipsKeepTheirSpacesFromBreaking) {
  const std::string nbsp = "\xC2\xA0";
  EXPECT_EQ(OneLine("CPU %: 24, busiest 100 % (CPU3)"),
            "CPU" + nbsp + "%:" + nbsp + "24," + nbsp + "busiest" + nbsp + "100" + nbsp + "%" + nbsp + "(CPU3)");
  // The limit counts characters, not bytes: 79 two-byte letters and a space are one line; one
  // character more (a long host name) and the text may break as it is.
  std::string eighty;
  for (int i = 0; i < 79; ++i) eighty += "\xC3\xA9";
  EXPECT_EQ(OneLine(eighty + " "), eighty + nbsp);
  EXPECT_EQ(OneLine(eighty + " x"), eighty + " x");
  EXPECT_EQ(OneLine(""), "");
}

}  // namespace
}  // namespace varnel
