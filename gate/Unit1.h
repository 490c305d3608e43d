#pragma once

#include <memory>
#include <string>
#include <vector>

#include "components/Label3D.h"
#include "components/NetGradient.h"
#include "runtime/Controls.h"
#include "runtime/Forms.h"
#include "runtime/Label.h"
#include "runtime/Timer.h"
#include "scripts/Unit2.h"

namespace gate {

// The confirmation window "Atualização", the first window the operator sees.
// It is a gate: only ticking both statements ("all local applications were
// closed", "the systems on all terminals were closed") and pressing
// "&Continuar  " sets Tag to 1; every other way out leaves Tag at 0 and the
// program ends. While a saved failed script ("SCRIPT_ERRO*.*") lies in the
// current folder it offers nothing: it shows for a moment, then hides and
// shows the script error window naming the first such entry, and closes with
// Tag 0 once that is closed; its boxes cannot be ticked meanwhile.
class TForm1 : public runtime::TForm {
public:
    TForm1();
    ~TForm1() override;

    // Back to front: the graphic controls below the windowed ones.
    components::TNetGradient NetGradient1;
    components::TmyLabel3D myLabel3d1;
    runtime::TLabel Label1;
    runtime::TLabel Label2;
    runtime::TLabel Label3;
    runtime::TCheckBox CheckBox1;
    runtime::TBitBtn BitBtn1;
    runtime::TBitBtn Button3;
    runtime::TCheckBox CheckBox2;
    runtime::TTimer Timer1;

    // The script error window while a saved failed script is pending: made
    // by FormShow, shown and freed by Timer1Timer.
    std::unique_ptr<scripts::TForm2> Form2;

    // Adds the bare names of the current folder's entries of every kind that
    // match pattern, except names beginning with ".", and sorts list ignoring
    // letter case in the order of the system's language. A search that finds
    // nothing or fails leaves list as it was.
    static void ListFiles(const std::string& pattern, std::vector<std::string>& list);

    // Either box: "&Continuar  " is enabled exactly while both are ticked.
    void CheckBox1Click();
    void BitBtn1Click();
    void Button3Click();
    void Timer1Timer();

protected:
    void FormShow() override;

private:
    void ConfigurarRotulos();
    void ConfigurarControles();
};

} // namespace gate
