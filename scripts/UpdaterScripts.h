#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace scripts {

// How the updater connects to a local database to run scripts: the account
// of its connection parameters and the connection's SQL dialect.
inline constexpr const char* kLocalUser = "ROOT";
inline constexpr const char* kLocalPassword = "718352";
inline constexpr int kLocalDialect = 1;

// The connection parameters that log an account on, as the updater writes them.
std::vector<std::string> AccountParams(const std::string& user, const std::string& password);

// Whether the updater blanks the line: its upper-case form holds
// "COMMIT WORK" anywhere.
bool HoldsCommitWork(std::string_view line);

// What the updater does to a script before running it: every line that holds
// COMMIT WORK becomes a single blank.
void BlankCommitWorkLines(std::vector<std::string>& lines);

// Whether blanking the line for its COMMIT WORK takes other text with it:
// anything but blanks and semicolons besides the COMMIT WORK.
bool CommitWorkWithOtherText(std::string_view line);

} // namespace scripts
