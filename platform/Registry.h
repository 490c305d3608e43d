#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

// Read-only registry. On Linux the registry is a text file in REGEDIT4 (.reg)
// format whose location the environment variable UPDATER_REGISTRY_FILE names;
// without that variable (or without the file) no key exists.
namespace platform {

enum class RootKey { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

// Windows registry value types.
constexpr std::uint32_t REG_NONE = 0;
constexpr std::uint32_t REG_SZ = 1;
constexpr std::uint32_t REG_EXPAND_SZ = 2;
constexpr std::uint32_t REG_BINARY = 3;
constexpr std::uint32_t REG_DWORD = 4;

inline constexpr const char* RegistryFileVariable = "UPDATER_REGISTRY_FILE";

// One value as the registry stores it: texts end with their terminating zero
// byte, a dword is four bytes with the lowest first.
struct RegistryValue {
    std::uint32_t type = REG_NONE;
    std::string data;
};

// A key opened for reading (query access). It holds the key's values as they
// were when it was opened; closing is releasing the object.
class RegistryKey {
public:
    // Opens path (backslash-separated; a leading backslash is allowed) under root.
    // @throw EOSError(ERROR_FILE_NOT_FOUND) when the key or the registry file does not exist.
    // @throw base::Exception naming the file and line when the registry file is malformed.
    // @throw EFileRefused when the registry file is not a regular file or is larger than
    //        ConfigurationFileLimit; EInOutError when it cannot be read.
    static RegistryKey OpenRead(RootKey root, std::string_view path);

    // The value called name ("" or "@" is the key's default value); matched ignoring case.
    std::optional<RegistryValue> QueryValue(std::string_view name) const;

private:
    explicit RegistryKey(std::map<std::string, RegistryValue> values) : values_(std::move(values)) {}
    std::map<std::string, RegistryValue> values_;
};

} // namespace platform
