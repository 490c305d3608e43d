#pragma once

#include <string>
#include <vector>

namespace testsupport {

struct ProgramRun {
    int exitCode = -1;
    std::string output; // what it wrote to standard output and error, interleaved
};

// Runs a built program with the arguments (each quoted for the shell) and
// collects what it writes.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args);

} // namespace testsupport
