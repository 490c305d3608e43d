#pragma once

#include <memory>
#include <string>
#include <vector>

#include <ibase.h>

#include "db/IBDatabase.h"
#include "db/IBHandles.h"

namespace db {

// Kinds of prepared statements, as the client library reports them.
enum class TIBSQLTypes {
    SQLUnknown,
    SQLSelect,
    SQLInsert,
    SQLUpdate,
    SQLDelete,
    SQLDDL,
    SQLGetSegment,
    SQLPutSegment,
    SQLExecProcedure,
    SQLStartTransaction,
    SQLCommit,
    SQLRollback,
    SQLSelectForUpdate,
    SQLSetGenerator,
    SQLSavePoint,
};

// Replaces the named parameter markers (:name, :"Name") outside quoted texts,
// quoted names and comments by "?" and appends the names to `names`.
std::string ReplaceNamedParams(const std::string& sql, std::vector<std::string>& names);

class TIBSQL;

// The parameter or column descriptors of a prepared statement, with the
// buffers the library reads from or writes into.
class SQLArea {
public:
    SQLArea();
    // Asks the library to describe the statement's columns (bind = false) or
    // parameters (bind = true) and allocates a buffer for each.
    void Describe(isc_stmt_handle* statement, bool bind);
    // Takes the descriptors that the prepare call wrote into the area,
    // describing again when there were more than it held, and allocates the
    // buffers.
    void Complete(isc_stmt_handle* statement, bool bind);
    void Clear();
    // Marks every parameter NULL (parameters are not given values).
    void SetAllNull();
    int Count() const { return area()->sqld; }
    XSQLDA* area() { return reinterpret_cast<XSQLDA*>(storage_.data()); }
    const XSQLDA* area() const { return reinterpret_cast<const XSQLDA*>(storage_.data()); }

private:
    void Resize(int count);

    std::vector<char> storage_;
    std::vector<std::vector<char>> buffers_;
    std::vector<short> indicators_;
};

// One column of the current row of a SELECT (or one output of EXECUTE
// PROCEDURE). NULL reads as "" and 0.
class TIBField {
public:
    TIBField(TIBSQL& owner, const XSQLVAR& var) : owner_(&owner), var_(&var) {}

    std::string Name() const;
    bool IsNull() const;
    // Texts as stored (CHAR keeps its padding); numbers in C notation with the
    // column's scale; dates as yyyy-mm-dd, times as hh:nn:ss; text BLOBs read whole.
    std::string AsString() const;
    // Raises "'<text>' is not a valid integer value" for a text that is not one.
    long long AsInteger() const;

private:
    long long AsIntegerUnscaled() const;

    TIBSQL* owner_;
    const XSQLVAR* var_;
};

// One SQL statement on a connection, executed in a transaction. Failures raise
// EIBError: the library's, "Empty query" (before anything is sent),
// "Database not assigned", "Transaction not assigned",
// "Cannot perform operation -- DB is not open", "Transaction is not active",
// "Field '<name>' not found".
class TIBSQL : public TIBClient {
public:
    // Takes the connection's default transaction.
    explicit TIBSQL(TIBDatabase* database = nullptr);
    ~TIBSQL() override;
    TIBSQL(const TIBSQL&) = delete;
    TIBSQL& operator=(const TIBSQL&) = delete;

    TIBDatabase* Database() const { return database_; }
    // Releases a prepared statement; takes the connection's default
    // transaction when the statement has none.
    void SetDatabase(TIBDatabase* database);
    TIBTransaction* Transaction() const { return transaction_; }
    // Closes an open cursor.
    void SetTransaction(TIBTransaction* transaction);

    const std::string& SQL() const { return sql_; }
    // Closes and releases the statement before taking the new text.
    void SetSQL(const std::string& sql);
    // On: named parameter markers (:name) become parameters. Off: the text is
    // sent as it stands, colons included. Read at the next prepare.
    bool ParamCheck = true;

    // Prepares in the connection's SQLDialect (the connection must be open and
    // the transaction active).
    void Prepare();
    bool Prepared() const { return statement_.valid(); }
    TIBSQLTypes SQLType() const { return type_; }
    int ParamCount() const { return params_.Count(); }
    const std::vector<std::string>& ParamNames() const { return paramNames_; }

    // Prepares when needed and executes (parameters are NULL). A SELECT opens
    // a cursor on its first row.
    void ExecQuery();
    bool Open() const { return open_; }
    bool Eof() const { return eof_; }
    // Moves to the next row; false (and Eof) after the last one.
    bool Next();
    // Closes an open cursor; the statement stays prepared.
    void Close();
    // Releases the prepared statement.
    void FreeHandle();

    const std::vector<TIBField>& Fields() const { return fields_; }
    // Column by name, letter case ignored.
    const TIBField& FieldByName(const std::string& name) const;

    // Raise "Empty query" for a blank text; "Database not assigned" /
    // "Transaction not assigned" when either is missing.
    void CheckSQL() const;
    void CheckAssigned() const;

    void BeforeTransactionEnd() override;
    void BeforeDatabaseDisconnect() override;
    void DatabaseFreed() override;
    void TransactionFreed() override;

private:
    friend class TIBField;
    void CheckReady() const;
    // Reads the statement's type; gives its number of parameters, or -1 when
    // the library did not report it.
    int ReadTypeAndParamCount();
    void CloseQuietly() noexcept;
    std::string ReadBlob(ISC_QUAD id);

    TIBDatabase* database_ = nullptr;
    TIBTransaction* transaction_ = nullptr;
    std::string sql_;
    StatementHandle statement_;
    TIBSQLTypes type_ = TIBSQLTypes::SQLUnknown;
    SQLArea params_;
    SQLArea columns_;
    std::vector<std::string> paramNames_;
    std::vector<TIBField> fields_;
    bool open_ = false;
    bool eof_ = true;
};

} // namespace db
