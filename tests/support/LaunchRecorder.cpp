#include "tests/support/LaunchRecorder.h"

namespace testsupport {

LaunchRecorder::LaunchRecorder() {
    platform::SetProgramLauncher([this](const platform::ProgramLaunch& launch) {
        programs.push_back(launch);
        return programResult;
    });
    platform::SetShellOpener([this](const platform::ShellOpenRequest& request) {
        opened.push_back(request);
        return openResult;
    });
}

LaunchRecorder::~LaunchRecorder() {
    platform::SetProgramLauncher(nullptr);
    platform::SetShellOpener(nullptr);
}

} // namespace testsupport
