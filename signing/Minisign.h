#pragma once

#include "base/Exception.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// minisign's signatures (Ed25519), checked with libsodium, in the formats its
// tool writes, so that the maker signs a release with Debian's minisign:
//
//   public key: an optional line "untrusted comment: ...", then the base64 of
//     "Ed", the key id (8 bytes) and the Ed25519 public key (32 bytes): the
//     text beginning "RW" that is built in (config::ChaveDeReleases).
//   signature (.minisig): "untrusted comment: ..."; the base64 of the
//     algorithm ("ED": over the BLAKE2b-512 of the file, minisign's default;
//     "Ed": over the file itself, the legacy form), the key id (8 bytes) and
//     the signature (64 bytes); "trusted comment: TEXT"; the base64 of the
//     global signature (64 bytes) over the signature bytes followed by TEXT.
//
// Lines end in LF or CR LF; as minisign does, every CR at the end of a line is
// dropped, so a signature file passed through a CR LF conversion still verifies.
namespace signing {

inline constexpr std::size_t SignatureLimit = 4 * 1024;

using KeyId = std::array<unsigned char, 8>;

// A signature that cannot be read or does not hold; the message (English,
// technical) gives the reason.
class EBadSignature : public base::Exception {
public:
    using base::Exception::Exception;
};

// The public key given cannot be read: a fault of the build's configuration,
// not of the release.
class EInvalidPublicKey : public EBadSignature {
public:
    using EBadSignature::EBadSignature;
};

struct PublicKey {
    KeyId keyId{};
    std::array<unsigned char, 32> key{};
};

struct Signature {
    bool prehashed = true; // "ED": the signature is over the BLAKE2b-512 of the message
    KeyId keyId{};
    std::array<unsigned char, 64> signature{};
    std::string trustedComment;
    std::array<unsigned char, 64> globalSignature{};
};

// Reads a public key line, or the text of a public key file (its comment line
// and the key line). @throw EInvalidPublicKey when it is neither.
PublicKey ParsePublicKey(std::string_view text);

// Reads a signature file's text (at most SignatureLimit bytes, nothing after
// its fourth line). @throw EBadSignature when it is larger, a line is missing,
// a comment line lacks its prefix, a base64 line is malformed or of the wrong
// length, or the algorithm is neither "ED" nor "Ed".
Signature ParseSignature(std::string_view text);

// A key id as minisign prints it: 16 upper-case hexadecimal digits.
std::string KeyIdText(const KeyId& id);

// Checks that signatureText is a signature of message by the key: the key ids
// match, the signature holds for the message and the global signature holds
// for the trusted comment. Returns the trusted comment.
// @throw EInvalidPublicKey for an unreadable key; EBadSignature with the reason
//        otherwise: "the signature was made with key X, not with the release key Y",
//        "the signature does not hold for the signed text",
//        "the signature of the trusted comment does not hold", or what ParseSignature says.
std::string VerifySignature(std::string_view message, std::string_view signatureText, std::string_view publicKeyText);

} // namespace signing
