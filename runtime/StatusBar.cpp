#include "runtime/StatusBar.h"

#include <QPainter>

#include "runtime/Accessibility.h"
#include "runtime/Canvas.h"
#include "runtime/QtText.h"

namespace runtime {

TStatusBar::TStatusBar(QWidget* parent, const std::string& name, const TBounds& bounds) : QWidget(parent) {
    InstallAccessibleControls();
    PlaceControl(*this, name, bounds);
}

void TStatusBar::AddPanel(int width, const std::string& text) {
    panels_.push_back({width, text});
    UpdateSpokenName();
    update();
}

const std::string& TStatusBar::PanelText(int index) const {
    return panels_.at(static_cast<std::size_t>(index)).text;
}

void TStatusBar::SetPanelText(int index, const std::string& text) {
    panels_.at(static_cast<std::size_t>(index)).text = text;
    UpdateSpokenName();
    update();
}

void TStatusBar::UpdateSpokenName() {
    std::string spoken;
    for (const Panel& panel : panels_)
        spoken += (spoken.empty() ? "" : "; ") + panel.text;
    SetSpokenName(*this, spoken);
}

void TStatusBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(base::clBtnFace));
    int left = 0;
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        bool last = i + 1 == panels_.size();
        int right = last ? width() - 1 : left + panels_[i].width - 1;
        QRect box(QPoint(left, 2), QPoint(right, height() - 1));
        painter.setPen(ToQColor(base::clBtnShadow));
        painter.drawLine(box.topLeft(), box.topRight());
        painter.drawLine(box.topLeft(), box.bottomLeft());
        painter.setPen(ToQColor(base::clBtnHighlight));
        painter.drawLine(box.bottomLeft(), box.bottomRight());
        painter.drawLine(box.topRight(), box.bottomRight());
        painter.setPen(ToQColor(base::clWindowText));
        painter.drawText(box.adjusted(3, 1, -2, -1), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         ToQString(panels_[i].text));
        left = right + 3;
    }
}

} // namespace runtime
