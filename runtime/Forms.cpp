#include "runtime/Forms.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include "runtime/Application.h"
#include "runtime/MessageBoxes.h"
#include "runtime/QtText.h"

namespace runtime {

TForm::TForm(QWidget* owner, const std::string& name) : QDialog(owner) {
    setObjectName(ToQString(name));
    SetBorderStyle(TBorderStyle::bsDialog);
}

int TForm::ShowModal() {
    ModalResult = mrNone;
    setWindowModality(Qt::ApplicationModal);
    show();
    if (isVisible()) {
        QEventLoop loop;
        modalLoop_ = &loop;
        loop.exec(QEventLoop::DialogExec);
        modalLoop_ = nullptr;
    }
    setWindowModality(Qt::NonModal);
    if (ModalResult == mrNone)
        ModalResult = mrCancel;
    return ModalResult;
}

void TForm::Show() {
    show();
}

void TForm::Close() {
    close();
}

void TForm::SetCaption(const std::string& caption) {
    setWindowTitle(ToQString(caption));
    setAccessibleName(ToQString(caption));
}

void TForm::SetClientSize(int width, int height) {
    setFixedSize(width, height);
}

void TForm::SetBorderStyle(TBorderStyle style) {
    if (style == TBorderStyle::bsNone)
        setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    else
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
}

void TForm::SetPosition(TPosition position, int left, int top) {
    position_ = position;
    designPos_ = QPoint(left, top);
}

void TForm::PlaceOnScreen() {
    if (position_ == TPosition::poDesigned) {
        move(designPos_);
        return;
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

void TForm::setVisible(bool visible) {
    if (visible && !isVisible())
        PlaceOnScreen();
    QDialog::setVisible(visible);
}

void TForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        Application().Dispatch([this] { FormShow(); });
}

void TForm::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    // Minimising hides the window spontaneously; only closing (or hiding it
    // from the program) ends its modal loop.
    if (modalLoop_ != nullptr && !event->spontaneous())
        modalLoop_->quit();
}

void TForm::closeEvent(QCloseEvent* event) {
    Application().Dispatch([this] { FormClose(); });
    event->accept();
}

void TForm::keyPressEvent(QKeyEvent* event) {
    // Escape does not close a form; Enter still presses the focused button.
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace runtime
