#include "runtime/Application.h"

#include "base/Exception.h"

#include <gtest/gtest.h>

#include "runtime/Controls.h"
#include "runtime/MessageBoxes.h"
#include "tests/support/MessageBoxRecorder.h"

namespace {

using runtime::ErrorReportText;

TEST(ErrorReport, AddsAFullStopOnlyAfterACharacterThatSortsAfterIt) {
    struct Case {
        std::string message;
        std::string shown;
    };
    const Case cases[] = {
        {"Arquivo não encontrado", "Arquivo não encontrado."},
        {"Fim.", "Fim."},
        {"Falhou!", "Falhou!"},             // '!' sorts before '.'
        {"Lista (vazia)", "Lista (vazia)"}, // ')' sorts before '.'
        {"Erro 42", "Erro 42."},            // digits sort after '.'
        {"Continuar?", "Continuar?."},      // '?' sorts after '.'
        {"caminho/", "caminho/."},          // '/' is the next character after '.'
        {"fim-", "fim-"},                   // '-' is the one just before '.'
        {"linha\n", "linha\n"},
        {"ação", "ação."}, // a multi-byte last character sorts after '.'
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorReportText(c.message), c.shown) << c.message;
}

TEST(ErrorReport, DispatchReportsWhatEscapesAHandlerAndGoesOn) {
    runtime::TApplication app;
    app.SetTitle("KestoUpdate");
    testsupport::MessageBoxRecorder boxes;

    app.Dispatch([] { throw std::runtime_error("Conexão recusada"); });
    app.Dispatch([] { throw 42; });
    app.Dispatch([] { throw base::EAbort("stopped on request"); });
    bool ranAfterwards = false;
    app.Dispatch([&] { ranAfterwards = true; });

    ASSERT_EQ(boxes.Boxes().size(), 2u);
    const runtime::MessageBoxRequest& box = boxes.Boxes()[0];
    EXPECT_EQ(box.caption, "KestoUpdate");
    EXPECT_EQ(box.text, "Conexão recusada.");
    EXPECT_EQ(box.icon, runtime::MsgIcon::Error);
    EXPECT_EQ(box.buttons, runtime::MsgButtons::Ok);
    EXPECT_FALSE(boxes.Boxes()[1].text.empty());
    EXPECT_TRUE(ranAfterwards);
}

TEST(ErrorReport, AButtonHandlerThatThrowsIsReportedNotPropagated) {
    runtime::TApplication app;
    app.SetTitle("KestoUpdate");
    testsupport::MessageBoxRecorder boxes;
    QWidget parent;
    runtime::TBitBtn button(&parent, "Button1", {0, 0, 80, 25}, "&Atualizar");
    button.OnClick = [] { throw std::runtime_error("Falha no botão"); };

    button.click();

    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Falha no botão."});
}

TEST(MessageService, ShowMessageIsThePlainBoxWithTheApplicationTitle) {
    runtime::TApplication app;
    app.SetTitle("KestoUpdate");
    testsupport::MessageBoxRecorder boxes;
    boxes.QueueAnswer(runtime::mrCancel);

    runtime::ShowMessage("Conectado no FTP");
    int answer = runtime::MessageBox({"Outro", "Pergunta", runtime::MsgIcon::Question, runtime::MsgButtons::YesNo});

    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "KestoUpdate");
    EXPECT_EQ(boxes.Boxes()[0].icon, runtime::MsgIcon::None);
    EXPECT_EQ(boxes.Boxes()[0].buttons, runtime::MsgButtons::Ok);
    EXPECT_EQ(answer, runtime::mrOk) << "the queued answer went to the first box";
}

TEST(ApplicationObject, TheNewestObjectIsCurrentUntilItGoes) {
    runtime::TApplication outer;
    outer.SetTitle("fora");
    {
        runtime::TApplication inner;
        inner.SetTitle("dentro");
        EXPECT_EQ(runtime::Application().Title(), "dentro");
    }
    EXPECT_EQ(runtime::Application().Title(), "fora");
}

} // namespace
