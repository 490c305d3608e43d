// Atualiza_Quillmark: started in the store application's folder, without
// arguments.
#include <QApplication>

#include "app/ProgramEntry.h"

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    app::ExecutarPrograma();
    return 0;
}
