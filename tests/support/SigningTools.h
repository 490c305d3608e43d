#pragma once

#include <filesystem>
#include <string>

// The maker's tools as tests run them: coreutils' b2sum. A tool that fails
// raises std::runtime_error with what it printed.
namespace testsupport {

// The hash b2sum prints for a file.
std::string B2sum(const std::filesystem::path& file);

} // namespace testsupport
