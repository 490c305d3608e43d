#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>

#include "base/Color.h"
#include "runtime/Font.h"
#include "runtime/Label.h"

// The windowed and graphic standard controls the program's windows place at
// pixel positions. Each control carries its form name as its object name and
// a name that a screen reader speaks: its visible text, or for a control
// without text the text it stands for.
namespace runtime {

struct TBounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Names and places a control inside its parent.
void PlaceControl(QWidget& control, const std::string& name, const TBounds& bounds);
// The text a screen reader speaks for a control.
void SetSpokenName(QWidget& control, const std::string& text);
// A font description in one expression, as window tables list them.
TFont MakeFont(const std::string& name, int height, TFontStyles style = 0, base::TColor color = base::clWindowText);
// Places an auto-sized label at left, top with its caption and font.
void PlaceLabel(TLabel& label, int left, int top, const std::string& caption, const TFont& font, bool transparent);

// A panel: its colour, framed by a raised one-pixel bevel.
class TPanel : public QWidget {
public:
    TPanel(QWidget* parent, const std::string& name, const TBounds& bounds, const std::string& spokenName);
    void SetColor(base::TColor color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    base::TColor color_ = base::clBtnFace;
};

// A picture drawn at its natural size from the control's top-left corner,
// cut off at the control's edges.
class TImage : public QWidget {
public:
    TImage(QWidget* parent, const std::string& name, const TBounds& bounds, const std::string& spokenName);
    void SetPicture(const QPixmap& picture);
    const QPixmap& Picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
};

enum TButtonLayout { blGlyphLeft, blGlyphRight };

// A push button with a glyph beside its caption, the two centred together
// four pixels apart (the caption's blanks count). "&" in the caption marks
// the Alt accelerator. Enter or space presses the focused button; no button
// is a default button that Enter presses from elsewhere. OnClick runs
// through the application's guard.
class TBitBtn : public QPushButton {
public:
    TBitBtn(QWidget* parent, const std::string& name, const TBounds& bounds, const std::string& caption);
    void SetGlyph(const QPixmap& glyph);
    const QPixmap& Glyph() const { return glyph_; }
    // The glyph sits left of the caption unless set to blGlyphRight.
    void SetLayout(TButtonLayout layout);
    TButtonLayout Layout() const { return layout_; }

    std::function<void()> OnClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPixmap glyph_;
    TButtonLayout layout_ = blGlyphLeft;
};

// A check box. Its caption may be a mere blank beside a separate statement
// label; the spoken name is then that statement. OnClick runs through the
// application's guard whenever Checked changes, by the user or by the program.
class TCheckBox : public QCheckBox {
public:
    TCheckBox(QWidget* parent, const std::string& name, const TBounds& bounds, const std::string& caption,
              const std::string& spokenName);
    bool Checked() const { return isChecked(); }
    void SetChecked(bool checked) { setChecked(checked); }
    // The colour of the control's area around the box.
    void SetColor(base::TColor color);
    void SetFont(const TFont& font);

    std::function<void()> OnClick;
};

// A filled rectangle outlined by a one-pixel black pen.
class TShape : public QWidget {
public:
    TShape(QWidget* parent, const std::string& name, const TBounds& bounds, const std::string& spokenName);
    void SetBrushColor(base::TColor color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    base::TColor brush_ = base::clWhite;
};

// A lowered box: shadow on the top and left edges, highlight on the others.
class TBevel : public QWidget {
public:
    TBevel(QWidget* parent, const std::string& name, const TBounds& bounds, const std::string& spokenName);

protected:
    void paintEvent(QPaintEvent* event) override;
};

class TProgressBar : public QProgressBar {
public:
    TProgressBar(QWidget* parent, const std::string& name, const TBounds& bounds, const std::string& spokenName);
    void SetMin(int value) { setMinimum(value); }
    void SetMax(int value) { setMaximum(value); }
    void SetPosition(int value) { setValue(value); }
    int Position() const { return value(); }
    void SetStep(int step) { step_ = step; }
    // Advances the position by Step, wrapping back to Min past Max.
    void StepIt();
    // Paints the bar at once when its position moved since it was last
    // painted: painting an unchanged bar again shows nothing new.
    void Repaint();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int step_ = 10;
    std::optional<int> paintedPosition_;
};

// A multi-line text box holding lines of text; no word wrap, vertical
// scroll bar. A hidden memo keeps the lines it is given as they are and hands
// them to the text document when it is first shown: text nobody sees is
// never laid out.
class TMemo : public QPlainTextEdit {
public:
    TMemo(QWidget* parent, const std::string& name, const TBounds& bounds, const std::string& spokenName);
    void Clear();
    void AddLine(const std::string& line);
    void SetLines(std::vector<std::string> lines);
    std::vector<std::string> Lines() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowPendingLines();

    std::optional<std::vector<std::string>> pendingLines_;
};

} // namespace runtime
