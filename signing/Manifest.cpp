#include "signing/Manifest.h"

#include "signing/Lines.h"
#include "signing/Minisign.h"

#include <charconv>

namespace signing {

namespace {

constexpr std::string_view FirstLine = "quillmark-manifest 1";

// The field up to the next blank, taken off the front of rest with that blank.
std::string_view NextField(std::string_view& rest) {
    const std::size_t blank = rest.find(' ');
    const std::string_view field = rest.substr(0, blank);
    rest.remove_prefix(blank == std::string_view::npos ? rest.size() : blank + 1);
    return field;
}

void RequireHash(std::string_view hash, const std::string& owner) {
    if (hash.size() != HashDigits || hash.find_first_not_of("0123456789abcdef") != std::string_view::npos)
        throw EInvalidManifest(owner + ": the hash is not " + std::to_string(HashDigits) +
                               " lower-case hexadecimal digits");
}

std::uint64_t RequireNumber(std::string_view text, const std::string& what) {
    const std::optional<std::uint64_t> number = ManifestNumber(text);
    if (!number)
        throw EInvalidManifest(what + " \"" + std::string(text) +
                               "\" is not a decimal number below 2^64 without sign or leading zeros");
    return *number;
}

// A program or a version: one field, printable.
void RequireWord(const std::string& word, const char* what) {
    if (word.empty())
        throw EInvalidManifest(std::string("the script's ") + what + " is empty");
    for (const char c : word)
        if (c == ' ' || static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            throw EInvalidManifest(std::string("the script's ") + what + " \"" + word +
                                   "\" holds a blank or a control character");
}

} // namespace

std::optional<std::uint64_t> ManifestNumber(std::string_view text) {
    if (text.empty() || (text.size() > 1 && text[0] == '0') ||
        text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

void Manifest::AddFile(const std::string& name, const FileDigest& digest) {
    if (name.empty() || name.find_first_of(std::string_view("\0\r\n", 3)) != std::string::npos)
        throw EInvalidManifest("the file name \"" + name + "\" is empty or holds NUL, CR or LF");
    RequireHash(digest.hash, "file \"" + name + "\"");
    if (!files_.emplace(name, digest).second)
        throw EInvalidManifest("file \"" + name + "\" is listed twice");
}

void Manifest::AddScript(const std::string& program, const std::string& version, const std::string& hash) {
    RequireWord(program, "program");
    RequireWord(version, "version");
    const std::string owner = "script " + program + " " + version;
    RequireHash(hash, owner);
    if (!scripts_.emplace(std::pair(program, version), hash).second)
        throw EInvalidManifest(owner + " is listed twice");
}

Manifest Manifest::Parse(std::string_view text) {
    if (text.size() > ManifestLimit)
        throw EInvalidManifest("the manifest is larger than " + std::to_string(ManifestLimit / 1024 / 1024) + " MiB");
    const std::vector<std::string_view> lines = SplitLines(text);
    if (lines.empty() || lines[0] != FirstLine)
        throw EInvalidManifest("manifest line 1: the first line is not \"" + std::string(FirstLine) + "\"");
    Manifest manifest(0);
    bool released = false;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::string_view rest = lines[i];
        const std::string_view kind = NextField(rest);
        try {
            if (kind == "release") {
                if (released)
                    throw EInvalidManifest("a second release line");
                manifest.release_ = RequireNumber(rest, "the release");
                released = true;
            } else if (kind == "file") {
                const std::string hash(NextField(rest));
                const std::uint64_t size = RequireNumber(NextField(rest), "the size");
                manifest.AddFile(std::string(rest), {hash, size});
            } else if (kind == "script") {
                const std::string hash(NextField(rest));
                const std::string program(NextField(rest));
                manifest.AddScript(program, std::string(rest), hash);
            } else {
                throw EInvalidManifest("unknown line kind \"" + std::string(kind) + "\"");
            }
        } catch (const EInvalidManifest& error) {
            throw EInvalidManifest("manifest line " + std::to_string(i + 1) + ": " + error.what());
        }
    }
    if (!released)
        throw EInvalidManifest("the manifest has no release line");
    return manifest;
}

std::string Manifest::Text() const {
    std::string text = std::string(FirstLine) + "\nrelease " + std::to_string(release_) + "\n";
    for (const auto& [name, digest] : files_)
        text += "file " + digest.hash + " " + std::to_string(digest.size) + " " + name + "\n";
    for (const auto& [key, hash] : scripts_)
        text += "script " + hash + " " + key.first + " " + key.second + "\n";
    return text;
}

std::optional<FileDigest> Manifest::File(const std::string& name) const {
    const auto found = files_.find(name);
    if (found == files_.end())
        return std::nullopt;
    return found->second;
}

std::optional<std::string> Manifest::Script(const std::string& program, const std::string& version) const {
    const auto found = scripts_.find(std::pair(program, version));
    if (found == scripts_.end())
        return std::nullopt;
    return found->second;
}

std::vector<std::string> Manifest::FileNames() const {
    std::vector<std::string> names;
    names.reserve(files_.size());
    for (const auto& entry : files_)
        names.push_back(entry.first);
    return names;
}

Manifest VerifiedManifest(std::string_view text, std::string_view signatureText, std::string_view publicKeyText) {
    VerifySignature(text, signatureText, publicKeyText);
    return Manifest::Parse(text);
}

} // namespace signing
