#pragma once

#include <string>
#include <string_view>

// File names as the program writes them: Windows style, letter case ignored.
namespace platform {

// Turns a path written Windows-style ("\winrar\winrar.exe", ".\name",
// "C:\Program Files\x") into the native form: backslashes become slashes and
// a drive letter ("C:") is dropped, so that "C:\x" is "/x". Each component
// that does not exist with exactly this spelling is looked up in its folder
// ignoring letter case, the way the Windows file system finds names; the rest
// of a path below a missing component is kept as written (a file about to be
// created). Relative paths stay relative to the current folder.
std::string NativePath(const std::string& path);

// Compares two file names the way the Windows file system does: ignoring the
// case of ASCII letters and of the accented Latin letters (in UTF-8).
bool SameFileName(const std::string& a, const std::string& b);
// The form in which SameFileName compares names (of the same length).
std::string FoldedFileName(std::string_view name);

// Matches a file name against a wildcard mask with the Windows rules, ignoring
// letter case: "*" is any run of characters, "?" one character (or none at the
// end of the name or before a dot), a dot in the mask at the end of the name
// matches nothing there when only wildcards follow it, so "*.*" and "name.*"
// also match names without a dot.
bool MatchesMask(const std::string& name, const std::string& mask);

} // namespace platform
