#pragma once

#include <string_view>

namespace scripts {

// Text rules of script handling: a blank is any character with a code up to
// 32, as the framework's Trim (base/StrUtils.h) takes it.
inline bool IsBlankChar(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

bool IsBlank(std::string_view text);

} // namespace scripts
