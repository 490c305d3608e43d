#pragma once

#include <functional>
#include <optional>
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

namespace scripts {

// The wait window "Aguarde..." / "Verificando Scripts": a borderless black
// box with a progress bar, shown modally while the database scripts are
// applied. It owns the connection to the internet database that start-up
// opens and the queries a run reads through it, and the local database that
// start-up opens and closes as a test. Shown modally, it applies to each
// ticked alias's local database every released script newer than the version
// recorded there, and closes itself.
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
    // The one script runner: its terminator and SET settings carry from one
    // script to the next and from run to run.
    TIBScript IBScript1;
    runtime::TTimer Timer1;

    // Shows the script error window naming the saved file and returns once
    // the operator has closed it.
    std::function<void(const std::string& arquivo)> MostrarErro;
    // The pause after the error window, in milliseconds.
    std::function<void(int)> Esperar;

    // Set by a run whose work failed outside the scripts (the local database,
    // its version table, the internet database, the error file): the error
    // was reported, the run's scripts stopped there. Tag stays as it was.
    bool ErroForaDosScripts = false;

    // The whole update; ends by closing the window.
    void Timer1Timer();
    // Blanks the runner's COMMIT WORK lines and runs its script. A parse
    // error stops the script quietly unless the bad statement or the text
    // after it held statements: then it raises base::Exception with the
    // parser's message, ", line " and the line where the statement starts.
    void AplicarScript();

protected:
    void FormShow() override;

private:
    void FormCreate();
    // "M-" + the text of each ticked alias.
    std::vector<std::string> ListaDeTrabalho() const;
    void AtualizarBanco(const std::string& entrada);
    void CriarTabelaVersao();
    // The version recorded in the local database, as it is stored there.
    std::string VersaoGravada();
    // Applies the script of Query2's current row; false when it failed.
    bool AplicarScriptAtual(const std::string& entrada);
    // Puts the failure's header on top of the runner's script and sets Tag.
    void MarcarFalha(const std::string& mensagem);
    // Commits the script's work together with its version. When that commit
    // fails, the version is recorded on its own and the commit's error comes
    // back; errors of that separate recording pass through.
    std::optional<std::string> ConcluirScript(const std::string& versao);
    // Writes the version through the given query; its transaction commits it.
    void GravarVersao(db::TIBQuery& consulta, const std::string& versao);
    // Saves the failed script under the error file's name and shows it.
    void RelatarFalha(const std::string& entrada);
    // After a failure outside the scripts: what is open is rolled back and
    // the local database closed; errors on the way are of no more use.
    void Desfazer();

    runtime::TCheckListBox& aliases_;
    // The version table's statement in the runner's transaction.
    db::TIBQuery versaoNoScript_;
    // The parse error that stopped the current script, with its line.
    std::string erroLeitura_;
};

} // namespace scripts
