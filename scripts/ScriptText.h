#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace scripts {

// Text rules of script handling: a blank is any character with a code up to
// 32, as the framework's Trim (runtime/StrUtils.h) takes it.
inline bool IsBlankChar(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

bool IsBlank(std::string_view text);

// Reads a text file as lines. Throws platform::EFOpenError
// "Cannot open file \"<name>\". <system text>" when it cannot be opened.
std::vector<std::string> LoadTextLines(const std::filesystem::path& file);

} // namespace scripts
