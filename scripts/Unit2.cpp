#include "scripts/Unit2.h"

#include "components/Glyphs.h"

namespace scripts {

using namespace base;
using namespace components;
using namespace runtime;

TForm2::TForm2(QWidget* owner)
    : TForm(owner, "Form2"), NetGradient1(this, "NetGradient1"), myLabel3d1(this, "myLabel3d1"), Label1(this, "Label1"),
      Button3(this, "Button3", {728, 236, 94, 26}, "&Cont..") {
    SetCaption("Erro");
    SetClientSize(826, 266);
    SetPosition(TPosition::poDesktopCenter);
    SetFont(MakeFont("MS Sans Serif", -11));

    NetGradient1.SetBounds(-88, -344, 914, 610);
    NetGradient1.SetBeginColor(clMaroon);
    NetGradient1.SetEndColor(clBtnFace);
    NetGradient1.SetCaption(" ");
    NetGradient1.SetTextTop(5);
    NetGradient1.SetTextLeft(12);
    NetGradient1.SetFont(MakeFont("MS Sans Serif", -11, fsBold));
    SetSpokenName(NetGradient1, "Fundo");

    PlaceWarning(myLabel3d1, {96, 0, 635, 234}, "ERRO DE SCRIPT AVISAR BORVANE SISTEMAS",
                 MakeFont("Verdana", -64, fsBold, clYellow));

    Label1.BeginLoad();
    Label1.SetAutoSize(false);
    Label1.SetBounds(8, 239, 716, 16);
    Label1.SetAlignment(taCenter);
    Label1.SetFont(MakeFont("Verdana", -13, fsBold, clBlack));
    Label1.SetTransparent(true);
    Label1.SetCaption("SCRIPT EM EXECUÇÃO SALVO:");
    Label1.EndLoad();

    Button3.setFont(MakeFont("Verdana", -19, fsBold, clBlack).ToQFont());
    Button3.SetGlyph(GlifoPortaSaida());
    Button3.OnClick = [this] { Button3Click(); };
    Button3.setFocus();
}

void TForm2::NomearArquivo(const std::string& arquivo) {
    Label1.SetCaption("SCRIPT EM EXECUÇÃO SALVO: " + arquivo);
}

void TForm2::Button3Click() {
    Close();
}

void MostrarErroScript(QWidget* owner, const std::string& arquivo) {
    TForm2 Form2(owner);
    Form2.NomearArquivo(arquivo);
    Form2.ShowModal();
}

} // namespace scripts
