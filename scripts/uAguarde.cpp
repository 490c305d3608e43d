#include "scripts/uAguarde.h"

#include "app/Configuracao.h"
#include "app/UMySQL.h"
#include "scripts/UpdaterScripts.h"

namespace scripts {

using namespace base;
using namespace runtime;

Taguarde::Taguarde(QWidget* owner, TCheckListBox& aliases)
    : TForm(owner, "aguarde"), Shape1(this, "Shape1", {0, -1, 183, 91}, "Fundo"),
      Bevel1(this, "Bevel1", {0, 1, 183, 37}, "Moldura"), AGUARDE(this, "AGUARDE"), Label1(this, "Label1"),
      pb1(this, "pb1", {28, 68, 122, 17}, "Progresso dos scripts"),
      DBMemo1(this, "DBMemo1", {176, 104, 185, 89}, "Texto do script"), Database1(), Query3(Database1),
      Query2(Database1), Table2(Database1), Timer1(this, 100), aliases_(aliases) {
    SetBorderStyle(TBorderStyle::bsNone);
    SetCaption("Aviso");
    SetClientSize(183, 90);
    SetPosition(TPosition::poDesigned, 150, 105);
    SetFont(MakeFont("MS Sans Serif", -11));

    Shape1.SetBrushColor(clBlack);
    PlaceLabel(AGUARDE, 18, 10, "Aguarde...", MakeFont("Verdana", -15, fsBold, 15925247), true);
    PlaceLabel(Label1, 32, 48, "Verificando Scripts", MakeFont("MS Sans Serif", -11, 0, clSilver), true);
    pb1.SetMin(1);
    pb1.SetPosition(1);
    pb1.SetStep(1);
    DBMemo1.setVisible(false);

    Database1.AliasName = "Check";
    Database1.DatabaseName = "Sistema_my";
    Database1.LoginPrompt = false;
    Table2.TableName = "scripts";
    Table2.IndexFieldNames = "programa;versao";
    Table2.MasterFields = "programa;versao";
    Table2.MasterSource = &Query2;

    IBDatabase1.Params = AccountParams(kLocalUser, kLocalPassword);
    IBDatabase1.LoginPrompt = false;
    IBDatabase1.SetSQLDialect(kLocalDialect);
    IBDatabase1.SetDefaultTransaction(&IBTransaction1);
    IBTransaction2.SetDefaultDatabase(&IBDatabase1);
    IBQuery1.SetDatabase(&IBDatabase1);
    IBQuery1.SetTransaction(&IBTransaction2);

    FormCreate();
}

Taguarde::~Taguarde() = default;

void Taguarde::FormCreate() {
    NomePrograma.clear();
    Database1.Params.clear();
    Database1.Params.push_back("USER NAME=" + app::DecodificaTexto(app::MySQLUsuario()));
    Database1.Params.push_back("PASSWORD=" + app::DecodificaTexto(app::MySQLSenha()));
}

} // namespace scripts
