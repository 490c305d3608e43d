#pragma once

#include <QPoint>

class QWidget;

namespace testsupport {

// Mouse input delivered straight to a widget, as the window system would.
void ClickAt(QWidget& widget, QPoint point);
void EnterWidget(QWidget& widget);
void LeaveWidget(QWidget& widget);

// Minimises a window as the user does, lets the events of that run, and
// restores it; true when the window was minimised in between.
bool MinimiseAndRestore(QWidget& window);

} // namespace testsupport
