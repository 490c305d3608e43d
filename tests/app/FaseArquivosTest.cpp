#include "app/FaseArquivos.h"

#include <gtest/gtest.h>

#include "base/DateTime.h"
#include "base/FormatSettings.h"
#include "platform/FileDate.h"
#include "platform/Files.h"
#include "tests/support/FailingFiles.h"
#include "tests/support/TempDir.h"

namespace {

using base::EncodeDate;
using base::EncodeTime;
using base::TDateTime;
using platform::FileOperation;

TEST(UltimaPalavra, TakesTheTextAfterTheLastBlank) {
    struct Caso {
        const char* linha;
        const char* palavra;
    };
    const Caso casos[] = {
        {"-rw-r--r-- 1 ftp ftp 10 Jan 01 2020 leia.txt", "leia.txt"},
        {"  leia.txt \r", "leia.txt"},
        {"nome", "nome"},
        {"", ""},
        {"a\tb c", "c"},
    };
    for (const Caso& caso : casos)
        EXPECT_EQ(app::UltimaPalavra(caso.linha), caso.palavra) << caso.linha;
    EXPECT_EQ(app::UltimaPalavra("x " + std::string(1500, 'a')).size(), 999u) << "the blank counts in the 1000";
}

TEST(AnalisarLinha, EachLineStandsOnItsOwn) {
    struct Caso {
        const char* linha;
        app::TipoLinha tipo;
        const char* nome;
    };
    using enum app::TipoLinha;
    const Caso casos[] = {
        {"-rw-r--r--   1 ftp ftp  1024 Mar 05  2024 leia.txt", Arquivo, "leia.txt"},
        {"-rw-r--r--   1 ftp ftp  1024 Mar 05  2024 nota fiscal.pdf", Arquivo, "nota fiscal.pdf"},
        {"drwxr-xr-x   2 ftp ftp  4096 Mar 05  2024 Arquivos_dlls", Arquivo, "Arquivos_dlls"},
        {"03-05-24  10:15AM                 1024 leia.txt", Arquivo, "leia.txt"},
        {"total 12", Ignorada, ""},
        {"", Ignorada, ""},
        {"   ", Ignorada, ""},
        {"drwxr-xr-x   2 ftp ftp  4096 Mar 05  2024 .", Ignorada, ""},
        {"drwxr-xr-x   2 ftp ftp  4096 Mar 05  2024 ..", Ignorada, ""},
        {"-rw-r--r--   1 ftp ftp  1024 Mar 05  2024 ../x", Invalida, ""},
        {"-rw-r--r--   1 ftp ftp  1024 Mar 05  2024 a/b", Invalida, ""},
        {"-rw-r--r--   1 ftp ftp  1024 Mar 05  2024 a\\b", Invalida, ""},
        {"03-05-24  10:15AM                 1024 ..\\x", Invalida, ""},
        {"-rw-r--r--   1 ftp ftp  1024 Mar 05  2024 SCRIPT_ERRO_DT_x M-LOJA.TXT", Invalida, ""},
        {"-rw-r--r--   1 ftp ftp  1024 Mar 05  2024 script_erro.log", Invalida, ""},
        {"-rw-r--r--   1 ftp ftp  1024 Mar 05  2024 SYS_VENDCFG.ini", Invalida, ""},
        {"-rw-r--r--   1 ftp ftp  1024 Mar 05  2024 SCRIPT_ERR.TXT", Arquivo, "SCRIPT_ERR.TXT"},
        {"isto nao e uma listagem", Invalida, ""},
        {"-rw-r--r--   1 ftp ftp  1024 Xyz 05  2024 leia.txt", Invalida, ""},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.linha);
        const app::LinhaListagem linha = app::AnalisarLinha(caso.linha);
        EXPECT_EQ(linha.tipo, caso.tipo);
        if (caso.tipo == Arquivo) {
            EXPECT_EQ(linha.entrada.EntryName, caso.nome);
        }
    }
    EXPECT_EQ(app::AnalisarLinha("-rw-r--r-- 1 ftp ftp 9 Mar 05 2024 a.txt").entrada.ModifiedAt,
              EncodeDate(2024, 3, 5) + EncodeTime(0, 0, 0, 999));
}

class NaPasta : public ::testing::Test {
protected:
    // Writes a file dated at the given local time.
    void Escrever(const std::string& nome, TDateTime data, const std::string& conteudo = "x") {
        dir_.write(nome, conteudo);
        ASSERT_EQ(platform::FileSetDate(nome, platform::DateTimeToFileDate(data)), 0u);
    }

    testsupport::TempDir dir_;
    testsupport::CurrentDirGuard atual_{dir_.path()};
};

TEST_F(NaPasta, OutOfDateIsDecidedAtMinutePrecision) {
    const TDateTime servidor = EncodeDate(2024, 3, 5) + EncodeTime(10, 15, 20, 0);
    Escrever("igual.txt", servidor);
    Escrever("segundos.txt", servidor + EncodeTime(0, 0, 30, 0));
    Escrever("antigo.txt", servidor - EncodeTime(0, 1, 0, 0));
    Escrever("novo.txt", servidor + EncodeTime(0, 1, 0, 0));
    Escrever("Arquivos_dlls", EncodeDate(2000, 1, 1));
    struct Caso {
        const char* nome;
        TDateTime remoto;
        bool desatualizado;
    };
    const Caso casos[] = {
        {"igual.txt", servidor, false},
        {"segundos.txt", servidor, false},
        {"antigo.txt", servidor, true},
        {"novo.txt", servidor, true},
        {"ausente.txt", servidor, true},
        // A missing file counts as dated today at 00:00.
        {"ausente.txt", base::Date(), false},
        {"Arquivos_dlls", servidor, false},
        {"arquivos_dlls", servidor, true},
    };
    for (const Caso& caso : casos)
        EXPECT_EQ(app::ArquivoDesatualizado(caso.nome, caso.remoto), caso.desatualizado) << caso.nome;
}

TEST_F(NaPasta, TheExecutableMakesWayOnlyOnceItsWholeCopyExists) {
    struct Caso {
        const char* descricao;
        bool comExecutavel;
        FileOperation falha;
        const char* nomeQueFalha;
        bool afastado;
        int esperas;
        const char* executavel; // what stays under the executable's name ("" = nothing)
        const char* antigo;     // and under "Sys_Vendrake.old"
    };
    const Caso casos[] = {
        {"moved", true, FileOperation::Write, "nenhum", true, 0, "", "novo"},
        {"absent", false, FileOperation::Write, "nenhum", true, 0, "", "velho"},
        {"copy refused", true, FileOperation::Copy, "Sys_Vendrake.old", false, 0, "novo", ""},
        {"old not removable", true, FileOperation::Delete, "Sys_Vendrake.old", false, 0, "novo", "velho"},
        {"executable held", true, FileOperation::Delete, "Sys_Vendrake.exe", false, 5, "novo", "novo"},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.descricao);
        std::filesystem::remove(dir_ / "Sys_Vendrake.exe");
        dir_.write("Sys_Vendrake.old", "velho");
        if (caso.comExecutavel)
            dir_.write("Sys_Vendrake.exe", "novo");
        testsupport::FailingFiles falhas;
        falhas.Fail(caso.falha, caso.nomeQueFalha);
        int esperas = 0;
        EXPECT_EQ(app::AfastarExecutavel("Sys_Vendrake.exe",
                                         [&](int ms) {
                                             EXPECT_EQ(ms, 1000);
                                             ++esperas;
                                         }),
                  caso.afastado);
        EXPECT_EQ(esperas, caso.esperas);
        const auto conteudo = [&](const char* nome) {
            return std::filesystem::exists(dir_ / nome) ? dir_.read(nome) : std::string();
        };
        EXPECT_EQ(conteudo("Sys_Vendrake.exe"), caso.executavel);
        EXPECT_EQ(conteudo("Sys_Vendrake.old"), caso.antigo);
    }
}

TEST(ComandoWinRAR, QuotesTheProgramAndTheDestination) {
    EXPECT_EQ(app::ComandoWinRAR("C:\\Program Files", "SYS_VENDRAKE.RAR"),
              "\"C:\\Program Files\\winrar\\WinRAR.exe\" x -o+ SYS_VENDRAKE.RAR *.exe \".\\\"");
}

} // namespace
