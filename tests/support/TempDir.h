#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

// A fresh folder under the system's temporary directory, removed with
// everything in it when the object goes out of scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

    // Writes bytes to a file below the folder, creating parent folders.
    std::filesystem::path write(const std::string& name, const std::string& bytes) const;
    // Reads a whole (small) file below the folder.
    std::string read(const std::string& name) const;
    // The names of the entries directly in the folder, sorted.
    std::vector<std::string> names() const;

private:
    std::filesystem::path path_;
};

// The repository's folder, which the test run passes in UPDATER_SOURCE_DIR
// (the current folder when the variable is not set), for tests that run the
// repository's own tools.
std::filesystem::path SourceDir();

// Changes the process's current folder for the lifetime of the object.
class CurrentDirGuard {
public:
    explicit CurrentDirGuard(const std::filesystem::path& dir);
    ~CurrentDirGuard();
    CurrentDirGuard(const CurrentDirGuard&) = delete;
    CurrentDirGuard& operator=(const CurrentDirGuard&) = delete;

private:
    std::filesystem::path previous_;
};

// Sets an environment variable for the lifetime of the object, restoring the
// former value (or its absence) afterwards.
class EnvGuard {
public:
    EnvGuard(std::string name, const std::string& value);
    ~EnvGuard();
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;

private:
    std::string name_;
    bool hadValue_ = false;
    std::string previous_;
};

} // namespace testsupport
