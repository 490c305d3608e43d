#include "db/Driver.h"
#include "db/EngineError.h"

#include <mysql.h>

namespace db {

namespace {

// How long a connection attempt may wait for an unreachable server.
constexpr unsigned ConnectTimeoutSeconds = 10;

struct ResultCloser {
    void operator()(MYSQL_RES* result) const { mysql_free_result(result); }
};
using ResultHandle = std::unique_ptr<MYSQL_RES, ResultCloser>;

struct ConnectionCloser {
    void operator()(MYSQL* handle) const { mysql_close(handle); }
};
using ConnectionHandle = std::unique_ptr<MYSQL, ConnectionCloser>;

// The rows are fetched into the client when the statement runs, so that
// several cursors of one connection can be read side by side.
class MySQLCursor : public Cursor {
public:
    explicit MySQLCursor(ResultHandle result) : result_(std::move(result)) {
        if (!result_)
            return;
        unsigned count = mysql_num_fields(result_.get());
        MYSQL_FIELD* fields = mysql_fetch_fields(result_.get());
        for (unsigned i = 0; i < count; ++i)
            columns_.emplace_back(fields[i].name, fields[i].name_length);
    }

    const std::vector<std::string>& ColumnNames() const override { return columns_; }

    bool Fetch(std::vector<FieldValue>& row) override {
        if (!result_)
            return false;
        MYSQL_ROW values = mysql_fetch_row(result_.get());
        if (values == nullptr)
            return false;
        unsigned long* lengths = mysql_fetch_lengths(result_.get());
        row.assign(columns_.size(), std::nullopt);
        for (size_t i = 0; i < columns_.size(); ++i)
            if (values[i] != nullptr)
                row[i] = std::string(values[i], lengths[i]);
        return true;
    }

private:
    ResultHandle result_;
    std::vector<std::string> columns_;
};

class MySQLConnection : public Connection {
public:
    MySQLConnection(const MySQLTarget& target, const Account& account) : handle_(mysql_init(nullptr)) {
        if (!handle_)
            throw EDatabaseError("MySQL client: out of memory");
        mysql_options(handle_.get(), MYSQL_OPT_CONNECT_TIMEOUT, &ConnectTimeoutSeconds);
        mysql_options(handle_.get(), MYSQL_SET_CHARSET_NAME, "utf8mb4");
        const char* host = target.host.empty() ? nullptr : target.host.c_str();
        if (!mysql_real_connect(handle_.get(), host, account.user.c_str(), account.password.c_str(),
                                target.database.c_str(), target.port, nullptr, 0))
            throw EDatabaseError("Cannot connect to the MySQL database " + target.database + " at " +
                                 (host ? target.host : std::string("localhost")) + ": " + mysql_error(handle_.get()));
    }

    std::unique_ptr<Cursor> Execute(const std::string& sql) override {
        if (mysql_real_query(handle_.get(), sql.data(), sql.size()) != 0)
            fail();
        ResultHandle result(mysql_store_result(handle_.get()));
        if (!result && mysql_field_count(handle_.get()) != 0)
            fail();
        return std::make_unique<MySQLCursor>(std::move(result));
    }

    std::string QuoteText(std::string_view value) const override {
        std::string escaped(value.size() * 2 + 1, '\0');
        unsigned long length = mysql_real_escape_string(handle_.get(), escaped.data(), value.data(), value.size());
        escaped.resize(length);
        return "'" + escaped + "'";
    }

private:
    [[noreturn]] void fail() const { throw EDatabaseError(mysql_error(handle_.get())); }

    ConnectionHandle handle_;
};

} // namespace

std::unique_ptr<Connection> ConnectMySQL(const MySQLTarget& target, const Account& account) {
    return std::make_unique<MySQLConnection>(target, account);
}

} // namespace db
