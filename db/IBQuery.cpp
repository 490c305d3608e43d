#include "db/IBQuery.h"

#include "db/IBError.h"

namespace db {

void TIBQuery::SetSQL(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        if (!text.empty())
            text += "\n";
        text += line;
    }
    statement_.SetSQL(text);
    sql_ = lines;
}

void TIBQuery::Prepare() {
    statement_.CheckSQL();
    statement_.CheckAssigned();
    TIBDatabase* database = Database();
    TIBTransaction* transaction = Transaction();
    if (!database->Connected())
        database->Open();
    if (!transaction->InTransaction()) {
        if (!transaction->AllowAutoStart)
            throw EIBError("Transaction is not active");
        transaction->StartTransaction();
    }
    statement_.Prepare();
}

bool TIBQuery::IsSelect() const {
    return statement_.SQLType() == TIBSQLTypes::SQLSelect || statement_.SQLType() == TIBSQLTypes::SQLSelectForUpdate;
}

void TIBQuery::Open() {
    Close();
    Prepare();
    if (!IsSelect())
        throw EIBError("Cannot open a statement that returns no rows");
    statement_.ExecQuery();
}

void TIBQuery::ExecSQL() {
    Close();
    Prepare();
    statement_.ExecQuery();
    statement_.Close();
}

} // namespace db
