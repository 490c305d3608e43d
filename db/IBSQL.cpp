#include "db/IBSQL.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "base/StrUtils.h"
#include "db/IBError.h"

namespace db {

namespace {

bool IsNameStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_';
}

bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '$';
}

// Position just after the end of the quoted text, quoted name or comment that
// starts at `at`, or `at` itself when none starts there.
std::size_t SkipLiteral(const std::string& sql, std::size_t at) {
    const char c = sql[at];
    if (c == '\'' || c == '"') {
        std::size_t end = sql.find(c, at + 1);
        return end == std::string::npos ? sql.size() : end + 1;
    }
    if (sql.compare(at, 2, "--") == 0) {
        std::size_t end = sql.find('\n', at);
        return end == std::string::npos ? sql.size() : end + 1;
    }
    if (sql.compare(at, 2, "/*") == 0) {
        std::size_t end = sql.find("*/", at + 2);
        return end == std::string::npos ? sql.size() : end + 2;
    }
    return at;
}

std::string Scaled(long long value, int scale) {
    if (scale >= 0)
        return std::to_string(value);
    std::string digits = std::to_string(value < 0 ? -static_cast<unsigned long long>(value) : value);
    const auto places = static_cast<std::size_t>(-scale);
    if (digits.size() <= places)
        digits.insert(0, places + 1 - digits.size(), '0');
    digits.insert(digits.size() - places, ".");
    return value < 0 ? "-" + digits : digits;
}

long long Unscaled(long long value, int scale) {
    for (int i = scale; i < 0; ++i)
        value /= 10;
    return value;
}

std::string Formatted(const char* format, const std::tm& time) {
    char text[32];
    std::strftime(text, sizeof text, format, &time);
    return text;
}

std::string DoubleText(double value) {
    char text[32];
    auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

TIBSQLTypes TypeFromInfo(long code) {
    if (code >= isc_info_sql_stmt_select && code <= isc_info_sql_stmt_savepoint)
        return static_cast<TIBSQLTypes>(code);
    return TIBSQLTypes::SQLUnknown;
}

} // namespace

std::string ReplaceNamedParams(const std::string& sql, std::vector<std::string>& names) {
    std::string result;
    std::size_t at = 0;
    while (at < sql.size()) {
        std::size_t skipped = SkipLiteral(sql, at);
        if (skipped != at) {
            result.append(sql, at, skipped - at);
            at = skipped;
            continue;
        }
        if (sql[at] == ':' && at + 1 < sql.size() && sql[at + 1] == '"') {
            std::size_t end = sql.find('"', at + 2);
            if (end == std::string::npos)
                end = sql.size();
            names.push_back(sql.substr(at + 2, end - at - 2));
            result += '?';
            at = std::min(end + 1, sql.size());
            continue;
        }
        if (sql[at] == ':' && at + 1 < sql.size() && IsNameStart(sql[at + 1])) {
            std::size_t end = at + 1;
            while (end < sql.size() && IsNameChar(sql[end]))
                ++end;
            names.push_back(sql.substr(at + 1, end - at - 1));
            result += '?';
            at = end;
            continue;
        }
        result += sql[at++];
    }
    return result;
}

// -------------------------------------------------------------------- SQLArea

SQLArea::SQLArea() {
    Resize(1);
}

void SQLArea::Resize(int count) {
    storage_.assign(XSQLDA_LENGTH(count), '\0');
    area()->version = SQLDA_VERSION1;
    area()->sqln = static_cast<ISC_SHORT>(count);
    area()->sqld = 0;
}

void SQLArea::Clear() {
    Resize(1);
    buffers_.clear();
    indicators_.clear();
}

void SQLArea::Describe(isc_stmt_handle* statement, bool bind) {
    Clear();
    StatusVector status;
    (bind ? isc_dsql_describe_bind : isc_dsql_describe)(status.get(), statement, SQLDA_VERSION1, area());
    check(status);
    Complete(statement, bind);
}

void SQLArea::Complete(isc_stmt_handle* statement, bool bind) {
    if (area()->sqld > area()->sqln) {
        Resize(area()->sqld);
        StatusVector status;
        (bind ? isc_dsql_describe_bind : isc_dsql_describe)(status.get(), statement, SQLDA_VERSION1, area());
        check(status);
    }
    const int count = area()->sqld;
    buffers_.resize(count);
    indicators_.assign(count, 0);
    for (int i = 0; i < count; ++i) {
        XSQLVAR& var = area()->sqlvar[i];
        std::size_t size = static_cast<std::size_t>(var.sqllen);
        if ((var.sqltype & ~1) == SQL_VARYING)
            size += sizeof(short);
        buffers_[i].assign(std::max<std::size_t>(size, 1), '\0');
        var.sqldata = buffers_[i].data();
        var.sqlind = &indicators_[i];
    }
}

void SQLArea::SetAllNull() {
    for (int i = 0; i < Count(); ++i) {
        area()->sqlvar[i].sqltype |= 1;
        indicators_[i] = -1;
    }
}

// ------------------------------------------------------------------- TIBField

std::string TIBField::Name() const {
    return std::string(var_->aliasname, var_->aliasname_length);
}

bool TIBField::IsNull() const {
    return (var_->sqltype & 1) != 0 && *var_->sqlind < 0;
}

std::string TIBField::AsString() const {
    if (IsNull())
        return {};
    const char* data = var_->sqldata;
    std::tm time{};
    switch (var_->sqltype & ~1) {
    case SQL_TEXT:
        return std::string(data, static_cast<std::size_t>(var_->sqllen));
    case SQL_VARYING: {
        short length = 0;
        std::memcpy(&length, data, sizeof length);
        return std::string(data + sizeof length, static_cast<std::size_t>(length));
    }
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
        return Scaled(AsIntegerUnscaled(), var_->sqlscale);
    case SQL_FLOAT: {
        float value = 0;
        std::memcpy(&value, data, sizeof value);
        return DoubleText(value);
    }
    case SQL_DOUBLE:
    case SQL_D_FLOAT: {
        double value = 0;
        std::memcpy(&value, data, sizeof value);
        return DoubleText(value);
    }
    case SQL_TYPE_DATE:
        isc_decode_sql_date(reinterpret_cast<const ISC_DATE*>(data), &time);
        return Formatted("%Y-%m-%d", time);
    case SQL_TYPE_TIME:
        isc_decode_sql_time(reinterpret_cast<const ISC_TIME*>(data), &time);
        return Formatted("%H:%M:%S", time);
    case SQL_TIMESTAMP:
        isc_decode_timestamp(reinterpret_cast<const ISC_TIMESTAMP*>(data), &time);
        return Formatted("%Y-%m-%d %H:%M:%S", time);
    case SQL_BOOLEAN:
        return *data != 0 ? "True" : "False";
    case SQL_BLOB:
        return owner_->ReadBlob(*reinterpret_cast<const ISC_QUAD*>(data));
    default:
        return {};
    }
}

long long TIBField::AsIntegerUnscaled() const {
    const char* data = var_->sqldata;
    switch (var_->sqltype & ~1) {
    case SQL_SHORT: {
        short value = 0;
        std::memcpy(&value, data, sizeof value);
        return value;
    }
    case SQL_LONG: {
        ISC_LONG value = 0;
        std::memcpy(&value, data, sizeof value);
        return value;
    }
    default: {
        ISC_INT64 value = 0;
        std::memcpy(&value, data, sizeof value);
        return value;
    }
    }
}

long long TIBField::AsInteger() const {
    if (IsNull())
        return 0;
    switch (var_->sqltype & ~1) {
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
        return Unscaled(AsIntegerUnscaled(), var_->sqlscale);
    default:
        break;
    }
    std::string text = AsString();
    std::size_t first = text.find_first_not_of(' ');
    std::size_t last = text.find_last_not_of(' ');
    long long value = 0;
    if (first != std::string::npos) {
        auto [end, error] = std::from_chars(text.data() + first, text.data() + last + 1, value);
        if (error == std::errc() && end == text.data() + last + 1)
            return value;
    }
    throw EIBError("'" + text + "' is not a valid integer value");
}

// --------------------------------------------------------------------- TIBSQL

TIBSQL::TIBSQL(TIBDatabase* database) {
    SetDatabase(database);
}

TIBSQL::~TIBSQL() {
    CloseQuietly();
    statement_.reset();
    if (database_ != nullptr)
        database_->RemoveClient(this);
    if (transaction_ != nullptr)
        transaction_->RemoveClient(this);
}

void TIBSQL::SetDatabase(TIBDatabase* database) {
    if (database == database_)
        return;
    FreeHandle();
    if (database_ != nullptr)
        database_->RemoveClient(this);
    database_ = database;
    if (database_ != nullptr) {
        database_->AddClient(this);
        if (transaction_ == nullptr)
            SetTransaction(database_->DefaultTransaction());
    }
}

void TIBSQL::SetTransaction(TIBTransaction* transaction) {
    if (transaction == transaction_)
        return;
    CloseQuietly();
    if (transaction_ != nullptr)
        transaction_->RemoveClient(this);
    transaction_ = transaction;
    if (transaction_ != nullptr)
        transaction_->AddClient(this);
}

void TIBSQL::SetSQL(const std::string& sql) {
    FreeHandle();
    sql_ = sql;
}

void TIBSQL::CheckSQL() const {
    if (sql_.find_first_not_of(" \t\r\n") == std::string::npos)
        throw EIBError("Empty query");
}

void TIBSQL::CheckAssigned() const {
    if (database_ == nullptr)
        throw EIBError("Database not assigned");
    if (transaction_ == nullptr)
        throw EIBError("Transaction not assigned");
}

void TIBSQL::CheckReady() const {
    CheckAssigned();
    if (!database_->Connected())
        throw EIBError("Cannot perform operation -- DB is not open");
    if (!transaction_->InTransaction())
        throw EIBError("Transaction is not active");
}

void TIBSQL::Prepare() {
    CheckSQL();
    CheckReady();
    if (Prepared())
        return;
    paramNames_.clear();
    const std::string text = ParamCheck ? ReplaceNamedParams(sql_, paramNames_) : sql_;
    StatusVector status;
    isc_dsql_allocate_statement(status.get(), database_->Handle(), statement_.ptr());
    check(status);
    try {
        // The prepare describes the columns as well; the parameters are
        // described only when there are any.
        columns_.Clear();
        isc_dsql_prepare(status.get(), transaction_->Handle(), statement_.ptr(), 0, text.c_str(),
                         static_cast<unsigned short>(database_->SQLDialect()), columns_.area());
        check(status);
        const int paramCount = ReadTypeAndParamCount();
        columns_.Complete(statement_.ptr(), false);
        if (paramCount != 0)
            params_.Describe(statement_.ptr(), true);
        else
            params_.Clear();
        params_.SetAllNull();
    } catch (...) {
        FreeHandle();
        throw;
    }
    fields_.clear();
    for (int i = 0; i < columns_.Count(); ++i)
        fields_.emplace_back(*this, columns_.area()->sqlvar[i]);
}

int TIBSQL::ReadTypeAndParamCount() {
    const char items[] = {isc_info_sql_stmt_type, isc_info_sql_bind, isc_info_sql_num_variables};
    char buffer[64] = {};
    StatusVector status;
    isc_dsql_sql_info(status.get(), statement_.ptr(), sizeof items, items, sizeof buffer, buffer);
    check(status);
    type_ = TIBSQLTypes::SQLUnknown;
    int paramCount = -1;
    // Items come as code, 2-byte length, value; the bind section opens with
    // its own code and holds the parameter count.
    std::size_t at = 0;
    while (at < sizeof buffer && buffer[at] != isc_info_end) {
        const char item = buffer[at];
        if (item == isc_info_sql_bind) {
            ++at;
            continue;
        }
        if ((item != isc_info_sql_stmt_type && item != isc_info_sql_num_variables) || at + 3 > sizeof buffer)
            break;
        const short length = static_cast<short>(isc_vax_integer(buffer + at + 1, 2));
        if (length < 0 || at + 3 + static_cast<std::size_t>(length) > sizeof buffer)
            break;
        const long value = isc_vax_integer(buffer + at + 3, length);
        if (item == isc_info_sql_stmt_type)
            type_ = TypeFromInfo(value);
        else
            paramCount = static_cast<int>(value);
        at += 3 + static_cast<std::size_t>(length);
    }
    return paramCount;
}

void TIBSQL::ExecQuery() {
    CheckSQL();
    CheckReady();
    Close();
    Prepare();
    StatusVector status;
    const auto dialect = static_cast<unsigned short>(database_->SQLDialect());
    if (type_ == TIBSQLTypes::SQLSelect || type_ == TIBSQLTypes::SQLSelectForUpdate) {
        isc_dsql_execute(status.get(), transaction_->Handle(), statement_.ptr(), dialect, params_.area());
        check(status);
        open_ = true;
        eof_ = false;
        Next();
    } else if (type_ == TIBSQLTypes::SQLExecProcedure) {
        isc_dsql_execute2(status.get(), transaction_->Handle(), statement_.ptr(), dialect, params_.area(),
                          columns_.area());
        check(status);
    } else {
        isc_dsql_execute(status.get(), transaction_->Handle(), statement_.ptr(), dialect, params_.area());
        check(status);
    }
}

bool TIBSQL::Next() {
    if (!open_ || eof_)
        return false;
    StatusVector status;
    if (isc_dsql_fetch(status.get(), statement_.ptr(), SQLDA_VERSION1, columns_.area()) == 100) {
        eof_ = true;
        return false;
    }
    check(status);
    return true;
}

void TIBSQL::Close() {
    if (!open_)
        return;
    open_ = false;
    eof_ = true;
    StatusVector status;
    isc_dsql_free_statement(status.get(), statement_.ptr(), DSQL_close);
    check(status);
}

void TIBSQL::CloseQuietly() noexcept {
    try {
        Close();
    } catch (const EIBError&) {
        // The cursor is gone with its transaction either way.
    }
}

void TIBSQL::FreeHandle() {
    CloseQuietly();
    statement_.reset();
    fields_.clear();
    columns_.Clear();
    params_.Clear();
    paramNames_.clear();
    type_ = TIBSQLTypes::SQLUnknown;
}

const TIBField& TIBSQL::FieldByName(const std::string& name) const {
    for (const TIBField& field : fields_)
        if (base::SameText(field.Name(), name))
            return field;
    throw EIBError("Field '" + name + "' not found");
}

std::string TIBSQL::ReadBlob(ISC_QUAD id) {
    BlobHandle blob;
    StatusVector status;
    isc_open_blob2(status.get(), database_->Handle(), transaction_->Handle(), blob.ptr(), &id, 0, nullptr);
    check(status);
    std::string text;
    char segment[8192];
    for (;;) {
        unsigned short length = 0;
        ISC_STATUS result = isc_get_segment(status.get(), blob.ptr(), &length, sizeof segment, segment);
        if (result != 0 && result != isc_segment) {
            if (result == isc_segstr_eof)
                break;
            check(status);
        }
        text.append(segment, length);
    }
    return text;
}

void TIBSQL::BeforeTransactionEnd() {
    CloseQuietly();
}

void TIBSQL::BeforeDatabaseDisconnect() {
    FreeHandle();
}

void TIBSQL::DatabaseFreed() {
    FreeHandle();
    database_ = nullptr;
}

void TIBSQL::TransactionFreed() {
    CloseQuietly();
    transaction_ = nullptr;
}

} // namespace db
