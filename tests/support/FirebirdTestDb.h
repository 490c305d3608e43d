#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "db/IBError.h"
#include "tests/support/TempDir.h"

namespace testsupport {

// Points this process's Firebird client library at the embedded engine with a
// private setup: a root folder whose firebird.conf allows only the embedded
// provider (with the installed plugins, messages and character sets linked in),
// and folders of its own for lock and temporary files, all below one temporary
// folder removed at exit. Sets FIREBIRD, FIREBIRD_LOCK and FIREBIRD_TMP, so it
// must run before the process's first database call; later calls do nothing.
void UseEmbeddedFirebird();

// A fresh database file in a temporary folder of its own, created in the
// given SQL dialect (1 or 3) through the embedded engine, owned by ROOT.
class FirebirdTestDb {
public:
    static constexpr const char* kUser = "ROOT";
    static constexpr const char* kPassword = "718352";

    explicit FirebirdTestDb(int dialect = 3);

    const std::filesystem::path& path() const { return file_; }
    std::string name() const { return file_.string(); }
    // The connection parameter lines for kUser and kPassword.
    static std::vector<std::string> ConnectParams();

    // Runs one statement over a connection of its own and commits.
    void Execute(const std::string& sql) const;
    // The first column of the first row of a SELECT, read as text through a
    // connection of its own ("" when there is no row).
    std::string QueryText(const std::string& sql) const;

private:
    TempDir dir_;
    std::filesystem::path file_;
    int dialect_;
};

// Runs the action and returns the message of the db::EIBError it raises, or
// "no error".
template <typename Action> std::string IBErrorOf(Action action) {
    try {
        action();
    } catch (const db::EIBError& error) {
        return error.what();
    }
    return "no error";
}

} // namespace testsupport
