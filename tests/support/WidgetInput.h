#pragma once

#include <QPoint>

class QWidget;

namespace testsupport {

// Mouse input delivered straight to a widget, as the window system would.
void ClickAt(QWidget& widget, QPoint point);
void EnterWidget(QWidget& widget);
void LeaveWidget(QWidget& widget);

} // namespace testsupport
