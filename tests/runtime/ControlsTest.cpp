#include <string>
#include <vector>

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QCoreApplication>
#include <QEvent>
#include <QTextDocument>
#include <QWidget>
#include <gtest/gtest.h>

#include "runtime/Controls.h"
#include "runtime/Gauge.h"
#include "runtime/ListControls.h"
#include "runtime/StatusBar.h"
#include "tests/support/ImageProbe.h"
#include "tests/support/WidgetInput.h"

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

TEST(Gauge, LimitsProgressToItsRangeAndRepaintsOnlyOnAWholePercentChange) {
    QWidget window;
    window.resize(300, 100);
    runtime::TGauge gauge(&window, "Gauge1", {10, 10, 200, 20}, "Percentual da transferência");
    window.show();
    QCoreApplication::processEvents();
    PaintCounter counter(gauge);

    gauge.SetProgress(37);
    EXPECT_EQ(counter.paints, 1);
    gauge.SetProgress(37);
    EXPECT_EQ(counter.paints, 1) << "same value, no repaint";
    gauge.SetProgress(250);
    EXPECT_EQ(gauge.Progress(), 100);
    gauge.SetProgress(-5);
    EXPECT_EQ(gauge.Progress(), 0);
    EXPECT_EQ(counter.paints, 3);

    gauge.SetMaxValue(1000);
    counter.paints = 0;
    gauge.SetProgress(5); // 0.5 %: still 0 %
    gauge.SetProgress(9); // 0.9 %
    EXPECT_EQ(counter.paints, 0);
    gauge.SetProgress(10); // 1 %
    EXPECT_EQ(counter.paints, 1);
    EXPECT_EQ(gauge.PercentDone(), 1);
    EXPECT_EQ(gauge.accessibleName().toStdString(), "Percentual da transferência");
    EXPECT_EQ(gauge.accessibleDescription().toStdString(), "1%");
}

// What a screen reader is told through Qt's accessibility interfaces.
TEST(Accessibility, LabelsGaugeStatusBarAndCheckBoxesAreWhatTheyShow) {
    QWidget window;
    runtime::TLabel label(&window, "lblstatus");
    label.SetCaption("&Conectando ao FTP");
    runtime::TLabel blank(&window, "lblcontador");
    blank.SetCaption(" ");
    runtime::TGauge gauge(&window, "Gauge1", {11, 466, 884, 20}, "Percentual da transferência");
    gauge.SetMaxValue(200);
    gauge.SetProgress(50);
    runtime::TStatusBar bar(&window, "StatusBar1", {1, 550, 907, 27});
    bar.AddPanel(50, "Pronto");
    runtime::TCheckBox box(&window, "CheckBox1", {39, 560, 15, 17}, " ", "Todos os aplicativos locais foram fechados");
    struct Case {
        QWidget* control;
        QAccessible::Role role;
        QString name;
    };
    const Case cases[] = {
        {&label, QAccessible::StaticText, "Conectando ao FTP"},
        {&blank, QAccessible::StaticText, ""},
        {&gauge, QAccessible::ProgressBar, QString::fromUtf8("Percentual da transferência")},
        {&bar, QAccessible::StatusBar, "Pronto"},
        {&box, QAccessible::CheckBox, "Todos os aplicativos locais foram fechados"},
    };
    for (const Case& c : cases) {
        QAccessibleInterface* control = QAccessible::queryAccessibleInterface(c.control);
        ASSERT_NE(control, nullptr) << c.control->objectName().toStdString();
        EXPECT_EQ(control->role(), c.role) << c.control->objectName().toStdString();
        EXPECT_EQ(control->text(QAccessible::Name), c.name) << c.control->objectName().toStdString();
    }

    QAccessibleInterface* progress = QAccessible::queryAccessibleInterface(&gauge);
    QAccessibleValueInterface* value = progress->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->currentValue().toInt(), 50);
    EXPECT_EQ(value->minimumValue().toInt(), 0);
    EXPECT_EQ(value->maximumValue().toInt(), 200);
    EXPECT_EQ(progress->text(QAccessible::Value), "25%");
}

TEST(Controls, CarryTheirFormNameGeometryAndSpokenName) {
    QWidget window;
    runtime::TBitBtn button(&window, "Button3", {804, 506, 90, 31}, "&Sair");
    runtime::TImage image(&window, "Image1", {872, 3, 32, 32}, "Ícone");
    EXPECT_EQ(button.objectName(), "Button3");
    EXPECT_EQ(button.geometry(), QRect(804, 506, 90, 31));
    EXPECT_EQ(button.accessibleName(), "Sair");
    EXPECT_EQ(button.text(), "&Sair");
    EXPECT_EQ(image.accessibleName(), QString::fromUtf8("Ícone"));
}

TEST(Controls, StatusBarPanelsAndTheirSpokenText) {
    QWidget window;
    runtime::TStatusBar bar(&window, "StatusBar1", {1, 550, 907, 27});
    bar.AddPanel(50, "KestoUpdate");
    bar.SetPanelText(0, "Conectando..");
    EXPECT_EQ(bar.PanelText(0), "Conectando..");
    EXPECT_EQ(bar.accessibleName(), "Conectando..");
    EXPECT_THROW(bar.SetPanelText(1, "x"), std::out_of_range);
}

TEST(Controls, ListsKeepTheirItemsCheckMarksAndStateImages) {
    QWidget window;
    runtime::TCheckListBox list(&window, "CheckListBox1", {8, 124, 417, 97}, "Base Servidor");
    list.SetItemHeight(13);
    int first = list.AddItem("LOJA");
    list.AddItem("FILIAL");
    list.SetChecked(first, true);
    EXPECT_TRUE(list.Checked(0));
    EXPECT_FALSE(list.Checked(1));
    EXPECT_EQ(list.ItemText(1), "FILIAL");
    EXPECT_EQ(list.item(0)->sizeHint().height(), 13);

    runtime::TImageList images(16, 16);
    QPixmap red(16, 16);
    red.fill(Qt::red);
    images.Add(red, "Desatualizado");
    runtime::TTreeView tree(&window, "TreeView3", {11, 36, 886, 35}, "Arquivos");
    tree.SetStateImages(&images);
    tree.AddNode("a.txt", 0);
    tree.AddNode("b.txt", 4);
    EXPECT_EQ(tree.StateIndex(0), 0);
    EXPECT_FALSE(tree.topLevelItem(0)->icon(0).isNull());
    EXPECT_TRUE(tree.topLevelItem(1)->icon(0).isNull()) << "index past the list shows no image";
    // A screen reader hears what the state image stands for.
    EXPECT_EQ(tree.topLevelItem(0)->data(0, Qt::AccessibleDescriptionRole).toString(), "Desatualizado");
    EXPECT_EQ(tree.topLevelItem(1)->data(0, Qt::AccessibleDescriptionRole).toString(), "");
    tree.Clear();
    EXPECT_EQ(tree.Count(), 0);
}

TEST(Controls, ProgressBarStepWrapsPastItsMaximum) {
    QWidget window;
    runtime::TProgressBar bar(&window, "pb1", {28, 68, 122, 17}, "Progresso");
    bar.SetMin(1);
    bar.SetMax(3);
    bar.SetPosition(1);
    bar.SetStep(1);
    bar.StepIt();
    bar.StepIt();
    EXPECT_EQ(bar.Position(), 3);
    bar.StepIt();
    EXPECT_EQ(bar.Position(), 1);
}

TEST(Controls, ProgressBarRepaintPaintsOnlyAMovedPosition) {
    QWidget window;
    window.resize(200, 100);
    runtime::TProgressBar bar(&window, "pb1", {28, 68, 122, 17}, "Progresso");
    window.show();
    QCoreApplication::processEvents();
    PaintCounter counter(bar);
    bar.Repaint();
    EXPECT_EQ(counter.paints, 0) << "painted already at this position";
    bar.SetPosition(40);
    bar.Repaint();
    EXPECT_EQ(counter.paints, 1) << "painted at once, without the event loop";
    bar.Repaint();
    EXPECT_EQ(counter.paints, 1);
}

// A hidden memo hands its lines to the document only once it is shown; what
// it holds reads back the same either way.
TEST(Controls, HiddenMemoKeepsItsLinesUntilShown) {
    QWidget window;
    runtime::TMemo memo(&window, "Memo3", {0, 0, 200, 60}, "Listagem");
    memo.setVisible(false);
    window.show();
    const std::vector<std::string> lines{"first", "", "third"};
    memo.SetLines(lines);
    memo.AddLine("fourth");
    EXPECT_TRUE(memo.document()->isEmpty()) << "nothing laid out while hidden";
    EXPECT_EQ(memo.Lines(), (std::vector<std::string>{"first", "", "third", "fourth"}));

    memo.setVisible(true);
    EXPECT_EQ(memo.toPlainText().toStdString(), "first\n\nthird\nfourth");
    memo.AddLine("fifth");
    EXPECT_EQ(memo.Lines(), (std::vector<std::string>{"first", "", "third", "fourth", "fifth"}));

    memo.setVisible(false);
    memo.SetLines({""});
    EXPECT_TRUE(memo.Lines().empty()) << "an empty text holds no lines";
    memo.SetLines({"x"});
    memo.Clear();
    EXPECT_TRUE(memo.Lines().empty());
    memo.setVisible(true);
    EXPECT_TRUE(memo.document()->isEmpty());
}

TEST(Controls, ButtonGlyphSitsOnTheSideItsLayoutSays) {
    struct Caso {
        runtime::TButtonLayout layout;
        bool glyphLeftOfCentre;
    };
    for (const Caso caso : {Caso{runtime::blGlyphLeft, true}, Caso{runtime::blGlyphRight, false}}) {
        QWidget window;
        runtime::TBitBtn button(&window, "BitBtn1", {0, 0, 139, 38}, "&Continuar  ");
        QPixmap glyph(19, 20);
        glyph.fill(Qt::magenta);
        button.SetGlyph(glyph);
        button.SetLayout(caso.layout);
        const QRect drawn = testsupport::BoundsOf(button.grab().toImage(), Qt::magenta);
        EXPECT_EQ(drawn.size(), QSize(19, 20));
        EXPECT_EQ(drawn.center().x() < button.width() / 2, caso.glyphLeftOfCentre);
        EXPECT_EQ(button.accessibleName(), "Continuar") << "trailing blanks are not spoken";
    }
}

TEST(Controls, EnterPressesOnlyTheFocusedButton) {
    QWidget window;
    runtime::TBitBtn first(&window, "Button1", {0, 0, 80, 30}, "&Um");
    runtime::TBitBtn second(&window, "Button2", {90, 0, 80, 30}, "&Dois");
    runtime::TCheckBox box(&window, "CheckBox1", {0, 40, 15, 17}, " ", "Caixa");
    int clicks = 0;
    first.OnClick = [&] { ++clicks; };
    second.OnClick = [&] { ++clicks; };
    testsupport::PressKey(box, Qt::Key_Return);
    EXPECT_EQ(clicks, 0) << "no default button";
    testsupport::PressKey(second, Qt::Key_Return);
    testsupport::PressKey(second, Qt::Key_Space);
    EXPECT_EQ(clicks, 2);
}

TEST(Controls, CheckBoxClickFollowsEveryChangeOfItsMark) {
    QWidget window;
    runtime::TCheckBox box(&window, "CheckBox1", {39, 560, 15, 17}, " ", "Todos Aplicativos locais foram fechados");
    int clicks = 0;
    box.OnClick = [&] { ++clicks; };
    box.click();
    EXPECT_TRUE(box.Checked());
    box.SetChecked(false);
    box.SetChecked(false);
    EXPECT_EQ(clicks, 2) << "a change by the program counts, no change does not";
    EXPECT_EQ(box.accessibleName(), "Todos Aplicativos locais foram fechados");
    EXPECT_EQ(box.geometry(), QRect(39, 560, 15, 17));
}

} // namespace
