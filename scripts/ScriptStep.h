#pragma once

#include <functional>
#include <string>
#include <vector>

#include "scripts/IBScript.h"

namespace scripts {

// How one script run by the updater's rules ended.
enum class ScriptFailure {
    None,
    // Its text could not be prepared, or a statement (or the runner) failed.
    Statement,
    // A parse error stopped it with statements left unrun.
    Parse,
    // Its work went through but the database refused the commit.
    Commit,
};

struct ScriptStepOutcome {
    ScriptFailure failure = ScriptFailure::None;
    // What failed, in the words of the database, the runner or the parser
    // (the parser's with ", line " and the statement's line).
    std::string message;
    // Whether the script's work, and what was recorded alongside it, landed.
    bool committed = false;

    bool Failed() const { return failure != ScriptFailure::None; }
};

// Runs one script through the runner by the updater's rules and commits its
// work. The runner takes the lines that prepare gives; when prepare throws,
// the script fails before any of it runs and the runner keeps the lines it
// held. Lines holding COMMIT WORK are blanked first. A parse error fails the
// script when the statement it stopped at or the text after it held
// statements, and ends it quietly otherwise.
//
// The data statements that ran before a failure stay: recordAlongside, when
// given, then runs in the runner's transaction, so that one commit keeps the
// script's work and the record together. A refused commit (or a failing
// record) rolls the transaction back, so that nothing of it carries into the
// next script, and fails a script that had not failed before.
// recordAlongside learns how the script itself ended.
ScriptStepOutcome RunScriptAndCommit(TIBScript& runner, const std::function<std::vector<std::string>()>& prepare,
                                     const std::function<void(const ScriptStepOutcome&)>& recordAlongside = {});

} // namespace scripts
