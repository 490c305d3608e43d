#include "app/untfrmkestoupdate.h"

#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/ProgramEntry.h"
#include "runtime/Application.h"
#include "scripts/uAguarde.h"
#include "tests/app/PastaAplicacao.h"
#include "tests/support/ScriptedFtpServer.h"
#include "tests/support/WidgetInput.h"

namespace {

using testsupport::EnvGuard;
using testsupport::Inicio;
using testsupport::PortaoRespondido;

const char* const kFaltaExe =
    "Arquivo Sys_Vendrake.exe não encontrado nesta pasta que você executou o atualiza_quillmark.exe";
const char* const kFaltaIni =
    "Arquivo Sys_Vendcfg.ini não encontrado nesta pasta que você executou o atualiza_quillmark.exe";
const char* const kFaltaWinRAR =
    "Favor fazer a instalação do Winrar Primeiro. Voce será redirecionado para o download.";
const char* const kSemInternet = "Conexão com o MYSQL da internet não localizado.";
const char* const kPronto = "Clique em Atualizar agora ou pressione <ENTER>.";

TEST_F(Inicio, SuccessTicksTheAliasOpensTheInternetDatabaseAndWaitsOnButton1) {
    app::Tfrmkestoupdate& form = Mostrar();

    EXPECT_TRUE(boxes_.Boxes().empty());
    EXPECT_FALSE(form.Timer2.Enabled());
    EXPECT_EQ(form.PastaProgramas, (dir_ / "Program Files").string());
    EXPECT_EQ(form.Label9.Caption(), "Sys_Vendrake.exe - Será atualizado");
    EXPECT_EQ(form.Label9.Font().Color(), base::clGreen);
    ASSERT_EQ(form.CheckListBox1.Count(), 1);
    EXPECT_EQ(form.CheckListBox1.ItemText(0), "LOJA");
    EXPECT_TRUE(form.CheckListBox1.Checked(0));
    ASSERT_NE(form.aguarde, nullptr);
    EXPECT_TRUE(form.aguarde->Database1.Connected());
    EXPECT_EQ(form.aguarde->IBDatabase1.DatabaseName, local_.name());
    EXPECT_FALSE(form.aguarde->IBDatabase1.Connected()) << "the local database is only opened as a test";
    EXPECT_EQ(form.aguarde->IBDatabase1.SQLDialect(), 1);
    EXPECT_EQ(form.StatusBar1.PanelText(0), kPronto);
    EXPECT_TRUE(form.Button1.isEnabled());
    EXPECT_EQ(form.focusWidget(), &form.Button1);
    EXPECT_TRUE(launches_.opened.empty());

    // Enter presses the focused "Atualizar agora", which is disabled during
    // the run; the focus rests on the file list meanwhile, so an Enter typed
    // ahead does not press "Sair", and returns to the button afterwards, so
    // Enter starts the next run.
    ServirAtualizacoes();
    std::vector<QWidget*> focoDuranteExecucao;
    int execucoes = 0;
    form.AtualizarBancos = [&] {
        ++execucoes;
        focoDuranteExecucao.push_back(form.focusWidget());
        testsupport::PressKey(*form.focusWidget(), Qt::Key_Return);
    };
    testsupport::PressKey(form.Button1, Qt::Key_Return);
    testsupport::PressKey(*form.focusWidget(), Qt::Key_Return);
    EXPECT_EQ(execucoes, 2);
    EXPECT_EQ(focoDuranteExecucao, (std::vector<QWidget*>{&form.TreeView3, &form.TreeView3}));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.lblstatus.Caption(), "Atualização finalizada com sucesso.");
    EXPECT_TRUE(form.Button1.isEnabled());
    EXPECT_EQ(form.focusWidget(), &form.Button1);

    // Closing frees the wait window.
    form.bfecharClick();
    EXPECT_EQ(form.aguarde, nullptr);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(Inicio, WinRARMissingSendsTheOperatorToTheInstallerAndCloses) {
    std::filesystem::remove_all(dir_ / "Program Files/winrar");
    app::Tfrmkestoupdate& form = Mostrar();

    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{kFaltaWinRAR});
    EXPECT_EQ(boxes_.Boxes()[0].caption, "KestoUpdate");
    ASSERT_EQ(launches_.opened.size(), 1u);
    EXPECT_EQ(launches_.opened[0].target, "http://www.borvane.com.br/winrar.exe");
    EXPECT_EQ(launches_.opened[0].showCommand, platform::SW_SHOW_NORMAL);
    EXPECT_TRUE(form.Timer2.Enabled());
    EXPECT_EQ(form.CheckListBox1.Count(), 0);
    EsperarQueFeche(form);
}

TEST_F(Inicio, AnOldExecutableAloneIsAccepted) {
    Remover("Sys_Vendrake.exe");
    dir_.write("Sys_Vendrake.old", "MZ");
    app::Tfrmkestoupdate& form = Mostrar();
    EXPECT_TRUE(boxes_.Boxes().empty());
    EXPECT_TRUE(form.CheckListBox1.Checked(0));
    EXPECT_EQ(form.StatusBar1.PanelText(0), kPronto);
}

TEST_F(Inicio, MissingApplicationFilesDisableButton1AndCloseTheWindow) {
    struct Caso {
        const char* remover;
        const char* mensagem;
    };
    for (const Caso& caso : {Caso{"Sys_Vendrake.exe", kFaltaExe}, Caso{"Sys_Vendcfg.INI", kFaltaIni}}) {
        SCOPED_TRACE(caso.remover);
        testsupport::MessageBoxRecorder boxes;
        Remover(caso.remover);
        app::Tfrmkestoupdate& form = Mostrar();
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{caso.mensagem});
        EXPECT_FALSE(form.Button1.isEnabled());
        EXPECT_TRUE(form.Timer2.Enabled());
        EXPECT_NE(form.Label9.Caption(), "Sys_Vendrake.exe - Será atualizado");
        EXPECT_EQ(form.aguarde, nullptr);
        EsperarQueFeche(form);
        dir_.write("Sys_Vendrake.exe", "MZ");
        EscreverIni("Configuracao: LOJA\r\n");
    }
}

TEST_F(Inicio, AliasProblemsAreReportedInTheProgramsOwnWords) {
    struct Caso {
        const char* primeiraLinha;
        const char* mensagem;
    };
    const Caso casos[] = {
        // A first line shorter than 15 characters names no alias.
        {"curta\r\n", "Alias  do BDE não encontrado."},
        {"Configuracao: DESCONHECIDO\r\n", "Alias DESCONHECIDO do BDE não encontrado."},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.primeiraLinha);
        testsupport::MessageBoxRecorder boxes;
        EscreverIni(caso.primeiraLinha);
        app::Tfrmkestoupdate& form = Mostrar();
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{caso.mensagem});
        EXPECT_TRUE(form.Timer2.Enabled());
        ASSERT_EQ(form.CheckListBox1.Count(), 1);
        EXPECT_FALSE(form.CheckListBox1.Checked(0));
        EXPECT_EQ(form.StatusBar1.PanelText(0), "KestoUpdate");
    }
}

TEST_F(Inicio, AnUnreachableInternetDatabaseIsReportedAndLeftClosed) {
    Remover("check.db");
    app::Tfrmkestoupdate& form = Mostrar();
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{kSemInternet});
    EXPECT_TRUE(form.Timer2.Enabled());
    ASSERT_NE(form.aguarde, nullptr);
    EXPECT_FALSE(form.aguarde->Database1.Connected());
    EXPECT_FALSE(form.CheckListBox1.Checked(0));
    runtime::Application().Run(form);
    EXPECT_FALSE(form.isVisible()) << "Timer2 closes the window";
    EXPECT_EQ(form.aguarde, nullptr);
}

TEST_F(Inicio, AMissingLocalDatabaseIsReportedAndBothDatabasesLeftClosed) {
    const std::string ausente = (dir_ / "dados" / "SUMIU.FDB").string();
    ApontarAliasPara(ausente);
    app::Tfrmkestoupdate& form = Mostrar();
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{"Alias LOJA encontrado, mas arquivo apontado por ele " +
                                                       ausente + " não foi encontrado."});
    EXPECT_TRUE(form.Timer2.Enabled());
    ASSERT_NE(form.aguarde, nullptr);
    EXPECT_FALSE(form.aguarde->Database1.Connected());
    EXPECT_FALSE(form.aguarde->IBDatabase1.Connected());
    EXPECT_FALSE(form.CheckListBox1.Checked(0));
    EXPECT_EQ(form.StatusBar1.PanelText(0), "KestoUpdate");
    runtime::Application().Run(form);
    EXPECT_FALSE(form.isVisible()) << "Timer2 closes the window";
}

TEST_F(Inicio, AnUnreadableRegistryReachesTheErrorReportAndBlocksUpdates) {
    EnvGuard semRegistro("UPDATER_REGISTRY_FILE", (dir_ / "nenhum.reg").string());
    app::Tfrmkestoupdate& form = Mostrar();
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].icon, runtime::MsgIcon::Error);
    EXPECT_EQ(boxes_.Boxes()[0].caption, "KestoUpdate");
    EXPECT_FALSE(form.Button1.isEnabled());
    EXPECT_FALSE(form.Timer2.Enabled()) << "the window stays, but no update can start";
    EXPECT_EQ(form.aguarde, nullptr);
}

TEST_F(Inicio, ADeclinedGateOnlyReadsTheRegistryAndArmsTimer2) {
    std::filesystem::remove_all(dir_ / "Program Files/winrar");
    Remover("Sys_Vendrake.exe");
    form_ = std::make_unique<app::Tfrmkestoupdate>();
    form_->Form1 = std::make_unique<PortaoRespondido>(0);
    form_->Show();

    EXPECT_TRUE(boxes_.Boxes().empty());
    EXPECT_TRUE(launches_.opened.empty());
    EXPECT_TRUE(form_->Timer2.Enabled());
    EXPECT_EQ(form_->PastaProgramas, (dir_ / "Program Files").string());
    EXPECT_EQ(form_->CheckListBox1.Count(), 0);
    EXPECT_NE(form_->Form1, nullptr);
}

TEST_F(Inicio, TheProgramEndsAtOnceWhenTheGateIsDeclined) {
    std::filesystem::remove_all(dir_ / "Program Files/winrar");
    bool criado = false;
    app::ExecutarPrograma([&] {
        criado = true;
        return std::make_unique<PortaoRespondido>(0);
    });
    EXPECT_TRUE(criado);
    EXPECT_TRUE(boxes_.Boxes().empty()) << "no check after the registry read";

    // Without the registry the one read that still happens is reported.
    EnvGuard semRegistro("UPDATER_REGISTRY_FILE", (dir_ / "nenhum.reg").string());
    app::ExecutarPrograma([] { return std::make_unique<PortaoRespondido>(0); });
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].icon, runtime::MsgIcon::Error);
}

TEST_F(Inicio, AfterAnAcknowledgedGateTheProgramRunsUntilTheMainWindowCloses) {
    bool aindaAberta = false;
    QTimer::singleShot(300, [&] {
        for (QWidget* janela : QApplication::topLevelWidgets()) {
            if (janela->objectName() == "frmkestoupdate" && janela->isVisible()) {
                aindaAberta = true;
                // Closing it frees the windows it owns: the list holds them no more.
                janela->close();
                return;
            }
        }
    });
    app::ExecutarPrograma([] { return std::make_unique<PortaoRespondido>(1); });
    EXPECT_TRUE(aindaAberta);
    EXPECT_TRUE(boxes_.Boxes().empty());
}

// A confirmation window that is minimised and restored before it is
// acknowledged.
class PortaoMinimizado : public runtime::TForm {
public:
    explicit PortaoMinimizado(bool& minimizado) : TForm(nullptr, "Form1"), minimizado_(minimizado) {}

protected:
    void FormShow() override {
        QTimer::singleShot(20, this, [this] {
            minimizado_ = testsupport::MinimiseAndRestore(*this);
            QTimer::singleShot(50, this, [this] {
                Tag = 1;
                Close();
            });
        });
    }

private:
    bool& minimizado_;
};

// Only closing a window ends it: minimised and restored, the confirmation
// window still gets its answer and the main window stays open.
TEST_F(Inicio, MinimisingTheGateOrTheMainWindowEndsNeitherOne) {
    bool portaoMinimizado = false;
    bool principalMinimizada = false;
    bool abertaDepois = false;
    QTimer procura;
    QObject::connect(&procura, &QTimer::timeout, [&] {
        for (QWidget* janela : QApplication::topLevelWidgets()) {
            if (janela->objectName() != "frmkestoupdate" || !janela->isVisible())
                continue;
            procura.stop();
            principalMinimizada = testsupport::MinimiseAndRestore(*janela);
            QTimer::singleShot(50, janela, [&abertaDepois, janela] {
                abertaDepois = janela->isVisible();
                janela->close();
            });
        }
    });
    procura.start(50);
    app::ExecutarPrograma([&] { return std::make_unique<PortaoMinimizado>(portaoMinimizado); });
    EXPECT_TRUE(portaoMinimizado);
    EXPECT_TRUE(principalMinimizada);
    EXPECT_TRUE(abertaDepois);
}

TEST_F(Inicio, ARunThatRaisesIsReportedAndLeavesButton1Disabled) {
    ServirAtualizacoes();
    app::Tfrmkestoupdate& form = Mostrar();
    int execucoes = 0;
    form.AtualizarBancos = [&] { ++execucoes; };
    form.batualizarClick();
    EXPECT_EQ(execucoes, 1);
    // A server without the update folder: the error report, no closing message.
    std::filesystem::remove_all(dir_ / "servidor/quillmark");
    form.Button1.click();
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].text.rfind("No such file or directory", 0), 0u) << boxes_.Boxes()[0].text;
    EXPECT_EQ(boxes_.Boxes()[0].icon, runtime::MsgIcon::Error);
    EXPECT_EQ(execucoes, 1);
    EXPECT_EQ(form.lblstatus.Caption(), " ");
    EXPECT_FALSE(form.Button1.isEnabled()) << "a run that raised leaves the button disabled";
    form.Button3.click();
    EXPECT_FALSE(form.isVisible());
}

} // namespace

namespace {

TEST_F(Inicio, WhileTheFtpClientIsOpenTheButtonOnlySaysSoAndSairClosesIt) {
    bool fechouSemComando = false;
    testsupport::ScriptedFtpServer server([&](testsupport::FtpScriptSession& s) {
        s.LogIn();
        fechouSemComando = s.ClientCloses();
    });
    app::Tfrmkestoupdate& form = Mostrar();
    form.ftpupdate.Host = "127.0.0.1";
    form.ftpupdate.Port = server.Port();
    form.ftpupdate.OpenSession();
    int execucoes = 0;
    form.AtualizarBancos = [&] { ++execucoes; };

    form.Button1.click();
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{"Conectado no FTP"});
    EXPECT_EQ(execucoes, 0);
    EXPECT_TRUE(form.Button1.isEnabled());

    form.Button3.click();
    EXPECT_FALSE(form.ftpupdate.IsOpen());
    EXPECT_FALSE(form.isVisible());
    server.Transcript();
    EXPECT_TRUE(fechouSemComando);
}

} // namespace

namespace {

// Every control of both windows at its place in its window, named for a
// screen reader.
TEST(Janelas, ControlsSitAtTheirPlacesAndCanBeSpoken) {
    app::Tfrmkestoupdate form;
    struct Lugar {
        const char* nome;
        QRect noFormulario;
    };
    const Lugar lugares[] = {
        {"Panel1", {0, 0, 909, 49}},          {"Image1", {872, 3, 32, 32}},    {"Panel2", {0, 50, 909, 578}},
        {"Image2", {0, 50, 908, 550}},        {"Memo3", {7, 86, 886, 36}},     {"TreeView3", {11, 86, 886, 35}},
        {"CheckListBox1", {8, 174, 417, 97}}, {"Gauge1", {11, 516, 884, 20}},  {"ProgressBar1", {13, 520, 880, 12}},
        {"Button1", {11, 556, 182, 31}},      {"Button3", {804, 556, 90, 31}}, {"StatusBar1", {1, 600, 907, 27}},
    };
    for (const Lugar& lugar : lugares) {
        auto* control = form.findChild<QWidget*>(lugar.nome);
        ASSERT_NE(control, nullptr) << lugar.nome;
        QRect onde(control->mapTo(&form, QPoint(0, 0)), control->size());
        EXPECT_EQ(onde, lugar.noFormulario) << lugar.nome;
    }
    EXPECT_EQ(form.size(), QSize(909, 628));
    EXPECT_EQ(form.lblstatus.mapTo(&form, QPoint(0, 0)), QPoint(206, 556));
    EXPECT_EQ(form.Label1.Font().Height(), -19);
    EXPECT_FALSE(form.Memo3.isVisibleTo(&form));
    EXPECT_FALSE(form.ProgressBar1.isVisibleTo(&form));
    EXPECT_EQ(form.ImageList1.Count(), 5);
    EXPECT_EQ(form.Image2.Picture().size(), QSize(1100, 600));

    scripts::Taguarde aguarde(&form, form.CheckListBox1);
    EXPECT_EQ(aguarde.size(), QSize(183, 90));
    EXPECT_EQ(aguarde.pb1.geometry(), QRect(28, 68, 122, 17));
    EXPECT_EQ(aguarde.AGUARDE.Caption(), "Aguarde...");
    EXPECT_FALSE(aguarde.DBMemo1.isVisibleTo(&aguarde));
    EXPECT_EQ(aguarde.Database1.AliasName, "Check");
    EXPECT_EQ(aguarde.Database1.DatabaseName, "Sistema_my");
    ASSERT_EQ(aguarde.Database1.Params.size(), 2u);
    EXPECT_EQ(aguarde.Database1.Params[0].rfind("USER NAME=", 0), 0u);
    EXPECT_EQ(aguarde.Database1.Params[1].rfind("PASSWORD=", 0), 0u);
    EXPECT_EQ(aguarde.IBDatabase1.Params, (std::vector<std::string>{"user_name=ROOT", "password=718352"}));
    EXPECT_FALSE(aguarde.IBDatabase1.LoginPrompt);
    EXPECT_EQ(aguarde.IBDatabase1.SQLDialect(), 1);
    EXPECT_EQ(aguarde.IBDatabase1.DefaultTransaction(), &aguarde.IBTransaction1);
    EXPECT_EQ(aguarde.IBTransaction2.DefaultDatabase(), &aguarde.IBDatabase1);
    EXPECT_EQ(aguarde.IBQuery1.Database(), &aguarde.IBDatabase1);
    EXPECT_EQ(aguarde.IBQuery1.Transaction(), &aguarde.IBTransaction2);

    // The three labels that start blank are spoken once they have text.
    const QStringList emBranco{"lblstatus", "lblcontador", "Label3"};
    int falados = 0;
    for (QWidget* janela : {static_cast<QWidget*>(&form), static_cast<QWidget*>(&aguarde)}) {
        for (QWidget* control : janela->findChildren<QWidget*>()) {
            const QString nome = control->objectName();
            if (nome.isEmpty() || nome.startsWith("qt_") || emBranco.contains(nome))
                continue;
            EXPECT_FALSE(control->accessibleName().trimmed().isEmpty()) << nome.toStdString();
            ++falados;
        }
    }
    EXPECT_GE(falados, 24);
}

} // namespace
