#include "db/IBDatabase.h"

#include <algorithm>

#include "base/StrUtils.h"
#include "db/IBError.h"

namespace db {

namespace {

const char* const kNotOpen = "Cannot perform operation -- DB is not open";

template <typename T> void AddOnce(std::vector<T*>& list, T* item) {
    if (std::find(list.begin(), list.end(), item) == list.end())
        list.push_back(item);
}

template <typename T> void Remove(std::vector<T*>& list, T* item) {
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

// The value of the first line whose name (before "=", any case, optional
// prefix) is the given one, and the line's position.
std::size_t FindParam(const std::vector<std::string>& params, const std::string& name, std::string& value) {
    for (std::size_t i = 0; i < params.size(); ++i) {
        const std::string lower = base::LowerCase(params[i].substr(0, params[i].find('=')));
        if (lower == name || lower == "isc_dpb_" + name) {
            std::size_t equals = params[i].find('=');
            value = equals == std::string::npos ? std::string() : params[i].substr(equals + 1);
            return i;
        }
    }
    value.clear();
    return params.size();
}

void SetParam(std::vector<std::string>& params, const std::string& name, const std::string& value) {
    std::string ignored;
    std::size_t at = FindParam(params, name, ignored);
    if (at == params.size())
        params.push_back(name + "=" + value);
    else
        params[at] = name + "=" + value;
}

} // namespace

// ---------------------------------------------------------------- TIBDatabase

TIBDatabase::TIBDatabase() = default;

TIBDatabase::~TIBDatabase() {
    try {
        Close();
    } catch (...) {
        // A failed close (a commit the library refused) must not escape; the
        // handles below are released quietly instead.
    }
    for (TIBClient* client : std::vector<TIBClient*>(clients_))
        client->DatabaseFreed();
    for (TIBTransaction* transaction : std::vector<TIBTransaction*>(transactions_))
        transaction->DatabaseFreed(this);
}

void TIBDatabase::CheckNotConnected() const {
    if (Connected())
        throw EIBError("Cannot perform operation -- DB is currently open");
    if (DatabaseName.empty())
        throw EIBError("Database name is missing");
}

std::vector<std::string> TIBDatabase::LoginParams() const {
    std::vector<std::string> params = Params;
    std::string user;
    std::string password;
    FindParam(params, "user_name", user);
    FindParam(params, "password", password);
    OnLogin(user, password);
    SetParam(params, "user_name", user);
    SetParam(params, "password", password);
    return params;
}

void TIBDatabase::Open() {
    CheckNotConnected();
    const std::string& dpb = LoginPrompt && OnLogin ? BuildDPB(LoginParams()) : dpb_.get(Params);
    StatusVector status;
    isc_attach_database(status.get(), 0, DatabaseName.c_str(), handle_.ptr(), static_cast<short>(dpb.size()),
                        dpb.data());
    check(status);
    try {
        ReadDatabaseDialect();
    } catch (...) {
        handle_.reset();
        throw;
    }
    if (dbSQLDialect_ < sqlDialect_)
        sqlDialect_ = dbSQLDialect_;
}

void TIBDatabase::Close() {
    if (!Connected())
        return;
    for (TIBClient* client : std::vector<TIBClient*>(clients_))
        client->BeforeDatabaseDisconnect();
    for (TIBTransaction* transaction : std::vector<TIBTransaction*>(transactions_))
        if (transaction->InTransaction())
            transaction->EndWithDefaultAction();
    StatusVector status;
    isc_detach_database(status.get(), handle_.ptr());
    check(status);
    dbSQLDialect_ = 1;
}

void TIBDatabase::SetSQLDialect(int dialect) {
    if (dialect < 1 || (Connected() && dialect > dbSQLDialect_))
        throw EIBError("SQL Dialect Invalid");
    sqlDialect_ = dialect;
}

void TIBDatabase::SetDefaultTransaction(TIBTransaction* transaction) {
    defaultTransaction_ = transaction;
    if (transaction != nullptr)
        transaction->AddDatabase(this);
}

void TIBDatabase::CreateDatabase() {
    CheckNotConnected();
    std::string sql = "CREATE DATABASE " + base::QuotedStr(DatabaseName);
    for (const std::string& clause : Params)
        sql += " " + clause;
    StatusVector status;
    isc_tr_handle noTransaction = 0;
    isc_dsql_execute_immediate(status.get(), handle_.ptr(), &noTransaction, 0, sql.c_str(),
                               static_cast<unsigned short>(sqlDialect_), nullptr);
    check(status);
    ReadDatabaseDialect();
}

void TIBDatabase::DropDatabase() {
    if (!Connected())
        throw EIBError(kNotOpen);
    for (TIBTransaction* transaction : transactions_)
        if (transaction->InTransaction())
            throw EIBError("Cannot drop database -- transactions are active");
    for (TIBClient* client : std::vector<TIBClient*>(clients_))
        client->BeforeDatabaseDisconnect();
    StatusVector status;
    isc_drop_database(status.get(), handle_.ptr());
    check(status);
    dbSQLDialect_ = 1;
}

std::string TIBDatabase::Info(char item) {
    if (!Connected())
        throw EIBError(kNotOpen);
    // The library marks an answer that did not fit; ask again with more room.
    for (short size : {1024, 8192, 32767}) {
        std::string buffer(static_cast<std::size_t>(size), '\0');
        StatusVector status;
        isc_database_info(status.get(), handle_.ptr(), 1, &item, size, buffer.data());
        check(status);
        if (buffer[0] == isc_info_truncated)
            continue;
        if (buffer[0] != item)
            return {};
        auto length = static_cast<std::size_t>(isc_vax_integer(buffer.data() + 1, 2));
        return buffer.substr(3, length);
    }
    throw EIBError("Database information is too long");
}

void TIBDatabase::ReadDatabaseDialect() {
    std::string value = Info(isc_info_db_sql_dialect);
    dbSQLDialect_ = value.empty() ? 1 : static_cast<int>(isc_vax_integer(value.data(), 1));
}

long long TIBDatabase::InfoInteger(char item) {
    std::string value = Info(item);
    return isc_portable_integer(reinterpret_cast<const ISC_UCHAR*>(value.data()), static_cast<short>(value.size()));
}

std::vector<std::string> TIBDatabase::InfoTableCounts(char item) {
    std::string value = Info(item);
    std::vector<std::string> lines;
    // Each table is its 2-byte id followed by its 4-byte count.
    for (std::size_t at = 0; at + 6 <= value.size(); at += 6) {
        long id = isc_vax_integer(value.data() + at, 2);
        long count = isc_vax_integer(value.data() + at + 2, 4);
        lines.push_back(std::to_string(id) + "=" + std::to_string(count));
    }
    return lines;
}

void TIBDatabase::AddTransaction(TIBTransaction* transaction) {
    AddOnce(transactions_, transaction);
}

void TIBDatabase::RemoveTransaction(TIBTransaction* transaction) {
    Remove(transactions_, transaction);
    if (defaultTransaction_ == transaction)
        defaultTransaction_ = nullptr;
}

void TIBDatabase::AddClient(TIBClient* client) {
    AddOnce(clients_, client);
}

void TIBDatabase::RemoveClient(TIBClient* client) {
    Remove(clients_, client);
}

// ------------------------------------------------------------- TIBTransaction

TIBTransaction::TIBTransaction() = default;

TIBTransaction::~TIBTransaction() {
    for (TIBClient* client : std::vector<TIBClient*>(clients_))
        client->TransactionFreed();
    handle_.reset();
    for (TIBDatabase* database : databases_)
        database->RemoveTransaction(this);
}

void TIBTransaction::SetDefaultDatabase(TIBDatabase* database) {
    if (database == nullptr) {
        if (!databases_.empty())
            RemoveDatabase(databases_.front());
        return;
    }
    Remove(databases_, database);
    databases_.insert(databases_.begin(), database);
    database->AddTransaction(this);
}

void TIBTransaction::AddDatabase(TIBDatabase* database) {
    AddOnce(databases_, database);
    database->AddTransaction(this);
}

void TIBTransaction::RemoveDatabase(TIBDatabase* database) {
    Remove(databases_, database);
    database->RemoveTransaction(this);
}

void TIBTransaction::DatabaseFreed(TIBDatabase* database) {
    if (std::find(databases_.begin(), databases_.end(), database) == databases_.end())
        return;
    // The connection is going away: a transaction over it cannot go on.
    if (InTransaction()) {
        for (TIBClient* client : std::vector<TIBClient*>(clients_))
            client->BeforeTransactionEnd();
        handle_.reset();
    }
    Remove(databases_, database);
}

void TIBTransaction::StartTransaction() {
    if (InTransaction())
        throw EIBError("Transaction is active");
    if (databases_.empty())
        throw EIBError("No databases in list");
    for (TIBDatabase* database : databases_)
        if (!database->Connected())
            throw EIBError(kNotOpen);
    const std::string& tpb = tpb_.get(Params);

    // One entry per connection, laid out as the multi-database start reads it.
    struct TransactionElement {
        isc_db_handle* database;
        int tpbLength;
        const char* tpb;
    };
    std::vector<TransactionElement> elements;
    for (TIBDatabase* database : databases_)
        elements.push_back({database->Handle(), static_cast<int>(tpb.size()), tpb.empty() ? nullptr : tpb.data()});
    StatusVector status;
    isc_start_multiple(status.get(), handle_.ptr(), static_cast<short>(elements.size()), elements.data());
    check(status);
}

void TIBTransaction::CheckActive() const {
    if (!InTransaction())
        throw EIBError("Transaction is not active");
}

void TIBTransaction::End(EndCall call, bool closesQueries) {
    CheckActive();
    if (closesQueries)
        for (TIBClient* client : std::vector<TIBClient*>(clients_))
            client->BeforeTransactionEnd();
    StatusVector status;
    call(status.get(), handle_.ptr());
    check(status);
}

void TIBTransaction::Commit() {
    End(isc_commit_transaction, true);
}

void TIBTransaction::Rollback() {
    End(isc_rollback_transaction, true);
}

void TIBTransaction::RollbackQuietly() {
    try {
        if (InTransaction())
            Rollback();
    } catch (const EIBError&) {
    }
}

void TIBTransaction::CommitRetaining() {
    End(isc_commit_retaining, false);
}

void TIBTransaction::RollbackRetaining() {
    End(isc_rollback_retaining, false);
}

void TIBTransaction::EndWithDefaultAction() {
    if (DefaultAction == TTransactionAction::TACommit || DefaultAction == TTransactionAction::TACommitRetaining)
        Commit();
    else
        Rollback();
}

void TIBTransaction::AddClient(TIBClient* client) {
    AddOnce(clients_, client);
}

void TIBTransaction::RemoveClient(TIBClient* client) {
    Remove(clients_, client);
}

} // namespace db
