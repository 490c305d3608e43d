#pragma once

#include <functional>
#include <string>
#include <vector>

#include <ibase.h>

#include "db/IBHandles.h"
#include "db/IBParamBlocks.h"

// Connections and transactions of the local Firebird database. Every public
// operation that fails raises db::EIBError: the library's errors with its
// codes and texts, the layer's own checks with the texts written below.
namespace db {

class TIBDatabase;
class TIBTransaction;

// Something that uses a connection and a transaction (statements, queries):
// it is told before its transaction ends and before its connection closes,
// and when either goes away.
class TIBClient {
public:
    virtual ~TIBClient() = default;
    virtual void BeforeTransactionEnd() = 0;
    virtual void BeforeDatabaseDisconnect() = 0;
    virtual void DatabaseFreed() = 0;
    virtual void TransactionFreed() = 0;
};

enum class TTransactionAction { TACommit, TARollback, TACommitRetaining, TARollbackRetaining };

// One connection to a database file.
class TIBDatabase {
public:
    TIBDatabase();
    ~TIBDatabase();
    TIBDatabase(const TIBDatabase&) = delete;
    TIBDatabase& operator=(const TIBDatabase&) = delete;

    // Path as the client library takes it (local path or server-qualified).
    std::string DatabaseName;
    // Connection parameters, one NAME=value per line (see BuildDPB). For
    // CreateDatabase they are the clauses of CREATE DATABASE instead.
    std::vector<std::string> Params;
    // With LoginPrompt on and OnLogin assigned, OnLogin is asked for the user
    // name and password (prefilled from Params) before attaching.
    bool LoginPrompt = true;
    std::function<void(std::string& userName, std::string& password)> OnLogin;

    // Attaches. Raises "Cannot perform operation -- DB is currently open",
    // "Database name is missing", a parameter block error, or the library's
    // error (the connection then stays closed). Lowers SQLDialect to the
    // database's own dialect.
    void Open();
    // Tells every statement and query, ends every active transaction of the
    // connection with its DefaultAction, detaches. Does nothing when closed.
    void Close();
    bool Connected() const { return handle_.valid(); }

    int SQLDialect() const { return sqlDialect_; }
    // Raises "SQL Dialect Invalid" below 1, or above the database's own
    // dialect while connected.
    void SetSQLDialect(int dialect);
    // The database's own dialect: read at each open, 1 after a close.
    int DBSQLDialect() const { return dbSQLDialect_; }

    TIBTransaction* DefaultTransaction() const { return defaultTransaction_; }
    // Also lists this connection in the transaction.
    void SetDefaultTransaction(TIBTransaction* transaction);

    // Creates the database file DatabaseName with CREATE DATABASE and the
    // Params lines as its clauses, in SQLDialect, and stays connected to it.
    void CreateDatabase();
    // Drops the connected database (statements and queries are told first).
    // Raises "Cannot drop database -- transactions are active" while any of
    // its transactions is active.
    void DropDatabase();

    // A numeric database information item (isc_info_reads, ...).
    long long InfoInteger(char item);
    // A per-table database information item (isc_info_read_seq_count, ...):
    // one "table id=count" line per table.
    std::vector<std::string> InfoTableCounts(char item);

    isc_db_handle* Handle() { return handle_.ptr(); }

    // Registration of transactions and clients (done by their setters).
    void AddTransaction(TIBTransaction* transaction);
    void RemoveTransaction(TIBTransaction* transaction);
    void AddClient(TIBClient* client);
    void RemoveClient(TIBClient* client);

private:
    void CheckNotConnected() const;
    void ReadDatabaseDialect();
    std::string Info(char item);
    std::vector<std::string> LoginParams() const;

    DatabaseHandle handle_;
    int sqlDialect_ = 3;
    int dbSQLDialect_ = 3;
    TIBTransaction* defaultTransaction_ = nullptr;
    std::vector<TIBTransaction*> transactions_;
    std::vector<TIBClient*> clients_;
    ParamBlockCache dpb_{BuildDPB};
};

// One transaction, over one or more connections.
class TIBTransaction {
public:
    TIBTransaction();
    // An active transaction is rolled back; nothing is raised.
    ~TIBTransaction();
    TIBTransaction(const TIBTransaction&) = delete;
    TIBTransaction& operator=(const TIBTransaction&) = delete;

    // Transaction parameters, one name (or NAME=value) per line (see BuildTPB).
    std::vector<std::string> Params;
    // How an active transaction ends when one of its connections closes.
    TTransactionAction DefaultAction = TTransactionAction::TACommit;
    // Queries may start the transaction on their own.
    bool AllowAutoStart = true;

    TIBDatabase* DefaultDatabase() const { return databases_.empty() ? nullptr : databases_.front(); }
    // Makes the connection the first of the list (adding it when absent).
    void SetDefaultDatabase(TIBDatabase* database);
    void AddDatabase(TIBDatabase* database);
    void RemoveDatabase(TIBDatabase* database);
    const std::vector<TIBDatabase*>& Databases() const { return databases_; }

    // Raises "Transaction is active", "No databases in list",
    // "Cannot perform operation -- DB is not open", a parameter block error,
    // or the library's error.
    void StartTransaction();
    // The four endings raise "Transaction is not active" when it is not.
    // Commit and Rollback tell every statement and query first (open ones
    // close); on a library failure the transaction stays active.
    void Commit();
    void Rollback();
    // Rolls back when active and drops an error of the rollback itself: for
    // clean-up after a failure, whose own error is the one to report.
    void RollbackQuietly();
    // These keep the transaction, its handle and the open queries.
    void CommitRetaining();
    void RollbackRetaining();
    bool InTransaction() const { return handle_.valid(); }

    // Ends an active transaction as DefaultAction says (connection closing).
    void EndWithDefaultAction();

    isc_tr_handle* Handle() { return handle_.ptr(); }

    void AddClient(TIBClient* client);
    void RemoveClient(TIBClient* client);

private:
    using EndCall = ISC_STATUS (*)(ISC_STATUS*, isc_tr_handle*);
    void CheckActive() const;
    // Ends (or with a retaining call keeps) the transaction through the library.
    void End(EndCall call, bool closesQueries);
    void DatabaseFreed(TIBDatabase* database);
    friend class TIBDatabase;

    TransactionHandle handle_;
    std::vector<TIBDatabase*> databases_;
    std::vector<TIBClient*> clients_;
    ParamBlockCache tpb_{BuildTPB};
};

} // namespace db
