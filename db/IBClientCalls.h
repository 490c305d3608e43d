#pragma once

#include <string>
#include <vector>

#include "db/IBDatabase.h"

// Savepoints and batch execution. Some builds of the client library export
// calls for them (isc_start_savepoint, isc_release_savepoint,
// isc_rollback_savepoint, isc_dsql_batch_execute_immed) and others lack them:
// each function uses the library's call when it is exported and otherwise does
// the same through SQL statements in the same transaction. Failures raise
// EIBError ("Transaction is not active", "No databases in list", the library's).
namespace db {

void StartSavepoint(TIBTransaction& transaction, const std::string& name);
void ReleaseSavepoint(TIBTransaction& transaction, const std::string& name);
void RollbackSavepoint(TIBTransaction& transaction, const std::string& name);

// Executes the statements in order in the transaction, in the given dialect;
// the first failure stops the batch and raises.
void BatchExecuteImmediate(TIBDatabase& database, TIBTransaction& transaction, int dialect,
                           const std::vector<std::string>& statements);

} // namespace db
