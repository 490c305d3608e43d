#pragma once

#include <string>

#include "db/DBTables.h"
#include "db/IBDatabase.h"
#include "db/IBQuery.h"
#include "runtime/Controls.h"
#include "runtime/Forms.h"
#include "runtime/Label.h"
#include "runtime/ListControls.h"
#include "runtime/Timer.h"

namespace scripts {

// The wait window "Aguarde..." / "Verificando Scripts": a borderless black
// box with a progress bar, shown modally while the database scripts are
// applied. It owns the connection to the internet database that start-up
// opens and the queries a run reads through it, and the local database that
// start-up opens and closes as a test.
class Taguarde : public runtime::TForm {
public:
    // aliases: the main window's alias list; the update applies the scripts
    // to the aliases ticked there.
    Taguarde(QWidget* owner, runtime::TCheckListBox& aliases);
    ~Taguarde() override;

    // Program name of the script queries during a run; empty outside a run.
    std::string NomePrograma;

    runtime::TShape Shape1;
    runtime::TBevel Bevel1;
    runtime::TLabel AGUARDE;
    runtime::TLabel Label1;
    runtime::TProgressBar pb1;
    runtime::TMemo DBMemo1;

    db::TDatabase Database1;
    db::TQuery Query3;
    db::TQuery Query2;
    db::TTable Table2;
    // The local database being updated (path set at run time), the
    // transaction of the script runner, and the version table's query with
    // its own transaction.
    db::TIBTransaction IBTransaction1;
    db::TIBTransaction IBTransaction2;
    db::TIBDatabase IBDatabase1;
    db::TIBQuery IBQuery1;
    runtime::TTimer Timer1;

private:
    void FormCreate();

    runtime::TCheckListBox& aliases_;
};

} // namespace scripts
