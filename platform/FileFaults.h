#pragma once

#include <cstdint>
#include <functional>
#include <string>

// A seam through which tests make file operations fail that cannot fail for
// the user they run as (root removes and writes whatever it likes). The
// operations of this layer ask it before they touch the disk.
namespace platform {

enum class FileOperation { Delete, Copy, Write };

// Answers 0 to let the operation on the named file (as the caller wrote it)
// go on, or the system error code with which it fails.
using FileFault = std::function<std::uint32_t(FileOperation operation, const std::string& name)>;

// Installs the seam; an empty function lets every operation go on.
void SetFileFault(FileFault fault);

// The code with which the operation fails, 0 when it may go on.
std::uint32_t InjectedFileFault(FileOperation operation, const std::string& name);

} // namespace platform
