#pragma once

#include <string>
#include <string_view>

// The Windows code page in which the store application keeps its text, and the
// UTF-8 in which the internet database hands text over. Every conversion
// between the two goes through these two routines.
namespace base {

// The UTF-8 text in Windows-1252 bytes. The five bytes the code page leaves
// undefined stand for the control characters of the same number.
// @throw EConvertError for a character the code page cannot hold or for bytes
//        that are not UTF-8, naming the character (or byte) and its line.
std::string Utf8ToWindows1252(std::string_view text);

// The Windows-1252 bytes as UTF-8; every byte has a character.
std::string Windows1252ToUtf8(std::string_view text);

} // namespace base
