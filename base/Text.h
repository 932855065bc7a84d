// Number text: FormatFloat with the digit-placeholder patterns, and integer text (decimal with
// optional blanks and sign, or "$" and hexadecimal digits).
//
//   FormatFloat("#,##0.###", 1234.5) == "1,234.5";   StrToInt(" -12") == -12
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace varnel {

// Formats value with a pattern: "0" always shows a digit, "#" only a significant one; the first
// "." is the decimal point and the value is rounded (halves away from zero) to as many decimals
// as placeholders follow it; the integer digits are always written, at the point when no
// placeholder stands before it (".00" shows 1.5 as 1.50, "#" shows 0 as nothing, ".00" shows 0.5
// as .50); a "," anywhere groups the integer digits by three; text in quotes
// and every other character are copied. A negative value gets a leading minus sign unless it
// rounds to zero. Up to three sections separated by ";" give the positive, negative and zero
// formats. NaN and infinities give "NAN", "INF" and "-INF".
std::string FormatFloat(std::string_view pattern, double value);

// Integer text: optional leading blanks, then an optional "+" or "-" and decimal digits that fit
// a signed 32-bit integer, or "$" and one or more hexadecimal digits whose value fits 32 bits
// (taken as a 32-bit pattern, so "$FFFFFFFF" is -1). Nothing may follow.
std::optional<int> TryStrToInt(std::string_view text);
// As TryStrToInt; raises EConvertError "'%s' is not a valid integer value" on failure.
int StrToInt(std::string_view text);
// The signed decimal text of a value.
std::string IntToStr(long long value);

}  // namespace varnel
