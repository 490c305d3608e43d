#include "runtime/Controls.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "base/StrUtils.h"
#include "runtime/Application.h"
#include "runtime/Canvas.h"
#include "runtime/GraphicControl.h"
#include "runtime/QtText.h"

namespace runtime {

namespace {

void DrawFrame3D(QPainter& painter, const QRect& rect, base::TColor topLeft, base::TColor bottomRight) {
    painter.setPen(ToQColor(topLeft));
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(ToQColor(bottomRight));
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());
}

// Runs a control's OnClick, if set, through the application's guard.
void DispatchClick(const std::function<void()>& onClick) {
    Application().Dispatch([&onClick] {
        if (onClick)
            onClick();
    });
}

} // namespace

void PlaceControl(QWidget& control, const std::string& name, const TBounds& bounds) {
    control.setObjectName(ToQString(name));
    control.setGeometry(bounds.left, bounds.top, bounds.width, bounds.height);
}

void SetSpokenName(QWidget& control, const std::string& text) {
    control.setAccessibleName(ToQString(text));
}

TFont MakeFont(const std::string& name, int height, TFontStyles style, base::TColor color) {
    TFont font;
    font.SetName(name);
    font.SetHeight(height);
    font.SetStyle(style);
    font.SetColor(color);
    return font;
}

void PlaceLabel(TLabel& label, int left, int top, const std::string& caption, const TFont& font, bool transparent) {
    label.BeginLoad();
    label.SetBounds(left, top, label.Width(), label.Height());
    label.SetFont(font);
    label.SetTransparent(transparent);
    label.SetCaption(caption);
    label.EndLoad();
}

TPanel::TPanel(QWidget* parent, const std::string& name, const TBounds& bounds, const std::string& spokenName)
    : QWidget(parent) {
    PlaceControl(*this, name, bounds);
    SetSpokenName(*this, spokenName);
}

void TPanel::SetColor(base::TColor color) {
    color_ = color;
    update();
}

void TPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(color_));
    DrawFrame3D(painter, rect().adjusted(0, 0, -1, -1), base::clBtnHighlight, base::clBtnShadow);
}

TImage::TImage(QWidget* parent, const std::string& name, const TBounds& bounds, const std::string& spokenName)
    : QWidget(parent) {
    PlaceControl(*this, name, bounds);
    SetSpokenName(*this, spokenName);
}

void TImage::SetPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void TImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}

TBitBtn::TBitBtn(QWidget* parent, const std::string& name, const TBounds& bounds, const std::string& caption)
    : QPushButton(ToQString(caption), parent) {
    PlaceControl(*this, name, bounds);
    SetSpokenName(*this, base::Trim(StripHotkey(caption)));
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] { DispatchClick(OnClick); });
}

void TBitBtn::SetGlyph(const QPixmap& glyph) {
    glyph_ = glyph;
    update();
}

void TBitBtn::SetLayout(TButtonLayout layout) {
    layout_ = layout;
    update();
}

void TBitBtn::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButton, option);

    const int spacing = glyph_.isNull() ? 0 : 4;
    const int captionWidth = fontMetrics().size(Qt::TextShowMnemonic | Qt::TextIncludeTrailingSpaces, text()).width();
    const int glyphWidth = glyph_.width();
    QPoint origin((width() - captionWidth - spacing - glyphWidth) / 2, 0);
    if (option.state & (QStyle::State_Sunken | QStyle::State_On)) {
        origin += QPoint(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                         style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    }
    const int captionLeft = layout_ == blGlyphLeft ? origin.x() + glyphWidth + spacing : origin.x();
    const int glyphLeft = layout_ == blGlyphLeft ? origin.x() : origin.x() + captionWidth + spacing;
    if (!glyph_.isNull()) {
        const QPixmap shown = QIcon(glyph_).pixmap(glyph_.size(), isEnabled() ? QIcon::Normal : QIcon::Disabled);
        painter.drawPixmap(glyphLeft, origin.y() + (height() - glyph_.height()) / 2, shown);
    }
    const QRect captionRect(captionLeft, origin.y(), captionWidth, height());
    painter.drawItemText(captionRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, palette(), isEnabled(),
                         text(), QPalette::ButtonText);
}

void TBitBtn::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

TCheckBox::TCheckBox(QWidget* parent, const std::string& name, const TBounds& bounds, const std::string& caption,
                     const std::string& spokenName)
    : QCheckBox(ToQString(caption), parent) {
    PlaceControl(*this, name, bounds);
    SetSpokenName(*this, spokenName);
    connect(this, &QCheckBox::toggled, this, [this] { DispatchClick(OnClick); });
}

void TCheckBox::SetColor(base::TColor color) {
    QPalette colours = palette();
    colours.setColor(QPalette::Window, ToQColor(color));
    setPalette(colours);
    setAutoFillBackground(true);
}

void TCheckBox::SetFont(const TFont& font) {
    setFont(font.ToQFont());
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, ToQColor(font.Color()));
    setPalette(colours);
}

TShape::TShape(QWidget* parent, const std::string& name, const TBounds& bounds, const std::string& spokenName)
    : QWidget(parent) {
    PlaceControl(*this, name, bounds);
    SetSpokenName(*this, spokenName);
}

void TShape::SetBrushColor(base::TColor color) {
    brush_ = color;
    update();
}

void TShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setBrush(ToQColor(brush_));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

TBevel::TBevel(QWidget* parent, const std::string& name, const TBounds& bounds, const std::string& spokenName)
    : QWidget(parent) {
    PlaceControl(*this, name, bounds);
    SetSpokenName(*this, spokenName);
}

void TBevel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawFrame3D(painter, rect().adjusted(0, 0, -1, -1), base::clBtnShadow, base::clBtnHighlight);
}

TProgressBar::TProgressBar(QWidget* parent, const std::string& name, const TBounds& bounds,
                           const std::string& spokenName)
    : QProgressBar(parent) {
    PlaceControl(*this, name, bounds);
    SetSpokenName(*this, spokenName);
    setTextVisible(false);
}

void TProgressBar::Repaint() {
    if (value() != paintedPosition_)
        repaint();
}

void TProgressBar::paintEvent(QPaintEvent* event) {
    paintedPosition_ = value();
    QProgressBar::paintEvent(event);
}

void TProgressBar::StepIt() {
    int next = value() + step_;
    setValue(next > maximum() ? minimum() : next);
}

TMemo::TMemo(QWidget* parent, const std::string& name, const TBounds& bounds, const std::string& spokenName)
    : QPlainTextEdit(parent) {
    PlaceControl(*this, name, bounds);
    SetSpokenName(*this, spokenName);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void TMemo::Clear() {
    pendingLines_.reset();
    clear();
}

void TMemo::AddLine(const std::string& line) {
    if (pendingLines_) {
        pendingLines_->push_back(line);
        return;
    }
    ShowPendingLines();
    appendPlainText(ToQString(line));
}

void TMemo::SetLines(std::vector<std::string> lines) {
    pendingLines_ = std::move(lines);
    if (isVisible())
        ShowPendingLines();
}

void TMemo::showEvent(QShowEvent* event) {
    ShowPendingLines();
    QPlainTextEdit::showEvent(event);
}

void TMemo::ShowPendingLines() {
    if (!pendingLines_)
        return;
    // One edit for the whole text: the document is laid out once, not once
    // per line.
    QStringList text;
    text.reserve(static_cast<qsizetype>(pendingLines_->size()));
    for (const std::string& line : *pendingLines_)
        text.append(ToQString(line));
    pendingLines_.reset();
    setPlainText(text.join('\n'));
}

std::vector<std::string> TMemo::Lines() const {
    // An empty text reads back as no lines, as from the document.
    if (pendingLines_)
        return pendingLines_->size() == 1 && pendingLines_->front().empty() ? std::vector<std::string>{}
                                                                            : *pendingLines_;
    std::vector<std::string> lines;
    if (document()->isEmpty())
        return lines;
    for (const QString& line : toPlainText().split('\n'))
        lines.push_back(FromQString(line));
    return lines;
}

} // namespace runtime
