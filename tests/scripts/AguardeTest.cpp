// The wait window around the script update: its progress, the error window of
// a failed script, its Tag, and a failure outside the scripts.
#include "scripts/uAguarde.h"

#include <memory>
#include <string>
#include <vector>

#include <QTimer>

#include "runtime/ListControls.h"
#include "scripts/Unit2.h"
#include "tests/scripts/ReleasedScripts.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

namespace {

using scripts::ScriptUpdateResult;

class Aguarde : public ReleasedScripts {
protected:
    void SetUp() override {
        ReleasedScripts::SetUp();
        aliases_.AddItem("LOJA1");
        aliases_.SetChecked(0, true);
        aguarde_ = std::make_unique<scripts::Taguarde>(nullptr, aliases_);
        aguarde_->Database1.Params = InternetParams();
        aguarde_->Esperar = [this](int milissegundos) { esperas_.push_back(milissegundos); };
    }

    void Executar() { aguarde_->ShowModal(); }

    runtime::TCheckListBox aliases_{nullptr, "CheckListBox1", {0, 0, 100, 40}, "Bases"};
    std::unique_ptr<scripts::Taguarde> aguarde_;
    std::vector<int> esperas_;
    testsupport::MessageBoxRecorder caixas_;
};

TEST_P(Aguarde, AnUpdateShowsItsProgressAndTheScriptTextAndCloses) {
    Publicar("1", "CREATE TABLE T (X INTEGER);");
    Publicar("2", "INSERT INTO T VALUES (2);\nINSERT INTO T VALUES (3);");
    Executar();
    EXPECT_EQ(loja1_.QueryText(kVersao), "2");
    EXPECT_EQ(aguarde_->Resultado, ScriptUpdateResult::Applied);
    EXPECT_EQ(aguarde_->Tag, 0);
    EXPECT_EQ(aguarde_->pb1.Position(), 100);
    EXPECT_EQ(aguarde_->DBMemo1.Lines(),
              (std::vector<std::string>{"INSERT INTO T VALUES (2);", "INSERT INTO T VALUES (3);"}));
    EXPECT_FALSE(aguarde_->isVisible());
    EXPECT_TRUE(caixas_.Boxes().empty());
}

TEST_P(Aguarde, OnlyTheTickedAliasesAreUpdated) {
    aliases_.AddItem("LOJA2");
    aliases_.SetChecked(0, false);
    aliases_.SetChecked(1, true);
    Publicar("1", "CREATE TABLE T (X INTEGER);");
    Executar();
    EXPECT_EQ(loja1_.QueryText("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME IN ('T', 'VERSAO')"), "0");
    EXPECT_EQ(loja2_.QueryText(kVersao), "1");
    EXPECT_FALSE(aguarde_->isVisible());
}

// A failed script shows the error window naming its saved file, then waits a
// second; the window's Tag stays 1 through later updates that apply.
TEST_P(Aguarde, AFailedScriptShowsTheErrorWindowAndSetsTheTagForGood) {
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
    EXPECT_EQ(aguarde_->Resultado, ScriptUpdateResult::ScriptFailed);
    EXPECT_EQ(aguarde_->Tag, 1);

    Publicar("2", "CREATE TABLE T (X INTEGER);");
    Executar();
    EXPECT_EQ(aguarde_->Resultado, ScriptUpdateResult::Applied);
    EXPECT_EQ(aguarde_->Tag, 1);
}

TEST_P(Aguarde, AFailureOutsideTheScriptsIsReportedOnceAndClosesTheWindow) {
    internet_->Execute("DROP TABLE scripts");
    Executar();
    ASSERT_EQ(caixas_.Boxes().size(), 1u);
    EXPECT_EQ(aguarde_->Resultado, ScriptUpdateResult::OutsideFailure);
    EXPECT_EQ(aguarde_->Tag, 0);
    EXPECT_FALSE(aguarde_->isVisible());
    EXPECT_FALSE(aguarde_->IBDatabase1.Connected());
}

INSTANTIATE_TEST_SUITE_P(Backends, Aguarde, ::testing::Values(BackendKind::SQLite), BackendName);

} // namespace
