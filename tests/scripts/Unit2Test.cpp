#include "scripts/Unit2.h"

#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include "tests/support/ImageProbe.h"
#include "tests/support/WidgetInput.h"

namespace {

using scripts::TForm2;

const QColor kAmarelo(255, 255, 0);

// Runs action as soon as the modal loop of the window being shown runs.
void QuandoAberta(const std::function<void()>& action) {
    QTimer::singleShot(0, action);
}

TEST(ErroScript, ControlsSitAtTheirPlacesWithTheFocusOnTheButton) {
    TForm2 form(nullptr);
    EXPECT_EQ(form.windowTitle(), "Erro");
    EXPECT_EQ(form.size(), QSize(826, 266));
    EXPECT_EQ(form.NetGradient1.geometry(), QRect(-88, -344, 914, 610));
    EXPECT_EQ(form.NetGradient1.BeginColor(), base::clMaroon);
    EXPECT_EQ(form.NetGradient1.EndColor(), base::clBtnFace);
    EXPECT_EQ(form.NetGradient1.Caption(), " ");
    EXPECT_EQ(form.myLabel3d1.pos(), QPoint(96, 0));
    EXPECT_EQ(form.myLabel3d1.Caption(), "ERRO DE SCRIPT AVISAR BORVANE SISTEMAS");
    EXPECT_EQ(form.myLabel3d1.Font().Color(), base::clYellow);
    EXPECT_EQ(form.myLabel3d1.TextStyle(), components::tsRaised);
    EXPECT_EQ(form.myLabel3d1.BorderColor(), base::clRed);
    EXPECT_TRUE(form.myLabel3d1.WordWrap());
    EXPECT_TRUE(form.myLabel3d1.Transparent());
    EXPECT_EQ(form.Label1.geometry(), QRect(8, 239, 716, 16));
    EXPECT_EQ(form.Label1.Caption(), "SCRIPT EM EXECUÇÃO SALVO:");
    EXPECT_EQ(form.Label1.Alignment(), runtime::taCenter);
    EXPECT_EQ(form.Button3.geometry(), QRect(728, 236, 94, 26));
    EXPECT_EQ(form.Button3.text(), "&Cont..");
    EXPECT_EQ(form.Button3.accessibleName(), "Cont..");
    EXPECT_EQ(form.Button3.Glyph().size(), QSize(22, 22));

    form.Show();
    EXPECT_EQ(form.focusWidget(), &form.Button3);
    form.Close();
}

TEST(ErroScript, EnterSpaceAndTheCloseBoxCloseTheWindow) {
    struct Caso {
        const char* nome;
        std::function<void(TForm2&)> fechar;
    };
    const Caso casos[] = {
        {"Enter", [](TForm2& form) { testsupport::PressKey(*form.focusWidget(), Qt::Key_Return); }},
        {"space", [](TForm2& form) { testsupport::PressKey(*form.focusWidget(), Qt::Key_Space); }},
        {"close box", [](TForm2& form) { form.close(); }},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.nome);
        TForm2 form(nullptr);
        bool aberta = false;
        QuandoAberta([&] {
            aberta = form.isVisible();
            caso.fechar(form);
        });
        form.ShowModal();
        EXPECT_TRUE(aberta);
        EXPECT_FALSE(form.isVisible());
    }
}

TEST(ErroScript, EscapeLeavesTheWindowOpen) {
    TForm2 form(nullptr);
    bool aindaAberta = false;
    QuandoAberta([&] {
        testsupport::PressKey(*form.focusWidget(), Qt::Key_Escape);
        QApplication::processEvents();
        aindaAberta = form.isVisible();
        form.Close();
    });
    form.ShowModal();
    EXPECT_TRUE(aindaAberta);
}

// The warning is drawn whole in three lines, as the window was designed: the
// stand-in face of Verdana runs wider and would break "AVISAR BORVANE" apart.
TEST(ErroScript, TheWarningFitsAboveTheFileNameInThreeLines) {
    TForm2 form(nullptr);
    EXPECT_LE(form.myLabel3d1.Width(), 635);
    EXPECT_LE(form.myLabel3d1.Height(), 234);
    EXPECT_LE(form.myLabel3d1.Font().Height(), -60) << "the letters stay large";
    const QImage imagem = form.grab().toImage();
    const std::vector<QRect> linhas = testsupport::RowRunsOf(imagem, kAmarelo);
    ASSERT_EQ(linhas.size(), 3u);
    EXPECT_GT(linhas.front().top(), 0) << "nothing cut at the top";
    EXPECT_LT(linhas.back().bottom(), form.Label1.y()) << "nothing cut or over the file name";
    const QRect letras = testsupport::BoundsOf(imagem, kAmarelo);
    EXPECT_GT(letras.left(), 0);
    EXPECT_LT(letras.right(), form.width() - 1);
}

TEST(ErroScript, TheFileNameIsCentredOnOneLineAndALongOneIsCut) {
    TForm2 form(nullptr);
    form.NomearArquivo("SCRIPT_ERRO_DT_08122026_HR_171500 LOJA.TXT");
    EXPECT_EQ(form.Label1.Caption(), "SCRIPT EM EXECUÇÃO SALVO: SCRIPT_ERRO_DT_08122026_HR_171500 LOJA.TXT");
    EXPECT_EQ(form.Label1.accessibleName().toStdString(), form.Label1.Caption());

    form.NomearArquivo(std::string(300, 'X') + ".TXT");
    EXPECT_EQ(form.Label1.geometry(), QRect(8, 239, 716, 16));
    EXPECT_EQ(form.size(), QSize(826, 266));
    // Cut at both edges: black letters reach the label's left and right ends.
    const QImage imagem = form.Label1.grab().toImage();
    const QRect letras = testsupport::BoundsOf(imagem, Qt::black);
    EXPECT_EQ(letras.left(), 0);
    EXPECT_EQ(letras.right(), imagem.width() - 1);
}

TEST(ErroScript, MostrarErroScriptNamesTheFileAndReturnsOnceClosed) {
    QWidget dono;
    std::string legenda;
    QuandoAberta([&] {
        auto* form = dono.findChild<TForm2*>("Form2");
        ASSERT_NE(form, nullptr);
        legenda = form->Label1.Caption();
        form->Button3.click();
    });
    scripts::MostrarErroScript(&dono, "SCRIPT_ERRO_DT_1 LOJA.TXT");
    EXPECT_EQ(legenda, "SCRIPT EM EXECUÇÃO SALVO: SCRIPT_ERRO_DT_1 LOJA.TXT");
    EXPECT_EQ(dono.findChild<TForm2*>(), nullptr) << "freed once closed";
}

} // namespace
