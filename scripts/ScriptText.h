#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace scripts {

// Text rules of script handling: a blank is any character with a code up to
// 32; letter case is folded for ASCII letters only.
inline bool IsBlankChar(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

bool IsBlank(std::string_view text);
std::string Trim(std::string_view text);
std::string UpperCase(std::string_view text);

// Splits text into lines at CR LF, LF or CR; a final line end adds no line.
std::vector<std::string> SplitLines(std::string_view text);

// Reads a text file as lines. Throws runtime::Exception
// "Cannot open file \"<name>\". <reason>" when it cannot be read.
std::vector<std::string> LoadTextLines(const std::filesystem::path& file);

} // namespace scripts
