#include "scripts/ScriptStep.h"

#include <exception>

#include "scripts/UpdaterScripts.h"

namespace scripts {

namespace {

ScriptStepOutcome RunScript(TIBScript& runner, const std::function<std::vector<std::string>()>& prepare) {
    try {
        runner.SetScript(prepare());
        BlankCommitWorkLines(runner.Script());
        runner.RunScript();
    } catch (const std::exception& error) {
        return {ScriptFailure::Statement, error.what()};
    }
    const TIBScript::TScriptStop& stop = runner.LastStop();
    if (!stop.parseError.empty() && stop.statementText)
        return {ScriptFailure::Parse, stop.parseError};
    return {};
}

} // namespace

ScriptStepOutcome RunScriptAndCommit(TIBScript& runner, const std::function<std::vector<std::string>()>& prepare,
                                     const std::function<void(const ScriptStepOutcome&)>& recordAlongside) {
    ScriptStepOutcome outcome = RunScript(runner, prepare);
    db::TIBTransaction& transaction = *runner.Transaction();
    try {
        if (recordAlongside)
            recordAlongside(outcome);
        if (transaction.InTransaction())
            transaction.Commit();
        outcome.committed = true;
    } catch (const std::exception& error) {
        transaction.RollbackQuietly();
        if (!outcome.Failed())
            outcome = {ScriptFailure::Commit, error.what()};
    }
    return outcome;
}

} // namespace scripts
