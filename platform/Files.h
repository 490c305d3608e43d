#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/DateTime.h"

// File functions with the Windows file system's behaviour. Names are written
// as the program writes them and go through NativePath. The functions that
// answer true or false leave the reason for a failure in GetLastError().
namespace platform {

// True for an existing file (not a folder).
bool FileExists(const std::string& name);
bool DirectoryExists(const std::string& name);

// The size in bytes of an existing file.
bool FileSize(const std::string& name, std::int64_t& size);

// The last-write date-time of an existing entry, in local time.
bool FileAge(const std::string& name, base::TDateTime& age);

// Sets the last-write date-time of a file from a two-second file date
// (DateTimeToFileDate). Returns 0, or the system error code; a value that
// holds no valid date (0 in particular) leaves the file as it is and returns
// ERROR_INVALID_PARAMETER.
std::uint32_t FileSetDate(const std::string& name, std::int32_t fileDate);

bool DeleteFile(const std::string& name);
// Copies a file with its last-write time. With failIfExists an existing
// target is left alone and the copy fails; otherwise it is replaced. A copy
// onto the source itself fails with ERROR_SHARING_VIOLATION.
bool CopyFile(const std::string& source, const std::string& target, bool failIfExists);
// Renames or moves a file or folder; fails with ERROR_ALREADY_EXISTS when the
// new name is taken.
bool RenameFile(const std::string& oldName, const std::string& newName);

struct SearchRec {
    std::string name; // the bare name, no folder
    bool directory = false;
    std::int64_t size = 0;
    base::TDateTime time = 0; // last write, local time
};

// The entries of a folder whose names match the mask of a pattern such as
// "SCRIPT_ERRO*.*" or "..\dir\*.txt" (MatchesMask rules), every kind of entry,
// "." and ".." included when they match, sorted by name ignoring case. A
// missing folder gives no entries.
std::vector<SearchRec> FindFiles(const std::string& pattern);

} // namespace platform
