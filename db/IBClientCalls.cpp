#include "db/IBClientCalls.h"

#include <dlfcn.h>

#include "db/IBError.h"

namespace db {

namespace {

using SavepointCall = ISC_STATUS (*)(ISC_STATUS*, isc_tr_handle*, char*);
using RollbackSavepointCall = ISC_STATUS (*)(ISC_STATUS*, isc_tr_handle*, char*, unsigned short);
using BatchCall = ISC_STATUS (*)(ISC_STATUS*, isc_db_handle*, isc_tr_handle*, unsigned short, unsigned long, char**,
                                 unsigned long*);

template <typename Call> Call Lookup(const char* name) {
    return reinterpret_cast<Call>(dlsym(RTLD_DEFAULT, name));
}

void CheckActive(const TIBTransaction& transaction) {
    if (!transaction.InTransaction())
        throw EIBError("Transaction is not active");
}

// Executes one statement in the transaction on the given connection.
void ExecuteImmediate(TIBDatabase& database, TIBTransaction& transaction, int dialect, const std::string& sql) {
    StatusVector status;
    isc_dsql_execute_immediate(status.get(), database.Handle(), transaction.Handle(), 0, sql.c_str(),
                               static_cast<unsigned short>(dialect), nullptr);
    check(status);
}

// Runs a savepoint statement on the transaction's default connection.
void SavepointStatement(TIBTransaction& transaction, const std::string& sql) {
    TIBDatabase* database = transaction.DefaultDatabase();
    if (database == nullptr)
        throw EIBError("No databases in list");
    ExecuteImmediate(*database, transaction, database->SQLDialect(), sql);
}

void Savepoint(TIBTransaction& transaction, SavepointCall exported, const std::string& name, const std::string& sql) {
    CheckActive(transaction);
    if (exported == nullptr)
        return SavepointStatement(transaction, sql);
    std::string text = name;
    StatusVector status;
    exported(status.get(), transaction.Handle(), text.data());
    check(status);
}

} // namespace

void StartSavepoint(TIBTransaction& transaction, const std::string& name) {
    static const auto exported = Lookup<SavepointCall>("isc_start_savepoint");
    Savepoint(transaction, exported, name, "SAVEPOINT " + name);
}

void ReleaseSavepoint(TIBTransaction& transaction, const std::string& name) {
    static const auto exported = Lookup<SavepointCall>("isc_release_savepoint");
    Savepoint(transaction, exported, name, "RELEASE SAVEPOINT " + name);
}

void RollbackSavepoint(TIBTransaction& transaction, const std::string& name) {
    CheckActive(transaction);
    static const auto exported = Lookup<RollbackSavepointCall>("isc_rollback_savepoint");
    if (exported == nullptr)
        return SavepointStatement(transaction, "ROLLBACK TO SAVEPOINT " + name);
    std::string text = name;
    StatusVector status;
    exported(status.get(), transaction.Handle(), text.data(), 0);
    check(status);
}

void BatchExecuteImmediate(TIBDatabase& database, TIBTransaction& transaction, int dialect,
                           const std::vector<std::string>& statements) {
    CheckActive(transaction);
    static const auto exported = Lookup<BatchCall>("isc_dsql_batch_execute_immed");
    if (exported == nullptr) {
        for (const std::string& sql : statements)
            ExecuteImmediate(database, transaction, dialect, sql);
        return;
    }
    std::vector<std::string> texts = statements;
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    std::vector<unsigned long> results(texts.size());
    StatusVector status;
    exported(status.get(), database.Handle(), transaction.Handle(), static_cast<unsigned short>(dialect),
             pointers.size(), pointers.data(), results.data());
    check(status);
}

} // namespace db
