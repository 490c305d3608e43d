#include "db/Driver.h"

#include "db/EngineError.h"

#include <charconv>

namespace db {

namespace {

unsigned portOf(const Alias& alias) {
    std::string text = alias.Entry("PORT");
    if (text.empty())
        return 0;
    unsigned port = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (error != std::errc() || end != text.data() + text.size() || port > 65535)
        throw EDatabaseError("Alias " + alias.name + " has an invalid PORT: " + text);
    return port;
}

std::string requiredEntry(const Alias& alias, const char* name) {
    std::string value = alias.Entry(name);
    if (value.empty())
        throw EDatabaseError("Alias " + alias.name + " has no " + name + " entry");
    return value;
}

} // namespace

std::unique_ptr<Connection> ConnectAlias(const Alias& alias, const Account& account) {
    switch (alias.type) {
    case DriverType::SQLite:
        return ConnectSQLite(alias.folder / requiredEntry(alias, "DATABASE NAME"));
    case DriverType::MySQL:
        return ConnectMySQL({alias.Entry("HOST"), portOf(alias), requiredEntry(alias, "DATABASE NAME")}, account);
    case DriverType::Firebird:
        break;
    }
    throw EDatabaseError("Alias " + alias.name + " is a Firebird alias: the engine opens no connection on it");
}

} // namespace db
