#include "tests/support/SigningTools.h"

#include "tests/support/ProgramRun.h"

#include <stdexcept>

namespace testsupport {

namespace {

std::string Run(const std::string& program, const std::vector<std::string>& args) {
    const ProgramRun run = RunProgram(program, args);
    if (run.exitCode != 0)
        throw std::runtime_error(program + " failed: " + run.output);
    return run.output;
}

} // namespace

std::string B2sum(const std::filesystem::path& file) {
    return Run("b2sum", {file.string()}).substr(0, 128);
}

} // namespace testsupport
