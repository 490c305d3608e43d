#include "tests/support/LaunchRecorder.h"

namespace testsupport {

LaunchRecorder::LaunchRecorder() {
    platform::SetProgramLauncher([this](const platform::ProgramLaunch& launch) {
        programs.push_back(launch);
        return programResult;
    });
    platform::SetProgramRunner([this](const platform::ProgramLaunch& launch, int, const std::function<void()>&) {
        programs.push_back(launch);
        if (onRun)
            onRun(launch);
        return runResult;
    });
    platform::SetShellOpener([this](const platform::ShellOpenRequest& request) {
        opened.push_back(request);
        return openResult;
    });
}

LaunchRecorder::~LaunchRecorder() {
    platform::SetProgramLauncher(nullptr);
    platform::SetProgramRunner(nullptr);
    platform::SetShellOpener(nullptr);
}

} // namespace testsupport
