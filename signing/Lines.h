#pragma once

#include <string_view>
#include <vector>

// Line splitting shared by the manifest and the signature readers.
namespace signing {

// The lines of a text with LF or CR LF ends, without their ends. The last
// line needs no end; an end at the very end of the text starts no further
// line. A CR anywhere else stays in its line.
std::vector<std::string_view> SplitLines(std::string_view text);

} // namespace signing
