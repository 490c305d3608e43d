#include "db/DBTables.h"

#include "base/StrUtils.h"
#include "db/EngineError.h"

namespace db {

namespace {

std::vector<std::string> splitFieldNames(const std::string& names) {
    std::vector<std::string> result = base::SplitString(names, ';');
    for (std::string& name : result)
        name = base::Trim(name);
    return result;
}

// The account line NAME=value of Params, the name compared ignoring letter case.
std::string paramValue(const std::vector<std::string>& params, std::string_view name, const std::string& fallback) {
    for (const std::string& line : params) {
        size_t equals = line.find('=');
        if (equals != std::string::npos && base::SameText(base::Trim(line.substr(0, equals)), name))
            return line.substr(equals + 1);
    }
    return fallback;
}

} // namespace

// ---- TDatabase

TDatabase::~TDatabase() {
    Close();
    for (TDataSet* dataSet : dataSets_)
        dataSet->database_ = nullptr;
}

void TDatabase::Open() {
    if (Connected())
        return;
    if (LoginPrompt)
        throw EDatabaseError("Database " + DatabaseName +
                             ": no login dialog is available; turn LoginPrompt off and give the account in Params");
    if (AliasName.empty())
        throw EDatabaseError("Database " + DatabaseName + ": the alias name is missing");
    Alias alias = LoadAlias(AliasName);
    Account account{paramValue(Params, "USER NAME", alias.Entry("USER NAME")),
                    paramValue(Params, "PASSWORD", alias.Entry("PASSWORD"))};
    connection_ = ConnectAlias(alias, account);
}

void TDatabase::Close() {
    for (TDataSet* dataSet : dataSets_)
        dataSet->Close();
    connection_.reset();
}

std::string TDatabase::QuoteText(std::string_view value) {
    return connection().QuoteText(value);
}

Connection& TDatabase::connection() {
    Open();
    return *connection_;
}

// ---- TField

std::string TField::AsString() const {
    dataSet_->requireActive();
    const FieldValue& value = dataSet_->row_[index_];
    return value ? *value : std::string();
}

int TField::AsInteger() const {
    dataSet_->requireActive();
    const FieldValue& value = dataSet_->row_[index_];
    return value ? base::StrToInt(*value) : 0;
}

std::vector<std::string> TField::AsLines() const {
    return base::TextToLines(AsString());
}

// ---- TDataSet

TDataSet::TDataSet(TDatabase& database) : database_(&database) {
    database_->dataSets_.push_back(this);
}

TDataSet::~TDataSet() {
    Close();
    if (database_)
        std::erase(database_->dataSets_, this);
}

void TDataSet::Open() {
    if (Active())
        return;
    std::unique_ptr<Cursor> cursor = DatabaseConnection().Execute(StatementText());
    std::vector<FieldValue> first;
    bool hasRow = cursor->Fetch(first);
    row_ = hasRow ? std::move(first) : std::vector<FieldValue>(cursor->ColumnNames().size());
    eof_ = !hasRow;
    cursor_ = std::move(cursor);
}

Connection& TDataSet::DatabaseConnection() const {
    if (!database_)
        throw EDatabaseError("The data set's database no longer exists");
    return database_->connection();
}

void TDataSet::Close() {
    cursor_.reset();
    row_.clear();
    eof_ = true;
}

void TDataSet::requireActive() const {
    if (!Active())
        throw EDatabaseError("Cannot perform this operation on a closed dataset");
}

void TDataSet::Next() {
    requireActive();
    if (eof_)
        return;
    std::vector<FieldValue> next;
    if (cursor_->Fetch(next))
        row_ = std::move(next);
    else
        eof_ = true;
}

TField TDataSet::FieldByName(std::string_view name) const {
    requireActive();
    const std::vector<std::string>& columns = cursor_->ColumnNames();
    for (size_t i = 0; i < columns.size(); ++i)
        if (base::SameText(columns[i], name))
            return TField(*this, i);
    throw EDatabaseError("Field '" + std::string(name) + "' not found");
}

// ---- TQuery

std::string TQuery::StatementText() const {
    std::string text;
    for (const std::string& line : SQL)
        text += (text.empty() ? "" : "\n") + line;
    if (base::Trim(text).empty())
        throw EDatabaseError("No SQL statement available");
    return text;
}

// ---- TTable

std::string TTable::StatementText() const {
    if (TableName.empty())
        throw EDatabaseError("Table name is missing");
    std::string sql = "select * from " + TableName;
    if (MasterSource == nullptr)
        return sql;
    std::vector<std::string> details = splitFieldNames(IndexFieldNames.empty() ? MasterFields : IndexFieldNames);
    std::vector<std::string> masters = splitFieldNames(MasterFields);
    if (details.size() != masters.size())
        throw EDatabaseError("Table " + TableName + ": index fields and master fields do not pair up");
    Connection& connection = DatabaseConnection();
    for (size_t i = 0; i < details.size(); ++i)
        sql += (i == 0 ? " where " : " and ") + details[i] + " = " +
               connection.QuoteText(MasterSource->FieldByName(masters[i]).AsString());
    return sql;
}

} // namespace db
