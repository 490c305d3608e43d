// The main window's display of what the FTP client does: the status bar, the
// gauge, the counters and the rate line.
#include "app/untfrmkestoupdate.h"

#include "app/Progresso.h"
#include "runtime/Application.h"

namespace app {

using namespace base;
using namespace runtime;

namespace {

const char* TextoDoStatus(ftp::TIdStatus status) {
    switch (status) {
    case ftp::hsResolving:
        return "Resolvendo..";
    case ftp::hsConnecting:
        return "Conectando..";
    case ftp::hsConnected:
        return "Conectado ao Servidor FTP! Aguarde..";
    case ftp::hsDisconnecting:
        return "Desconectando..";
    case ftp::hsDisconnected:
        return "Desconectado!";
    case ftp::ftpTransfer:
        return "Transferindo..";
    case ftp::ftpReady:
        return "Lendo...";
    case ftp::ftpAborted:
        return "Abortado!";
    case ftp::hsStatusText:
        break;
    }
    return nullptr;
}

} // namespace

void Tfrmkestoupdate::LigarEventosFtp() {
    ftpupdate.OnStatus = [this](ftp::TIdComponent*, ftp::TIdStatus status, const std::string& texto) {
        ftpupdateStatus(status, texto);
    };
    ftpupdate.OnWorkBegin = [this](ftp::TIdComponent*, ftp::TWorkMode, std::int64_t) { ftpupdateWorkBegin(); };
    ftpupdate.OnWork = [this](ftp::TIdComponent*, ftp::TWorkMode, std::int64_t contagem) { ftpupdateWork(contagem); };
    ftpupdate.OnWorkEnd = [this](ftp::TIdComponent*, ftp::TWorkMode modo) { ftpupdateWorkEnd(modo); };
    // While the client waits on a silent server the window still repaints and
    // "Sair" still works.
    ftpupdate.OnIdle = [] { Application().ProcessMessages(); };
}

void Tfrmkestoupdate::ftpupdateStatus(ftp::TIdStatus status, const std::string& texto) {
    const char* painel = TextoDoStatus(status);
    StatusBar1.SetPanelText(0, painel != nullptr ? painel : texto);
    if (status == ftp::hsDisconnected) {
        ZerarMedidor();
        Gauge1.SetForeColor(clYellow);
    }
    // The whole window repaints once for the statuses of the next
    // IntervaloPintura ms: a run of small files reports several per file.
    if (!TimerPintura.Enabled())
        TimerPintura.SetEnabled(true);
}

void Tfrmkestoupdate::ftpupdateWorkBegin() {
    InicioTransferencia = Now();
    TaxaTransferencia = 0;
    movidos_ = 0;
}

void Tfrmkestoupdate::ftpupdateWork(std::int64_t contagem) {
    movidos_ = contagem;
    // The texts and the gauge are set on every block, but painted (and the
    // labels fitted to their texts) at most every IntervaloPintura ms: doing
    // that for every 32 KiB would cost more than receiving the bytes.
    const bool pintar = !ultimaPintura_.isValid() || ultimaPintura_.hasExpired(IntervaloPintura);
    PintarProgresso(pintar);
    const Progresso progresso =
        CalcularProgresso(TamanhoArquivo, contagem, Now() - InicioTransferencia, TaxaTransferencia);
    lblcontador.SetCaption(progresso.contador);
    lblstatus.SetCaption(progresso.status);
    Application().ProcessMessages();
    Gauge1.SetProgress(progresso.percentual);
    if (pintar)
        ultimaPintura_.start();
}

void Tfrmkestoupdate::PintarProgresso(bool pintar) {
    // Held, the labels neither paint nor measure their texts.
    lblcontador.HoldUpdates(!pintar);
    lblstatus.HoldUpdates(!pintar);
    Gauge1.setUpdatesEnabled(pintar);
}

void Tfrmkestoupdate::ftpupdateWorkEnd(ftp::TWorkMode modo) {
    lblstatus.SetCaption(modo == ftp::wmRead ? "Download!!" : "Upload!!");
    lblcontador.SetCaption(ContadorFinal(TamanhoArquivo, movidos_));
    // Released after the final texts are in, the labels measure only those.
    PintarProgresso(true);
    ultimaPintura_.invalidate();
}

void Tfrmkestoupdate::ZerarMedidor() {
    Gauge1.SetProgress(0);
    Gauge1.SetMaxValue(100);
    ProgressBar1.setVisible(false);
    Gauge1.setVisible(true);
    Gauge1.repaint();
}

} // namespace app
