// The file phase of the main window's update run: the connection, the
// listing, the fetch of what is out of date and the replacement of the
// executable.
#include "app/untfrmkestoupdate.h"

#include "app/FaseArquivos.h"
#include "app/Progresso.h"
#include "base/Exception.h"
#include "base/Windows1252.h"
#include "config/Configuracao.h"
#include "platform/FileDate.h"
#include "platform/Files.h"
#include "platform/FolderIndex.h"
#include "platform/Path.h"
#include "platform/Process.h"
#include "runtime/Application.h"
#include "runtime/MessageBoxes.h"
#include "scripts/uAguarde.h"

namespace app {

using namespace base;
using namespace runtime;

namespace {

// State images of the file list.
constexpr int EstadoAtualizado = 1;
constexpr int EstadoBuscando = 3;
constexpr int EstadoDesatualizado = 4;

int EstadoInicial(const LinhaListagem& linha) {
    switch (linha.tipo) {
    case TipoLinha::Arquivo:
        return ArquivoDesatualizado(linha.entrada.EntryName, linha.entrada.ModifiedAt) ? EstadoDesatualizado
                                                                                       : EstadoAtualizado;
    case TipoLinha::Ignorada:
        return EstadoAtualizado;
    case TipoLinha::Invalida:
        break;
    }
    return EstadoDesatualizado;
}

// The framework's information box.
void MostrarInformacao(const std::string& texto) {
    MessageBox({"Information", texto, MsgIcon::Information, MsgButtons::Ok});
}

} // namespace

void Tfrmkestoupdate::Conectar() {
    const config::ServidorFtp servidor = config::LerServidorFtp();
    ftpupdate.Host = servidor.host;
    ftpupdate.Port = servidor.porta;
    ftpupdate.Username = "tovrin";
    db::TQuery& consulta = aguarde->Query3;
    consulta.SQL = {"select senha_ftp from principal"};
    consulta.Open();
    try {
        // Stored scrambled in the Windows code page, handed over as UTF-8.
        ftpupdate.Password = config::DecodificaTexto(Utf8ToWindows1252(consulta.FieldByName("senha_ftp").AsString()));
    } catch (...) {
        consulta.Close();
        throw;
    }
    consulta.Close();
    ftpupdate.Passive = false;
    ftpupdate.OpenSession(true, -1);
    ftpupdate.TransferType(ftp::ftBinary);
    ftpupdate.ChangeDirectory("quillmark");
}

std::vector<std::string> Tfrmkestoupdate::ListarPasta() {
    // The listing's size is not known: its counter shows the bytes moved.
    TamanhoArquivo = 0;
    std::vector<std::string> linhas;
    ftpupdate.ListDirectory(&linhas, "", true);
    Memo3.SetLines(linhas);
    Memo3.update();
    return linhas;
}

void Tfrmkestoupdate::FaseArquivos() {
    Conectar();
    if (Label9.Font().Color() != clGreen)
        return;
    BuscarDesatualizados(ListarPasta());
    // The replacement runs even when the operator asked to leave meanwhile:
    // with every file fetched, a later run would find nothing to fetch and
    // never replace the executable.
    const std::string executavel = Label9.Caption().substr(0, Label9.Caption().find(" - Será"));
    if (execucao_.buscou && !execucao_.erro && platform::FileExists(ArquivoCompactado))
        SubstituirExecutavel(executavel);
}

void Tfrmkestoupdate::BuscarDesatualizados(const std::vector<std::string>& listagem) {
    // Every file of the listing is looked up in the application folder (its
    // date, another spelling of its name, temporary files a killed write
    // left) as often as it is written: the folder is read once for all of
    // them. Nothing else writes there meanwhile; the archiver starts after.
    const platform::FolderIndex pastaDaAplicacao(".");
    std::vector<LinhaListagem> linhas;
    for (const std::string& texto : listagem) {
        linhas.push_back(AnalisarLinha(texto));
        TreeView3.AddNode(texto, EstadoInicial(linhas.back()));
    }
    TreeView3.update();

    for (std::size_t i = 0; i < linhas.size(); ++i) {
        PararSeSaindo();
        const LinhaListagem& linha = linhas[i];
        if (linha.tipo == TipoLinha::Invalida) {
            Label3.SetCaption(UltimaPalavra(linha.entrada.RawLine));
            execucao_.erro = true;
            continue;
        }
        if (linha.tipo == TipoLinha::Ignorada)
            continue;
        const std::string& nome = linha.entrada.EntryName;
        Label3.SetCaption(nome);
        if (!ArquivoDesatualizado(nome, linha.entrada.ModifiedAt))
            continue;
        execucao_.buscou = true;
        // The listing gives the size; the server is asked only when it did
        // not read there (or the entry is a link).
        TamanhoArquivo = linha.entrada.EntrySize;
        if (TamanhoArquivo < 0)
            TamanhoArquivo = ftpupdate.RemoteFileSize(nome);
        if (!BuscarArquivo(static_cast<int>(i), linha.entrada))
            execucao_.erro = true;
    }
}

bool Tfrmkestoupdate::BuscarArquivo(int no, const ftp::TIdFTPListItem& entrada) {
    const std::string local = ".\\" + entrada.EntryName;
    TreeView3.SetStateIndex(no, EstadoBuscando);
    TreeView3.update();
    try {
        ftpupdate.Download(entrada.EntryName, local, true, false, TamanhoArquivo);
        // Without a size from the server the counter shows what arrived; the
        // work events leave out the last partial block.
        if (TamanhoArquivo <= 0 && platform::FileSize(local, movidos_))
            lblcontador.SetCaption(ContadorFinal(TamanhoArquivo, movidos_));
        // A date outside 1980 to 2107 cannot be put on the file, which then
        // keeps the time it was written.
        platform::FileSetDate(local, platform::DateTimeToFileDate(entrada.ModifiedAt));
        TreeView3.SetStateIndex(no, EstadoAtualizado);
        TreeView3.update();
        return true;
    } catch (const EAbort&) {
        throw;
    } catch (const std::exception& e) {
        TreeView3.SetStateIndex(no, EstadoDesatualizado);
        TreeView3.update();
        MostrarInformacao(e.what());
        return false;
    }
}

void Tfrmkestoupdate::SubstituirExecutavel(const std::string& executavel) {
    const std::string arquivo = platform::NativePath(ArquivoCompactado);
    if (!AfastarExecutavel(executavel, Esperar)) {
        ShowMessage("Não foi possível apagar arquivo " + executavel + ".");
        platform::DeleteFile(arquivo);
        execucao_.erro = true;
        return;
    }
    const platform::ProgramExit saida =
        platform::RunAndWait(ComandoWinRAR(PastaProgramas, arquivo), platform::SW_SHOW_NORMAL, EsperaMaximaWinRAR,
                             [] { Application().ProcessMessages(); });
    if (saida.Succeeded() && platform::FileExists(executavel))
        return;
    // Without a new executable the store could not start: the former one
    // comes back, and the archive goes, so that the next run fetches it again.
    const bool restaurado = RestaurarExecutavel(executavel);
    platform::DeleteFile(arquivo);
    MostrarInformacao(MensagemExtracaoFalhou(saida, executavel, restaurado));
    execucao_.erro = true;
}

} // namespace app
