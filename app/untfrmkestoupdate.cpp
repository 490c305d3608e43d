// The main window: its controls and its start-up sequence (the gate, the
// archiver, the application folder, the alias and the internet database).
#include "app/untfrmkestoupdate.h"

#include "app/Artwork.h"
#include "config/Configuracao.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "runtime/Application.h"
#include "runtime/MessageBoxes.h"
#include "scripts/uAguarde.h"

namespace app {

using namespace base;
using namespace runtime;

namespace {

// The WinRAR installer on the maker's web site.
const char* const kEnderecoInstaladorWinRAR = "http://www.borvane.com.br/winrar.exe";

} // namespace

Tfrmkestoupdate::Tfrmkestoupdate()
    : TForm(nullptr, "frmkestoupdate"), Panel1(this, "Panel1", {0, 0, 909, 49}, "Cabeçalho"),
      Image1(&Panel1, "Image1", {872, 3, 32, 32}, "Ícone do KestoUpdate"), Label1(&Panel1, "Label1"),
      Label2(&Panel1, "Label2"), Panel2(this, "Panel2", {0, 50, 909, 578}, "Atualização"),
      Image2(&Panel2, "Image2", {0, 0, 908, 550}, "Fundo"), Label5(&Panel2, "Label5"), Label9(&Panel2, "Label9"),
      Memo3(&Panel2, "Memo3", {7, 36, 886, 36}, "Listagem do servidor"),
      TreeView3(&Panel2, "TreeView3", {11, 36, 886, 35}, "Arquivos do servidor"), Label10(&Panel2, "Label10"),
      CheckListBox1(&Panel2, "CheckListBox1", {8, 124, 417, 97}, "Base Servidor"),
      Gauge1(&Panel2, "Gauge1", {11, 466, 884, 20}, "Percentual da transferência"),
      ProgressBar1(&Panel2, "ProgressBar1", {13, 470, 880, 12}, "Progresso"), lblstatus(&Panel2, "lblstatus"),
      lblcontador(&Panel2, "lblcontador"), Label3(&Panel2, "Label3"),
      Button1(&Panel2, "Button1", {11, 506, 182, 31}, "&Atualizar agora"),
      Button3(&Panel2, "Button3", {804, 506, 90, 31}, "&Sair"), StatusBar1(&Panel2, "StatusBar1", {1, 550, 907, 27}),
      ImageList1(16, 16), Timer2(this, 100), TimerPintura(this, IntervaloPintura) {
    ConfigurarJanela();
    ConfigurarRotulos();
    ConfigurarControles();
}

Tfrmkestoupdate::~Tfrmkestoupdate() = default;

void Tfrmkestoupdate::ConfigurarJanela() {
    SetBorderStyle(TBorderStyle::bsDialog);
    SetCaption("Atualização de Sistema");
    SetClientSize(909, 628);
    SetPosition(TPosition::poDesktopCenter);
    SetFont(MakeFont("MS Sans Serif", -11));
    Panel1.SetColor(clWhite);
    Image1.SetPicture(IconeAplicativo());
    Image2.SetPicture(FundoPrincipal());
}

void Tfrmkestoupdate::ConfigurarRotulos() {
    // Labels on the white header take its colour; those on the picture let it show through.
    for (TLabel* rotulo : {&Label1, &Label2})
        rotulo->SetColor(clWhite);
    PlaceLabel(Label1, 8, 2, "Borvane Quillmark", MakeFont("MS Sans Serif", -19, fsBold, clBlue), false);
    PlaceLabel(Label2, 9, 27, "Atualização do Sistema Quillmark", MakeFont("MS Sans Serif", -13, fsBold, clBlack),
               false);
    PlaceLabel(Label5, 16, 18, "EXE PRINC.", MakeFont("Verdana", -16, 0, clNavy), true);
    PlaceLabel(Label9, 116, 19, "Label7", MakeFont("MS Sans Serif", -13, fsBold, clRed), true);
    PlaceLabel(Label10, 16, 105, "Base Servidor", MakeFont("Verdana", -15, fsBold, clMaroon), true);
    PlaceLabel(lblstatus, 206, 506, " ", MakeFont("MS Sans Serif", -13, fsBold, clBlack), true);
    PlaceLabel(lblcontador, 206, 526, " ", MakeFont("MS Sans Serif", -11), true);
    PlaceLabel(Label3, 401, 526, " ", MakeFont("MS Sans Serif", -11), true);
}

void Tfrmkestoupdate::ConfigurarControles() {
    Memo3.setFont(MakeFont("Courier New", -13).ToQFont());
    Memo3.setVisible(false);

    PreencherBolas(ImageList1);
    TreeView3.setFont(MakeFont("Courier New", -13, fsBold).ToQFont());
    TreeView3.setIndentation(19);
    TreeView3.SetStateImages(&ImageList1);

    CheckListBox1.SetItemHeight(13);

    Gauge1.SetForeColor(clYellow);
    Gauge1.SetBackColor(clWhite);

    ProgressBar1.SetMax(55000);
    ProgressBar1.setVisible(false);

    Button1.setFont(MakeFont("Verdana", -16, fsBold).ToQFont());
    Button1.SetGlyph(GlifoAtualizar());
    Button1.OnClick = [this] { batualizarClick(); };
    Button3.setFont(MakeFont("Verdana", -19, fsBold).ToQFont());
    Button3.SetGlyph(GlifoSair());
    Button3.OnClick = [this] { bfecharClick(); };
    // Tab order: "Atualizar agora" comes right after the alias list.
    setTabOrder(&CheckListBox1, &Button1);
    setTabOrder(&Button1, &Button3);

    StatusBar1.AddPanel(50, "KestoUpdate");

    ftpupdate.Passive = true;
    LigarEventosFtp();
    // The window keeps repainting while it waits.
    Esperar = [](int milissegundos) { Application().Wait(milissegundos); };
    AtualizarBancos = [this] { aguarde->ShowModal(); };
    Timer2.OnTimer = [this] { Timer2Timer(); };
    TimerPintura.OnTimer = [this] {
        TimerPintura.SetEnabled(false);
        update();
    };
}

void Tfrmkestoupdate::FormShow() {
    // A failure that start-up does not report in its own words (reading the
    // registry or Sys_Vendcfg.INI) reaches the default error report; the
    // window then stays without a way to start an update, since neither the
    // wait window nor the internet database may be ready.
    try {
        SequenciaInicial();
    } catch (...) {
        Button1.setEnabled(false);
        throw;
    }
}

void Tfrmkestoupdate::SequenciaInicial() {
    PastaProgramas = config::PastaWinRAR();
    if (Form1 && Form1->Tag == 0) {
        Timer2.SetEnabled(true);
        return;
    }
    Form1.reset();
    if (!VerificarWinRAR() || !VerificarArquivos())
        return;

    Label9.SetCaption("Sys_Vendrake.exe - Será atualizado");
    Label9.Font().SetColor(clGreen);
    CheckListBox1.AddItem(config::LerNomeAlias());
    aguarde = new scripts::Taguarde(this, CheckListBox1);
    for (int item = 0; item < CheckListBox1.Count(); ++item) {
        if (!AbrirBancosDoAlias(item))
            return;
    }
    StatusBar1.SetPanelText(0, "Clique em Atualizar agora ou pressione <ENTER>.");
    Button1.setFocus();
}

bool Tfrmkestoupdate::VerificarWinRAR() {
    if (platform::FileExists(PastaProgramas + config::ProgramaWinRAR))
        return true;
    ShowMessage("Favor fazer a instalação do Winrar Primeiro. Voce será redirecionado para o download.");
    platform::ShellOpen(kEnderecoInstaladorWinRAR, platform::SW_SHOW_NORMAL);
    Timer2.SetEnabled(true);
    return false;
}

bool Tfrmkestoupdate::VerificarArquivos() {
    TamanhoArquivo = 0;
    const char* faltando = nullptr;
    if (!platform::FileExists("Sys_Vendrake.exe") && !platform::FileExists("Sys_Vendrake.old"))
        faltando = "Arquivo Sys_Vendrake.exe não encontrado nesta pasta que você executou o atualiza_quillmark.exe";
    else if (!platform::FileExists("Sys_Vendcfg.INI"))
        faltando = "Arquivo Sys_Vendcfg.ini não encontrado nesta pasta que você executou o atualiza_quillmark.exe";
    if (faltando == nullptr)
        return true;
    Button1.setEnabled(false);
    Desistir(faltando);
    return false;
}

bool Tfrmkestoupdate::AbrirBancosDoAlias(int item) {
    const std::string alias = CheckListBox1.ItemText(item);
    const std::string servidor = config::LerParametroAlias(alias, "SERVER NAME");
    if (servidor.empty()) {
        Desistir("Alias " + alias + " do BDE não encontrado.");
        return false;
    }
    db::TIBDatabase& local = aguarde->IBDatabase1;
    local.DatabaseName = servidor;
    db::TDatabase& internet = aguarde->Database1;
    try {
        internet.Open();
    } catch (const std::exception&) {
        if (internet.Connected())
            internet.Close();
        Desistir("Conexão com o MYSQL da internet não localizado.");
        return false;
    }
    // The local database is opened and closed once as a test.
    try {
        local.Open();
    } catch (const std::exception&) {
        if (internet.Connected())
            internet.Close();
        if (local.Connected())
            local.Close();
        Desistir("Alias " + alias + " encontrado, mas arquivo apontado por ele " + servidor + " não foi encontrado.");
        return false;
    }
    local.Close();
    CheckListBox1.SetChecked(item, true);
    return true;
}

void Tfrmkestoupdate::Desistir(const std::string& mensagem) {
    ShowMessage(mensagem);
    Timer2.SetEnabled(true);
}

void Tfrmkestoupdate::FormClose() {
    delete aguarde;
    aguarde = nullptr;
}

void Tfrmkestoupdate::Timer2Timer() {
    Timer2.SetEnabled(false);
    Close();
}

} // namespace app
