// The settings file text: lookups that ignore case, blanks, comments, quotes and byte-order
// marks and take any line ending, and updates that touch only their own line.
#include <gtest/gtest.h>

#include "platform/profile/ProfileText.h"

namespace varnel {
namespace {

std::string Lookup(std::string_view content, std::string_view section, std::string_view key) {
  auto v = ProfileLookup(content, section, key);
  return v ? "=" + std::string(*v) : "<none>";
}

TEST(ProfileText, LookupFindsKeysOfTheFirstMatchingSectionOnly) {
  const std::string text =
      "\xEF\xBB\xBF; settings\r\n"
      "Top=1\r\n"                   // before any section: belongs to none
      "[Other]\r\nTop=2\r\n"
      "[ fendul ]\r\n"
      "  top =  3 \r\n"
      "; Left=9\r\n"
      "Left\r\n"                    // no "=": not a key
      "Empty=\r\n"
      "TOP=4\r\n"                   // duplicate key: the first counts
      "A=b=c\r\n"
      "[FENDUL]\r\nWidth=5\r\n";    // duplicate section: not searched
  EXPECT_EQ(Lookup(text, "FENDUL", "Top"), "=3");
  EXPECT_EQ(Lookup(text, "Other", "TOP"), "=2");
  EXPECT_EQ(Lookup(text, "FENDUL", "Left"), "<none>");
  EXPECT_EQ(Lookup(text, "FENDUL", "Empty"), "=");
  EXPECT_EQ(Lookup(text, "FENDUL", "a"), "=b=c");
  EXPECT_EQ(Lookup(text, "FENDUL", "Width"), "<none>");
  EXPECT_EQ(Lookup(text, "Missing", "Top"), "<none>");
  EXPECT_EQ(Lookup("", "FENDUL", "Top"), "<none>");
  EXPECT_EQ(Lookup("[FENDUL]\nTop=7", "FENDUL", "Top"), "=7");  // no final line ending
  EXPECT_EQ(Lookup("[FENDUL\nTop=7\n", "FENDUL", "Top"), "=7");  // unclosed header
}

TEST(ProfileText, LookupReadsQuotesAndLineEndsAsThePlatformDoes) {
  const struct {
    std::string Text;
    const char* Key;
    const char* Expected;
  } cases[] = {
      {"[FENDUL]\nPlotSeconds=\"90\"\n", "PlotSeconds", "=90"},
      {"[FENDUL]\nPlotSeconds='100'\n", "PlotSeconds", "=100"},
      {"[FENDUL]\nA=  \"x y\"  \n", "A", "=x y"},
      {"[FENDUL]\nA=\"\"\n", "A", "="},
      {"[FENDUL]\nA=\"a\"b\"\n", "A", "=a\"b"},     // only the outer pair goes
      {"[FENDUL]\nA=\"90'\n", "A", "=\"90'"},         // not a matching pair
      {"[FENDUL]\nA=\"\n", "A", "=\""},
      {"[FENDUL]\nA=''x''\n", "A", "='x'"},
      {"[FENDUL]\rTop=1\rLeft=2\r", "Left", "=2"},   // CR alone ends a line
      {"[X]\rTop=1\r[FENDUL]\rTop=3", "Top", "=3"},
      {"[FENDUL]\r\nTop=1\rLeft=2\nWidth=3", "Width", "=3"},
      {"[FENDUL]\n\rLeft=2\n", "Left", "=2"},         // LF then CR: an empty line between
      {"[FENDUL]\nLeft=2\r=3\n", "Left", "=2"},
  };
  for (const auto& c : cases) EXPECT_EQ(Lookup(c.Text, "FENDUL", c.Key), c.Expected) << c.Text;
}

TEST(ProfileText, LookupIsSafeOnBinaryAndLongLines) {
  std::string text = "[FENDUL]\n";
  text += std::string(100000, 'x') + "\n";
  text += std::string("Odd\0Key=1\n", 10);
  text += "Top=" + std::string(5000, '9') + "\n";
  text += "\xFF\xFE\x01\n";
  text += "Left=12";
  EXPECT_EQ(ProfileLookup(text, "FENDUL", "Top")->size(), 5000u);
  EXPECT_EQ(Lookup(text, "FENDUL", "Left"), "=12");
  EXPECT_EQ(Lookup(text, "FENDUL", std::string_view("Odd\0Key", 7)), "=1");
}

struct UpdateCase {
  const char* Name;
  std::string Before;
  const char* Key;
  std::string After;
};

TEST(ProfileText, UpdateChangesOnlyItsOwnLine) {
  const UpdateCase cases[] = {
      {"new file", "", "Top", "[FENDUL]\nTop=1\n"},
      {"replace keeps the rest", "; c\n[FENDUL]\nLeft=2\n  top = 9 \nWidth=3\n[X]\nTop=4\n", "Top",
       "; c\n[FENDUL]\nLeft=2\ntop=1\nWidth=3\n[X]\nTop=4\n"},
      {"first duplicate only", "[FENDUL]\nTop=8\nTop=9\n", "Top", "[FENDUL]\nTop=1\nTop=9\n"},
      {"add after last non-blank line", "[FENDUL]\nLeft=2\n\n[X]\n", "Top", "[FENDUL]\nLeft=2\nTop=1\n\n[X]\n"},
      {"add to section without line ending", "[fendul]", "Top", "[fendul]\nTop=1\n"},
      {"add after last line without ending", "[FENDUL]\nLeft=2", "Top", "[FENDUL]\nLeft=2\nTop=1\n"},
      {"new section after unterminated line", "[X]\nA=1", "Top", "[X]\nA=1\n[FENDUL]\nTop=1\n"},
      {"CRLF file keeps CRLF", "[FENDUL]\r\nLeft=2\r\n", "Top", "[FENDUL]\r\nLeft=2\r\nTop=1\r\n"},
      {"CRLF replace", "[FENDUL]\r\nTop=2\r\nLeft=3\r\n", "Top", "[FENDUL]\r\nTop=1\r\nLeft=3\r\n"},
      {"CR file keeps CR", "[FENDUL]\rLeft=2\r", "Top", "[FENDUL]\rLeft=2\rTop=1\r"},
      {"CR replace", "[FENDUL]\rTop=2\rLeft=3", "Top", "[FENDUL]\rTop=1\rLeft=3"},
      {"CR file, new section", "[X]\rA=1", "Top", "[X]\rA=1\r[FENDUL]\rTop=1\r"},
      {"first line's ending counts", "[X]\r\nA=1\nB=2\n", "Top", "[X]\r\nA=1\nB=2\n[FENDUL]\r\nTop=1\r\n"},
      {"added key ends as the line before it", "[FENDUL]\rA=1\r\n\n[X]\n", "Top",
       "[FENDUL]\rA=1\r\nTop=1\r\n\n[X]\n"},  // a CR alone here would swallow the blank line
      {"quoted value replaced", "[FENDUL]\nTop=\"2\"\n", "Top", "[FENDUL]\nTop=1\n"},
      {"BOM kept", "\xEF\xBB\xBF[FENDUL]\nTop=2\n", "Top", "\xEF\xBB\xBF[FENDUL]\nTop=1\n"},
      {"BOM only", "\xEF\xBB\xBF", "Top", "\xEF\xBB\xBF[FENDUL]\nTop=1\n"},
      {"BOM and CRLF", "\xEF\xBB\xBF[X]\r\n", "Top", "\xEF\xBB\xBF[X]\r\n[FENDUL]\r\nTop=1\r\n"},
      {"first duplicate section", "[FENDUL]\nA=1\n[FENDUL]\nB=2\n", "B", "[FENDUL]\nA=1\nB=1\n[FENDUL]\nB=2\n"},
  };
  for (const UpdateCase& c : cases) {
    SCOPED_TRACE(c.Name);
    auto out = ProfileUpdate(c.Before, "FENDUL", c.Key, "1");
    ASSERT_TRUE(out);
    EXPECT_EQ(*out, c.After);
  }
}

TEST(ProfileText, UpdateRefusesNamesThatWouldNotReadBack) {
  EXPECT_FALSE(ProfileUpdate("", "FENDUL", "", "1"));
  EXPECT_FALSE(ProfileUpdate("", "FENDUL", " Top", "1"));
  EXPECT_FALSE(ProfileUpdate("", "FENDUL", "a=b", "1"));
  EXPECT_FALSE(ProfileUpdate("", "FENDUL", "[Top", "1"));
  EXPECT_FALSE(ProfileUpdate("", "FENDUL", ";Top", "1"));
  EXPECT_FALSE(ProfileUpdate("", "FEN]DUL", "Top", "1"));
  EXPECT_FALSE(ProfileUpdate("", "FENDUL", "Top", "1\n[Evil]\nTop=2"));
  EXPECT_FALSE(ProfileUpdate("", "FENDUL", "Top", "1\r"));
  EXPECT_FALSE(ProfileUpdate("", "FENDUL", "Top", std::string_view("1\0", 2)));
  EXPECT_TRUE(ProfileUpdate("", "FENDUL", "Colors - Line", "-5"));
}

}  // namespace
}  // namespace varnel
