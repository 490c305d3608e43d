#include "app/ProgramEntry.h"

#include "app/untfrmkestoupdate.h"
#include "gate/Unit1.h"
#include "runtime/Application.h"

namespace app {

std::unique_ptr<runtime::TForm> CriarForm1() {
    return std::make_unique<gate::TForm1>();
}

void ExecutarPrograma(const CriarPortao& criarPortao) {
    runtime::TApplication application;
    application.SetTitle("KestoUpdate");
    Tfrmkestoupdate frmkestoupdate;
    std::unique_ptr<runtime::TForm> form1 = criarPortao();
    form1->ShowModal();
    if (form1->Tag != 1)
        application.Terminate();
    frmkestoupdate.Form1 = std::move(form1);
    application.Run(frmkestoupdate);
}

} // namespace app
