#pragma once

#include <QPixmap>

// The button pictures of the confirmation and script error windows, drawn in
// code.
namespace components {

// 22 x 22: a cyan arrow entering an open door, on the buttons that leave the
// windows.
QPixmap GlifoPortaSaida();
// 19 x 20: a red arrow pointing right, on "Continuar".
QPixmap GlifoSetaVermelha();

} // namespace components
