#pragma once

#include <string>

#include <QDialog>

#include "runtime/Font.h"

class QEventLoop;

// The form base every window of the program derives from. A form's controls
// are named members placed at pixel positions; its handlers are methods named
// after control and event. A derived form runs its FormCreate at the end of
// its constructor; FormShow and FormClose run, through the application's
// guard, when the form is shown and when it closes.
namespace runtime {

enum class TBorderStyle { bsDialog, bsNone };
enum class TPosition { poDesigned, poDesktopCenter };

class TForm : public QDialog {
public:
    // owner may be null (a window without an owner); an owned form is freed
    // with its owner.
    TForm(QWidget* owner, const std::string& name);

    // The form's integer result, set before it closes.
    int Tag = 0;

    // Shows the form and runs a modal loop until it closes; returns the modal
    // result (mrCancel when it was closed without one).
    int ShowModal();
    void Show();
    // Runs FormClose and hides the form, ending a modal loop.
    void Close();

    void SetCaption(const std::string& caption);
    void SetClientSize(int width, int height);
    // The form's font; controls without a font of their own use it.
    void SetFont(const TFont& font) { setFont(font.ToQFont()); }
    void SetBorderStyle(TBorderStyle style);
    // poDesigned keeps the design position left, top; poDesktopCenter centres
    // the form on the desktop each time it is shown.
    void SetPosition(TPosition position, int left = 0, int top = 0);

    int ModalResult = 0;

protected:
    virtual void FormShow() {}
    virtual void FormClose() {}

    void setVisible(bool visible) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void PlaceOnScreen();

    TPosition position_ = TPosition::poDesktopCenter;
    QPoint designPos_;
    QEventLoop* modalLoop_ = nullptr;
};

} // namespace runtime
