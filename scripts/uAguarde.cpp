#include "scripts/uAguarde.h"

#include <optional>

#include "base/StrUtils.h"
#include "base/Windows1252.h"
#include "config/Configuracao.h"
#include "config/UMySQL.h"
#include "platform/TextFile.h"
#include "runtime/Application.h"
#include "scripts/Unit2.h"
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
    versaoNoScript_.SetDatabase(&IBDatabase1);
    versaoNoScript_.SetTransaction(&IBTransaction1);
    IBScript1.SetDatabase(&IBDatabase1);
    IBScript1.SetTransaction(&IBTransaction1);
    IBScript1.SetTerminator(";");
    IBScript1.OnParseError = [this](TIBScript&, const std::string& erro, const std::string&, int linha) {
        erroLeitura_ = erro + ", line " + IntToStr(linha);
    };
    Timer1.OnTimer = [this] { Timer1Timer(); };
    MostrarErro = [this](const std::string& arquivo) { MostrarErroScript(this, arquivo); };
    Esperar = [](int milissegundos) { Application().Wait(milissegundos); };

    FormCreate();
}

Taguarde::~Taguarde() = default;

void Taguarde::FormCreate() {
    NomePrograma.clear();
    Database1.Params.clear();
    Database1.Params.push_back("USER NAME=" + config::DecodificaTexto(config::MySQLUsuario()));
    Database1.Params.push_back("PASSWORD=" + config::DecodificaTexto(config::MySQLSenha()));
}

void Taguarde::FormShow() {
    Timer1.SetEnabled(true);
}

void Taguarde::Timer1Timer() {
    Timer1.SetEnabled(false);
    ErroForaDosScripts = false;
    try {
        for (const std::string& entrada : ListaDeTrabalho())
            AtualizarBanco(entrada);
    } catch (...) {
        ErroForaDosScripts = true;
        Desfazer();
        Application().HandleException(std::current_exception());
    }
    NomePrograma.clear();
    Close();
}

std::vector<std::string> Taguarde::ListaDeTrabalho() const {
    std::vector<std::string> lista;
    for (int item = 0; item < aliases_.Count(); ++item)
        if (aliases_.Checked(item))
            lista.push_back("M-" + aliases_.ItemText(item));
    return lista;
}

void Taguarde::AtualizarBanco(const std::string& entrada) {
    const std::string alias = Copy(entrada, 3, 100);
    IBDatabase1.DatabaseName = config::LerParametroAlias(alias, "SERVER NAME");
    if (entrada[0] == 'M')
        NomePrograma = "QUILLMARK";
    IBDatabase1.Open();
    CriarTabelaVersao();
    // The recorded version is kept in the Windows code page; the internet
    // database takes UTF-8.
    const std::string filtro =
        FiltroScriptsNovos(Database1.QuoteText(NomePrograma), Database1.QuoteText(Windows1252ToUtf8(VersaoGravada())));
    Query3.SQL = {"select count(*) ct" + filtro};
    Query3.Open();
    const int total = Query3.FieldByName("ct").AsInteger();
    Query3.Close();
    Query2.SQL = {"select programa,versao" + filtro};
    Query2.Open();

    pb1.SetMax(100);
    int feitos = 0;
    bool falhou = false;
    while (!Query2.Eof() && !falhou) {
        falhou = !AplicarScriptAtual(entrada);
        ++feitos;
        pb1.SetPosition(PosicaoProgresso(feitos, total));
        pb1.Repaint();
        if (!falhou)
            Query2.Next();
    }
    pb1.SetPosition(100);
    pb1.Repaint();
    Query2.Close();
    IBDatabase1.Close();
}

void Taguarde::CriarTabelaVersao() {
    IBQuery1.SetSQL({"SELECT COUNT(*) CT FROM RDB$RELATION_FIELDS where RDB$FIELD_NAME='VERSAO' AND "
                     "RDB$RELATION_NAME='VERSAO'"});
    IBQuery1.Open();
    if (IBQuery1.FieldByName("CT").AsInteger() == 0) {
        IBTransaction2.Rollback();
        IBQuery1.SetSQL({"CREATE TABLE VERSAO (VERSAO VARCHAR(10));"});
        IBQuery1.ExecSQL();
        IBTransaction2.Commit();
        IBQuery1.SetSQL({"insert into versao (versao) values ('0');"});
        IBQuery1.ExecSQL();
        IBTransaction2.Commit();
    }
    if (IBQuery1.Active())
        IBTransaction2.Rollback();
}

std::string Taguarde::VersaoGravada() {
    IBQuery1.SetSQL({"select versao from versao"});
    IBQuery1.Open();
    std::string versao = IBQuery1.FieldByName("versao").AsString();
    IBQuery1.Close();
    IBTransaction2.Rollback();
    return versao;
}

bool Taguarde::AplicarScriptAtual(const std::string& entrada) {
    const std::string versao = Query2.FieldByName("versao").AsString();
    Table2.Open();
    const std::string texto = Table2.FieldByName("texto").AsString();
    Table2.Close();
    std::vector<std::string> linhas = TextToLines(texto);
    DBMemo1.SetLines(linhas);
    bool falhou = false;
    try {
        // The store application reads its database in the Windows code page.
        // A script that the code page cannot hold is kept as it came, for the
        // error file, and not run.
        IBScript1.SetScript(std::move(linhas));
        IBScript1.SetScript(TextToLines(Utf8ToWindows1252(texto)));
        AplicarScript();
    } catch (const std::exception& erro) {
        MarcarFalha(erro.what());
        falhou = true;
    }
    // The data statements that ran before a failing one stay. A commit that
    // fails after a script that went through fails that script: its work is
    // gone and the run must not say it was applied.
    const std::optional<std::string> erroDoCommit = ConcluirScript(versao);
    if (erroDoCommit && !falhou) {
        MarcarFalha(*erroDoCommit);
        falhou = true;
    }
    if (falhou)
        RelatarFalha(entrada);
    return !falhou;
}

void Taguarde::MarcarFalha(const std::string& mensagem) {
    std::vector<std::string> cabecalho = CabecalhoErro(mensagem);
    IBScript1.Script().insert(IBScript1.Script().begin(), cabecalho.begin(), cabecalho.end());
    Tag = 1;
}

std::optional<std::string> Taguarde::ConcluirScript(const std::string& versao) {
    // The version goes in with the script's own work, so that one commit
    // keeps both: a run that stops later never applies a script twice. The
    // failing script's version too, as it counts as applied.
    std::string erroDoCommit;
    try {
        GravarVersao(versaoNoScript_, versao);
        IBTransaction1.Commit();
        return std::nullopt;
    } catch (const std::exception& erro) {
        erroDoCommit = erro.what();
    }
    // Left open, the transaction would hold the version row and carry work
    // that never landed into the next script: it ends here, and the version
    // is recorded on its own.
    IBTransaction1.RollbackQuietly();
    GravarVersao(IBQuery1, versao);
    IBTransaction2.Commit();
    return erroDoCommit;
}

void Taguarde::AplicarScript() {
    BlankCommitWorkLines(IBScript1.Script());
    erroLeitura_.clear();
    IBScript1.RunScript();
    if (!erroLeitura_.empty() && IBScript1.LastStop().statementText)
        throw Exception(erroLeitura_);
}

void Taguarde::GravarVersao(db::TIBQuery& consulta, const std::string& versao) {
    consulta.SetSQL({"update versao set versao=" + QuotedStr(Utf8ToWindows1252(versao)) + ";"});
    consulta.ExecSQL();
}

void Taguarde::RelatarFalha(const std::string& entrada) {
    const std::string arquivo = NomeArquivoErro(Now(), entrada);
    platform::WriteLinesAtomically(arquivo, IBScript1.Script());
    MostrarErro(arquivo);
    Esperar(1000);
}

void Taguarde::Desfazer() {
    IBTransaction1.RollbackQuietly();
    IBTransaction2.RollbackQuietly();
    Query2.Close();
    Table2.Close();
    try {
        if (IBDatabase1.Connected())
            IBDatabase1.Close();
    } catch (const std::exception&) {
    }
}

} // namespace scripts
