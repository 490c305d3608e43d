#include "app/ProgramEntry.h"

#include <QApplication>
#include <QCloseEvent>
#include <QWindow>
#include <gtest/gtest.h>

#include "gate/Unit1.h"
#include "tests/support/LaunchRecorder.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TempDir.h"
#include "tests/support/WidgetInput.h"

namespace {

const char* const kFaltaWinRAR =
    "Favor fazer a instalação do Winrar Primeiro. Voce será redirecionado para o download.";

// The program started through its real confirmation window, in a folder whose
// registry names a Program Files folder without WinRAR: the first check of
// the main window's start-up after the gate reports that, so its message
// tells whether the start-up went past the gate.
class Programa : public ::testing::Test {
protected:
    Programa() {
        dir_.write("registry.reg", "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion]\n"
                                   "\"ProgramFilesDir\"=\"" +
                                       (dir_ / "Program Files").string() + "\"\n");
    }

    // Runs the program; gate acts on the confirmation window once it is shown.
    void Executar(const std::function<void(gate::TForm1&)>& gate) {
        testsupport::WhenShown("Form1", [gate](QWidget& form1) { gate(static_cast<gate::TForm1&>(form1)); });
        app::ExecutarPrograma();
    }

    testsupport::TempDir dir_;
    testsupport::CurrentDirGuard current_{dir_.path()};
    testsupport::EnvGuard registry_{"UPDATER_REGISTRY_FILE", (dir_ / "registry.reg").string()};
    testsupport::MessageBoxRecorder boxes_;
    testsupport::LaunchRecorder launches_;
};

TEST_F(Programa, DeclinedTheProgramEndsWithoutGoingPastTheRegistryRead) {
    struct Caso {
        const char* nome;
        std::function<void(gate::TForm1&)> recusar;
    };
    const Caso casos[] = {
        {"Sair", [](gate::TForm1& form) { form.Button3.click(); }},
        {"close box or Alt+F4",
         [](gate::TForm1& form) {
             form.CheckBox1.click();
             form.CheckBox2.click();
             QCloseEvent pedido;
             QApplication::sendEvent(form.windowHandle(), &pedido);
         }},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.nome);
        Executar(caso.recusar);
        EXPECT_TRUE(boxes_.Boxes().empty()) << "no check of the start-up ran";
        EXPECT_TRUE(launches_.opened.empty());
    }
}

TEST_F(Programa, AcceptedTheMainWindowsStartUpRuns) {
    Executar([](gate::TForm1& form) {
        form.CheckBox1.click();
        form.CheckBox2.click();
        form.BitBtn1.click();
    });
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{kFaltaWinRAR});
    EXPECT_EQ(launches_.opened.size(), 1u);
}

TEST_F(Programa, ASavedFailedScriptShowsTheErrorWindowAndEndsTheProgram) {
    dir_.write("SCRIPT_ERRO_DT_08122026_HR_171500 LOJA.TXT", "");
    std::string nomeado;
    bool portaoEscondido = false;
    testsupport::WhenShown("Form2", [&](QWidget& erro) {
        for (QWidget* janela : QApplication::topLevelWidgets()) {
            if (janela->objectName() == "Form1")
                portaoEscondido = !janela->isVisible();
        }
        nomeado = static_cast<scripts::TForm2&>(erro).Label1.Caption();
        static_cast<scripts::TForm2&>(erro).Button3.click();
    });
    app::ExecutarPrograma();
    EXPECT_TRUE(portaoEscondido);
    EXPECT_EQ(nomeado, "SCRIPT EM EXECUÇÃO SALVO: SCRIPT_ERRO_DT_08122026_HR_171500 LOJA.TXT");
    EXPECT_TRUE(boxes_.Boxes().empty()) << "no update offered";
    EXPECT_TRUE(launches_.opened.empty());
}

} // namespace
