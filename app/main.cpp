// Atualiza_Quillmark: started in the store application's folder, without
// arguments.
#include <QApplication>

#include "app/ProgramEntry.h"

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    // The program ends when its main window closes, not when a box closes
    // while no other window is visible.
    qt.setQuitOnLastWindowClosed(false);
    app::ExecutarPrograma({});
    return 0;
}
