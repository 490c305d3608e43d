#pragma once

#include <functional>
#include <memory>

#include "runtime/Forms.h"

namespace app {

// Creates the confirmation window (Tag 1 = acknowledged).
using CriarPortao = std::function<std::unique_ptr<runtime::TForm>()>;

// The program's confirmation window, gate::TForm1.
std::unique_ptr<runtime::TForm> CriarForm1();

// The program: sets up the application object "KestoUpdate", creates the
// main window, shows the confirmation window modally and runs the message
// loop until the main window closes. An unacknowledged gate makes the
// application terminate: the main window is then shown once and closes.
void ExecutarPrograma(const CriarPortao& criarPortao = CriarForm1);

} // namespace app
