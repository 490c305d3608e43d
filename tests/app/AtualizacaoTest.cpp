// Update runs of the real main window against a real FTP server (and a
// scripted one for listings no real server writes).
#include <QThread>
#include <QTimer>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/DateTime.h"
#include "base/FormatDateTime.h"
#include "base/FormatSettings.h"
#include "platform/FileDate.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "scripts/uAguarde.h"
#include "tests/app/PastaAplicacao.h"
#include "tests/support/FailingFiles.h"
#include "tests/support/ScriptedFtpServer.h"

namespace {

using base::EncodeDate;
using base::EncodeTime;
using base::TDateTime;
using platform::FileOperation;

const char* const kSucesso = "Atualização finalizada com sucesso.";
const char* const kErroArquivos = "Atualização finalizada com erros, feche os aplicativos e tente denovo.";
const char* const kErroScripts = "Atualização finalizada com erros, necessário contactar Borvane Sistemas.";

// A moment ten days ago at 20 seconds past a minute: recent enough for the
// server to list it with its time of day.
TDateTime DezDiasAtras() {
    const base::TimeParts agora = base::DecodeTime(base::Now());
    return base::Date() - 10 + EncodeTime(agora.hour, agora.minute, 20, 0);
}

std::string Minutos(TDateTime valor) {
    return base::FormatDateTime("dd/mm/yyyy hh:nn", valor);
}

class Execucao : public testsupport::Inicio {
protected:
    Execucao() {
        ServirAtualizacoes();
        form_ = std::make_unique<app::Tfrmkestoupdate>();
        form_->Show();
        form_->AtualizarBancos = [this] { ++atualizacoesDeBanco_; };
        form_->Esperar = [this](int) { ++esperas_; };
    }

    // A file of the update folder, dated as given.
    void Servir(const std::string& nome, const std::string& conteudo, TDateTime data = 0) {
        Datar(dir_.write("servidor/quillmark/" + nome, conteudo).string(), data);
    }
    // A file of the application folder, dated as given.
    void Local(const std::string& nome, const std::string& conteudo, TDateTime data = 0) {
        Datar(dir_.write(nome, conteudo).string(), data);
    }
    static void Datar(const std::string& caminho, TDateTime data) {
        if (data != 0) {
            ASSERT_EQ(platform::FileSetDate(caminho, platform::DateTimeToFileDate(data)), 0u) << caminho;
        }
    }
    std::string Conteudo(const std::string& nome) const {
        return std::filesystem::exists(dir_ / nome) ? dir_.read(nome) : std::string("(ausente)");
    }
    std::string DataLocal(const std::string& nome) const {
        TDateTime data = 0;
        EXPECT_TRUE(platform::FileAge(nome, data)) << nome;
        return Minutos(data);
    }

    app::Tfrmkestoupdate& Form() { return *form_; }
    // Presses "Atualizar agora".
    void Executar() { form_->Button1.click(); }

    // The node of a listing line, found by the line's end.
    int Estado(const std::string& fimDaLinha) {
        for (int i = 0; i < form_->TreeView3.Count(); ++i) {
            const std::string texto = form_->TreeView3.NodeText(i);
            if (texto.size() >= fimDaLinha.size() &&
                texto.compare(texto.size() - fimDaLinha.size(), fimDaLinha.size(), fimDaLinha) == 0)
                return form_->TreeView3.StateIndex(i);
        }
        ADD_FAILURE() << "no node for " << fimDaLinha;
        return -1;
    }

    // The window after a run that went through.
    void EsperarFimNormal(const char* mensagem) {
        EXPECT_EQ(form_->lblstatus.Caption(), mensagem);
        EXPECT_EQ(form_->lblcontador.Caption(), "");
        EXPECT_EQ(form_->Label3.Caption(), "");
        EXPECT_EQ(form_->Gauge1.Progress(), 0);
        EXPECT_EQ(form_->StatusBar1.PanelText(0), "Desconectado!");
        EXPECT_TRUE(form_->Button1.isEnabled());
        EXPECT_FALSE(form_->ftpupdate.IsOpen());
        EXPECT_EQ(form_->Tag, 0);
    }

    int atualizacoesDeBanco_ = 0;
    int esperas_ = 0;
};

TEST_F(Execucao, AnEmptyFolderFetchesNothingAndGoesOnToTheScripts) {
    Executar();
    EXPECT_TRUE(boxes_.Boxes().empty());
    EXPECT_EQ(Form().TreeView3.Count(), 0);
    EXPECT_EQ(atualizacoesDeBanco_, 1);
    EXPECT_TRUE(launches_.programs.empty());
    EsperarFimNormal(kSucesso);
}

TEST_F(Execucao, FilesAreFetchedWhenTheirMinuteDiffersAndGetTheServersTime) {
    const TDateTime servidor = DezDiasAtras();
    const TDateTime umMinuto = EncodeTime(0, 1, 0, 0);
    struct Caso {
        const char* nome;
        bool local;
        TDateTime dataLocal;
        bool buscado;
    };
    const Caso casos[] = {
        {"igual.txt", true, servidor, false},
        {"segundos.txt", true, servidor + EncodeTime(0, 0, 30, 0), false},
        {"antigo.txt", true, servidor - umMinuto, true},
        {"novo.txt", true, servidor + umMinuto, true},
        {"ausente.txt", false, 0, true},
        {"nota fiscal.pdf", false, 0, true},
    };
    for (const Caso& caso : casos) {
        Servir(caso.nome, std::string("servidor ") + caso.nome, servidor);
        if (caso.local)
            Local(caso.nome, "local", caso.dataLocal);
    }
    // The part after the blank names another file, which stays as it is.
    Local("fiscal.pdf", "outro", servidor - umMinuto);
    std::filesystem::create_directories(dir_ / "servidor/quillmark/Arquivos_dlls");
    // A date the file system cannot hold is never put on the file.
    Servir("antiquado.txt", "servidor antiquado", EncodeDate(1980, 1, 1));
    Local("antiquado.txt", "local");
    std::filesystem::last_write_time(dir_ / "servidor/quillmark/antiquado.txt",
                                     std::filesystem::last_write_time(dir_ / "servidor/quillmark/antiquado.txt") -
                                         std::chrono::hours(24 * 400));

    Executar();

    EXPECT_TRUE(boxes_.Boxes().empty()) << boxes_.Texts().front();
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.nome);
        EXPECT_EQ(Conteudo(caso.nome), caso.buscado ? std::string("servidor ") + caso.nome : "local");
        EXPECT_EQ(DataLocal(caso.nome), Minutos(caso.buscado ? servidor : caso.dataLocal));
        EXPECT_EQ(Estado(caso.nome), 1);
    }
    EXPECT_EQ(Conteudo("fiscal.pdf"), "outro");
    EXPECT_EQ(Estado("Arquivos_dlls"), 1);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "Arquivos_dlls"));
    EXPECT_EQ(Conteudo("antiquado.txt"), "servidor antiquado");
    EXPECT_EQ(Form().Memo3.Lines().size(), 8u);
    EXPECT_EQ(atualizacoesDeBanco_, 1);
    EXPECT_TRUE(launches_.programs.empty()) << "no archive, no replacement";
    EsperarFimNormal(kSucesso);

    // The next run finds everything up to date, except the file whose date
    // could not be set.
    for (const Caso& caso : casos)
        Local(caso.nome, "local", caso.buscado ? servidor : caso.dataLocal);
    Local("antiquado.txt", "local");
    Executar();
    for (const Caso& caso : casos)
        EXPECT_EQ(Conteudo(caso.nome), "local") << caso.nome;
    EXPECT_EQ(Conteudo("antiquado.txt"), "servidor antiquado");
    EsperarFimNormal(kSucesso);
}

TEST_F(Execucao, AnotherSubFolderFailsItsFetchAndEndsTheRunWithErrors) {
    std::filesystem::create_directories(dir_ / "servidor/quillmark/outra");
    Servir("depois.txt", "depois");
    Executar();
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].caption, "Information");
    EXPECT_EQ(boxes_.Boxes()[0].icon, runtime::MsgIcon::Information);
    EXPECT_EQ(Estado("outra"), 4);
    EXPECT_EQ(Estado("depois.txt"), 1) << "the remaining files are still fetched";
    EXPECT_EQ(Conteudo("depois.txt"), "depois");
    EXPECT_EQ(atualizacoesDeBanco_, 0) << "no script update after a file error";
    EsperarFimNormal(kErroArquivos);
}

TEST_F(Execucao, AFailedScriptUpdateAsksToContactTheMaker) {
    Form().AtualizarBancos = [this] { Form().aguarde->Tag = 1; };
    Executar();
    EsperarFimNormal(kErroScripts);
    // The wait window keeps its Tag: the next run says the same.
    Executar();
    EsperarFimNormal(kErroScripts);
    // A run whose script update failed outside the scripts (a local database
    // held by a running application) asks to close the applications instead.
    Form().AtualizarBancos = [this] { Form().aguarde->Resultado = scripts::ScriptUpdateResult::OutsideFailure; };
    Executar();
    EsperarFimNormal(kErroArquivos);
}

// An archive holding a new executable, as the server offers it.
class ComArquivo : public Execucao {
protected:
    ComArquivo() {
        const std::filesystem::path conteudo = dir_ / "conteudo";
        dir_.write("conteudo/Sys_Vendrake.exe", "NOVO");
        const std::string destino = (dir_ / "servidor/quillmark/Sys_Vendrake.rar").string();
        EXPECT_EQ(
            std::system(("cd '" + conteudo.string() + "' && bsdtar -cf '" + destino + "' --format zip *").c_str()), 0);
        std::filesystem::copy_file(testsupport::SourceDir() / "tools/archiver/winrar.exe",
                                   dir_ / "Program Files/winrar/winrar.exe",
                                   std::filesystem::copy_options::overwrite_existing);
    }
};

// The run waits for the real archiver stand-in, handed the archive's name as
// the folder spells it.
TEST_F(ComArquivo, TheExecutableIsMovedAsideAndTheArchiverExtractsTheNewOne) {
    std::filesystem::rename(dir_ / "servidor/quillmark/Sys_Vendrake.rar", dir_ / "servidor/quillmark/SYS_VENDRAKE.RAR");
    platform::SetProgramRunner(nullptr);
    Executar();
    EXPECT_TRUE(boxes_.Boxes().empty()) << boxes_.Texts().front();
    EXPECT_EQ(Conteudo("Sys_Vendrake.old"), "MZ");
    EXPECT_EQ(Conteudo("Sys_Vendrake.exe"), "NOVO");
    EXPECT_TRUE(std::filesystem::exists(dir_ / "SYS_VENDRAKE.RAR")) << "the archive stays";
    EXPECT_EQ(esperas_, 0);
    EsperarFimNormal(kSucesso);
}

// An extraction that brings no new executable puts the former one back,
// deletes the archive, says why and ends the run with errors.
TEST_F(ComArquivo, AFailedExtractionRestoresTheFormerExecutable) {
    const std::string antes = "Não foi possível extrair o novo executável de Sys_Vendrake.rar: ";
    const std::string depois = ". O executável anterior foi restaurado.";
    struct Caso {
        platform::ProgramExit saida;
        bool extrai; // the archiver leaves a new executable
        std::string motivo;
    };
    const std::vector<Caso> casos = {
        {{platform::LaunchSucceeded, 3, false}, false, "o WinRAR terminou com o código 3"},
        {{platform::LaunchSucceeded, 2, false}, true, "o WinRAR terminou com o código 2"},
        {{platform::LaunchSucceeded, 137, true}, false, "o WinRAR não terminou em 5 minutos"},
        {{platform::ERROR_FILE_NOT_FOUND, 0, false}, false, "o WinRAR não pôde ser iniciado (erro 2)"},
        {{platform::LaunchSucceeded, 0, false}, false, "o arquivo não trouxe Sys_Vendrake.exe"},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.motivo);
        const std::size_t caixasAntes = boxes_.Boxes().size();
        launches_.runResult = caso.saida;
        launches_.onRun = [&](const platform::ProgramLaunch&) {
            if (caso.extrai)
                Local("Sys_Vendrake.exe", "PELA METADE");
        };
        Executar();
        ASSERT_EQ(launches_.programs.size(), 1u);
        EXPECT_EQ(launches_.programs[0].commandLine, "\"" + (dir_ / "Program Files").string() +
                                                         "\\winrar\\WinRAR.exe\" x -o+ Sys_Vendrake.rar *.exe \".\\\"");
        launches_.programs.clear();
        ASSERT_EQ(boxes_.Boxes().size(), caixasAntes + 1);
        EXPECT_EQ(boxes_.Texts().back(), antes + caso.motivo + depois);
        EXPECT_EQ(Conteudo("Sys_Vendrake.exe"), "MZ");
        EXPECT_EQ(Conteudo("Sys_Vendrake.old"), "(ausente)");
        EXPECT_EQ(Conteudo("Sys_Vendrake.rar"), "(ausente)") << "the next run fetches it again";
        EsperarFimNormal(kErroArquivos);
    }
}

TEST_F(ComArquivo, AFailedFetchSuppressesTheReplacement) {
    Servir("bloqueado.dll", "dll");
    testsupport::FailingFiles falhas;
    falhas.Fail(FileOperation::Write, "bloqueado.dll");
    Executar();
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].caption, "Information");
    EXPECT_NE(boxes_.Boxes()[0].text.find("bloqueado.dll"), std::string::npos) << boxes_.Boxes()[0].text;
    EXPECT_EQ(Estado("bloqueado.dll"), 4);
    EXPECT_EQ(Estado("Sys_Vendrake.rar"), 1);
    EXPECT_EQ(Conteudo("Sys_Vendrake.exe"), "MZ");
    EXPECT_TRUE(launches_.programs.empty());
    EsperarFimNormal(kErroArquivos);
}

TEST_F(ComArquivo, AnExecutableThatCannotMakeWayIsReportedAndTheArchiveDeleted) {
    struct Caso {
        const char* descricao;
        FileOperation falha;
        const char* nome;
        int esperas;
    };
    const Caso casos[] = {
        {"the executable is held", FileOperation::Delete, "Sys_Vendrake.exe", 5},
        {"its copy cannot be made", FileOperation::Copy, "Sys_Vendrake.old", 0},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.descricao);
        testsupport::MessageBoxRecorder boxes;
        testsupport::FailingFiles falhas;
        falhas.Fail(caso.falha, caso.nome);
        esperas_ = 0;
        Executar();
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Não foi possível apagar arquivo Sys_Vendrake.exe."});
        EXPECT_EQ(esperas_, caso.esperas);
        EXPECT_EQ(Conteudo("Sys_Vendrake.exe"), "MZ");
        EXPECT_FALSE(std::filesystem::exists(dir_ / "Sys_Vendrake.rar")) << "the next run fetches it again";
        EXPECT_TRUE(launches_.programs.empty());
        EsperarFimNormal(kErroArquivos);
    }
}

// The scripted server's side of an active-mode transfer: PORT, the command
// with its preliminary reply, the bytes.
void TransferirAtivo(testsupport::FtpScriptSession& s, const std::string& dados,
                     const std::string& preliminar = "150 Opening data connection") {
    const std::string porta = s.Command();
    s.Reply("200 PORT ok");
    s.Command();
    s.Reply(preliminar);
    s.ConnectData(porta);
    s.SendData(dados);
    s.CloseData();
    s.Reply("226 Transfer complete");
}

// Log-in, the update folder and its listing.
void EntrarEListar(testsupport::FtpScriptSession& s, const std::string& listagem) {
    s.LogIn();
    s.Answer("250 CWD ok");
    TransferirAtivo(s, listagem);
}

TEST_F(Execucao, WithoutASizeTheCounterShowsTheBytesThatArrived) {
    testsupport::ScriptedFtpServer servidor([&](testsupport::FtpScriptSession& s) {
        EntrarEListar(s, "-rw-r--r--   1 ftp ftp 4000? Mar 05  2024 semtamanho.bin\r\n");
        s.Answer("550 SIZE not allowed");
        TransferirAtivo(s, std::string(40000, 's'));
        s.ClientCloses();
    });
    testsupport::EnvGuard host("UPDATER_FTP_HOST", "127.0.0.1:" + std::to_string(servidor.Port()));
    std::string contadorAoDesconectar;
    const ftp::TIdStatusEvent status = Form().ftpupdate.OnStatus;
    Form().ftpupdate.OnStatus = [&](ftp::TIdComponent* origem, ftp::TIdStatus codigo, const std::string& texto) {
        if (codigo == ftp::hsDisconnecting)
            contadorAoDesconectar = Form().lblcontador.Caption();
        status(origem, codigo, texto);
    };
    Executar();
    EXPECT_EQ(servidor.Failure(), "");
    EXPECT_THAT(servidor.Transcript(), testing::Contains("SIZE semtamanho.bin")) << "the listing gave no size";
    EXPECT_EQ(Form().TamanhoArquivo, -1);
    EXPECT_EQ(contadorAoDesconectar, "Transferidos: 39 Kb");
    EXPECT_EQ(Conteudo("semtamanho.bin"), std::string(40000, 's'));
    EsperarFimNormal(kSucesso);
}

// The sizes come from the listing: no SIZE per file. A download is complete
// with the size its 150 reply announces, else with the listing's; short of
// it, the former file stays.
TEST_F(Execucao, SizesComeFromTheListingAndADownloadMustBringThem) {
    const std::string data = "Mar 05  2024 ";
    Local("atual.txt", "atual", EncodeDate(2024, 3, 5));
    Local("curto.txt", "anterior");
    testsupport::ScriptedFtpServer servidor([&](testsupport::FtpScriptSession& s) {
        EntrarEListar(s, "-rw-r--r-- 1 ftp ftp 5 " + data + "atual.txt\r\n" + "-rw-r--r-- 1 ftp ftp 5 " + data +
                             "novo.txt\r\n" + "-rw-r--r-- 1 ftp ftp 9 " + data + "curto.txt\r\n" +
                             "-rw-r--r-- 1 ftp ftp 9 " + data + "anunciado.txt\r\n");
        TransferirAtivo(s, "novo!");
        TransferirAtivo(s, "curto");
        TransferirAtivo(s, "menor", "150 Opening data connection for anunciado.txt (5 bytes)");
        s.ClientCloses();
    });
    testsupport::EnvGuard host("UPDATER_FTP_HOST", "127.0.0.1:" + std::to_string(servidor.Port()));
    Executar();
    EXPECT_EQ(servidor.Failure(), "");
    const std::vector<std::string> transcricao = servidor.Transcript();
    EXPECT_THAT(transcricao, testing::Not(testing::Contains(testing::StartsWith("SIZE"))));
    EXPECT_THAT(transcricao, testing::Contains("RETR novo.txt"));
    EXPECT_THAT(transcricao, testing::Not(testing::Contains("RETR atual.txt")));
    EXPECT_EQ(Conteudo("novo.txt"), "novo!");
    EXPECT_EQ(Conteudo("curto.txt"), "anterior");
    EXPECT_EQ(Estado("curto.txt"), 4);
    EXPECT_EQ(boxes_.Texts(),
              std::vector<std::string>{"Incomplete transfer: 5 bytes received, the server announced 9."});
    EXPECT_EQ(Conteudo("anunciado.txt"), "menor");
    EsperarFimNormal(kErroArquivos);
}

// A file the run wrote is found by the run's next decision under another
// spelling of its name, as the Windows file system would find it: it is not
// fetched a second time.
TEST_F(Execucao, AFileTheRunWroteIsFoundUnderAnotherSpelling) {
    testsupport::ScriptedFtpServer servidor([&](testsupport::FtpScriptSession& s) {
        EntrarEListar(s, "-rw-r--r-- 1 ftp ftp 5 Mar 05  2024 Novo.txt\r\n"
                         "-rw-r--r-- 1 ftp ftp 5 Mar 05  2024 NOVO.TXT\r\n");
        TransferirAtivo(s, "novo!");
        s.ClientCloses();
    });
    testsupport::EnvGuard host("UPDATER_FTP_HOST", "127.0.0.1:" + std::to_string(servidor.Port()));
    Executar();
    EXPECT_EQ(servidor.Failure(), "");
    EXPECT_THAT(servidor.Transcript(), testing::Not(testing::Contains("RETR NOVO.TXT")));
    EXPECT_EQ(Conteudo("Novo.txt"), "novo!");
    EXPECT_FALSE(std::filesystem::exists(dir_ / "NOVO.TXT"));
    EsperarFimNormal(kSucesso);
}

// Listing lines that no real server writes this way, from a scripted server.
TEST_F(Execucao, ListingLinesArePairedWithTheirOwnEntriesAndNamesNeverLeaveTheFolder) {
    const std::vector<std::string> linhas = {
        "total 3",
        "",
        "drwxr-xr-x   2 ftp ftp  4096 Mar 05  2024 .",
        "drwxr-xr-x   2 ftp ftp  4096 Mar 05  2024 ..",
        "-rw-r--r--   1 ftp ftp     5 Mar 05  2024 ../fora.txt",
        "-rw-r--r--   1 ftp ftp     5 Mar 05  2024 a/b",
        "linha que nao se le",
        "-rw-r--r--   1 ftp ftp     5 Mar 05  2024 ok.txt",
    };
    std::string listagem;
    for (const std::string& linha : linhas)
        listagem += linha + "\r\n";
    testsupport::ScriptedFtpServer servidor([&](testsupport::FtpScriptSession& s) {
        EntrarEListar(s, listagem);
        TransferirAtivo(s, "hello");
        s.ClientCloses();
    });
    testsupport::EnvGuard host("UPDATER_FTP_HOST", "127.0.0.1:" + std::to_string(servidor.Port()));
    Executar();
    const std::vector<std::string> transcricao = servidor.Transcript();
    EXPECT_EQ(servidor.Failure(), "");
    ASSERT_EQ(transcricao.size(), 9u);
    EXPECT_EQ(transcricao[0], "USER tovrin");
    EXPECT_EQ(transcricao[1], "PASS segredo");
    EXPECT_EQ(transcricao[4], "CWD quillmark");
    EXPECT_EQ(transcricao[6], "LIST");
    EXPECT_EQ(transcricao[8], "RETR ok.txt");
    ASSERT_EQ(Form().TreeView3.Count(), 8);
    const int esperados[] = {1, 1, 1, 1, 4, 4, 4, 1};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(Form().TreeView3.StateIndex(i), esperados[i]) << linhas[static_cast<std::size_t>(i)];
    EXPECT_EQ(Form().TreeView3.topLevelItem(4)->data(0, Qt::AccessibleDescriptionRole).toString(),
              "Desatualizado ou com falha");
    EXPECT_EQ(Conteudo("ok.txt"), "hello");
    EXPECT_FALSE(std::filesystem::exists(dir_.path().parent_path() / "fora.txt"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "a"));
    EXPECT_TRUE(boxes_.Boxes().empty());
    EXPECT_EQ(atualizacoesDeBanco_, 0);
    EsperarFimNormal(kErroArquivos);
}

} // namespace

namespace {

// Leaving during a run: the client aborts silently, the former file stays,
// and the window closes once the run has unwound.
TEST_F(Execucao, SairDuringALargeTransferAbortsItAndKeepsTheFormerFile) {
    Servir("grande.bin", std::string(32 << 20, 'g'), DezDiasAtras());
    Local("grande.bin", "antigo", DezDiasAtras() - 1);
    const ftp::TWorkEvent trabalho = Form().ftpupdate.OnWork;
    std::int64_t clicadoEm = 0;
    Form().ftpupdate.OnWork = [&](ftp::TIdComponent* origem, ftp::TWorkMode modo, std::int64_t contagem) {
        if (clicadoEm == 0 && Form().TamanhoArquivo > 0 && contagem >= (1 << 20)) {
            clicadoEm = contagem;
            QTimer::singleShot(0, &Form().Button3, &QPushButton::click);
        }
        trabalho(origem, modo, contagem);
    };
    Executar();
    EXPECT_GT(clicadoEm, 0);
    EXPECT_TRUE(boxes_.Boxes().empty()) << boxes_.Texts().front();
    EXPECT_EQ(Conteudo("grande.bin"), "antigo");
    for (const auto& entrada : std::filesystem::directory_iterator(dir_.path()))
        EXPECT_EQ(entrada.path().filename().string().find(".grande.bin"), std::string::npos) << entrada.path();
    EXPECT_FALSE(Form().isVisible());
    EXPECT_EQ(Form().aguarde, nullptr);
    EXPECT_FALSE(Form().ftpupdate.IsOpen());
    EXPECT_EQ(atualizacoesDeBanco_, 0);
}

TEST_F(Execucao, TheCloseBoxWhileTheServerIsSilentEndsTheRunAndClosesTheWindow) {
    bool clienteFechou = false;
    testsupport::ScriptedFtpServer servidor([&](testsupport::FtpScriptSession& s) {
        s.LogIn();
        s.Command(); // CWD, never answered
        clienteFechou = s.ClientCloses();
    });
    testsupport::EnvGuard host("UPDATER_FTP_HOST", "127.0.0.1:" + std::to_string(servidor.Port()));
    QTimer::singleShot(300, &Form(), &QWidget::close);
    const auto inicio = std::chrono::steady_clock::now();
    Executar();
    EXPECT_LT(std::chrono::steady_clock::now() - inicio, std::chrono::seconds(5));
    servidor.Transcript();
    EXPECT_TRUE(clienteFechou);
    EXPECT_TRUE(boxes_.Boxes().empty());
    EXPECT_FALSE(Form().isVisible());
    EXPECT_EQ(Form().aguarde, nullptr);
    EXPECT_EQ(atualizacoesDeBanco_, 0);
}

} // namespace

namespace {

// The four handlers of the FTP client's events, with a clock the test moves.
TEST(ProgressoNaJanela, TheHandlersWriteTheGaugeCountersAndStatusBar) {
    base::FormatSettings anterior = base::CurrentFormatSettings();
    base::FormatSettings brasil = anterior;
    brasil.thousandSeparator = ".";
    brasil.decimalSeparator = ",";
    base::SetFormatSettings(brasil);
    const TDateTime inicio = EncodeDate(2024, 3, 5) + EncodeTime(10, 0, 0, 0);
    TDateTime agora = inicio;
    base::SetClock([&] { return agora; });

    app::Tfrmkestoupdate form;
    form.TamanhoArquivo = 4096;
    form.ftpupdateWorkBegin();
    form.ftpupdateWork(1536);
    EXPECT_EQ(form.lblcontador.Caption(), "Transferidos: 1 Kb de 4 Kb");
    EXPECT_EQ(form.lblstatus.Caption(), "Taxa de Transferencia: 0,00 KB/s; ");
    EXPECT_EQ(form.Gauge1.Progress(), 37);
    agora = inicio + EncodeTime(0, 1, 5, 0);
    form.ftpupdateWork(8192);
    EXPECT_EQ(form.lblstatus.Caption(), "Taxa de Transferencia: 0,12 KB/s; Tempo de download  0: 1: 5");
    EXPECT_EQ(form.Gauge1.Progress(), 100) << "beyond the expected size";
    form.TamanhoArquivo = 1048576;
    form.ftpupdateWorkEnd(ftp::wmRead);
    EXPECT_EQ(form.lblstatus.Caption(), "Download!!");
    EXPECT_EQ(form.lblcontador.Caption(), "Transferidos: 1.024 Kb");
    EXPECT_EQ(form.Gauge1.Progress(), 100) << "the end of a transfer leaves the gauge";

    form.ftpupdateStatus(ftp::hsStatusText, "texto do servidor");
    EXPECT_EQ(form.StatusBar1.PanelText(0), "texto do servidor");
    form.ftpupdateStatus(ftp::ftpTransfer, "ignored");
    EXPECT_EQ(form.StatusBar1.PanelText(0), "Transferindo..");
    form.ftpupdateStatus(ftp::hsDisconnected, "");
    EXPECT_EQ(form.StatusBar1.PanelText(0), "Desconectado!");
    EXPECT_EQ(form.Gauge1.Progress(), 0);

    base::SetClock(nullptr);
    base::SetFormatSettings(anterior);
}

} // namespace
