// The main window's update run from top to bottom: "Atualizar agora", the
// file phase, the script update and the closing message; "Sair" and the close
// box during a run.
#include "app/untfrmkestoupdate.h"

#include <QCloseEvent>

#include "app/Execucao.h"
#include "base/Exception.h"
#include "runtime/MessageBoxes.h"
#include "scripts/uAguarde.h"

namespace app {

using namespace base;
using namespace runtime;

void Tfrmkestoupdate::batualizarClick() {
    if (ftpupdate.IsOpen()) {
        ShowMessage("Conectado no FTP");
        return;
    }
    // The focus rests on the file list during the run: a disabled button
    // hands it to the next one, "Sair", and an Enter typed ahead would end
    // the run.
    TreeView3.setFocus();
    Button1.setEnabled(false);
    execucao_ = {};
    execucao_.emAndamento = true;
    std::exception_ptr falha;
    try {
        AtualizarSistema();
        // After the closing message Enter starts the next run.
        Button1.setEnabled(true);
        Button1.setFocus();
    } catch (...) {
        falha = std::current_exception();
    }
    execucao_.emAndamento = false;
    if (execucao_.sairAoTerminar)
        Close();
    if (falha)
        std::rethrow_exception(falha);
}

void Tfrmkestoupdate::bfecharClick() {
    if (!execucao_.emAndamento && ftpupdate.IsOpen())
        ftpupdate.CloseSession();
    Close();
}

void Tfrmkestoupdate::closeEvent(QCloseEvent* event) {
    if (!execucao_.emAndamento) {
        TForm::closeEvent(event);
        return;
    }
    execucao_.sairAoTerminar = true;
    ftpupdate.RequestAbort();
    event->ignore();
}

void Tfrmkestoupdate::PararSeSaindo() const {
    if (execucao_.sairAoTerminar)
        throw EAbort("Operation aborted");
}

void Tfrmkestoupdate::AtualizarSistema() {
    lblstatus.SetCaption(" ");
    TreeView3.Clear();
    FaseArquivos();
    ftpupdate.CloseSession();
    PararSeSaindo();
    if (!execucao_.erro) {
        if (AtualizarBancos)
            AtualizarBancos();
        // A failure outside the scripts (a local database held by a running
        // application, say) asks to close the applications, whatever Tag an
        // earlier run left in the wait window.
        if (aguarde->Resultado == scripts::ScriptUpdateResult::OutsideFailure) {
            execucao_.erro = true;
        } else if (aguarde->Tag == 1) {
            Tag = 1;
            execucao_.erro = true;
        }
    }
    ZerarMedidor();
    lblstatus.SetCaption(MensagemFinal(execucao_.erro, Tag));
    if (execucao_.erro)
        Tag = 0;
    lblcontador.SetCaption("");
    Label3.SetCaption("");
}

} // namespace app
