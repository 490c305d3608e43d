#include "signing/Minisign.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/SigningTools.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sodium.h>

using namespace signing;
using ::testing::HasSubstr;
using testsupport::DemoPublicKey;

namespace {

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size(); start = text.find('\n', start) + 1)
        lines.push_back(text.substr(start, text.find('\n', start) - start));
    return lines;
}

std::string Joined(const std::vector<std::string>& lines, const std::string& end = "\n") {
    std::string text;
    for (const std::string& line : lines)
        text += line + end;
    return text;
}

// A base64 line whose bytes from offset on are replaced.
std::string Patched(const std::string& line, std::size_t offset, const std::string& bytes) {
    std::string binary(line.size(), '\0');
    std::size_t length = 0;
    sodium_base642bin(reinterpret_cast<unsigned char*>(binary.data()), binary.size(), line.data(), line.size(), nullptr,
                      &length, nullptr, sodium_base64_VARIANT_ORIGINAL);
    binary.resize(length);
    binary.replace(offset, bytes.size(), bytes);
    std::string text(sodium_base64_ENCODED_LEN(length, sodium_base64_VARIANT_ORIGINAL), '\0');
    sodium_bin2base64(text.data(), text.size(), reinterpret_cast<const unsigned char*>(binary.data()), length,
                      sodium_base64_VARIANT_ORIGINAL);
    text.pop_back();
    return text;
}

class MinisignSignature : public ::testing::Test {
protected:
    std::string Sign(const std::vector<std::string>& options = {}) {
        return testsupport::MinisignSign(file_, testsupport::DemoSecretKey(), options);
    }
    // Why the signature of the text is refused; empty when it verifies.
    std::string Refusal(const std::string& signature, const std::string& message) const {
        try {
            VerifySignature(message, signature, DemoPublicKey());
            return "";
        } catch (const EBadSignature& error) {
            return error.what();
        }
    }

    testsupport::TempDir dir_;
    const std::string message_ = "quillmark-manifest 1\nrelease 7\n";
    const std::filesystem::path file_ = dir_.write("quillmark.manifest", message_);
};

const std::vector<std::vector<std::string>> BothForms = {{}, {"-l"}};

} // namespace

TEST_F(MinisignSignature, BothFormsVerifyWithLfOrCrLfLinesAsMinisignVerifiesThem) {
    for (const std::vector<std::string>& form : BothForms) {
        std::vector<std::string> options = {"-t", "release 7 of the store"};
        options.insert(options.end(), form.begin(), form.end());
        const std::string signature = Sign(options);
        EXPECT_EQ(VerifySignature(message_, signature, DemoPublicKey()), "release 7 of the store");
        // minisign itself drops the CRs at the end of a line, also a second one after the trusted
        // comment; the key may be the public key file.
        for (const std::string moreCr : {"", "\r"}) {
            std::vector<std::string> lines = LinesOf(signature);
            lines[2] += moreCr;
            const std::string converted = Joined(lines, "\r\n");
            const std::filesystem::path convertedFile = dir_.write("converted.minisig", converted);
            EXPECT_EQ(testsupport::RunProgram(
                          "minisign", {"-V", "-P", DemoPublicKey(), "-m", file_.string(), "-x", convertedFile.string()})
                          .exitCode,
                      0);
            EXPECT_EQ(VerifySignature(message_, converted, testsupport::DemoPublicKeyFile()), "release 7 of the store");
        }
    }
}

TEST_F(MinisignSignature, ASignatureThatDoesNotHoldIsRefusedWithTheReason) {
    const KeyId releaseKey = ParsePublicKey(DemoPublicKey()).keyId;
    EXPECT_THAT(testsupport::DemoPublicKeyFile(), HasSubstr("public key " + KeyIdText(releaseKey) + "\n"));

    const std::string foreign = testsupport::MinisignSign(file_, testsupport::MakeSecretKey(dir_.path()));
    EXPECT_THAT(Refusal(foreign, message_), HasSubstr(", not with the release key " + KeyIdText(releaseKey)));
    std::vector<std::string> lines = LinesOf(foreign);
    lines[1] = Patched(lines[1], 2, std::string(releaseKey.begin(), releaseKey.end()));
    EXPECT_EQ(Refusal(Joined(lines), message_), "the signature does not hold for the signed text");

    for (const std::vector<std::string>& form : BothForms) {
        lines = LinesOf(Sign(form));
        EXPECT_EQ(Refusal(Joined(lines), message_ + "file " + std::string(128, 'a') + " 1 x\n"),
                  "the signature does not hold for the signed text");
        std::vector<std::string> otherForm = lines;
        otherForm[1] = Patched(lines[1], 0, form.empty() ? "Ed" : "ED");
        EXPECT_EQ(Refusal(Joined(otherForm), message_), "the signature does not hold for the signed text");
        lines[2] += " of another release";
        EXPECT_EQ(Refusal(Joined(lines), message_), "the signature of the trusted comment does not hold");
    }
}

TEST_F(MinisignSignature, AMalformedSignatureIsRefusedBeforeAnyCheck) {
    const std::vector<std::string> lines = LinesOf(Sign());
    const auto with = [&](std::size_t index, const std::string& line) {
        std::vector<std::string> changed = lines;
        changed[index] = line;
        return Joined(changed);
    };
    const struct {
        std::string signature;
        std::string refusal;
    } cases[] = {
        {Joined({lines[0], lines[1], lines[2]}), "the signature has 3 lines, not 4"},
        {Joined(lines) + "\n", "the signature has 5 lines, not 4"},
        {with(0, "untrusted comment:" + lines[0].substr(19)), "first line does not begin with"},
        {with(1, "*" + lines[1].substr(1)), "second line is not the base64 of 74 bytes"},
        {with(1, lines[1] + " "), "second line is not the base64"},
        {with(1, Patched(lines[1], 0, "Ex")), "algorithm is neither ED nor Ed"},
        {with(2, "trusted comment:" + lines[2].substr(17)), "third line does not begin with"},
        {with(3, lines[3].substr(0, 84) + "===="), "fourth line is not the base64 of 64 bytes"},
        {with(0, lines[0] + std::string(SignatureLimit, 'x')), "the signature is larger than 4 KiB"},
    };
    for (const auto& c : cases)
        EXPECT_THAT(Refusal(c.signature, message_), HasSubstr(c.refusal)) << c.signature;
}

TEST_F(MinisignSignature, AnUnreadablePublicKeyIsTheBuildsFault) {
    const std::string signature = Sign();
    const std::string key = DemoPublicKey();
    for (const std::string& bad : {std::string(), key.substr(1), key + "A", Patched(key, 0, "ED"),
                                   LinesOf(signature)[1], "comment\n" + key, testsupport::DemoPublicKeyFile() + key})
        EXPECT_THROW(VerifySignature(message_, signature, bad), EInvalidPublicKey) << bad;
}
