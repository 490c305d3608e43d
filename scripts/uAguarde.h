#pragma once

#include <functional>
#include <string>
#include <vector>

#include "db/DBTables.h"
#include "db/IBDatabase.h"
#include "db/IBQuery.h"
#include "runtime/Controls.h"
#include "runtime/Forms.h"
#include "runtime/Label.h"
#include "runtime/ListControls.h"
#include "runtime/Timer.h"
#include "scripts/IBScript.h"
#include "scripts/ScriptUpdate.h"

namespace scripts {

// The wait window "Aguarde..." / "Verificando Scripts": a borderless black
// box with a progress bar, shown modally while the database scripts are
// applied. It owns the connection to the internet database that start-up
// opens and the queries a run reads through it, and the local database that
// start-up opens and closes as a test. Shown modally, it runs the script
// update on each ticked alias's local database, shows its progress and its
// failed scripts, and closes itself.
class Taguarde : public runtime::TForm, private ScriptUpdateObserver {
public:
    // aliases: the main window's alias list; the update applies the scripts
    // to the aliases ticked there.
    Taguarde(QWidget* owner, runtime::TCheckListBox& aliases);
    ~Taguarde() override;

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
    // The one script runner: its terminator and SET settings carry from one
    // script to the next and from run to run.
    TIBScript IBScript1;
    runtime::TTimer Timer1;

    // Shows the script error window naming the saved file and returns once
    // the operator has closed it.
    std::function<void(const std::string& arquivo)> MostrarErro;
    // The pause after the error window, in milliseconds.
    std::function<void(int)> Esperar;

    // What the last update came to. A failed script also sets Tag to 1,
    // which no later update resets.
    ScriptUpdateResult Resultado = ScriptUpdateResult::Applied;

    // The whole update; ends by closing the window.
    void Timer1Timer();

protected:
    void FormShow() override;

private:
    void FormCreate();
    // "M-" + the text of each ticked alias.
    std::vector<std::string> ListaDeTrabalho() const;

    void ScriptStarting(const std::vector<std::string>& lines) override;
    void Progress(int position) override;
    void ScriptFailed(const std::string& errorFile) override;
    void OutsideFailure(std::exception_ptr error) override;

    runtime::TCheckListBox& aliases_;
    ScriptUpdate atualizacao_;
};

} // namespace scripts
