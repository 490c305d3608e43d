#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "db/IBDatabase.h"
#include "db/IBError.h"
#include "db/IBQuery.h"
#include "db/IBSQL.h"
#include "scripts/IBSQLParser.h"
#include "scripts/IBScriptStats.h"

namespace scripts {

// The error of a script that ends with statements queued after BATCH START.
std::string UnfinishedBatchMessage(std::size_t queued);

// Runs a multi-statement SQL script against a Firebird database, statement by
// statement: data definition on a transaction of its own committed per
// statement (AutoDDL), data statements in Transaction, and the script's own
// SET, SET TERM, COMMIT, ROLLBACK, RECONNECT, CONNECT, CREATE/DROP DATABASE,
// savepoint and batch statements.
//
// Settings that statements change (terminator, AutoDDL, Statistics, dialect,
// the savepoint parameter) persist from one run to the next, and so does the
// unread rest of the line on which a stopped run ended.
class TIBScript {
public:
    using TIBSQLParseStmt = std::function<void(TIBScript& sender, TIBParseKind kind, const std::string& sqlText)>;
    using TIBSQLParseError =
        std::function<void(TIBScript& sender, const std::string& error, const std::string& sqlText, int lineIndex)>;
    using TIBSQLExecuteError = std::function<void(TIBScript& sender, const std::string& error,
                                                  const std::string& sqlText, int lineIndex, bool& ignore)>;
    using TIBScriptParamCheck = std::function<void(TIBScript& sender, bool& pause)>;

    TIBScript();
    ~TIBScript();
    TIBScript(const TIBScript&) = delete;
    TIBScript& operator=(const TIBScript&) = delete;

    bool AutoDDL = true;
    // Called after each statement was carried out, with its kind and text.
    TIBSQLParseStmt OnParse;
    // Called for a statement that cannot be read; the run then stops quietly.
    TIBSQLParseError OnParseError;
    // Called for a database error of a statement; setting ignore goes on with
    // the next statement. Unassigned, the error leaves RunScript.
    TIBSQLExecuteError OnExecuteError;
    // Called for a data statement with parameter markers; setting pause stops
    // the run before the statement is executed.
    TIBScriptParamCheck OnParamCheck;

    // How a run ended that a parse error or an execution error stopped before
    // the end of its script.
    struct TScriptStop {
        // A parse error, an exception that left RunScript, or a db::EIBError
        // that OnExecuteError did not ignore ended the run.
        bool early = false;
        // The failing statement, the statements still queued in a batch or
        // the text not run held statement text: anything but blanks, /* */
        // comments and lines beginning with "--" (see StatementTextScan).
        bool statementText = false;
        // The parse error that ended the run, with ", line " and the line
        // where its statement starts; empty when none did.
        std::string parseError;
    };

    // Runs the script until all of it is read or the run stops. Parse errors
    // stop quietly; db::EIBError of a statement stops and passes on unless
    // OnExecuteError ignores it; any other exception passes at once.
    // Statements are refused with db::EIBError before they reach the engine
    // when they hold a NUL character or a quoted text that never closes; a
    // script that ends with statements queued after BATCH START raises
    // db::EIBError as well. A run that stops early discards the rest of its
    // text (the next script starts with its own lines) and tells so in
    // LastStop; a run paused by OnParamCheck keeps its rest.
    void RunScript();
    // How the last RunScript ended; set before it returns or passes an
    // exception on.
    const TScriptStop& LastStop() const { return lastStop_; }

    // The parser's lines: reading gives them, SetScript copies (or takes)
    // lines into them (nothing else is reset).
    std::vector<std::string>& Script() { return parser_.Script(); }
    void SetScript(const std::vector<std::string>& lines) { parser_.SetScript(lines); }
    void SetScript(std::vector<std::string>&& lines) { parser_.SetScript(std::move(lines)); }

    const std::string& Terminator() const { return parser_.Terminator(); }
    void SetTerminator(const std::string& value) { parser_.SetTerminator(value); }

    db::TIBDatabase* Database() const { return database_; }
    void SetDatabase(db::TIBDatabase* database);
    db::TIBTransaction* Transaction() const { return transaction_; }
    void SetTransaction(db::TIBTransaction* transaction);

    // An optional query that runs the data statements instead of the runner's
    // own statement object. The runner does not own it; once the query is
    // freed, the runner has none.
    db::TIBQuery* Dataset() const { return dataset_.lock().get(); }
    void SetDataset(const std::shared_ptr<db::TIBQuery>& dataset) { dataset_ = dataset; }

    bool Statistics() const { return statistics_; }
    // Changed during a run, starts or stops the counting at once.
    void SetStatistics(bool value);
    const TIBScriptStats& Stats() const { return stats_; }

    // The dialect used by CONNECT, CREATE DATABASE and SET SQL DIALECT.
    int SQLDialect() const { return sqlDialect_; }
    TIBParseKind LastKind() const { return lastKind_; }
    bool Executing() const { return executing_; }
    TIBSQLParser& Parser() { return parser_; }

private:
    class ComponentWatch;

    void Execute(TIBParseKind kind, const std::string& text);
    void ExecuteStatement(TIBParseKind kind, const std::string& text);
    void ExecuteInBatch(TIBParseKind kind, const std::string& text);
    void ExecuteBatch();
    void ExecuteDDL(const std::string& text);
    void ExecuteDML(const std::string& text);
    void ExecuteInDataset(db::TIBQuery& dataset, const std::string& text);
    // Asks OnParamCheck about a prepared statement with parameters; true
    // when the run pauses before executing it.
    bool PausedForParams(int paramCount);
    void ExecuteSet();
    void SetDialect(int dialect);
    void Connect();
    void CreateDatabase();
    void NewConnection();
    void EndTransactions(void (db::TIBTransaction::*end)());
    // Pauses after a database error; false when the error is to pass on.
    bool ResumeAfter(const db::EIBError& error, const std::string& text);
    // Raises the error of a script that ends with statements queued in a batch.
    void CheckBatchEnded();
    // Stops the run at the failing statement: discards the text not run and
    // the batch, and tells LastStop.
    void StopEarly(const std::string& failing);
    void ParseError(const std::string& error, const std::string& text, int lineIndex);
    db::TIBDatabase& AssignedDatabase() const;
    db::TIBTransaction& AssignedTransaction() const;
    db::TIBTransaction& SavepointTransaction();
    const std::string& SavepointName(std::size_t index) const;
    void StartStatistics();
    void StopStatistics();

    TIBSQLParser parser_;
    db::TIBTransaction ddlTransaction_;
    db::TIBSQL ddlQuery_;
    TIBScriptStats stats_;
    std::unique_ptr<db::TIBSQL> dmlQuery_;
    std::unique_ptr<ComponentWatch> watch_;

    db::TIBDatabase* database_ = nullptr;
    db::TIBTransaction* transaction_ = nullptr;
    std::weak_ptr<db::TIBQuery> dataset_;
    // The connection that CONNECT or CREATE DATABASE made, with its
    // transaction. The connection goes first, so that closing it ends the
    // transaction as any connection's close does (committing it).
    std::unique_ptr<db::TIBTransaction> ownTransaction_;
    std::unique_ptr<db::TIBDatabase> ownDatabase_;

    bool statistics_ = true;
    bool statsStarted_ = false;
    int sqlDialect_ = 3;
    std::string charSetName_;
    bool continue_ = true;
    bool executing_ = false;
    TIBParseKind lastKind_ = stmtUNK;
    bool batchMode_ = false;
    std::vector<std::string> batch_;
    TScriptStop lastStop_;
};

} // namespace scripts
