#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/DateTime.h"
#include "ftp/IdFTP.h"
#include "runtime/Controls.h"
#include "runtime/Forms.h"
#include "runtime/Gauge.h"
#include "runtime/Label.h"
#include "runtime/ListControls.h"
#include "runtime/StatusBar.h"
#include "runtime/Timer.h"

namespace scripts {
class Taguarde;
}

namespace app {

// The main window "Atualização de Sistema": its start-up sequence checks the
// application folder, the alias and the internet database; "Atualizar agora"
// runs one update.
class Tfrmkestoupdate : public runtime::TForm {
public:
    Tfrmkestoupdate();
    ~Tfrmkestoupdate() override;

    // The confirmation window, once shown by the program entry; its Tag is 1
    // when the operator acknowledged. Without one the start-up goes on as
    // if acknowledged. Start-up frees it.
    std::unique_ptr<runtime::TForm> Form1;

    // The update run; batualizarClick runs it with Button1 disabled.
    std::function<void()> AtualizarSistema;

    // Program Files folder that holds winrar\winrar.exe.
    std::string PastaProgramas;
    // Size of the file being fetched, as the server reports it.
    std::uint32_t TamanhoArquivo = 0;
    // Start of the current transfer.
    base::TDateTime InicioTransferencia = 0;

    // The wait window, created by start-up and freed when this window closes.
    scripts::Taguarde* aguarde = nullptr;

    // The FTP client of the update runs.
    ftp::TIdFTP ftpupdate;

    // Controls, parents before their children.
    runtime::TPanel Panel1;
    runtime::TImage Image1;
    runtime::TLabel Label1;
    runtime::TLabel Label2;
    runtime::TPanel Panel2;
    runtime::TImage Image2;
    runtime::TLabel Label5;
    runtime::TLabel Label9;
    runtime::TMemo Memo3;
    runtime::TTreeView TreeView3;
    runtime::TLabel Label10;
    runtime::TCheckListBox CheckListBox1;
    runtime::TGauge Gauge1;
    runtime::TProgressBar ProgressBar1;
    runtime::TLabel lblstatus;
    runtime::TLabel lblcontador;
    runtime::TLabel Label3;
    runtime::TBitBtn Button1;
    runtime::TBitBtn Button3;
    runtime::TStatusBar StatusBar1;

    runtime::TImageList ImageList1;
    runtime::TTimer Timer2;

    void batualizarClick();
    void bfecharClick();
    void Timer2Timer();

protected:
    void FormShow() override;
    void FormClose() override;

private:
    void ConfigurarJanela();
    void ConfigurarRotulos();
    void ConfigurarControles();
    // Steps of the start-up sequence after the gate; each returns false when
    // start-up gives up (Timer2 armed).
    void SequenciaInicial();
    bool VerificarWinRAR();
    bool VerificarArquivos();
    bool AbrirBancosDoAlias(int item);
    // Shows the message and arms Timer2, which closes the window.
    void Desistir(const std::string& mensagem);
};

} // namespace app
