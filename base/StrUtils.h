#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Text routines of the framework. Letter case is ASCII-only, as the
// program's own identifiers and configuration names are.
namespace base {

std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
// Compares two texts ignoring letter case.
bool SameText(std::string_view a, std::string_view b);
// Removes leading and trailing blanks and control characters (codes up to 32).
std::string Trim(std::string_view text);

// Splits a text into lines as a line list takes a whole text: CR LF, LF and
// CR each end a line; a final line break does not add an empty line.
std::vector<std::string> TextToLines(std::string_view text);

// The pieces of a text between the separators, empty pieces kept: "a;;b" gives
// "a", "", "b" and the empty text one empty piece.
std::vector<std::string> SplitString(std::string_view text, char separator);

// True when text begins with subText, ignoring letter case.
bool StartsText(std::string_view subText, std::string_view text);

// The text between apostrophes, each apostrophe in it doubled, as SQL writes a text literal.
std::string QuotedStr(std::string_view text);

// Compares ignoring letter case: <0, 0 or >0, as for sorting.
int CompareText(std::string_view a, std::string_view b);

// At most count characters from the 1-based index on. An index below 1 counts
// as 1; an index past the end or a count below 1 gives an empty text.
std::string Copy(std::string_view text, int index, int count);
// 1-based position of the first occurrence of sub in text; 0 when absent or sub is empty.
int Pos(std::string_view sub, std::string_view text);

enum ReplaceFlags : unsigned { rfReplaceAll = 1, rfIgnoreCase = 2 };
// Replaces the first (or, with rfReplaceAll, every) occurrence of oldPattern.
// An empty pattern leaves the text unchanged.
std::string StringReplace(std::string_view text, std::string_view oldPattern, std::string_view newPattern,
                          unsigned flags);

std::string IntToStr(std::int64_t value);
// A decimal number with an optional sign, or a hexadecimal one written "$1F"
// or "0x1F" (up to 32 bits, "$FFFFFFFF" is -1); leading blanks are allowed.
// Anything else, or a value outside the 32-bit range, throws EConvertError
// "'<text>' is not a valid integer value".
int StrToInt(std::string_view text);
int StrToIntDef(std::string_view text, int defaultValue);

} // namespace base
