#include "runtime/Gauge.h"

#include <algorithm>

#include <QAccessible>
#include <QPainter>

#include "runtime/Accessibility.h"
#include "runtime/Canvas.h"

namespace runtime {

TGauge::TGauge(QWidget* parent, const std::string& name, const TBounds& bounds, const std::string& spokenName)
    : QWidget(parent) {
    InstallAccessibleControls();
    PlaceControl(*this, name, bounds);
    SetSpokenName(*this, spokenName);
    UpdateSpokenPercent();
}

int TGauge::PercentDone() const {
    long long span = static_cast<long long>(max_) - min_;
    if (span <= 0)
        return 0;
    return static_cast<int>((static_cast<long long>(progress_) - min_) * 100 / span);
}

void TGauge::SetProgress(int value) {
    value = std::clamp(value, min_, std::max(min_, max_));
    if (value == progress_)
        return;
    int before = PercentDone();
    progress_ = value;
    if (PercentDone() != before) {
        UpdateSpokenPercent();
        repaint();
    }
}

void TGauge::SetMaxValue(int value) {
    if (value == max_)
        return;
    max_ = value;
    progress_ = std::clamp(progress_, min_, std::max(min_, max_));
    UpdateSpokenPercent();
    repaint();
}

void TGauge::SetForeColor(base::TColor color) {
    fore_ = color;
    update();
}

void TGauge::SetBackColor(base::TColor color) {
    back_ = color;
    update();
}

QString TGauge::PercentText() const {
    return QString::asprintf("%d%%", PercentDone());
}

void TGauge::UpdateSpokenPercent() {
    setAccessibleDescription(PercentText());
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent changed(this, progress_);
        QAccessible::updateAccessibility(&changed);
    }
}

void TGauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QRect inner = rect().adjusted(1, 1, -1, -1);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.fillRect(inner, ToQColor(back_));
    QRect done = inner;
    done.setWidth(inner.width() * PercentDone() / 100);
    painter.fillRect(done, ToQColor(fore_));
    painter.setPen(Qt::black);
    painter.drawText(inner, Qt::AlignCenter, PercentText());
}

} // namespace runtime
