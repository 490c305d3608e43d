#include "runtime/Accessibility.h"

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

#include "runtime/Gauge.h"
#include "runtime/Label.h"
#include "runtime/StatusBar.h"

namespace runtime {

namespace {

// The gauge as a progress bar: its value runs from MinValue to MaxValue, and
// its value text is the percentage it shows.
class AccessibleGauge : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit AccessibleGauge(TGauge* gauge) : QAccessibleWidget(gauge, QAccessible::ProgressBar) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text type) const override {
        if (type == QAccessible::Value)
            return Gauge().PercentText();
        return QAccessibleWidget::text(type);
    }
    QVariant currentValue() const override { return Gauge().Progress(); }
    // A screen reader only reads the gauge.
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return Gauge().MaxValue(); }
    QVariant minimumValue() const override { return Gauge().MinValue(); }
    QVariant minimumStepSize() const override { return 1; }

private:
    const TGauge& Gauge() const { return static_cast<const TGauge&>(*widget()); }
};

// The framework's controls carry no class information of their own for Qt,
// so they are recognised by their type.
QAccessibleInterface* AccessibleControl(const QString&, QObject* object) {
    if (auto* gauge = dynamic_cast<TGauge*>(object))
        return new AccessibleGauge(gauge);
    if (auto* label = dynamic_cast<TCustomLabel*>(object))
        return new QAccessibleWidget(label, QAccessible::StaticText);
    if (auto* bar = dynamic_cast<TStatusBar*>(object))
        return new QAccessibleWidget(bar, QAccessible::StatusBar);
    return nullptr;
}

} // namespace

void InstallAccessibleControls() {
    static const bool installed = [] {
        QAccessible::installFactory(&AccessibleControl);
        return true;
    }();
    (void)installed;
}

} // namespace runtime
