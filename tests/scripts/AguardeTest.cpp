// The wait window's script update against embedded Firebird databases and
// both kinds of internet database (SQLite and a MariaDB server).
#include "scripts/uAguarde.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QTimer>

#include "base/StrUtils.h"
#include "runtime/ListControls.h"
#include "scripts/Unit2.h"
#include "tests/support/FirebirdTestDb.h"
#include "tests/support/InternetDb.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

using testsupport::FirebirdTestDb;

constexpr const char* kVersao = "SELECT VERSAO FROM VERSAO";

class Aguarde : public ::testing::TestWithParam<BackendKind> {
protected:
    Aguarde() : dirGuard_(work_.path()) {}

    void SetUp() override {
        internet_ = MakeBackend(GetParam(), "[LOJA1]\nTYPE=FIREBIRD\nSERVER NAME=" + loja1_.name() +
                                                "\n[LOJA2]\nTYPE=FIREBIRD\nSERVER NAME=" + loja2_.name() + "\n");
        if (GetParam() == BackendKind::MySQL)
            internet_->Execute("SET NAMES utf8mb4");
        internet_->Execute("CREATE TABLE scripts (programa VARCHAR(20) NOT NULL, versao VARCHAR(10) NOT NULL, "
                           "liberado CHAR(1), texto TEXT NOT NULL, PRIMARY KEY (programa, versao))" +
                           std::string(GetParam() == BackendKind::MySQL ? " CHARACTER SET utf8mb4" : ""));
        aliases_.AddItem("LOJA1");
        aliases_.SetChecked(0, true);
        CriarJanela();
    }

    void CriarJanela() {
        CriarJanelaComErroReal();
        aguarde_->MostrarErro = [this](const std::string& arquivo) { janelasDeErro_.push_back(arquivo); };
        aguarde_->Esperar = [this](int milissegundos) { esperas_.push_back(milissegundos); };
    }

    // The window as the program has it: a failed script shows the error window.
    void CriarJanelaComErroReal() {
        aguarde_ = std::make_unique<scripts::Taguarde>(nullptr, aliases_);
        const db::Account conta = internet_->Account();
        aguarde_->Database1.Params = {"USER NAME=" + conta.user, "PASSWORD=" + conta.password};
        aguarde_->Esperar = [this](int milissegundos) { esperas_.push_back(milissegundos); };
    }

    void Publicar(const std::string& versao, const std::string& texto, const std::string& liberado = "S",
                  const std::string& programa = "QUILLMARK") {
        internet_->Execute("INSERT INTO scripts VALUES (" + base::QuotedStr(programa) + ", " + base::QuotedStr(versao) +
                           ", " + base::QuotedStr(liberado) + ", " + base::QuotedStr(texto) + ")");
    }

    void Executar() { aguarde_->ShowModal(); }

    // The files the runs left in the working folder.
    std::vector<std::string> ArquivosDeErro() const { return work_.names(); }

    // The text of the one error file the run left, the one the error window
    // named.
    std::string ArquivoDeErroUnico() const {
        const std::vector<std::string> arquivos = ArquivosDeErro();
        EXPECT_EQ(arquivos.size(), 1u);
        EXPECT_EQ(janelasDeErro_, arquivos);
        return arquivos.size() == 1 ? work_.read(arquivos[0]) : std::string();
    }

    // After three scripts whose second failed: what the table T holds, the
    // second recorded as applied, Tag 1.
    void EsperarFalhaNoSegundo(const std::string& somaDeT) const {
        EXPECT_EQ(loja1_.QueryText("SELECT SUM(X) FROM T"), somaDeT);
        EXPECT_EQ(loja1_.QueryText(kVersao), "2");
        EXPECT_EQ(aguarde_->Tag, 1);
        EXPECT_FALSE(aguarde_->ErroForaDosScripts);
    }

    testsupport::TempDir work_;
    testsupport::CurrentDirGuard dirGuard_;
    FirebirdTestDb loja1_{1};
    FirebirdTestDb loja2_{1};
    std::unique_ptr<Backend> internet_;
    runtime::TCheckListBox aliases_{nullptr, "CheckListBox1", {0, 0, 100, 40}, "Bases"};
    std::unique_ptr<scripts::Taguarde> aguarde_;
    std::vector<std::string> janelasDeErro_;
    std::vector<int> esperas_;
    testsupport::MessageBoxRecorder caixas_;
};

TEST_P(Aguarde, ADatabaseWithoutVersionTableGetsItAndEveryReleasedScriptInVersionOrder) {
    Publicar("0002", "INSERT INTO T VALUES (2);");
    Publicar("0001", "CREATE TABLE T (X INTEGER);\nINSERT INTO T VALUES (1);");
    Publicar("0003", "INSERT INTO T VALUES (3);", "N");
    Publicar("0004", "INSERT INTO T VALUES (4);", "S", "OUTRO");
    Executar();
    EXPECT_EQ(loja1_.QueryText(kVersao), "0002");
    EXPECT_EQ(loja1_.QueryText("SELECT COUNT(*) FROM T"), "2");
    EXPECT_EQ(loja1_.QueryText("SELECT SUM(X) FROM T"), "3");
    EXPECT_EQ(aguarde_->Tag, 0);
    EXPECT_FALSE(aguarde_->ErroForaDosScripts);
    EXPECT_EQ(aguarde_->pb1.Position(), 100);
    EXPECT_TRUE(aguarde_->NomePrograma.empty());
    EXPECT_TRUE(caixas_.Boxes().empty());
}

// The recorded version decides what is newer, compared as text by the
// internet database: the scripts at or below it are never run.
TEST_P(Aguarde, OnlyScriptsWhoseVersionSortsAfterTheRecordedOneRun) {
    struct Caso {
        const char* gravada;
        std::vector<const char*> versoes;
        const char* esperada; // VERSAO afterwards
        const char* soma;     // of the versions run, as numbers
    };
    const std::vector<Caso> casos = {
        {"0003", {"0001", "0002", "0003"}, "0003", ""}, // the newest is recorded: nothing runs
        {"9", {"10", "91", "8"}, "91", "91"},           // "10" sorts before "9"
        {"1'a", {"1'b", "1'a"}, "1'b", "1"},            // an apostrophe stays text
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.gravada);
        internet_->Execute("DELETE FROM scripts");
        loja1_.Execute("RECREATE TABLE VERSAO (VERSAO VARCHAR(10))");
        loja1_.Execute("INSERT INTO VERSAO VALUES (" + base::QuotedStr(caso.gravada) + ")");
        loja1_.Execute("RECREATE TABLE T (X INTEGER)");
        for (const char* versao : caso.versoes)
            Publicar(versao, "INSERT INTO T VALUES (" + std::to_string(std::atoi(versao)) + ");");
        Executar();
        EXPECT_EQ(loja1_.QueryText(kVersao), caso.esperada);
        EXPECT_EQ(loja1_.QueryText("SELECT SUM(X) FROM T"), caso.soma);
        EXPECT_EQ(aguarde_->pb1.Position(), 100);
    }
    EXPECT_EQ(aguarde_->Tag, 0);
}

TEST_P(Aguarde, LinesHoldingCommitWorkInAnyCaseAreBlankedWhole) {
    Publicar("1", "CREATE TABLE T (X INTEGER);\n"
                  "INSERT INTO T VALUES (1); commit work;\n"
                  "INSERT INTO T VALUES (2);\n"
                  "  Commit Work;\n"
                  "INSERT INTO T VALUES (4);COMMIT WORK");
    Executar();
    EXPECT_EQ(loja1_.QueryText("SELECT SUM(X) FROM T"), "2");
    EXPECT_EQ(aguarde_->Tag, 0);
}

TEST_P(Aguarde, TheSecondOfThreeScriptsFailing) {
    Publicar("1", "CREATE TABLE T (X INTEGER);\nINSERT INTO T VALUES (1);");
    const std::string segundo = "INSERT INTO T VALUES (2);\nCREATE TABLE U (Y INTEGER);\nINSERT INTO NAO_EXISTE "
                                "VALUES (9);\nINSERT INTO T VALUES (8);";
    Publicar("2", segundo);
    Publicar("3", "INSERT INTO T VALUES (3);");
    Executar();
    // The first whole, the second up to its failing statement (its DDL
    // committed singly, its DML by the commit after the failure), no third.
    EsperarFalhaNoSegundo("3");
    EXPECT_EQ(loja1_.QueryText("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'U'"), "1");

    const std::string conteudo = ArquivoDeErroUnico();
    const std::string arquivo = ArquivosDeErro().at(0);
    EXPECT_EQ(esperas_, std::vector<int>{1000});
    EXPECT_TRUE(base::StartsText("SCRIPT_ERRO_DT_", arquivo));
    EXPECT_EQ(arquivo.substr(arquivo.size() - 12), " M-LOJA1.TXT");
    EXPECT_TRUE(base::StartsText("/* ERRO: \r\n \r\nDynamic SQL Error\r\n", conteudo)) << conteudo;
    EXPECT_NE(conteudo.find("\r\nNAO_EXISTE\r\n"), std::string::npos) << conteudo;
    const std::string fim =
        "\r\n \r\n.....  */\r\n \r\n" + base::StringReplace(segundo, "\n", "\r\n", base::rfReplaceAll) + "\r\n";
    EXPECT_EQ(conteudo.substr(conteudo.size() - fim.size()), fim);

    // The next run of the same window starts after the failed script, and
    // the Tag stays.
    Executar();
    EXPECT_EQ(loja1_.QueryText("SELECT SUM(X) FROM T"), "6");
    EXPECT_EQ(loja1_.QueryText(kVersao), "3");
    EXPECT_EQ(aguarde_->Tag, 1);
    EXPECT_EQ(ArquivosDeErro().size(), 1u);
}

// A commit the database refuses after a script that went through: the
// script's work is gone, so it fails as any other script would. Its version is
// recorded all the same, and the next run starts the next script on a
// transaction of its own.
TEST_P(Aguarde, ACommitRefusedAfterAScriptFailsThatScript) {
    loja1_.Execute("CREATE TABLE BLOQUEIO (X INTEGER)");
    loja1_.Execute("CREATE EXCEPTION COMMIT_RECUSADO 'Commit recusado'");
    loja1_.Execute("CREATE TRIGGER RECUSA_COMMIT ON TRANSACTION COMMIT AS BEGIN "
                   "IF (EXISTS(SELECT 1 FROM BLOQUEIO)) THEN EXCEPTION COMMIT_RECUSADO; END");
    Publicar("1", "CREATE TABLE T (X INTEGER);\nINSERT INTO T VALUES (1);");
    Publicar("2", "INSERT INTO T VALUES (2);\nINSERT INTO BLOQUEIO VALUES (1);");
    Publicar("3", "INSERT INTO T VALUES (4);");
    Executar();
    EsperarFalhaNoSegundo("1");
    EXPECT_EQ(loja1_.QueryText("SELECT COUNT(*) FROM BLOQUEIO"), "0");
    const std::string conteudo = ArquivoDeErroUnico();
    EXPECT_TRUE(base::StartsText("/* ERRO: \r\n \r\n", conteudo)) << conteudo;
    EXPECT_NE(conteudo.find("Commit recusado"), std::string::npos) << conteudo;

    Executar();
    EXPECT_EQ(loja1_.QueryText("SELECT SUM(X) FROM T"), "5");
    EXPECT_EQ(loja1_.QueryText(kVersao), "3");
}

// A parse error fails its script when statements went unrun; a script that
// only ends in blanks and comments the parser refuses stays quiet.
TEST_P(Aguarde, AParseErrorFailsTheScriptOnlyWhenStatementsWentUnrun) {
    struct Caso {
        const char* texto;
        int tag;
        const char* mensagem; // third line of the error file
    };
    const std::vector<Caso> casos = {
        {"INSERT INTO T VALUES (1);\nFOO BAR;\nINSERT INTO T VALUES (2);", 1, "Invalid statement, line 2"},
        {"INSERT INTO T VALUES (1);\n\nFOO BAR;", 1, "Invalid statement, line 3"},
        {"INSERT INTO T VALUES (1);\n/* fim */\n-- fim", 0, nullptr},
        {"INSERT INTO T VALUES (1);\n   \n-- fim\n-- mesmo", 0, nullptr},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.texto);
        internet_->Execute("DELETE FROM scripts");
        loja1_.Execute("RECREATE TABLE T (X INTEGER)");
        loja1_.Execute("RECREATE TABLE VERSAO (VERSAO VARCHAR(10))");
        loja1_.Execute("INSERT INTO VERSAO VALUES ('0')");
        for (const std::string& arquivo : ArquivosDeErro())
            std::filesystem::remove(work_ / arquivo);
        CriarJanela();
        Publicar("1", caso.texto);
        Publicar("2", "INSERT INTO T VALUES (10);");
        Executar();
        EXPECT_EQ(aguarde_->Tag, caso.tag);
        EXPECT_EQ(loja1_.QueryText(kVersao), caso.tag ? "1" : "2");
        EXPECT_EQ(loja1_.QueryText("SELECT SUM(X) FROM T"), caso.tag ? "1" : "11");
        const std::vector<std::string> arquivos = ArquivosDeErro();
        ASSERT_EQ(arquivos.size(), caso.tag ? 1u : 0u);
        if (caso.tag) {
            EXPECT_TRUE(base::StartsText(std::string("/* ERRO: \r\n \r\n") + caso.mensagem + "\r\n \r\n",
                                         work_.read(arquivos[0])));
        }
    }
}

TEST_P(Aguarde, EachTickedAliasIsProcessedOnItsOwn) {
    aliases_.AddItem("LOJA2");
    aliases_.SetChecked(1, true);
    loja1_.Execute("CREATE TABLE VERSAO (VERSAO VARCHAR(10))");
    loja1_.Execute("INSERT INTO VERSAO VALUES ('0')");
    loja2_.Execute("CREATE TABLE T (X INTEGER)");
    loja2_.Execute("CREATE TABLE VERSAO (VERSAO VARCHAR(10))");
    loja2_.Execute("INSERT INTO VERSAO VALUES ('1')");
    // LOJA1 lacks table T: its first script fails; LOJA2 starts after 1.
    Publicar("1", "INSERT INTO T VALUES (1);");
    Publicar("2", "INSERT INTO T VALUES (2);");
    Executar();
    EXPECT_EQ(loja1_.QueryText(kVersao), "1");
    EXPECT_EQ(loja2_.QueryText(kVersao), "2");
    EXPECT_EQ(loja2_.QueryText("SELECT SUM(X) FROM T"), "2");
    EXPECT_EQ(aguarde_->Tag, 1);
    const std::vector<std::string> arquivos = ArquivosDeErro();
    ASSERT_EQ(arquivos.size(), 1u);
    EXPECT_EQ(arquivos[0].substr(arquivos[0].size() - 12), " M-LOJA1.TXT");
}

TEST_P(Aguarde, WithoutATickedAliasNoDatabaseIsTouched) {
    aliases_.SetChecked(0, false);
    Publicar("1", "CREATE TABLE T (X INTEGER);");
    Executar();
    EXPECT_EQ(loja1_.QueryText("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME IN ('T', 'VERSAO')"), "0");
    EXPECT_EQ(aguarde_->Tag, 0);
    EXPECT_FALSE(aguarde_->isVisible());
}

// Text reaches the local database in the Windows code page; a character
// that the code page lacks fails its script before any of it runs.
TEST_P(Aguarde, ScriptTextIsWrittenInTheWindowsCodePage) {
    Publicar("1", "CREATE TABLE T (S VARCHAR(10));\nINSERT INTO T VALUES ('ção');");
    Publicar("2", "INSERT INTO T VALUES ('x');\nINSERT INTO T VALUES ('boneco ☃');");
    Executar();
    EXPECT_EQ(loja1_.QueryText("SELECT S FROM T"), "\xE7\xE3o");
    EXPECT_EQ(loja1_.QueryText("SELECT COUNT(*) FROM T"), "1");
    EXPECT_EQ(loja1_.QueryText(kVersao), "2");
    EXPECT_EQ(aguarde_->Tag, 1);
    const std::vector<std::string> arquivos = ArquivosDeErro();
    ASSERT_EQ(arquivos.size(), 1u);
    EXPECT_TRUE(base::StartsText("/* ERRO: \r\n \r\nCharacter U+2603 in line 2 has no Windows-1252 code\r\n",
                                 work_.read(arquivos[0])));
}

TEST_P(Aguarde, AFailingScriptIsSavedInTheWindowsCodePage) {
    Publicar("1", "INSERT INTO SEM_TABELA VALUES ('ação');");
    Executar();
    const std::vector<std::string> arquivos = ArquivosDeErro();
    ASSERT_EQ(arquivos.size(), 1u);
    const std::string conteudo = work_.read(arquivos[0]);
    EXPECT_NE(conteudo.find("('a\xE7\xE3o');\r\n"), std::string::npos);
}

TEST_P(Aguarde, AFailedScriptIsShownInTheErrorWindowNamingItsFile) {
    CriarJanelaComErroReal();
    Publicar("1", "INSERT INTO SEM_TABELA VALUES (1);");
    std::string legenda;
    QTimer vigia;
    QObject::connect(&vigia, &QTimer::timeout, [&] {
        if (auto* form = aguarde_->findChild<scripts::TForm2*>("Form2")) {
            legenda = form->Label1.Caption();
            form->Button3.click();
        }
    });
    vigia.start(20);
    Executar();
    const std::vector<std::string> arquivos = ArquivosDeErro();
    ASSERT_EQ(arquivos.size(), 1u);
    EXPECT_EQ(legenda, "SCRIPT EM EXECUÇÃO SALVO: " + arquivos[0]);
    EXPECT_EQ(aguarde_->findChild<scripts::TForm2*>(), nullptr) << "freed once closed";
    EXPECT_EQ(esperas_, std::vector<int>{1000});
}

TEST_P(Aguarde, AFailureOutsideTheScriptsIsReportedOnceAndClosesTheWindow) {
    internet_->Execute("DROP TABLE scripts");
    Executar();
    ASSERT_EQ(caixas_.Boxes().size(), 1u);
    EXPECT_TRUE(aguarde_->ErroForaDosScripts);
    EXPECT_FALSE(aguarde_->isVisible());
    EXPECT_FALSE(aguarde_->IBDatabase1.Connected());
    EXPECT_FALSE(aguarde_->IBTransaction2.InTransaction());

    // A local database that cannot be opened.
    std::filesystem::remove(loja1_.path());
    internet_->Execute("CREATE TABLE scripts (programa VARCHAR(20), versao VARCHAR(10), liberado CHAR(1), texto "
                       "TEXT)");
    Executar();
    EXPECT_EQ(caixas_.Boxes().size(), 2u);
    EXPECT_TRUE(aguarde_->ErroForaDosScripts);
    EXPECT_EQ(aguarde_->Tag, 0);
}

// The internet database lost between two scripts: what ran is recorded, and
// the next run goes on from there without running anything twice.
TEST_P(Aguarde, NothingRunsTwiceAfterTheInternetDatabaseWasLostMidway) {
    if (GetParam() == BackendKind::SQLite)
        GTEST_SKIP() << "an SQLite file cannot be taken away while it is read";
    Publicar("1", "CREATE TABLE T (X INTEGER);\nINSERT INTO T VALUES (1);");
    Publicar("2", "INSERT INTO T VALUES (2);");
    Publicar("3", "INSERT INTO T VALUES (3);");
    aguarde_->IBScript1.OnParse = [this](scripts::TIBScript&, scripts::TIBParseKind, const std::string& texto) {
        if (texto.find("VALUES (1)") != std::string::npos)
            internet_->Execute("RENAME TABLE scripts TO guardados");
    };
    Executar();
    EXPECT_TRUE(aguarde_->ErroForaDosScripts);
    EXPECT_EQ(loja1_.QueryText(kVersao), "1");
    EXPECT_EQ(loja1_.QueryText("SELECT SUM(X) FROM T"), "1");

    internet_->Execute("RENAME TABLE guardados TO scripts");
    Executar();
    EXPECT_FALSE(aguarde_->ErroForaDosScripts);
    EXPECT_EQ(loja1_.QueryText(kVersao), "3");
    EXPECT_EQ(loja1_.QueryText("SELECT SUM(X) FROM T"), "6");
}

INSTANTIATE_TEST_SUITE_P(Backends, Aguarde, ::testing::Values(BackendKind::SQLite, BackendKind::MySQL), BackendName);

} // namespace
