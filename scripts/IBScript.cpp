#include "scripts/IBScript.h"

#include "base/Exception.h"
#include "base/StrUtils.h"
#include "db/IBClientCalls.h"
#include "db/IBError.h"
#include "scripts/ScriptText.h"

#include <algorithm>
#include <string>

namespace scripts {

namespace {

// A token without its surrounding quotes: when it begins with a single or
// double quote, its first and last characters go.
std::string Unquote(const std::string& token) {
    if (!token.empty() && (token.front() == '\'' || token.front() == '"'))
        return token.size() < 2 ? std::string() : token.substr(1, token.size() - 2);
    return token;
}

// The connection parameter a CONNECT keyword names; any other word keeps the
// name of the pair before it.
std::string ConnectParamName(const std::string& keyword, const std::string& previous) {
    const std::string word = base::UpperCase(keyword);
    if (word == "USER")
        return "user_name";
    if (word == "PASSWORD")
        return "password";
    if (word == "ROLE")
        return "sql_role_name";
    return previous;
}

} // namespace

std::string UnfinishedBatchMessage(std::size_t queued) {
    return std::to_string(queued) + " statement(s) after BATCH START were not run: BATCH EXECUTE is missing";
}

// Clears the runner's reference to its database or transaction when the
// component goes away.
class TIBScript::ComponentWatch : public db::TIBClient {
public:
    explicit ComponentWatch(TIBScript& owner) : owner_(owner) {}
    void BeforeTransactionEnd() override {}
    void BeforeDatabaseDisconnect() override {}
    void DatabaseFreed() override { owner_.SetDatabase(nullptr); }
    void TransactionFreed() override { owner_.SetTransaction(nullptr); }

private:
    TIBScript& owner_;
};

TIBScript::TIBScript() : watch_(std::make_unique<ComponentWatch>(*this)) {
    ddlQuery_.ParamCheck = false;
    parser_.OnParse = [this](TIBSQLParser&, TIBParseKind kind, const std::string& text) { Execute(kind, text); };
    parser_.OnError = [this](TIBSQLParser&, const std::string& error, const std::string& text, int lineIndex) {
        ParseError(error, text, lineIndex);
    };
}

TIBScript::~TIBScript() {
    if (database_ != nullptr)
        database_->RemoveClient(watch_.get());
    if (transaction_ != nullptr)
        transaction_->RemoveClient(watch_.get());
}

void TIBScript::SetDatabase(db::TIBDatabase* database) {
    if (database == database_)
        return;
    if (database_ != nullptr) {
        database_->RemoveClient(watch_.get());
        ddlTransaction_.RemoveDatabase(database_);
    }
    database_ = database;
    if (database != nullptr) {
        database->AddClient(watch_.get());
        ddlTransaction_.SetDefaultDatabase(database);
    }
    ddlQuery_.SetDatabase(database);
    stats_.SetDatabase(database);
    if (executing_ && dmlQuery_)
        dmlQuery_->SetDatabase(database);
}

void TIBScript::SetTransaction(db::TIBTransaction* transaction) {
    if (transaction == transaction_)
        return;
    if (transaction_ != nullptr)
        transaction_->RemoveClient(watch_.get());
    transaction_ = transaction;
    if (transaction != nullptr)
        transaction->AddClient(watch_.get());
    if (executing_ && dmlQuery_)
        dmlQuery_->SetTransaction(transaction);
}

void TIBScript::SetStatistics(bool value) {
    if (value == statistics_)
        return;
    statistics_ = value;
    if (!executing_)
        return;
    if (value)
        StartStatistics();
    else
        StopStatistics();
}

void TIBScript::StartStatistics() {
    if (database_ != nullptr && database_->Connected()) {
        stats_.Start();
        statsStarted_ = true;
    }
}

void TIBScript::StopStatistics() {
    if (statsStarted_ && database_ != nullptr && database_->Connected())
        stats_.Stop();
    statsStarted_ = false;
}

void TIBScript::RunScript() {
    continue_ = true;
    executing_ = true;
    charSetName_.clear();
    batchMode_ = false;
    batch_.clear();
    lastStop_ = {};
    struct EndOfRun {
        TIBScript& runner;
        ~EndOfRun() {
            runner.executing_ = false;
            runner.statsStarted_ = false;
            runner.dmlQuery_.reset();
        }
    } endOfRun{*this};

    if (dataset_.expired())
        dmlQuery_ = std::make_unique<db::TIBSQL>(database_);
    stats_.Clear();
    if (statistics_)
        StartStatistics();
    parser_.Parse();
    if (!parser_.Paused())
        CheckBatchEnded();
    if (statistics_)
        StopStatistics();
}

void TIBScript::Execute(TIBParseKind kind, const std::string& text) {
    lastKind_ = kind;
    try {
        if (const std::string fault = parser_.StatementFault(text); !fault.empty())
            throw db::EIBError(fault);
        if (batchMode_)
            ExecuteInBatch(kind, text);
        else
            ExecuteStatement(kind, text);
    } catch (const db::EIBError& error) {
        if (!ResumeAfter(error, text))
            throw;
        return;
    } catch (...) {
        StopEarly(text);
        throw;
    }
    if (OnParse)
        OnParse(*this, kind, text);
}

void TIBScript::CheckBatchEnded() {
    if (!batchMode_ || batch_.empty())
        return;
    const db::EIBError error(UnfinishedBatchMessage(batch_.size()));
    if (!ResumeAfter(error, ""))
        throw error;
}

void TIBScript::ExecuteStatement(TIBParseKind kind, const std::string& text) {
    const std::vector<std::string>& tokens = parser_.Tokens();
    switch (kind) {
    case stmtDDL:
        return ExecuteDDL(text);
    case stmtDML:
        return ExecuteDML(text);
    case stmtSET:
        return ExecuteSet();
    case stmtCONNECT:
        return Connect();
    case stmtDrop:
        return AssignedDatabase().DropDatabase();
    case stmtCREATE:
        return CreateDatabase();
    case stmtTERM:
        return SetTerminator(base::Trim(text));
    case stmtCOMMIT:
        return EndTransactions(&db::TIBTransaction::Commit);
    case stmtROLLBACK:
        return EndTransactions(&db::TIBTransaction::Rollback);
    case stmtCOMMITRetaining:
        return EndTransactions(&db::TIBTransaction::CommitRetaining);
    case stmtROLLBACKRetaining:
        return EndTransactions(&db::TIBTransaction::RollbackRetaining);
    case stmtReconnect:
        if (database_ != nullptr) {
            database_->Close();
            database_->Open();
        }
        return;
    case stmtRollbackSavePoint:
        return db::RollbackSavepoint(SavepointTransaction(), tokens.back());
    case stmtReleaseSavePoint:
        return db::ReleaseSavepoint(SavepointTransaction(), SavepointName(2));
    case stmtStartSavepoint:
        return db::StartSavepoint(SavepointTransaction(), SavepointName(1));
    case stmtBatchStart:
        batchMode_ = true;
        batch_.clear();
        return;
    default:
        return;
    }
}

void TIBScript::ExecuteInBatch(TIBParseKind kind, const std::string& text) {
    switch (kind) {
    case stmtDDL:
    case stmtDML:
        batch_.push_back(text);
        return;
    case stmtTERM:
        return SetTerminator(base::Trim(text));
    case stmtBatchExecute:
        return ExecuteBatch();
    default:
        throw db::EIBError(-1, 0, "Only DDL and DML (excluding Select statements) allowed within a Batch block");
    }
}

void TIBScript::ExecuteBatch() {
    const std::vector<std::string> statements = std::move(batch_);
    batch_.clear();
    batchMode_ = false;
    db::TIBTransaction& transaction = AssignedTransaction();
    if (!transaction.InTransaction())
        transaction.StartTransaction();
    db::TIBDatabase& database = AssignedDatabase();
    db::BatchExecuteImmediate(database, transaction, database.SQLDialect(), statements);
}

void TIBScript::ExecuteDDL(const std::string& text) {
    db::TIBTransaction* transaction = AutoDDL ? &ddlTransaction_ : transaction_;
    ddlQuery_.SetTransaction(transaction);
    if (transaction != nullptr && !transaction->InTransaction())
        transaction->StartTransaction();
    try {
        ddlQuery_.SetSQL(text);
        ddlQuery_.ExecQuery();
        if (AutoDDL)
            ddlTransaction_.Commit();
    } catch (...) {
        if (AutoDDL)
            ddlTransaction_.RollbackQuietly();
        throw;
    }
}

void TIBScript::ExecuteDML(const std::string& text) {
    if (const std::shared_ptr<db::TIBQuery> dataset = dataset_.lock())
        return ExecuteInDataset(*dataset, text);
    // A run resumed after it ended (the parser's pause cleared from outside)
    // gets a statement object again; the next run's end frees it.
    if (!dmlQuery_)
        dmlQuery_ = std::make_unique<db::TIBSQL>(database_);
    db::TIBSQL& query = *dmlQuery_;
    if (query.Open())
        query.Close();
    query.SetSQL(text);
    if (query.Transaction() != nullptr && !query.Transaction()->InTransaction())
        query.Transaction()->StartTransaction();
    query.Prepare();
    if (!PausedForParams(query.ParamCount()))
        query.ExecQuery();
}

void TIBScript::ExecuteInDataset(db::TIBQuery& dataset, const std::string& text) {
    dataset.SetSQL({text});
    dataset.Prepare();
    if (PausedForParams(dataset.ParamCount()))
        return;
    if (dataset.IsSelect())
        dataset.Open();
    else
        dataset.ExecSQL();
}

bool TIBScript::PausedForParams(int paramCount) {
    if (paramCount == 0 || !OnParamCheck)
        return false;
    bool pause = false;
    OnParamCheck(*this, pause);
    if (pause)
        parser_.SetPaused(true);
    return pause;
}

void TIBScript::ExecuteSet() {
    const std::vector<std::string>& tokens = parser_.Tokens();
    const std::string setting = base::UpperCase(tokens[1]);
    // ON and OFF in any letter case: the word is the last token (upper case)
    // only when no blank stands before the terminator.
    if (setting == "AUTODDL") {
        AutoDDL = base::SameText(tokens[2], "ON");
    } else if (setting == "STATISTICS") {
        SetStatistics(base::SameText(tokens[2], "ON"));
    } else if (setting == "SQL") {
        SetDialect(base::StrToInt(tokens[3]));
    } else if (setting == "NAMES") {
        charSetName_ = tokens[2];
    } else if (setting == "SAVEPOINTS" && transaction_ != nullptr) {
        // Without savepoints the engine keeps no undo log for the
        // transaction: the client library's no_auto_undo.
        std::vector<std::string>& params = transaction_->Params;
        const auto found = std::find(params.begin(), params.end(), "no_auto_undo");
        const bool off = base::SameText(tokens[2], "OFF");
        if (off && found == params.end())
            params.push_back("no_auto_undo");
        else if (!off && found != params.end())
            params.erase(found);
    }
}

void TIBScript::SetDialect(int dialect) {
    sqlDialect_ = dialect;
    if (database_ == nullptr || database_->SQLDialect() == dialect)
        return;
    if (database_->Connected()) {
        database_->Close();
        database_->SetSQLDialect(dialect);
        database_->Open();
    } else {
        database_->SetSQLDialect(dialect);
    }
}

void TIBScript::Connect() {
    if (ownDatabase_ == nullptr || database_ != ownDatabase_.get())
        NewConnection();
    db::TIBDatabase& database = *database_;
    const std::vector<std::string>& tokens = parser_.Tokens();
    if (database.Connected())
        database.Close();
    database.SetSQLDialect(sqlDialect_);
    database.Params.clear();
    database.DatabaseName = Unquote(tokens[1]);
    std::string name;
    for (std::size_t i = 2; i + 1 < tokens.size(); i += 2) {
        name = ConnectParamName(tokens[i], name);
        database.Params.push_back(name + "=" + Unquote(tokens[i + 1]));
    }
    if (!charSetName_.empty())
        database.Params.push_back("lc_ctype=" + charSetName_);
    database.Open();
}

void TIBScript::CreateDatabase() {
    NewConnection();
    db::TIBDatabase& database = *database_;
    const std::vector<std::string>& tokens = parser_.Tokens();
    // CREATE DATABASE without a name leaves the name empty, which the
    // database refuses.
    database.DatabaseName = tokens.size() > 2 ? Unquote(tokens[2]) : std::string();
    for (std::size_t i = 3; i + 1 < tokens.size(); i += 2)
        database.Params.push_back(tokens[i] + " " + tokens[i + 1]);
    database.SetSQLDialect(sqlDialect_);
    database.CreateDatabase();
    if (statistics_ && database.Connected()) {
        stats_.Start();
        statsStarted_ = true;
    }
}

void TIBScript::NewConnection() {
    if (database_ != nullptr)
        ddlTransaction_.RemoveDatabase(database_);
    ownDatabase_.reset();

    auto database = std::make_unique<db::TIBDatabase>();
    database->LoginPrompt = false;
    SetDatabase(database.get());
    ownDatabase_ = std::move(database);

    ownTransaction_.reset();
    auto transaction = std::make_unique<db::TIBTransaction>();
    SetTransaction(transaction.get());
    ownTransaction_ = std::move(transaction);

    ownDatabase_->SetDefaultTransaction(ownTransaction_.get());
    ownTransaction_->SetDefaultDatabase(ownDatabase_.get());
    ddlTransaction_.SetDefaultDatabase(ownDatabase_.get());
    ddlQuery_.SetDatabase(ownDatabase_.get());
    if (const std::shared_ptr<db::TIBQuery> dataset = dataset_.lock()) {
        dataset->SetDatabase(ownDatabase_.get());
        dataset->SetTransaction(ownTransaction_.get());
    }
}

void TIBScript::EndTransactions(void (db::TIBTransaction::*end)()) {
    if (transaction_ != nullptr && transaction_->InTransaction())
        (transaction_->*end)();
    if (ddlTransaction_.InTransaction())
        (ddlTransaction_.*end)();
}

bool TIBScript::ResumeAfter(const db::EIBError& error, const std::string& text) {
    continue_ = false;
    parser_.SetPaused(true);
    if (OnExecuteError)
        OnExecuteError(*this, error.what(), text, parser_.LineIndex(), continue_);
    if (continue_)
        parser_.SetPaused(false);
    else
        StopEarly(text);
    return static_cast<bool>(OnExecuteError);
}

void TIBScript::ParseError(const std::string& error, const std::string& text, int lineIndex) {
    if (OnParseError)
        OnParseError(*this, error, text, lineIndex);
    parser_.SetPaused(true);
    StopEarly(text);
    lastStop_.parseError = error + ", line " + std::to_string(lineIndex);
}

void TIBScript::StopEarly(const std::string& failing) {
    // The rest is discarded whatever the failing statement was, so it is
    // looked at first.
    const bool restHeldText = parser_.DiscardRest();
    lastStop_ = {true, restHeldText || !batch_.empty() || HoldsStatementText(failing), {}};
    batch_.clear();
    batchMode_ = false;
}

db::TIBDatabase& TIBScript::AssignedDatabase() const {
    if (database_ == nullptr)
        throw db::EIBError("Database not assigned");
    return *database_;
}

db::TIBTransaction& TIBScript::AssignedTransaction() const {
    if (transaction_ == nullptr)
        throw db::EIBError("Transaction not assigned");
    return *transaction_;
}

// Savepoints belong to Transaction, which a savepoint statement starts when
// it is not active (as a data statement would).
db::TIBTransaction& TIBScript::SavepointTransaction() {
    db::TIBTransaction& transaction = AssignedTransaction();
    if (!transaction.InTransaction())
        transaction.StartTransaction();
    return transaction;
}

const std::string& TIBScript::SavepointName(std::size_t index) const {
    const std::vector<std::string>& tokens = parser_.Tokens();
    if (index >= tokens.size())
        throw db::EIBError("Savepoint name is missing");
    return tokens[index];
}

} // namespace scripts
