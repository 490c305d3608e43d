#include "app/ProgramEntry.h"

#include "app/untfrmkestoupdate.h"
#include "runtime/Application.h"

namespace app {

void ExecutarPrograma(const CriarPortao& criarPortao) {
    runtime::TApplication application;
    application.SetTitle("KestoUpdate");
    Tfrmkestoupdate frmkestoupdate;
    if (criarPortao) {
        std::unique_ptr<runtime::TForm> form1 = criarPortao();
        form1->ShowModal();
        if (form1->Tag != 1)
            application.Terminate();
        frmkestoupdate.Form1 = std::move(form1);
    }
    application.Run(frmkestoupdate);
}

} // namespace app
