#include "tests/support/SigningTools.h"

#include "tests/support/ProgramRun.h"
#include "tests/support/TempDir.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testsupport {

namespace {

std::string Run(const std::string& program, const std::vector<std::string>& args) {
    const ProgramRun run = RunProgram(program, args);
    if (run.exitCode != 0)
        throw std::runtime_error(program + " failed: " + run.output);
    return run.output;
}

std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in)
        throw std::runtime_error("cannot read " + file.string());
    return text.str();
}

} // namespace

std::filesystem::path DemoSecretKey() {
    return SourceDir() / "tools/demo-release-key/demo.key";
}

std::string DemoPublicKeyFile() {
    return ReadFile(SourceDir() / "tools/demo-release-key/demo.pub");
}

std::string DemoPublicKey() {
    const std::string file = DemoPublicKeyFile();
    const std::size_t start = file.find('\n') + 1;
    return file.substr(start, file.find('\n', start) - start);
}

std::filesystem::path MakeSecretKey(const std::filesystem::path& folder) {
    Run("minisign", {"-G", "-W", "-p", (folder / "other.pub").string(), "-s", (folder / "other.key").string()});
    return folder / "other.key";
}

std::string MinisignSign(const std::filesystem::path& file, const std::filesystem::path& secretKey,
                         const std::vector<std::string>& options) {
    std::vector<std::string> args = {"-S", "-s", secretKey.string(), "-m", file.string()};
    args.insert(args.end(), options.begin(), options.end());
    Run("minisign", args);
    return ReadFile(file.string() + ".minisig");
}

std::string B2sum(const std::filesystem::path& file) {
    return Run("b2sum", {file.string()}).substr(0, 128);
}

} // namespace testsupport
