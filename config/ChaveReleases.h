#pragma once

#include <string>

// The public key that release signatures are checked against, built in at
// configure time (UPDATER_RELEASE_PUBLIC_KEY). Unlike the FTP host it has no
// run-time override: whoever could set one could sign releases.
namespace config {

// minisign's public key line (the base64 text beginning "RW"), to be given to
// signing::VerifySignature or signing::VerifiedManifest. Empty when the build
// checks no release signatures (for trials only).
std::string ChaveDeReleases();

} // namespace config
