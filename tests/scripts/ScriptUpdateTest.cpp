// The script update against embedded Firebird databases and both kinds of
// internet database (SQLite and a MariaDB server), without a window.
#include "scripts/ScriptUpdate.h"
#include "scripts/UpdaterScripts.h"

#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "base/StrUtils.h"
#include "tests/scripts/ReleasedScripts.h"
#include "tests/support/FailingFiles.h"

#include <gtest/gtest.h>

namespace {

using scripts::ScriptUpdateResult;

// What an update told: the scripts' texts, the progress, the saved failed
// scripts and the failures outside the scripts.
struct Relato : scripts::ScriptUpdateObserver {
    void ScriptStarting(const std::vector<std::string>& lines) override { textos.push_back(lines); }
    void Progress(int position) override { progresso.push_back(position); }
    void ScriptFailed(const std::string& errorFile) override { falhas.push_back(errorFile); }
    void OutsideFailure(std::exception_ptr error) override {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& erro) {
            foraDosScripts.push_back(erro.what());
        }
    }

    void Esquecer() {
        textos.clear();
        progresso.clear();
        falhas.clear();
        foraDosScripts.clear();
    }

    std::vector<std::vector<std::string>> textos;
    std::vector<int> progresso;
    std::vector<std::string> falhas;
    std::vector<std::string> foraDosScripts;
};

class ScriptUpdate : public ReleasedScripts {
protected:
    void SetUp() override {
        ReleasedScripts::SetUp();
        internet.AliasName = "Check";
        internet.LoginPrompt = false;
        internet.Params = InternetParams();
    }

    ScriptUpdateResult Atualizar(const std::vector<std::string>& lista = {"M-LOJA1"}) {
        relato_.Esquecer();
        return atualizacao.Run(lista, relato_);
    }

    // The text of the one error file the updates left, the one they told of.
    std::string ArquivoDeErroUnico() const {
        const std::vector<std::string> arquivos = ArquivosDeErro();
        EXPECT_EQ(arquivos.size(), 1u);
        EXPECT_EQ(relato_.falhas, arquivos);
        return arquivos.size() == 1 ? work_.read(arquivos[0]) : std::string();
    }

    // After three scripts whose second failed: what the table T holds, the
    // second recorded as applied.
    void EsperarFalhaNoSegundo(ScriptUpdateResult resultado, const std::string& somaDeT) const {
        EXPECT_EQ(resultado, ScriptUpdateResult::ScriptFailed);
        EXPECT_EQ(loja1_.QueryText("SELECT SUM(X) FROM T"), somaDeT);
        EXPECT_EQ(loja1_.QueryText(kVersao), "2");
        EXPECT_TRUE(relato_.foraDosScripts.empty());
    }

    db::TDatabase internet;
    db::TQuery contagem{internet};
    db::TQuery lista{internet};
    db::TTable textos{internet};
    db::TIBTransaction transacaoDoScript;
    db::TIBTransaction transacaoDaVersao;
    db::TIBDatabase local;
    db::TIBQuery consultaDaVersao;
    scripts::TIBScript runner;
    scripts::ScriptUpdate atualizacao{
        {internet, contagem, lista, textos, local, transacaoDoScript, transacaoDaVersao, consultaDaVersao, runner}};
    Relato relato_;
};

TEST_P(ScriptUpdate, ADatabaseWithoutVersionTableGetsItAndEveryReleasedScriptInVersionOrder) {
    Publicar("0002", "INSERT INTO T VALUES (2);");
    Publicar("0001", "CREATE TABLE T (X INTEGER);\nINSERT INTO T VALUES (1);");
    Publicar("0003", "INSERT INTO T VALUES (3);", "N");
    Publicar("0004", "INSERT INTO T VALUES (4);", "S", "OUTRO");
    EXPECT_EQ(Atualizar(), ScriptUpdateResult::Applied);
    EXPECT_EQ(loja1_.QueryText(kVersao), "0002");
    EXPECT_EQ(loja1_.QueryText("SELECT COUNT(*) FROM T"), "2");
    EXPECT_EQ(loja1_.QueryText("SELECT SUM(X) FROM T"), "3");
    const std::vector<std::vector<std::string>> textos = {{"CREATE TABLE T (X INTEGER);", "INSERT INTO T VALUES (1);"},
                                                          {"INSERT INTO T VALUES (2);"}};
    EXPECT_EQ(relato_.textos, textos);
    EXPECT_EQ(relato_.progresso, (std::vector<int>{50, 100, 100}));
    EXPECT_TRUE(relato_.falhas.empty());
    EXPECT_TRUE(atualizacao.ProgramName().empty());
    EXPECT_FALSE(local.Connected());

    // Nothing new: nothing runs, and the update still ends at 100.
    EXPECT_EQ(Atualizar(), ScriptUpdateResult::Applied);
    EXPECT_TRUE(relato_.textos.empty());
    EXPECT_EQ(relato_.progresso, std::vector<int>{100});
}

// A version table without its row gets the row "0" before the scripts run,
// so that what they apply is recorded and never applied twice.
TEST_P(ScriptUpdate, AVersionTableWithoutItsRowGetsOne) {
    loja1_.Execute("CREATE TABLE VERSAO (VERSAO VARCHAR(10))");
    Publicar("1", "CREATE TABLE T (X INTEGER);");
    Publicar("2", "INSERT INTO T VALUES (2);");
    EXPECT_EQ(Atualizar(), ScriptUpdateResult::Applied);
    EXPECT_EQ(loja1_.QueryText("SELECT COUNT(*) FROM VERSAO"), "1");
    EXPECT_EQ(loja1_.QueryText(kVersao), "2");
    EXPECT_EQ(Atualizar(), ScriptUpdateResult::Applied);
    EXPECT_TRUE(relato_.textos.empty()) << "nothing runs twice";
    EXPECT_EQ(loja1_.QueryText("SELECT SUM(X) FROM T"), "2");
}

// The recorded version decides what is newer, compared as text by the
// internet database: the scripts at or below it are never run.
TEST_P(ScriptUpdate, OnlyScriptsWhoseVersionSortsAfterTheRecordedOneRun) {
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
        EXPECT_EQ(Atualizar(), ScriptUpdateResult::Applied);
        EXPECT_EQ(loja1_.QueryText(kVersao), caso.esperada);
        EXPECT_EQ(loja1_.QueryText("SELECT SUM(X) FROM T"), caso.soma);
    }
}

TEST_P(ScriptUpdate, LinesHoldingCommitWorkInAnyCaseAreBlankedWhole) {
    Publicar("1", "CREATE TABLE T (X INTEGER);\n"
                  "INSERT INTO T VALUES (1); commit work;\n"
                  "INSERT INTO T VALUES (2);\n"
                  "  Commit Work;\n"
                  "INSERT INTO T VALUES (4);COMMIT WORK");
    EXPECT_EQ(Atualizar(), ScriptUpdateResult::Applied);
    EXPECT_EQ(loja1_.QueryText("SELECT SUM(X) FROM T"), "2");
}

TEST_P(ScriptUpdate, TheSecondOfThreeScriptsFailing) {
    Publicar("1", "CREATE TABLE T (X INTEGER);\nINSERT INTO T VALUES (1);");
    const std::string segundo = "INSERT INTO T VALUES (2);\nCREATE TABLE U (Y INTEGER);\nINSERT INTO NAO_EXISTE "
                                "VALUES (9);\nINSERT INTO T VALUES (8);";
    Publicar("2", segundo);
    Publicar("3", "INSERT INTO T VALUES (3);");
    // The first whole, the second up to its failing statement (its DDL
    // committed singly, its DML by the commit after the failure), no third.
    EsperarFalhaNoSegundo(Atualizar(), "3");
    EXPECT_EQ(loja1_.QueryText("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'U'"), "1");
    EXPECT_EQ(relato_.progresso, (std::vector<int>{33, 67, 100}));

    const std::string conteudo = ArquivoDeErroUnico();
    const std::string arquivo = ArquivosDeErro().at(0);
    EXPECT_TRUE(base::StartsText("SCRIPT_ERRO_DT_", arquivo));
    EXPECT_EQ(arquivo.substr(arquivo.size() - 12), " M-LOJA1.TXT");
    EXPECT_TRUE(base::StartsText("/* ERRO: \r\n \r\nDynamic SQL Error\r\n", conteudo)) << conteudo;
    EXPECT_NE(conteudo.find("\r\nNAO_EXISTE\r\n"), std::string::npos) << conteudo;
    const std::string fim =
        "\r\n \r\n.....  */\r\n \r\n" + base::StringReplace(segundo, "\n", "\r\n", base::rfReplaceAll) + "\r\n";
    EXPECT_EQ(conteudo.substr(conteudo.size() - fim.size()), fim);

    // The next update starts after the failed script.
    EXPECT_EQ(Atualizar(), ScriptUpdateResult::Applied);
    EXPECT_EQ(loja1_.QueryText("SELECT SUM(X) FROM T"), "6");
    EXPECT_EQ(loja1_.QueryText(kVersao), "3");
    EXPECT_EQ(ArquivosDeErro().size(), 1u);
}

// A failed script whose error file cannot be written (a full disk) is not
// recorded: the update stops with a failure outside the scripts naming it,
// and the next update runs it again.
TEST_P(ScriptUpdate, AFailedScriptThatCannotBeSavedIsNotRecorded) {
    Publicar("1", "CREATE TABLE T (X INTEGER);");
    Publicar("2", "INSERT INTO NAO_EXISTE VALUES (1);");
    {
        testsupport::FailingFiles disco;
        disco.Fail(platform::FileOperation::Write, " M-LOJA1.TXT", platform::ERROR_DISK_FULL);
        EXPECT_EQ(Atualizar(), ScriptUpdateResult::OutsideFailure);
    }
    ASSERT_EQ(relato_.foraDosScripts.size(), 1u);
    const std::string mensagem = relato_.foraDosScripts[0];
    EXPECT_TRUE(base::StartsText("O script 2 falhou e não pôde ser salvo no arquivo SCRIPT_ERRO_DT_", mensagem))
        << mensagem;
    EXPECT_NE(mensagem.find("Ele não foi registrado e será executado de novo na próxima atualização."),
              std::string::npos);
    EXPECT_TRUE(relato_.falhas.empty());
    EXPECT_TRUE(ArquivosDeErro().empty());
    EXPECT_EQ(loja1_.QueryText(kVersao), "1");

    EXPECT_EQ(Atualizar(), ScriptUpdateResult::ScriptFailed);
    EXPECT_NE(ArquivoDeErroUnico().find("NAO_EXISTE"), std::string::npos);
    EXPECT_EQ(loja1_.QueryText(kVersao), "2");
}

// A version the local table cannot hold is refused before its script runs:
// the update stops there, naming the version and why.
TEST_P(ScriptUpdate, AVersionTheLocalTableCannotHoldIsRefusedBeforeItsScriptRuns) {
    Publicar("1", "CREATE TABLE T (X INTEGER);");
    Publicar("2☃", "INSERT INTO T VALUES (2);");
    EXPECT_EQ(Atualizar(), ScriptUpdateResult::OutsideFailure);
    EXPECT_EQ(relato_.foraDosScripts,
              std::vector<std::string>{"A versão '2☃' de um script não cabe na tabela VERSAO do banco de dados "
                                       "local: ela contém um caractere que o Windows-1252 não tem. Nada desse "
                                       "script foi executado."});
    EXPECT_EQ(relato_.textos.size(), 1u) << "the second script was never read";
    EXPECT_EQ(loja1_.QueryText(kVersao), "1");
    EXPECT_EQ(loja1_.QueryText("SELECT COUNT(*) FROM T"), "0");
    EXPECT_TRUE(ArquivosDeErro().empty());
    EXPECT_EQ(scripts::MotivoVersaoInvalida("12345678901"), "ela tem mais de 10 caracteres");
    EXPECT_EQ(scripts::MotivoVersaoInvalida("ação567890"), "");
    EXPECT_EQ(scripts::MotivoVersaoInvalida(std::string("1\0", 2)), "ela contém o caractere NUL");
}

// A commit the database refuses after a script that went through: the
// script's work is gone, so it fails as any other script would. Its version is
// recorded all the same, and the next update starts the next script on a
// transaction of its own.
TEST_P(ScriptUpdate, ACommitRefusedAfterAScriptFailsThatScript) {
    loja1_.Execute("CREATE TABLE BLOQUEIO (X INTEGER)");
    loja1_.Execute("CREATE EXCEPTION COMMIT_RECUSADO 'Commit recusado'");
    loja1_.Execute("CREATE TRIGGER RECUSA_COMMIT ON TRANSACTION COMMIT AS BEGIN "
                   "IF (EXISTS(SELECT 1 FROM BLOQUEIO)) THEN EXCEPTION COMMIT_RECUSADO; END");
    Publicar("1", "CREATE TABLE T (X INTEGER);\nINSERT INTO T VALUES (1);");
    Publicar("2", "INSERT INTO T VALUES (2);\nINSERT INTO BLOQUEIO VALUES (1);");
    Publicar("3", "INSERT INTO T VALUES (4);");
    EsperarFalhaNoSegundo(Atualizar(), "1");
    EXPECT_EQ(loja1_.QueryText("SELECT COUNT(*) FROM BLOQUEIO"), "0");
    const std::string conteudo = ArquivoDeErroUnico();
    EXPECT_TRUE(base::StartsText("/* ERRO: \r\n \r\n", conteudo)) << conteudo;
    EXPECT_NE(conteudo.find("Commit recusado"), std::string::npos) << conteudo;

    EXPECT_EQ(Atualizar(), ScriptUpdateResult::Applied);
    EXPECT_EQ(loja1_.QueryText("SELECT SUM(X) FROM T"), "5");
    EXPECT_EQ(loja1_.QueryText(kVersao), "3");
}

// A parse error fails its script when statements went unrun; a script that
// only ends in blanks and comments the parser refuses stays quiet.
TEST_P(ScriptUpdate, AParseErrorFailsTheScriptOnlyWhenStatementsWentUnrun) {
    struct Caso {
        const char* texto;
        const char* mensagem; // third line of the error file; none when the script passes
    };
    const std::vector<Caso> casos = {
        {"INSERT INTO T VALUES (1);\nFOO BAR;\nINSERT INTO T VALUES (2);", "Invalid statement, line 2"},
        {"INSERT INTO T VALUES (1);\n\nFOO BAR;", "Invalid statement, line 3"},
        {"INSERT INTO T VALUES (1);\n/* fim */\n-- fim", nullptr},
        {"INSERT INTO T VALUES (1);\n   \n-- fim\n-- mesmo", nullptr},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.texto);
        internet_->Execute("DELETE FROM scripts");
        loja1_.Execute("RECREATE TABLE T (X INTEGER)");
        loja1_.Execute("RECREATE TABLE VERSAO (VERSAO VARCHAR(10))");
        loja1_.Execute("INSERT INTO VERSAO VALUES ('0')");
        for (const std::string& arquivo : ArquivosDeErro())
            std::filesystem::remove(work_ / arquivo);
        Publicar("1", caso.texto);
        Publicar("2", "INSERT INTO T VALUES (10);");
        const bool falha = caso.mensagem != nullptr;
        EXPECT_EQ(Atualizar(), falha ? ScriptUpdateResult::ScriptFailed : ScriptUpdateResult::Applied);
        EXPECT_EQ(loja1_.QueryText(kVersao), falha ? "1" : "2");
        EXPECT_EQ(loja1_.QueryText("SELECT SUM(X) FROM T"), falha ? "1" : "11");
        const std::vector<std::string> arquivos = ArquivosDeErro();
        ASSERT_EQ(arquivos.size(), falha ? 1u : 0u);
        if (falha) {
            EXPECT_TRUE(base::StartsText(std::string("/* ERRO: \r\n \r\n") + caso.mensagem + "\r\n \r\n",
                                         work_.read(arquivos[0])));
        }
    }
}

TEST_P(ScriptUpdate, EachDatabaseOfTheWorkListIsUpdatedOnItsOwn) {
    loja1_.Execute("CREATE TABLE VERSAO (VERSAO VARCHAR(10))");
    loja1_.Execute("INSERT INTO VERSAO VALUES ('0')");
    loja2_.Execute("CREATE TABLE T (X INTEGER)");
    loja2_.Execute("CREATE TABLE VERSAO (VERSAO VARCHAR(10))");
    loja2_.Execute("INSERT INTO VERSAO VALUES ('1')");
    // LOJA1 lacks table T: its first script fails; LOJA2 starts after 1.
    Publicar("1", "INSERT INTO T VALUES (1);");
    Publicar("2", "INSERT INTO T VALUES (2);");
    EXPECT_EQ(Atualizar({"M-LOJA1", "M-LOJA2"}), ScriptUpdateResult::ScriptFailed);
    EXPECT_EQ(loja1_.QueryText(kVersao), "1");
    EXPECT_EQ(loja2_.QueryText(kVersao), "2");
    EXPECT_EQ(loja2_.QueryText("SELECT SUM(X) FROM T"), "2");
    const std::vector<std::string> arquivos = ArquivosDeErro();
    ASSERT_EQ(arquivos.size(), 1u);
    EXPECT_EQ(arquivos[0].substr(arquivos[0].size() - 12), " M-LOJA1.TXT");

    // An empty work list touches no database.
    EXPECT_EQ(Atualizar({}), ScriptUpdateResult::Applied);
    EXPECT_TRUE(relato_.progresso.empty());
}

// Text reaches the local database in the Windows code page; a character
// that the code page lacks fails its script before any of it runs, and the
// failed script is saved as it came, in the Windows code page.
TEST_P(ScriptUpdate, ScriptTextIsWrittenInTheWindowsCodePage) {
    Publicar("1", "CREATE TABLE T (S VARCHAR(10));\nINSERT INTO T VALUES ('ção');");
    Publicar("2", "INSERT INTO T VALUES ('x');\nINSERT INTO T VALUES ('boneco ☃');");
    EXPECT_EQ(Atualizar(), ScriptUpdateResult::ScriptFailed);
    EXPECT_EQ(loja1_.QueryText("SELECT S FROM T"), "\xE7\xE3o");
    EXPECT_EQ(loja1_.QueryText("SELECT COUNT(*) FROM T"), "1");
    EXPECT_EQ(loja1_.QueryText(kVersao), "2");
    EXPECT_TRUE(base::StartsText("/* ERRO: \r\n \r\nCharacter U+2603 in line 2 has no Windows-1252 code\r\n",
                                 ArquivoDeErroUnico()));

    std::filesystem::remove(work_ / ArquivosDeErro().at(0));
    Publicar("3", "INSERT INTO SEM_TABELA VALUES ('ação');");
    EXPECT_EQ(Atualizar(), ScriptUpdateResult::ScriptFailed);
    EXPECT_NE(ArquivoDeErroUnico().find("('a\xE7\xE3o');\r\n"), std::string::npos);
}

// A failure outside the scripts is told once, rolls back what is open,
// outranks a failed script of an earlier database and stops the databases
// after it.
TEST_P(ScriptUpdate, AFailureOutsideTheScriptsStopsTheUpdate) {
    internet_->Execute("DROP TABLE scripts");
    EXPECT_EQ(Atualizar(), ScriptUpdateResult::OutsideFailure);
    EXPECT_EQ(relato_.foraDosScripts.size(), 1u);
    EXPECT_FALSE(local.Connected());
    EXPECT_FALSE(transacaoDaVersao.InTransaction());
    EXPECT_TRUE(atualizacao.ProgramName().empty());

    internet_->Execute("CREATE TABLE scripts (programa VARCHAR(20), versao VARCHAR(10), liberado CHAR(1), texto "
                       "TEXT)");
    Publicar("1", "INSERT INTO SEM_TABELA VALUES (1);");
    loja2_.Execute("CREATE TABLE VERSAO (VERSAO VARCHAR(10))");
    loja2_.Execute("INSERT INTO VERSAO VALUES ('0')");
    const std::string loja2 = loja2_.path();
    std::filesystem::rename(loja2, loja2 + ".fora");
    EXPECT_EQ(Atualizar({"M-LOJA1", "M-LOJA2", "M-LOJA1"}), ScriptUpdateResult::OutsideFailure);
    EXPECT_EQ(relato_.falhas.size(), 1u);
    EXPECT_EQ(relato_.foraDosScripts.size(), 1u);
    EXPECT_EQ(relato_.progresso, (std::vector<int>{100, 100})) << "the third entry never started";
    std::filesystem::rename(loja2 + ".fora", loja2);
    EXPECT_EQ(loja2_.QueryText(kVersao), "0");
}

// The internet database lost between two scripts: what ran is recorded, and
// the next update goes on from there without running anything twice.
TEST_P(ScriptUpdate, NothingRunsTwiceAfterTheInternetDatabaseWasLostMidway) {
    if (GetParam() == BackendKind::SQLite)
        GTEST_SKIP() << "an SQLite file cannot be taken away while it is read";
    Publicar("1", "CREATE TABLE T (X INTEGER);\nINSERT INTO T VALUES (1);");
    Publicar("2", "INSERT INTO T VALUES (2);");
    Publicar("3", "INSERT INTO T VALUES (3);");
    runner.OnParse = [this](scripts::TIBScript&, scripts::TIBParseKind, const std::string& texto) {
        if (texto.find("VALUES (1)") != std::string::npos)
            internet_->Execute("RENAME TABLE scripts TO guardados");
    };
    EXPECT_EQ(Atualizar(), ScriptUpdateResult::OutsideFailure);
    EXPECT_EQ(loja1_.QueryText(kVersao), "1");
    EXPECT_EQ(loja1_.QueryText("SELECT SUM(X) FROM T"), "1");

    internet_->Execute("RENAME TABLE guardados TO scripts");
    EXPECT_EQ(Atualizar(), ScriptUpdateResult::Applied);
    EXPECT_EQ(loja1_.QueryText(kVersao), "3");
    EXPECT_EQ(loja1_.QueryText("SELECT SUM(X) FROM T"), "6");
}

INSTANTIATE_TEST_SUITE_P(Backends, ScriptUpdate, ::testing::Values(BackendKind::SQLite, BackendKind::MySQL),
                         BackendName);

} // namespace
