#include "scripts/uAguarde.h"

#include "config/Configuracao.h"
#include "config/UMySQL.h"
#include "runtime/Application.h"
#include "scripts/Unit2.h"

namespace scripts {

using namespace base;
using namespace runtime;

Taguarde::Taguarde(QWidget* owner, TCheckListBox& aliases)
    : TForm(owner, "aguarde"), Shape1(this, "Shape1", {0, -1, 183, 91}, "Fundo"),
      Bevel1(this, "Bevel1", {0, 1, 183, 37}, "Moldura"), AGUARDE(this, "AGUARDE"), Label1(this, "Label1"),
      pb1(this, "pb1", {28, 68, 122, 17}, "Progresso dos scripts"),
      DBMemo1(this, "DBMemo1", {176, 104, 185, 89}, "Texto do script"), Database1(), Query3(Database1),
      Query2(Database1), Table2(Database1), Timer1(this, 100), aliases_(aliases),
      atualizacao_(
          {Database1, Query3, Query2, Table2, IBDatabase1, IBTransaction1, IBTransaction2, IBQuery1, IBScript1}) {
    SetBorderStyle(TBorderStyle::bsNone);
    SetCaption("Aviso");
    SetClientSize(183, 90);
    SetPosition(TPosition::poDesigned, 150, 105);
    SetFont(MakeFont("MS Sans Serif", -11));

    Shape1.SetBrushColor(clBlack);
    PlaceLabel(AGUARDE, 18, 10, "Aguarde...", MakeFont("Verdana", -15, fsBold, 15925247), true);
    PlaceLabel(Label1, 32, 48, "Verificando Scripts", MakeFont("MS Sans Serif", -11, 0, clSilver), true);
    pb1.SetMin(1);
    pb1.SetMax(100);
    pb1.SetPosition(1);
    pb1.SetStep(1);
    DBMemo1.setVisible(false);

    Database1.AliasName = "Check";
    Database1.DatabaseName = "Sistema_my";
    Database1.LoginPrompt = false;
    Timer1.OnTimer = [this] { Timer1Timer(); };
    MostrarErro = [this](const std::string& arquivo) { MostrarErroScript(this, arquivo); };
    Esperar = [](int milissegundos) { Application().Wait(milissegundos); };

    FormCreate();
}

Taguarde::~Taguarde() = default;

void Taguarde::FormCreate() {
    Database1.Params.clear();
    Database1.Params.push_back("USER NAME=" + config::DecodificaTexto(config::MySQLUsuario()));
    Database1.Params.push_back("PASSWORD=" + config::DecodificaTexto(config::MySQLSenha()));
}

void Taguarde::FormShow() {
    Timer1.SetEnabled(true);
}

void Taguarde::Timer1Timer() {
    Timer1.SetEnabled(false);
    Resultado = atualizacao_.Run(ListaDeTrabalho(), *this);
    Close();
}

std::vector<std::string> Taguarde::ListaDeTrabalho() const {
    std::vector<std::string> lista;
    for (int item = 0; item < aliases_.Count(); ++item)
        if (aliases_.Checked(item))
            lista.push_back("M-" + aliases_.ItemText(item));
    return lista;
}

void Taguarde::ScriptStarting(const std::vector<std::string>& lines) {
    DBMemo1.SetLines(lines);
}

void Taguarde::Progress(int position) {
    pb1.SetPosition(position);
    pb1.Repaint();
}

void Taguarde::ScriptFailed(const std::string& errorFile) {
    Tag = 1;
    MostrarErro(errorFile);
    Esperar(1000);
}

void Taguarde::OutsideFailure(std::exception_ptr error) {
    Application().HandleException(error);
}

} // namespace scripts
