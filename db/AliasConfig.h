#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The alias configuration of the database engine stand-in: one INI file whose
// location the environment variable UPDATER_ALIAS_FILE names (default:
// $XDG_CONFIG_HOME/Atualiza_Quillmark/aliases.ini, or ~/.config/... when
// XDG_CONFIG_HOME is unset). Each section is an alias; its entries NAME=value
// are the alias parameters in file order and letter case, and its TYPE entry
// picks the driver (FIREBIRD, MYSQL or SQLITE, any letter case).
namespace db {

inline constexpr const char* AliasFileVariable = "UPDATER_ALIAS_FILE";

enum class DriverType { Firebird, MySQL, SQLite };

struct AliasEntry {
    std::string name;
    std::string value;
};

struct Alias {
    std::string name;
    DriverType type = DriverType::SQLite;
    std::vector<AliasEntry> entries; // every entry but TYPE
    std::filesystem::path folder;    // folder of the alias file: relative file names start there

    // Value of the entry called name (ignoring letter case); empty when absent.
    std::string Entry(std::string_view name) const;
};

// The alias file in use (the variable's value or the default).
std::filesystem::path AliasFilePath();

// Finds an alias; names are compared ignoring letter case on their first 31 characters.
// @throw EDatabaseError when the file cannot be read, is not a regular file, is larger than
//        platform::ConfigurationFileLimit or is malformed, when the alias is unknown, or when
//        its TYPE is missing or names no known driver.
Alias LoadAlias(std::string_view name);

// The alias parameter lines NAME=value of an alias, in file order (TYPE excluded).
// @throw EDatabaseError as LoadAlias.
std::vector<std::string> GetAliasParams(std::string_view name);

} // namespace db
