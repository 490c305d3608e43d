#pragma once

#include <string>
#include <string_view>
#include <vector>

// Text routines of the framework. Letter case is ASCII-only, as the
// program's own identifiers and configuration names are.
namespace runtime {

std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
// Compares two texts ignoring letter case.
bool SameText(std::string_view a, std::string_view b);
// Removes leading and trailing blanks and control characters (codes up to 32).
std::string Trim(std::string_view text);

// Splits a text into lines as a line list takes a whole text: CR LF, LF and
// CR each end a line; a final line break does not add an empty line.
std::vector<std::string> TextToLines(std::string_view text);

} // namespace runtime
