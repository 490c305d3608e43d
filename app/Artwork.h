#pragma once

#include <QPixmap>

#include "runtime/ListControls.h"

// The main window's pictures, drawn in code: the header icon, the background
// picture, the button glyphs and the five state balls of the file list.
namespace app {

// 32 x 32: a blue rounded square with a white downward arrow into a tray.
QPixmap IconeAplicativo();
// 1100 x 600, 24-bit: light-blue background with soft diagonal bands.
QPixmap FundoPrincipal();
// 20 x 20 glyphs of "Atualizar agora" (green circling arrows) and "Sair"
// (an open door with a red arrow).
QPixmap GlifoAtualizar();
QPixmap GlifoSair();
// Fills a 16 x 16 image list with the balls 0 green, 1 green (up to date),
// 2 blue, 3 orange (being fetched), 4 red (out of date or failed), each with
// its meaning in words for a screen reader.
void PreencherBolas(runtime::TImageList& lista);

} // namespace app
