#include "signing/Minisign.h"

#include "signing/Blake2b.h"
#include "signing/Lines.h"
#include "signing/Sodium.h"

#include <algorithm>
#include <optional>
#include <sodium.h>
#include <vector>

namespace signing {

namespace {

constexpr std::string_view UntrustedPrefix = "untrusted comment: ";
constexpr std::string_view TrustedPrefix = "trusted comment: ";

// The lines of a minisign file, every CR at their ends dropped.
std::vector<std::string_view> MinisignLines(std::string_view text) {
    std::vector<std::string_view> lines = SplitLines(text);
    for (std::string_view& line : lines)
        while (line.ends_with('\r'))
            line.remove_suffix(1);
    return lines;
}

// The N bytes whose padded base64 (original alphabet) the line is, and
// nothing else; nothing for any other line.
template <std::size_t N> std::optional<std::array<unsigned char, N>> DecodeBase64(std::string_view line) {
    if (line.size() != sodium_base64_ENCODED_LEN(N, sodium_base64_VARIANT_ORIGINAL) - 1)
        return std::nullopt;
    std::array<unsigned char, N> bytes{};
    std::size_t length = 0;
    if (sodium_base642bin(bytes.data(), bytes.size(), line.data(), line.size(), nullptr, &length, nullptr,
                          sodium_base64_VARIANT_ORIGINAL) != 0 ||
        length != N)
        return std::nullopt;
    return bytes;
}

template <std::size_t N> std::string_view AlgorithmOf(const std::array<unsigned char, N>& bytes) {
    return std::string_view(reinterpret_cast<const char*>(bytes.data()), 2);
}

template <std::size_t N> std::string_view BytesOf(const std::array<unsigned char, N>& bytes) {
    return std::string_view(reinterpret_cast<const char*>(bytes.data()), N);
}

std::string_view PublicKeyLine(const std::vector<std::string_view>& lines) {
    if (lines.size() == 1)
        return lines[0];
    if (lines.size() == 2 && lines[0].starts_with(UntrustedPrefix))
        return lines[1];
    throw EInvalidPublicKey("the public key is neither minisign's key line nor the text of its public key file");
}

bool Holds(const std::array<unsigned char, 64>& signature, std::string_view data, const PublicKey& key) {
    return crypto_sign_verify_detached(signature.data(), reinterpret_cast<const unsigned char*>(data.data()),
                                       data.size(), key.key.data()) == 0;
}

// The first signature is over the message itself, or over its BLAKE2b-512.
bool HoldsForMessage(const Signature& signature, std::string_view message, const PublicKey& key) {
    if (!signature.prehashed)
        return Holds(signature.signature, message, key);
    Blake2bHasher hasher;
    hasher.Update(message);
    return Holds(signature.signature, BytesOf(hasher.FinalBytes()), key);
}

} // namespace

PublicKey ParsePublicKey(std::string_view text) {
    if (text.size() > SignatureLimit)
        throw EInvalidPublicKey("the public key is larger than 4 KiB");
    const std::optional<std::array<unsigned char, 42>> bytes = DecodeBase64<42>(PublicKeyLine(MinisignLines(text)));
    if (!bytes || AlgorithmOf(*bytes) != "Ed")
        throw EInvalidPublicKey("the public key line is not the base64 of a minisign Ed25519 key");
    PublicKey key;
    std::copy_n(bytes->begin() + 2, key.keyId.size(), key.keyId.begin());
    std::copy_n(bytes->begin() + 10, key.key.size(), key.key.begin());
    return key;
}

Signature ParseSignature(std::string_view text) {
    if (text.size() > SignatureLimit)
        throw EBadSignature("the signature is larger than 4 KiB");
    const std::vector<std::string_view> lines = MinisignLines(text);
    if (lines.size() != 4)
        throw EBadSignature("the signature has " + std::to_string(lines.size()) + " lines, not 4");
    if (!lines[0].starts_with(UntrustedPrefix))
        throw EBadSignature("the signature's first line does not begin with \"untrusted comment: \"");
    const std::optional<std::array<unsigned char, 74>> bytes = DecodeBase64<74>(lines[1]);
    if (!bytes)
        throw EBadSignature("the signature's second line is not the base64 of 74 bytes");
    if (AlgorithmOf(*bytes) != "ED" && AlgorithmOf(*bytes) != "Ed")
        throw EBadSignature("the signature's algorithm is neither ED nor Ed");
    if (!lines[2].starts_with(TrustedPrefix))
        throw EBadSignature("the signature's third line does not begin with \"trusted comment: \"");
    const std::optional<std::array<unsigned char, 64>> global = DecodeBase64<64>(lines[3]);
    if (!global)
        throw EBadSignature("the signature's fourth line is not the base64 of 64 bytes");
    Signature signature;
    signature.prehashed = AlgorithmOf(*bytes) == "ED";
    std::copy_n(bytes->begin() + 2, signature.keyId.size(), signature.keyId.begin());
    std::copy_n(bytes->begin() + 10, signature.signature.size(), signature.signature.begin());
    signature.trustedComment = std::string(lines[2].substr(TrustedPrefix.size()));
    signature.globalSignature = *global;
    return signature;
}

std::string KeyIdText(const KeyId& id) {
    constexpr char Digits[] = "0123456789ABCDEF";
    std::string text;
    // minisign prints the id as a little-endian number.
    for (auto byte = id.rbegin(); byte != id.rend(); ++byte) {
        text += Digits[*byte >> 4];
        text += Digits[*byte & 0x0f];
    }
    return text;
}

std::string VerifySignature(std::string_view message, std::string_view signatureText, std::string_view publicKeyText) {
    RequireSodium();
    const PublicKey key = ParsePublicKey(publicKeyText);
    const Signature signature = ParseSignature(signatureText);
    if (signature.keyId != key.keyId)
        throw EBadSignature("the signature was made with key " + KeyIdText(signature.keyId) +
                            ", not with the release key " + KeyIdText(key.keyId));
    if (!HoldsForMessage(signature, message, key))
        throw EBadSignature("the signature does not hold for the signed text");
    if (!Holds(signature.globalSignature, std::string(BytesOf(signature.signature)) + signature.trustedComment, key))
        throw EBadSignature("the signature of the trusted comment does not hold");
    return signature.trustedComment;
}

} // namespace signing
