#include "platform/Registry.h"

#include "base/StrUtils.h"
#include "platform/SystemError.h"
#include "platform/TextFile.h"

#include <array>
#include <cstdlib>
#include <sstream>

namespace platform {

namespace {

using ValueMap = std::map<std::string, RegistryValue>;

constexpr std::array<std::pair<RootKey, std::string_view>, 5> RootNames{{
    {RootKey::ClassesRoot, "HKEY_CLASSES_ROOT"},
    {RootKey::CurrentUser, "HKEY_CURRENT_USER"},
    {RootKey::LocalMachine, "HKEY_LOCAL_MACHINE"},
    {RootKey::Users, "HKEY_USERS"},
    {RootKey::CurrentConfig, "HKEY_CURRENT_CONFIG"},
}};

std::string_view rootName(RootKey root) {
    for (const auto& [key, name] : RootNames)
        if (key == root)
            return name;
    return {};
}

// The lower-cased sub-key path without empty components: "software\microsoft".
std::string normalizedSubKey(std::string_view path) {
    std::string result;
    size_t pos = 0;
    while (pos <= path.size()) {
        size_t end = path.find('\\', pos);
        if (end == std::string_view::npos)
            end = path.size();
        if (end > pos) {
            if (!result.empty())
                result += '\\';
            result += base::LowerCase(path.substr(pos, end - pos));
        }
        pos = end + 1;
    }
    return result;
}

std::string keyId(RootKey root, std::string_view subKey) {
    return base::LowerCase(rootName(root)) + "\\" + normalizedSubKey(subKey);
}

// Parses a REGEDIT4 file, keeping the values of one key only. Every line is
// checked, so a malformed file is reported whatever key is asked for.
class RegFileParser {
public:
    RegFileParser(std::string fileName, std::string wantedKey)
        : fileName_(std::move(fileName)), wantedKey_(std::move(wantedKey)) {}

    // Reads the file; true when the wanted key (or a key below it) is declared.
    bool parse(std::istream& in) {
        std::string line;
        bool headerSeen = false;
        while (readLogicalLine(in, line)) {
            std::string text = base::Trim(line);
            if (text.empty() || text[0] == ';')
                continue;
            if (!headerSeen) {
                if (text != "REGEDIT4")
                    fail("the file does not begin with REGEDIT4");
                headerSeen = true;
            } else if (text[0] == '[') {
                keyLine(text);
            } else {
                valueLine(text);
            }
        }
        if (!headerSeen)
            fail("the file does not begin with REGEDIT4");
        return keyFound_;
    }

    ValueMap takeValues() { return std::move(values_); }

private:
    // One line, with hex lists continued by a trailing backslash joined up.
    bool readLogicalLine(std::istream& in, std::string& line) {
        if (!readPhysicalLine(in, line))
            return false;
        std::string next;
        while (continues(line) && readPhysicalLine(in, next)) {
            line.erase(line.find_last_not_of(" \t"));
            line += base::Trim(next);
        }
        return true;
    }

    bool readPhysicalLine(std::istream& in, std::string& line) {
        if (!std::getline(in, line))
            return false;
        ++lineNumber_;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        return true;
    }

    static bool continues(const std::string& line) {
        size_t last = line.find_last_not_of(" \t");
        return last != std::string::npos && line[last] == '\\' && line.find("=hex") != std::string::npos;
    }

    [[noreturn]] void fail(const std::string& reason) const {
        throw base::Exception("Registry file " + fileName_ + ", line " + std::to_string(lineNumber_) + ": " + reason);
    }

    void keyLine(const std::string& text) {
        if (text.back() != ']')
            fail("a key line must end with ]");
        std::string path = text.substr(1, text.size() - 2);
        if (!path.empty() && path[0] == '-')
            fail("key deletions are not supported");
        size_t slash = path.find('\\');
        std::string root = path.substr(0, slash);
        bool known = false;
        for (const auto& [key, name] : RootNames) {
            if (base::SameText(root, name)) {
                known = true;
                currentKey_ = keyId(key, slash == std::string::npos ? "" : path.substr(slash + 1));
            }
        }
        if (!known)
            fail("unknown root key " + root);
        inWantedKey_ = currentKey_ == wantedKey_;
        if (currentKey_.starts_with(wantedKey_) &&
            (currentKey_.size() == wantedKey_.size() || currentKey_[wantedKey_.size()] == '\\'))
            keyFound_ = true;
    }

    void valueLine(const std::string& text) {
        if (currentKey_.empty())
            fail("a value before the first key");
        size_t pos = 0;
        std::string name;
        if (text[0] == '@') {
            pos = 1;
        } else if (text[0] == '"') {
            name = quoted(text, pos);
        } else {
            fail("a value name must be @ or a quoted text");
        }
        pos = text.find_first_not_of(" \t", pos);
        if (pos == std::string::npos || text[pos] != '=')
            fail("= expected after the value name");
        RegistryValue value = data(base::Trim(text.substr(pos + 1)));
        if (inWantedKey_)
            values_[base::LowerCase(name)] = std::move(value);
    }

    // The quoted text starting at text[pos] with \\ and \" escapes; pos ends after the closing quote.
    std::string quoted(const std::string& text, size_t& pos) const {
        std::string result;
        for (++pos; pos < text.size(); ++pos) {
            char c = text[pos];
            if (c == '"') {
                ++pos;
                return result;
            }
            if (c == '\\') {
                if (pos + 1 >= text.size() || (text[pos + 1] != '\\' && text[pos + 1] != '"'))
                    fail("only \\\\ and \\\" may follow a backslash in a quoted text");
                c = text[++pos];
            }
            result += c;
        }
        fail("a quoted text is not closed");
    }

    RegistryValue data(const std::string& text) const {
        RegistryValue value;
        if (!text.empty() && text[0] == '"') {
            size_t pos = 0;
            value.type = REG_SZ;
            value.data = quoted(text, pos) + '\0';
            if (pos != text.size())
                fail("text after the closing quote");
        } else if (text.starts_with("dword:")) {
            value.type = REG_DWORD;
            std::uint32_t number = hexNumber(text.substr(6), 8);
            for (int i = 0; i < 4; ++i)
                value.data += static_cast<char>((number >> (8 * i)) & 0xFF);
        } else if (text.starts_with("hex:")) {
            value.type = REG_BINARY;
            value.data = bytes(text.substr(4));
        } else if (text.starts_with("hex(")) {
            size_t close = text.find("):");
            if (close == std::string::npos)
                fail("hex( must be followed by a type and ):");
            value.type = hexNumber(text.substr(4, close - 4), 8);
            value.data = bytes(text.substr(close + 2));
        } else {
            fail("unknown value data: " + text);
        }
        return value;
    }

    std::uint32_t hexNumber(const std::string& digits, size_t maxDigits) const {
        if (digits.empty() || digits.size() > maxDigits ||
            digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            fail("invalid hexadecimal number: " + digits);
        return static_cast<std::uint32_t>(std::strtoul(digits.c_str(), nullptr, 16));
    }

    std::string bytes(const std::string& list) const {
        std::string result;
        size_t pos = 0;
        while (pos < list.size()) {
            size_t comma = list.find(',', pos);
            if (comma == std::string::npos)
                comma = list.size();
            result += static_cast<char>(hexNumber(base::Trim(list.substr(pos, comma - pos)), 2));
            pos = comma + 1;
        }
        return result;
    }

    std::string fileName_;
    std::string wantedKey_;
    std::string currentKey_;
    bool inWantedKey_ = false;
    bool keyFound_ = false;
    int lineNumber_ = 0;
    ValueMap values_;
};

// The registry file's text; a file that cannot be opened holds no key.
std::string readRegistryFile(const std::string& fileName) {
    try {
        return ReadRegularFile(fileName, ConfigurationFileLimit);
    } catch (const EFOpenError&) {
        throw EOSError(ERROR_FILE_NOT_FOUND);
    }
}

} // namespace

RegistryKey RegistryKey::OpenRead(RootKey root, std::string_view path) {
    const char* fileName = std::getenv(RegistryFileVariable);
    if (fileName == nullptr || *fileName == '\0')
        throw EOSError(ERROR_FILE_NOT_FOUND);
    std::istringstream in(readRegistryFile(fileName));
    RegFileParser parser(fileName, keyId(root, path));
    if (!parser.parse(in))
        throw EOSError(ERROR_FILE_NOT_FOUND);
    return RegistryKey(parser.takeValues());
}

std::optional<RegistryValue> RegistryKey::QueryValue(std::string_view name) const {
    auto found = values_.find(name == "@" ? std::string() : base::LowerCase(name));
    if (found == values_.end())
        return std::nullopt;
    return found->second;
}

} // namespace platform
