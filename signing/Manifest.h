#pragma once

#include "base/Exception.h"
#include "signing/Blake2b.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The release manifest: what the maker released, signed as a whole (see
// signing/Minisign.h). It is a text of LF or CR LF lines whose fields are
// separated by one blank:
//
//     quillmark-manifest 1
//     release N
//     file HASH SIZE NAME
//     script HASH PROGRAM VERSION
//
// The first line names the format and its version and must be exactly this.
// One release line (anywhere after the first) gives the release number, which
// grows with each release. One file line per file of the update folder: NAME
// is the rest of the line, blanks included, as the server's listing gives it.
// One script line per released script: PROGRAM and VERSION as the internet
// database gives them (UTF-8). HASH is the BLAKE2b-512 of the content (see
// signing/Blake2b.h); for a script, of its text turned into Windows-1252 by
// base::Utf8ToWindows1252, before any line is blanked. Numbers are decimal,
// without sign or leading zeros, below 2^64.
//
// How the file phase and the script engine use it: download both files
// (at most ManifestLimit and SignatureLimit bytes), then
//
//     const signing::Manifest manifest = signing::VerifiedManifest(text, signature, config::ChaveDeReleases());
//     // a file, hashed while it arrives (Blake2bHasher) or on disk (HashFile):
//     const auto entry = manifest.File(name);
//     if (!entry || *entry != digest) refuse the file, keep the former one;
//     // a script, as the engine receives it:
//     const auto hash = manifest.Script(program, version);
//     if (!hash || *hash != signing::HashText(base::Utf8ToWindows1252(text))) refuse the script;
//
// An empty key means the build checks nothing (trials only): the caller then
// neither fetches nor checks a manifest. The manifest and its signature are
// not application files; the file phase does not fetch them as such.
namespace signing {

inline constexpr const char* ManifestFileName = "quillmark.manifest";
inline constexpr const char* SignatureFileName = "quillmark.manifest.minisig";
inline constexpr std::size_t ManifestLimit = 1024 * 1024;

// A manifest that breaks the format, or an entry that cannot be written into
// one. The message (English, technical) says which line and what is wrong.
class EInvalidManifest : public base::Exception {
public:
    using base::Exception::Exception;
};

class Manifest {
public:
    // An empty manifest of a release, to be filled and written (Text).
    explicit Manifest(std::uint64_t release) : release_(release) {}

    // Reads a manifest.
    // @throw EInvalidManifest for a text larger than ManifestLimit, a wrong first
    //        line, a missing or second release line, an unknown line kind (an
    //        empty line too), a malformed field, a file listed twice or a script
    //        (program and version) listed twice.
    static Manifest Parse(std::string_view text);

    // Add an entry. @throw EInvalidManifest for a malformed field or an entry
    // already there: a name must not be empty nor hold NUL, CR or LF; a
    // program or version must not be empty nor hold blanks or control characters.
    void AddFile(const std::string& name, const FileDigest& digest);
    void AddScript(const std::string& program, const std::string& version, const std::string& hash);

    // The manifest as text with LF ends: files in the byte order of their
    // names, then scripts in the order of program and version.
    std::string Text() const;

    std::uint64_t Release() const { return release_; }
    // What the manifest holds of a file, by the exact name (letter case
    // counts). The application folder on Windows ignores letter case, but a
    // name is only trusted as the maker wrote it: another spelling is a file
    // the manifest lacks, and is refused, which is the safe side.
    std::optional<FileDigest> File(const std::string& name) const;
    // The hash of the text of a program's script of a version (exact match of both).
    std::optional<std::string> Script(const std::string& program, const std::string& version) const;
    // The names of the files, in byte order.
    std::vector<std::string> FileNames() const;

private:
    std::uint64_t release_;
    std::map<std::string, FileDigest> files_;
    std::map<std::pair<std::string, std::string>, std::string> scripts_;
};

// The value of a number as the manifest writes it (decimal digits, no sign, no
// leading zeros, below 2^64); nothing for any other text.
std::optional<std::uint64_t> ManifestNumber(std::string_view text);

// The manifest of a signed text: the signature is checked first (VerifySignature
// in signing/Minisign.h), then the text is read.
// @throw EBadSignature (EInvalidPublicKey for an unusable key) as VerifySignature;
//        EInvalidManifest as Parse.
Manifest VerifiedManifest(std::string_view text, std::string_view signatureText, std::string_view publicKeyText);

} // namespace signing
