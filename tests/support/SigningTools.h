#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Debian's minisign and coreutils' b2sum, run as the maker runs them. A tool
// that fails raises std::runtime_error with what it printed.
namespace testsupport {

// The demo key pair of tools/demo-release-key.
std::filesystem::path DemoSecretKey();
std::string DemoPublicKeyFile(); // the public key file's text
std::string DemoPublicKey();     // its key line

// A new key pair without a password in the folder; returns the secret key.
std::filesystem::path MakeSecretKey(const std::filesystem::path& folder);

// Signs a file into FILE.minisig (options such as {"-l"}) and returns its text.
std::string MinisignSign(const std::filesystem::path& file, const std::filesystem::path& secretKey,
                         const std::vector<std::string>& options = {});

// The hash b2sum prints for a file.
std::string B2sum(const std::filesystem::path& file);

} // namespace testsupport
