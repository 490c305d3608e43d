// The signature reader and the whole check on an arbitrary signature file
// against a fixed text and key: nothing but a real signature of that text by
// that key may pass, and a fuzzer cannot forge one.

#include "signing/Minisign.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

constexpr std::string_view Key = "RWQAtpEUnmNC3LkHWLltvdy2riCgNqRUAQvxF7+rHVZcFbtEzJrwcTXs";
constexpr std::string_view Message = "quillmark-manifest 1\nrelease 7\n";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        signing::ParsePublicKey(text);
    } catch (const signing::EInvalidPublicKey&) {
        // Not a key.
    }
    try {
        signing::VerifySignature(Message, text, Key);
    } catch (const signing::EBadSignature&) {
        // Not a signature of the message by the key.
    }
    return 0;
}
