#pragma once

#include <functional>
#include <vector>

#include "platform/Process.h"

namespace testsupport {

// Records the programs and documents that the code under test starts or
// opens, instead of starting them, for the lifetime of the object. The
// results handed back can be set to simulate failures.
class LaunchRecorder {
public:
    LaunchRecorder();
    ~LaunchRecorder();
    LaunchRecorder(const LaunchRecorder&) = delete;
    LaunchRecorder& operator=(const LaunchRecorder&) = delete;

    // The programs started, waited for or not.
    std::vector<platform::ProgramLaunch> programs;
    std::vector<platform::ShellOpenRequest> opened;
    unsigned programResult = platform::LaunchSucceeded;
    unsigned openResult = platform::LaunchSucceeded;
    // What a program waited for comes to, after onRun (when set) did its work.
    platform::ProgramExit runResult;
    std::function<void(const platform::ProgramLaunch&)> onRun;
};

} // namespace testsupport
