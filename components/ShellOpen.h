#pragma once

#include <functional>
#include <string>

namespace components {

// Opens a target (web address, "mailto:" address) with the desktop's default
// handler, without waiting and without reporting failures.
using TShellOpener = std::function<void(const std::string& target)>;

void ShellOpen(const std::string& target);

// Replaces the opener (tests record the targets instead of opening them) and
// returns the one in use before.
TShellOpener SetShellOpener(TShellOpener opener);

} // namespace components
