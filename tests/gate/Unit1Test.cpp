#include "gate/Unit1.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QLocale>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include "tests/support/ImageProbe.h"
#include "tests/support/TempDir.h"
#include "tests/support/WidgetInput.h"

namespace {

using gate::TForm1;
using testsupport::PressKey;

// The window system's close request: the close box, or Alt+F4.
void PedirFechamento(QWidget& janela) {
    QCloseEvent pedido;
    QApplication::sendEvent(janela.windowHandle(), &pedido);
}

// Shows the window modally in a folder of its own, runs action once it is on
// screen and returns the Tag it closed with.
class Portao : public ::testing::Test {
protected:
    int Mostrar(const std::function<void(TForm1&)>& action) {
        QTimer::singleShot(0, [&] { action(form_); });
        form_.ShowModal();
        EXPECT_FALSE(form_.isVisible());
        return form_.Tag;
    }

    testsupport::TempDir dir_;
    testsupport::CurrentDirGuard current_{dir_.path()};
    TForm1 form_;
};

TEST_F(Portao, ControlsSitAtTheirPlacesInTabOrder) {
    EXPECT_EQ(form_.windowTitle(), "Atualização");
    EXPECT_EQ(form_.size(), QSize(905, 610));
    struct Lugar {
        QWidget* control;
        QRect onde;
    };
    const Lugar lugares[] = {
        {&form_.NetGradient1, {0, 0, 906, 610}}, {&form_.CheckBox1, {39, 560, 15, 17}},
        {&form_.CheckBox2, {39, 583, 15, 17}},   {&form_.BitBtn1, {629, 567, 139, 38}},
        {&form_.Button3, {794, 567, 90, 38}},
    };
    for (const Lugar& lugar : lugares)
        EXPECT_EQ(lugar.control->geometry(), lugar.onde) << lugar.control->objectName().toStdString();
    EXPECT_EQ(form_.Label1.pos(), QPoint(57, 560));
    EXPECT_EQ(form_.Label2.pos(), QPoint(535, 0));
    EXPECT_EQ(form_.Label3.pos(), QPoint(57, 583));
    EXPECT_EQ(form_.Label1.Caption(), "Todos Aplicativos locais foram fechados");
    EXPECT_EQ(form_.Label2.Caption(), "Borvane Quillmark");
    EXPECT_EQ(form_.Label3.Caption(), "Em todos os terminais os Sistemas foram fechados");
    EXPECT_EQ(form_.Label2.Font().Color(), base::RGB(106, 106, 106));
    EXPECT_EQ(form_.NetGradient1.BeginColor(), base::clNavy);
    EXPECT_EQ(form_.myLabel3d1.Caption(),
              "FECHE TODOS OS APLICATIVOS ANTES DE FAZER A ATUALIZAÇÃO *inclusive os terminais**");
    EXPECT_EQ(form_.myLabel3d1.pos(), QPoint(6, 26));
    EXPECT_EQ(form_.BitBtn1.text(), "&Continuar  ");
    EXPECT_EQ(form_.BitBtn1.Layout(), runtime::blGlyphRight);
    EXPECT_EQ(form_.BitBtn1.Glyph().size(), QSize(19, 20));
    EXPECT_EQ(form_.Button3.text(), "&Sair");
    EXPECT_EQ(form_.Button3.Layout(), runtime::blGlyphLeft);
    EXPECT_EQ(form_.Button3.Glyph().size(), QSize(22, 22));
    EXPECT_EQ(form_.BitBtn1.shortcut(), QKeySequence(Qt::ALT | Qt::Key_C));
    EXPECT_EQ(form_.Button3.shortcut(), QKeySequence(Qt::ALT | Qt::Key_S));
    EXPECT_FALSE(form_.BitBtn1.isEnabled());
    EXPECT_FALSE(form_.Timer1.Enabled());
    EXPECT_EQ(form_.Timer1.Interval(), 100);
    EXPECT_EQ(form_.Tag, 0);

    // Tab order: the two boxes, "Continuar", "Sair", and round again.
    EXPECT_EQ(form_.focusWidget(), &form_.CheckBox1);
    EXPECT_EQ(form_.CheckBox1.nextInFocusChain(), &form_.CheckBox2);
    EXPECT_EQ(form_.CheckBox2.nextInFocusChain(), &form_.BitBtn1);
    EXPECT_EQ(form_.BitBtn1.nextInFocusChain(), &form_.Button3);
    // The graphic controls lie below the windowed ones.
    const QObjectList filhos = form_.children();
    EXPECT_LT(filhos.indexOf(&form_.myLabel3d1), filhos.indexOf(&form_.CheckBox1));
    EXPECT_LT(filhos.indexOf(&form_.Label3), filhos.indexOf(&form_.CheckBox1));
}

TEST_F(Portao, EveryControlCanBeReadAndWorkedByItsName) {
    struct Esperado {
        QWidget* control;
        QAccessible::Role papel;
        const char* nome;
    };
    const Esperado esperados[] = {
        {&form_.CheckBox1, QAccessible::CheckBox, "Todos Aplicativos locais foram fechados"},
        {&form_.CheckBox2, QAccessible::CheckBox, "Em todos os terminais os Sistemas foram fechados"},
        {&form_.BitBtn1, QAccessible::Button, "Continuar"},
        {&form_.Button3, QAccessible::Button, "Sair"},
    };
    for (const Esperado& esperado : esperados) {
        QAccessibleInterface* leitor = QAccessible::queryAccessibleInterface(esperado.control);
        ASSERT_NE(leitor, nullptr);
        EXPECT_EQ(leitor->role(), esperado.papel) << esperado.nome;
        EXPECT_EQ(leitor->text(QAccessible::Name).toStdString(), esperado.nome);
    }
    for (QWidget* control : form_.findChildren<QWidget*>()) {
        if (control->objectName().startsWith("qt_"))
            continue;
        QAccessibleInterface* leitor = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(leitor, nullptr);
        EXPECT_FALSE(leitor->text(QAccessible::Name).trimmed().isEmpty()) << control->objectName().toStdString();
    }
    // The statements, the title and the warning are read as text.
    for (runtime::TCustomLabel* rotulo : std::initializer_list<runtime::TCustomLabel*>{
             &form_.Label1, &form_.Label2, &form_.Label3, &form_.myLabel3d1}) {
        QAccessibleInterface* leitor = QAccessible::queryAccessibleInterface(rotulo);
        EXPECT_EQ(leitor->role(), QAccessible::StaticText) << rotulo->Caption();
        EXPECT_EQ(leitor->text(QAccessible::Name).toStdString(), rotulo->Caption());
    }

    // An operator ticks a box through its action interface.
    QAccessibleActionInterface* acao = QAccessible::queryAccessibleInterface(&form_.CheckBox1)->actionInterface();
    ASSERT_NE(acao, nullptr);
    acao->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(form_.CheckBox1.Checked());
}

TEST_F(Portao, ContinuarIsEnabledExactlyWhileBothBoxesAreTicked) {
    struct Passo {
        runtime::TCheckBox TForm1::*caixa;
        bool habilitado;
    };
    const Passo passos[] = {
        {&TForm1::CheckBox1, false}, // one box
        {&TForm1::CheckBox2, true},  // both
        {&TForm1::CheckBox1, false}, // one unticked again
        {&TForm1::CheckBox1, true},  {&TForm1::CheckBox2, false}, {&TForm1::CheckBox2, true},
    };
    form_.Show();
    int numero = 0;
    for (const Passo& passo : passos) {
        SCOPED_TRACE(++numero);
        (form_.*passo.caixa).click();
        EXPECT_EQ(form_.BitBtn1.isEnabled(), passo.habilitado);
    }
    // Clicking a disabled button does nothing.
    form_.CheckBox2.click();
    form_.BitBtn1.click();
    EXPECT_TRUE(form_.isVisible());
    EXPECT_EQ(form_.Tag, 0);
    form_.Close();
}

TEST_F(Portao, OnlyBothBoxesAndContinuarAcceptByKeyboard) {
    // Space ticks the focused box, Tab moves on, Enter presses the focused button.
    const int tag = Mostrar([](TForm1& form) {
        PressKey(*form.focusWidget(), Qt::Key_Space);
        PressKey(*form.focusWidget(), Qt::Key_Tab);
        PressKey(*form.focusWidget(), Qt::Key_Space);
        EXPECT_TRUE(form.BitBtn1.isEnabled());
        PressKey(*form.focusWidget(), Qt::Key_Return); // on a box: no default button
        EXPECT_TRUE(form.isVisible());
        PressKey(*form.focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(form.focusWidget(), &form.BitBtn1);
        PressKey(*form.focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(tag, 1);
}

TEST_F(Portao, MinimisingTheWindowDoesNotDeclineIt) {
    bool minimizada = false;
    bool aindaAberta = false;
    const int tag = Mostrar([&](TForm1& form) {
        minimizada = testsupport::MinimiseAndRestore(form);
        aindaAberta = form.isVisible();
        form.CheckBox1.click();
        form.CheckBox2.click();
        form.BitBtn1.click();
    });
    EXPECT_TRUE(minimizada);
    EXPECT_TRUE(aindaAberta);
    EXPECT_EQ(tag, 1);
}

TEST_F(Portao, SairTheCloseBoxAndAltF4Decline) {
    struct Caso {
        const char* nome;
        std::function<void(TForm1&)> sair;
    };
    const Caso casos[] = {
        {"Sair", [](TForm1& form) { form.Button3.click(); }},
        {"Sair by keyboard",
         [](TForm1& form) {
             form.Button3.setFocus();
             PressKey(form.Button3, Qt::Key_Space);
         }},
        {"close box or Alt+F4", [](TForm1& form) { PedirFechamento(form); }},
        {"Escape, then the close box",
         [](TForm1& form) {
             PressKey(*form.focusWidget(), Qt::Key_Escape);
             EXPECT_TRUE(form.isVisible()) << "Escape does not close";
             PedirFechamento(form);
         }},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.nome);
        TForm1 form;
        QTimer::singleShot(0, [&] {
            form.CheckBox1.click();
            form.CheckBox2.click();
            caso.sair(form);
        });
        form.ShowModal();
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(form.Tag, 0);
    }
}

TEST_F(Portao, ListFilesTakesEveryKindOfEntrySkipsDotNamesAndSortsIgnoringCase) {
    dir_.write("b_relatorio.txt", "");
    dir_.write("A_relatorio.txt", "");
    dir_.write("á_relatorio.txt", "");
    dir_.write("pasta/dentro.txt", "");
    dir_.write(".oculto", "");
    const QLocale antes;
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    std::vector<std::string> lista{"c_ja_estava"};
    TForm1::ListFiles("*", lista);
    QLocale::setDefault(antes);
    EXPECT_EQ(lista, (std::vector<std::string>{"A_relatorio.txt", "á_relatorio.txt", "b_relatorio.txt", "c_ja_estava",
                                               "pasta"}));

    std::vector<std::string> nada;
    TForm1::ListFiles("SCRIPT_ERRO*.*", nada);
    TForm1::ListFiles("nao_existe/*.*", nada);
    EXPECT_TRUE(nada.empty());
}

TEST_F(Portao, WithoutASavedScriptNothingIsPending) {
    dir_.write("SCRIPT.TXT", "");
    dir_.write("ERRO_SCRIPT.TXT", "");
    form_.Show();
    EXPECT_FALSE(form_.Timer1.Enabled());
    EXPECT_EQ(form_.Form2, nullptr);
    form_.Close();
}

// A saved failed script hides the gate behind the error window naming the
// first match in case-insensitive order (a folder counts), then declines.
TEST_F(Portao, ASavedScriptShowsTheErrorWindowInsteadAndDeclines) {
    dir_.write("SCRIPT_ERRO_DT_09122026_HR_101010 LOJA.TXT", "");
    dir_.write("script_erro_DT_08122026_HR_090909 LOJA.TXT", "");
    dir_.write("Script_Erro_antigo/nota.txt", "");
    form_.Show();
    EXPECT_TRUE(form_.Timer1.Enabled());
    ASSERT_NE(form_.Form2, nullptr);
    EXPECT_EQ(form_.Form2->Label1.Caption(), "SCRIPT EM EXECUÇÃO SALVO: Script_Erro_antigo");
    EXPECT_FALSE(form_.Form2->isVisible()) << "shown by the timer, once the gate is on screen";
    // Keys typed ahead cannot accept the gate meanwhile.
    PressKey(form_.CheckBox1, Qt::Key_Space);
    PressKey(form_.CheckBox2, Qt::Key_Space);
    EXPECT_FALSE(form_.CheckBox1.Checked() || form_.CheckBox2.Checked());
    EXPECT_FALSE(form_.BitBtn1.isEnabled());
    form_.Close();

    std::string nomeado;
    bool portaoEscondido = false;
    testsupport::WhenShown("Form2", [&](QWidget& erro) {
        portaoEscondido = !form_.isVisible();
        nomeado = static_cast<scripts::TForm2&>(erro).Label1.Caption();
        EXPECT_FALSE(form_.Timer1.Enabled());
        PressKey(*erro.focusWidget(), Qt::Key_Return);
    });
    form_.ShowModal();
    EXPECT_TRUE(portaoEscondido);
    EXPECT_EQ(nomeado, "SCRIPT EM EXECUÇÃO SALVO: Script_Erro_antigo");
    EXPECT_EQ(form_.Form2, nullptr) << "freed after its modal show";
    EXPECT_FALSE(form_.isVisible());
    EXPECT_EQ(form_.Tag, 0);
}

// The warning is whole in six lines above the boxes, with nothing cut off.
TEST_F(Portao, TheWarningFitsAboveTheBoxes) {
    EXPECT_LE(form_.myLabel3d1.geometry().bottom() + 1, form_.CheckBox1.y());
    EXPECT_LE(form_.myLabel3d1.geometry().right() + 1, form_.width());
    form_.CheckBox1.hide();
    form_.CheckBox2.hide();
    const QImage imagem = form_.grab().toImage();
    // The tilde of "Ã" stands a few rows above its letter, on the same line.
    const std::vector<QRect> linhas = testsupport::RowRunsOf(imagem, Qt::white, 10);
    ASSERT_EQ(linhas.size(), 6u);
    EXPECT_LT(linhas.back().bottom(), form_.Label1.y());
    const QRect letras = testsupport::BoundsOf(imagem, Qt::white);
    EXPECT_GT(letras.left(), 0);
    EXPECT_LT(letras.right(), imagem.width() - 1);
}

} // namespace
