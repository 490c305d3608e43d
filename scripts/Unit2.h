#pragma once

#include <string>

#include "components/Label3D.h"
#include "components/NetGradient.h"
#include "runtime/Controls.h"
#include "runtime/Forms.h"
#include "runtime/Label.h"

namespace scripts {

// The script error window "Erro": in large raised yellow letters over a dark
// red gradient it says that a database script failed and that the maker must
// be told, and below it names the file in which the failed script was saved.
// "&Cont.." has the focus, so Enter or space closes the window, as does its
// close box. The caller creates it, names the file, shows it modally once and
// frees it; MostrarErroScript does all of that.
class TForm2 : public runtime::TForm {
public:
    explicit TForm2(QWidget* owner);

    components::TNetGradient NetGradient1;
    components::TmyLabel3D myLabel3d1;
    runtime::TLabel Label1;
    runtime::TBitBtn Button3;

    // Label1 reads "SCRIPT EM EXECUÇÃO SALVO: " and the file name, centred on
    // its one line; a long name is cut at both edges, the window keeps its size.
    void NomearArquivo(const std::string& arquivo);

    void Button3Click();
};

// Shows the script error window for the saved failed script arquivo (a bare
// file name), owned by owner, and returns once the user has closed it; the
// window is freed then.
void MostrarErroScript(QWidget* owner, const std::string& arquivo);

} // namespace scripts
