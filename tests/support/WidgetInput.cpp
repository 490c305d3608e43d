#include "tests/support/WidgetInput.h"

#include <QApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

namespace testsupport {

void ClickAt(QWidget& widget, QPoint point) {
    const QPoint global = widget.mapToGlobal(point);
    QMouseEvent press(QEvent::MouseButtonPress, point, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, point, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &release);
}

void EnterWidget(QWidget& widget) {
    const QPointF inside(1, 1);
    QEnterEvent enter(inside, inside, widget.mapToGlobal(inside));
    QApplication::sendEvent(&widget, &enter);
}

void LeaveWidget(QWidget& widget) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&widget, &leave);
}

bool MinimiseAndRestore(QWidget& window) {
    window.showMinimized();
    QApplication::processEvents();
    const bool minimised = window.isMinimized();
    window.showNormal();
    QApplication::processEvents();
    return minimised;
}

void WhenShown(const QString& objectName, const std::function<void(QWidget&)>& action) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, objectName, action] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == objectName && window->isVisible()) {
                poll->stop();
                poll->deleteLater();
                action(*window);
                return;
            }
        }
    });
    poll->start(10);
}

void PressKey(QWidget& widget, int key, Qt::KeyboardModifiers modifiers) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(&widget, &release);
}

} // namespace testsupport
