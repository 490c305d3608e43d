#pragma once

#include <string>
#include <vector>

#include "db/IBSQL.h"

namespace db {

// A query over one statement: opens SELECTs and executes everything else.
// Opening or executing first opens the connection when it is closed and
// starts the transaction when it is not active (when AllowAutoStart permits);
// the transaction stays active afterwards. Failures raise EIBError as TIBSQL's
// do, and "Transaction is not active" when the transaction may not start on
// its own, "Cannot open a statement that returns no rows" for Open of a
// statement that is not a SELECT.
class TIBQuery {
public:
    TIBQuery() = default;

    TIBDatabase* Database() const { return statement_.Database(); }
    void SetDatabase(TIBDatabase* database) { statement_.SetDatabase(database); }
    TIBTransaction* Transaction() const { return statement_.Transaction(); }
    void SetTransaction(TIBTransaction* transaction) { statement_.SetTransaction(transaction); }

    const std::vector<std::string>& SQL() const { return sql_; }
    // Closes the query before taking the new lines.
    void SetSQL(const std::vector<std::string>& lines);

    // Checks the text, opens the connection, starts the transaction and
    // prepares the statement (Open and ExecSQL do this themselves).
    void Prepare();
    int ParamCount() const { return statement_.ParamCount(); }
    // Whether the prepared statement returns rows.
    bool IsSelect() const;

    // Runs a SELECT and stands on its first row.
    void Open();
    // Runs any other statement.
    void ExecSQL();
    // Closes the cursor; the transaction stays as it is.
    void Close() { statement_.Close(); }
    bool Active() const { return statement_.Open(); }

    bool Eof() const { return statement_.Eof(); }
    void Next() { statement_.Next(); }
    const TIBField& FieldByName(const std::string& name) const { return statement_.FieldByName(name); }

private:
    std::vector<std::string> sql_;
    TIBSQL statement_;
};

} // namespace db
