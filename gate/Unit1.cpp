#include "gate/Unit1.h"

#include <algorithm>

#include <QCollator>

#include "components/Glyphs.h"
#include "platform/Files.h"
#include "runtime/QtText.h"

namespace gate {

using namespace base;
using namespace components;
using namespace runtime;

namespace {

// The two statements, each the spoken name of its box.
const char* const kLocaisFechados = "Todos Aplicativos locais foram fechados";
const char* const kTerminaisFechados = "Em todos os terminais os Sistemas foram fechados";

} // namespace

TForm1::TForm1()
    : TForm(nullptr, "Form1"), NetGradient1(this, "NetGradient1"), myLabel3d1(this, "myLabel3d1"),
      Label1(this, "Label1"), Label2(this, "Label2"), Label3(this, "Label3"),
      CheckBox1(this, "CheckBox1", {39, 560, 15, 17}, " ", kLocaisFechados),
      BitBtn1(this, "BitBtn1", {629, 567, 139, 38}, "&Continuar  "),
      Button3(this, "Button3", {794, 567, 90, 38}, "&Sair"),
      CheckBox2(this, "CheckBox2", {39, 583, 15, 17}, " ", kTerminaisFechados), Timer1(this, 100) {
    SetCaption("Atualização");
    SetClientSize(905, 610);
    SetPosition(TPosition::poDesktopCenter);
    SetFont(MakeFont("MS Sans Serif", -11));
    ConfigurarRotulos();
    ConfigurarControles();
}

TForm1::~TForm1() = default;

void TForm1::ConfigurarRotulos() {
    NetGradient1.SetBounds(0, 0, 906, 610);
    NetGradient1.SetBeginColor(clNavy);
    NetGradient1.SetEndColor(clBtnFace);
    NetGradient1.SetCaption(" ");
    NetGradient1.SetTextLeft(12);
    NetGradient1.SetTextTop(5);
    NetGradient1.SetFont(MakeFont("MS Sans Serif", -11, fsBold));
    SetSpokenName(NetGradient1, "Fundo");

    PlaceWarning(myLabel3d1, {6, 26, 889, 528},
                 "FECHE TODOS OS APLICATIVOS ANTES DE FAZER A ATUALIZAÇÃO *inclusive os terminais**",
                 MakeFont("Verdana", -73, fsBold, clWhite));
    PlaceLabel(Label1, 57, 560, kLocaisFechados, MakeFont("Verdana", -16, fsBold, clBlack), true);
    PlaceLabel(Label2, 535, 0, "Borvane Quillmark", MakeFont("Verdana", -32, fsBold | fsItalic, RGB(106, 106, 106)),
               true);
    PlaceLabel(Label3, 57, 583, kTerminaisFechados, MakeFont("Verdana", -16, fsBold, clBlack), true);
}

void TForm1::ConfigurarControles() {
    for (TCheckBox* caixa : {&CheckBox1, &CheckBox2}) {
        caixa->SetFont(MakeFont("MS Sans Serif", -16, 0, clGreen));
        caixa->SetColor(clOlive);
        caixa->OnClick = [this] { CheckBox1Click(); };
    }
    BitBtn1.setFont(MakeFont("Verdana", -16, fsBold).ToQFont());
    BitBtn1.SetGlyph(GlifoSetaVermelha());
    BitBtn1.SetLayout(blGlyphRight);
    BitBtn1.setEnabled(false);
    BitBtn1.OnClick = [this] { BitBtn1Click(); };
    Button3.setFont(MakeFont("Verdana", -19, fsBold, clBlack).ToQFont());
    Button3.SetGlyph(GlifoPortaSaida());
    Button3.OnClick = [this] { Button3Click(); };
    setTabOrder(&CheckBox1, &CheckBox2);
    setTabOrder(&CheckBox2, &BitBtn1);
    setTabOrder(&BitBtn1, &Button3);
    CheckBox1.setFocus();
    Timer1.OnTimer = [this] { Timer1Timer(); };
}

void TForm1::ListFiles(const std::string& pattern, std::vector<std::string>& list) {
    for (const platform::SearchRec& entry : platform::FindFiles(pattern)) {
        if (entry.name.empty() || entry.name[0] != '.')
            list.push_back(entry.name);
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(list.begin(), list.end(), [&collator](const std::string& a, const std::string& b) {
        return collator.compare(ToQString(a), ToQString(b)) < 0;
    });
}

void TForm1::FormShow() {
    std::vector<std::string> list;
    ListFiles("SCRIPT_ERRO*.*", list);
    if (list.empty())
        return;
    // Keys typed ahead must not tick both boxes and continue in the moment
    // before the error window takes over: while it is pending the boxes
    // cannot be ticked, so "Continuar" stays disabled.
    CheckBox1.setEnabled(false);
    CheckBox2.setEnabled(false);
    Timer1.SetEnabled(true);
    Form2 = std::make_unique<scripts::TForm2>(this);
    Form2->NomearArquivo(list.front());
}

void TForm1::CheckBox1Click() {
    BitBtn1.setEnabled(CheckBox1.Checked() && CheckBox2.Checked());
}

void TForm1::BitBtn1Click() {
    Tag = 1;
    Close();
}

void TForm1::Button3Click() {
    Close();
}

void TForm1::Timer1Timer() {
    Timer1.SetEnabled(false);
    hide();
    Form2->ShowModal();
    Form2.reset();
    Close();
}

} // namespace gate
