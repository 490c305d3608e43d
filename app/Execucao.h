#pragma once

#include <string>

namespace app {

// The state of the main window's update run, kept in one place so that the
// run reads from top to bottom.
struct Execucao {
    // Between a click on "Atualizar agora" and the end of its run.
    bool emAndamento = false;
    // The operator asked to leave during the run: the FTP client was asked to
    // abort, the run stops at its next step and the window closes once the
    // run has unwound.
    bool sairAoTerminar = false;
    // The file phase fetched a file.
    bool buscou = false;
    // Something failed: the run ends with errors.
    bool erro = false;
};

// The closing message of a run: success without error; with an error, a
// request to contact the maker when a database script failed (tag 1), else a
// request to close the applications and try again.
std::string MensagemFinal(bool erro, int tag);

} // namespace app
