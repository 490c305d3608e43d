#pragma once

// libsodium must be initialised once before its first use; every entry point
// of this library that calls it goes through here first.
namespace signing {

// Initialises libsodium (once per process, thread-safe).
// @throw base::Exception when the library cannot be initialised.
void RequireSodium();

} // namespace signing
