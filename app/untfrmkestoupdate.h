#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QElapsedTimer>

#include "app/Execucao.h"
#include "base/DateTime.h"
#include "ftp/IdFTP.h"
#include "runtime/Controls.h"
#include "runtime/Forms.h"
#include "runtime/Gauge.h"
#include "runtime/Label.h"
#include "runtime/ListControls.h"
#include "runtime/StatusBar.h"
#include "runtime/Timer.h"

class QCloseEvent;

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

    // Step 4 of a run without error in its file phase: applies the database
    // scripts through the wait window (its modal show), whose Tag becomes 1
    // when a script failed. Nothing happens while it is empty.
    std::function<void()> AtualizarBancos;
    // Waits the given milliseconds while the replaced executable is still
    // there (the system may hold it for a moment).
    std::function<void(int)> Esperar;

    // Program Files folder that holds winrar\winrar.exe.
    std::string PastaProgramas;
    // Size of the file being fetched, as the server reports it; 0 or -1 when
    // it is not known.
    std::int64_t TamanhoArquivo = 0;
    // Start of the current transfer.
    base::TDateTime InicioTransferencia = 0;
    // Rate of the current transfer in KB/s.
    double TaxaTransferencia = 0;

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
    // Repaints the whole window shortly after a status change of the FTP client.
    runtime::TTimer TimerPintura;

    void batualizarClick();
    void bfecharClick();
    void Timer2Timer();

    // The FTP client's status and work events.
    void ftpupdateStatus(ftp::TIdStatus status, const std::string& texto);
    void ftpupdateWorkBegin();
    void ftpupdateWork(std::int64_t contagem);
    void ftpupdateWorkEnd(ftp::TWorkMode modo);

protected:
    void FormShow() override;
    void FormClose() override;
    // During a run the window does not close at once: the FTP client is asked
    // to abort, and the window closes once the run has unwound.
    void closeEvent(QCloseEvent* event) override;

private:
    void ConfigurarJanela();
    void ConfigurarRotulos();
    void ConfigurarControles();
    void LigarEventosFtp();
    // Steps of the start-up sequence after the gate; each returns false when
    // start-up gives up (Timer2 armed).
    void SequenciaInicial();
    bool VerificarWinRAR();
    bool VerificarArquivos();
    bool AbrirBancosDoAlias(int item);
    // Shows the message and arms Timer2, which closes the window.
    void Desistir(const std::string& mensagem);

    // One update run on the state that batualizarClick set up: the file
    // phase, the script update, the closing message.
    void AtualizarSistema();
    // The file phase of a run; it tells in execucao_ what it fetched and
    // whether anything failed.
    void FaseArquivos();
    void Conectar();
    std::vector<std::string> ListarPasta();
    // Shows the listing's lines with their states and fetches the files that
    // are out of date.
    void BuscarDesatualizados(const std::vector<std::string>& listagem);
    // Fetches the file of node no; false (node red, the error shown) when it fails.
    bool BuscarArquivo(int no, const ftp::TIdFTPListItem& entrada);
    void SubstituirExecutavel(const std::string& executavel);
    void ZerarMedidor();
    // Lets the progress labels and the gauge repaint, or holds their painting back.
    void PintarProgresso(bool pintar);
    static constexpr int IntervaloPintura = 40;
    // Ends the run with a silent abort once the operator asked to leave.
    void PararSeSaindo() const;

    Execucao execucao_;
    // Bytes moved so far by the current transfer, as its work events count them.
    std::int64_t movidos_ = 0;
    // When the progress display was last painted during the current transfer.
    QElapsedTimer ultimaPintura_;
};

} // namespace app
