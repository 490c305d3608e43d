#pragma once

#include <functional>

#include <QPoint>
#include <QString>
#include <Qt>

class QWidget;

namespace testsupport {

// Mouse input delivered straight to a widget, as the window system would.
void ClickAt(QWidget& widget, QPoint point);
void EnterWidget(QWidget& widget);
void LeaveWidget(QWidget& widget);
// Runs action once a visible top-level window of this object name exists,
// looking every 10 milliseconds from the event loop that runs then.
void WhenShown(const QString& objectName, const std::function<void(QWidget&)>& action);
// A key pressed and released on a widget.
void PressKey(QWidget& widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Minimises a window as the user does, lets the events of that run, and
// restores it; true when the window was minimised in between.
bool MinimiseAndRestore(QWidget& window);

} // namespace testsupport
