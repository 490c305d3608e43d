#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace scripts {

// The sqlscript command, for trying update scripts before their release:
//
//   sqlscript DATABASE SCRIPT... [--user U] [--password P] [--dialect N]
//   sqlscript --parse-only SCRIPT...
//   sqlscript --check SCRIPT...
//
// Runs the script files, in order, against the database with the updater's
// runner and the updater's settings (its account and dialect unless given,
// COMMIT WORK lines blanked, one runner whose settings carry from one script
// to the next, a commit after each script), and prints per statement its
// file, starting line, kind and outcome. A script fails as it fails in the
// updater (an execution error, a commit the database refuses, a parse error
// that leaves statements unrun) and ends the run there; a parse error with
// nothing but comments and blanks after it ends only its script. --parse-only lists the statements and their kinds
// without a database. --check, the maker's release check, prints without a database what the updater would do that the
// author may not expect: lines blanked with other text for their COMMIT WORK, parse errors, statements left in an
// unfinished batch, NUL characters and quoted texts that never close.
// Returns 0 when everything ran (or nothing was found), 1 after any error or
// finding, 2 for bad usage.
int SqlScriptMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace scripts
