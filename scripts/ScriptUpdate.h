#pragma once

#include <exception>
#include <string>
#include <vector>

#include "db/DBTables.h"
#include "db/IBDatabase.h"
#include "db/IBQuery.h"
#include "scripts/IBScript.h"

namespace scripts {

// What an update came to. The values go from better to worse: an update of
// several databases comes to the worst of theirs.
enum class ScriptUpdateResult {
    Applied,
    ScriptFailed,
    OutsideFailure,
};

// What an update tells its caller as it goes.
class ScriptUpdateObserver {
public:
    // The text of the script about to run, as the internet database gave it.
    virtual void ScriptStarting(const std::vector<std::string>& lines) = 0;
    // The position of the progress bar, 0 to 100.
    virtual void Progress(int position) = 0;
    // A script failed; its text, under the failure's header, was saved in
    // the named file.
    virtual void ScriptFailed(const std::string& errorFile) = 0;
    // The update stopped on a failure outside the scripts (the local
    // database, its version table, the internet database, the error file).
    virtual void OutsideFailure(std::exception_ptr error) = 0;

protected:
    ~ScriptUpdateObserver() = default;
};

// The components an update works with; their owner keeps them across
// updates, so that the runner's terminator and SET settings carry from one
// script to the next and from one update to the next.
struct ScriptUpdateComponents {
    // The internet database, with the count and the list of the released
    // scripts and the table of their texts.
    db::TDatabase& internet;
    db::TQuery& count;
    db::TQuery& list;
    db::TTable& texts;
    // The local database being updated, the runner's transaction, and the
    // version table's query with its own transaction.
    db::TIBDatabase& local;
    db::TIBTransaction& scriptTransaction;
    db::TIBTransaction& versionTransaction;
    db::TIBQuery& versionQuery;
    TIBScript& runner;
};

// Applies to local databases every released script newer than the version
// recorded in each, in version order, committing each script's work with
// its version. A failed script is saved in an error file in the working
// folder and ends that database's update; its version counts as applied once
// the file is written. A failed script that cannot be saved is a failure
// outside the scripts, and nothing is recorded for it.
class ScriptUpdate {
public:
    // Wires the components together: the local account and dialect, the
    // transactions, the runner's terminator and the table of texts linked to
    // the list.
    explicit ScriptUpdate(const ScriptUpdateComponents& components);

    // Updates the databases of the work list, entries "M-" + alias, in
    // order. A failure outside the scripts is reported, rolls back what is
    // open and stops the entries left.
    ScriptUpdateResult Run(const std::vector<std::string>& workList, ScriptUpdateObserver& observer);

    // The program whose scripts are read; empty outside an update.
    const std::string& ProgramName() const { return programName_; }

private:
    // Updates one entry's database; false when one of its scripts failed.
    bool UpdateDatabase(const std::string& entry, ScriptUpdateObserver& observer);
    void CreateVersionTable();
    // Whether the count (column CT) of the query is above zero; the version
    // transaction ends.
    bool CountsAny(const std::string& countQuery);
    // Runs a statement through the version query and commits it.
    void ExecuteAndCommit(const std::string& statement);
    // The version recorded in the local database, as it is stored there.
    std::string RecordedVersion();
    // Applies the script of the list's current row; false when it failed.
    bool ApplyCurrentScript(const std::string& entry, ScriptUpdateObserver& observer);
    // Writes the version through the given query; its transaction commits it.
    void RecordVersion(db::TIBQuery& query, const std::string& version);
    // Saves the runner's script under the failure's header in the error file;
    // raises base::Exception naming the script and the file when it cannot.
    std::string SaveFailedScript(const std::string& entry, const std::string& version, const std::string& message);
    // After a failure outside the scripts: what is open is rolled back and
    // the local database closed; errors on the way are of no more use.
    void Undo();

    ScriptUpdateComponents c_;
    // The version table's statement in the runner's transaction.
    db::TIBQuery versionInScript_;
    std::string programName_;
};

} // namespace scripts
