#pragma once

#include "platform/Registry.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

// Readers of the updater's configuration: the store application's
// Sys_Vendcfg.INI, the alias parameters of the database engine, the registry,
// and the descrambling of stored credentials.
namespace config {

// Descrambles a stored value: its first character is the key digit k (0 when it is not a
// digit); every following character is moved back by 3 x k, modulo 256. Never fails.
std::string DecodificaTexto(const std::string& texto);
// The stored form of a plain value under key digit k (0 to 9): the inverse of DecodificaTexto.
std::string CodificaTexto(int chave, const std::string& texto);

// The alias name: characters 15 to 44 of the first line of the configuration file,
// without leading and trailing blanks and control characters (possibly empty).
// @throw base::EInOutError when the file cannot be opened or read, and its kind
//        platform::EFileRefused when it is not a regular file or its first line is longer
//        than 64 KiB.
std::string LerNomeAlias(const std::string& arquivo = "Sys_Vendcfg.INI");

// The value of parameter nome of an alias (at most 100 characters), from the last
// line that begins with nome + "=" exactly; empty when there is none. Never fails:
// an unknown alias or an unreadable alias configuration gives empty text.
std::string LerParametroAlias(const std::string& alias, const std::string& nome);

// A registry value: text (string and expandable string), 32-bit integer or bytes.
using TValorRegistro = std::variant<std::string, std::int32_t, std::vector<std::uint8_t>>;

// Reads one registry value.
// @throw platform::EOSError with the system's text: file not found when the key cannot be
//        opened; ERROR_CANTREAD for a missing value, another type or a wrong size.
TValorRegistro LerValorRegistro(platform::RootKey raiz, const std::string& chave, const std::string& nome);

// The archiver's program below the Program Files folder.
inline constexpr const char* ProgramaWinRAR = "\\winrar\\winrar.exe";

// The Program Files folder that holds winrar\winrar.exe (the registry's ProgramFilesDir,
// or that value before its "(x86)" mark), or the registry value unchanged when neither holds it.
// @throw as LerValorRegistro; base::Exception when the value is binary.
std::string PastaWinRAR();

// Where the updates are fetched from.
struct ServidorFtp {
    std::string host;
    int porta = 21;
};

// The FTP server of the updates: the environment variable UPDATER_FTP_HOST
// ("host" or "host:port") when it is set and not empty, else the host built in
// at configure time, on port 21.
// @throw base::Exception when the variable's port is not a number from 1 to 65535.
ServidorFtp LerServidorFtp();

} // namespace config
