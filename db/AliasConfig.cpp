#include "db/AliasConfig.h"

#include "base/StrUtils.h"
#include "db/EngineError.h"
#include "platform/SystemError.h"
#include "platform/TextFile.h"

#include <cstdlib>
#include <optional>
#include <sstream>

namespace db {

namespace fs = std::filesystem;

namespace {

constexpr size_t AliasNameLength = 31;

std::string aliasKey(std::string_view name) {
    return base::UpperCase(name.substr(0, AliasNameLength));
}

DriverType driverType(const std::string& aliasName, const std::string& type) {
    if (type.empty())
        throw EDatabaseError("Alias " + aliasName + " has no TYPE entry");
    if (base::SameText(type, "FIREBIRD"))
        return DriverType::Firebird;
    if (base::SameText(type, "MYSQL"))
        return DriverType::MySQL;
    if (base::SameText(type, "SQLITE"))
        return DriverType::SQLite;
    throw EDatabaseError("Alias " + aliasName + " has an unknown driver type: " + type);
}

// Reads the whole file line by line, checking every line, and keeps the
// section of the wanted alias.
class AliasFileReader {
public:
    AliasFileReader(fs::path file, std::string_view wanted) : file_(std::move(file)), wantedKey_(aliasKey(wanted)) {}

    std::optional<Alias> read() {
        std::istringstream in(content());
        std::string line;
        while (std::getline(in, line)) {
            ++lineNumber_;
            std::string text = base::Trim(line);
            if (text.empty() || text[0] == ';' || text[0] == '#')
                continue;
            if (text[0] == '[')
                section(text);
            else
                entry(text);
        }
        if (found_)
            found_->type = driverType(found_->name, type_);
        return std::move(found_);
    }

private:
    std::string content() const {
        const std::string name = file_.string();
        try {
            return platform::ReadRegularFile(name, platform::ConfigurationFileLimit);
        } catch (const platform::EFOpenError&) {
            throw EDatabaseError("Alias configuration file " + name + " cannot be opened");
        } catch (const platform::EFileRefused& refused) {
            throw EDatabaseError(refused.what());
        } catch (const base::EInOutError&) {
            throw EDatabaseError("Alias configuration file " + name + " cannot be read");
        }
    }

    [[noreturn]] void fail(const std::string& reason) const {
        throw EDatabaseError("Alias configuration file " + file_.string() + ", line " + std::to_string(lineNumber_) +
                             ": " + reason);
    }

    void section(const std::string& text) {
        if (text.back() != ']')
            fail("a section line must end with ]");
        std::string name = base::Trim(text.substr(1, text.size() - 2));
        if (name.empty())
            fail("an alias needs a name");
        std::string key = aliasKey(name);
        for (const std::string& seen : seenKeys_)
            if (seen == key)
                fail("alias " + name + " is defined twice");
        seenKeys_.push_back(key);
        inWanted_ = key == wantedKey_;
        inSection_ = true;
        if (inWanted_)
            found_ = Alias{name, DriverType::SQLite, {}, file_.parent_path()};
    }

    void entry(const std::string& text) {
        size_t equals = text.find('=');
        if (equals == std::string::npos)
            fail("NAME=value expected: " + text);
        if (!inSection_)
            fail("an entry before the first alias section");
        std::string name = base::Trim(text.substr(0, equals));
        if (name.empty())
            fail("an entry needs a name");
        if (!inWanted_)
            return;
        std::string value = base::Trim(text.substr(equals + 1));
        if (base::SameText(name, "TYPE"))
            type_ = value;
        else
            found_->entries.push_back({name, value});
    }

    fs::path file_;
    std::string wantedKey_;
    std::vector<std::string> seenKeys_;
    bool inSection_ = false;
    bool inWanted_ = false;
    int lineNumber_ = 0;
    std::optional<Alias> found_;
    std::string type_;
};

} // namespace

std::string Alias::Entry(std::string_view wanted) const {
    for (const AliasEntry& e : entries)
        if (base::SameText(e.name, wanted))
            return e.value;
    return {};
}

fs::path AliasFilePath() {
    if (const char* file = std::getenv(AliasFileVariable); file != nullptr && *file != '\0')
        return file;
    fs::path config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != '\0')
        config = xdg;
    else if (const char* home = std::getenv("HOME"); home != nullptr)
        config = fs::path(home) / ".config";
    return config / "Atualiza_Quillmark" / "aliases.ini";
}

Alias LoadAlias(std::string_view name) {
    std::optional<Alias> alias = AliasFileReader(AliasFilePath(), name).read();
    if (!alias)
        throw EDatabaseError("Unknown alias: " + std::string(name));
    return std::move(*alias);
}

std::vector<std::string> GetAliasParams(std::string_view name) {
    std::vector<std::string> lines;
    for (const AliasEntry& e : LoadAlias(name).entries)
        lines.push_back(e.name + "=" + e.value);
    return lines;
}

} // namespace db
