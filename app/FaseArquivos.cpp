#include "app/FaseArquivos.h"

#include "base/Exception.h"
#include "base/FormatDateTime.h"
#include "base/StrUtils.h"
#include "platform/Files.h"
#include "platform/Path.h"

namespace app {

namespace {

bool nomeEhCaminho(const std::string& nome) {
    return nome.find_first_of("/\\") != std::string::npos;
}

// Files of the application folder that the updater acts on and the server
// never replaces: a script error file would block every later start, and the
// store's own configuration names its database.
bool nomeReservado(const std::string& nome) {
    return platform::MatchesMask(nome, "SCRIPT_ERRO*.*") || platform::SameFileName(nome, "Sys_Vendcfg.INI");
}

bool linhaTotal(const std::string& linha) {
    const std::vector<std::string> palavras = base::SplitString(base::Trim(linha), ' ');
    return !palavras.empty() && base::SameText(palavras.front(), "total");
}

std::string minutos(base::TDateTime valor) {
    return base::FormatDateTime("dd/mm/yyyy HH:mm", valor);
}

// "Sys_Vendrake.old" in the executable's folder.
std::string nomeAntigo(const std::string& executavel) {
    const std::size_t barra = executavel.find_last_of("\\/");
    return executavel.substr(0, barra == std::string::npos ? 0 : barra + 1) + ExecutavelAntigo;
}

bool mesmoTamanho(const std::string& a, const std::string& b) {
    std::int64_t tamanhoA = 0;
    std::int64_t tamanhoB = 0;
    return platform::FileSize(a, tamanhoA) && platform::FileSize(b, tamanhoB) && tamanhoA == tamanhoB;
}

} // namespace

std::string UltimaPalavra(const std::string& linha) {
    const std::string texto = base::Trim(linha);
    const std::size_t branco = texto.rfind(' ');
    return base::Trim(texto.substr(branco == std::string::npos ? 0 : branco, 1000));
}

bool ArquivoDesatualizado(const std::string& nome, base::TDateTime remoto) {
    if (nome == PastaDlls)
        return false;
    base::TDateTime local = 0;
    if (!platform::FileAge(nome, local))
        local = base::Date();
    return minutos(local) != minutos(remoto);
}

LinhaListagem AnalisarLinha(const std::string& linha) {
    LinhaListagem resultado;
    if (base::Trim(linha).empty() || linhaTotal(linha)) {
        resultado.tipo = TipoLinha::Ignorada;
        return resultado;
    }
    resultado.entrada.RawLine = linha;
    try {
        ftp::ParseEntry(ftp::DetectListFormat(linha, true), resultado.entrada);
    } catch (const base::Exception&) {
        return resultado;
    }
    const std::string& nome = resultado.entrada.EntryName;
    if (nome == "." || nome == "..")
        resultado.tipo = TipoLinha::Ignorada;
    else if (!nome.empty() && !nomeEhCaminho(nome) && !nomeReservado(nome))
        resultado.tipo = TipoLinha::Arquivo;
    return resultado;
}

bool AfastarExecutavel(const std::string& executavel, const std::function<void(int)>& esperar) {
    const std::string antigo = nomeAntigo(executavel);
    if (platform::FileExists(executavel)) {
        platform::DeleteFile(antigo);
        // Without a whole copy the executable stays: it is the only one left.
        if (!platform::CopyFile(executavel, antigo, true) || !mesmoTamanho(executavel, antigo))
            return false;
        platform::DeleteFile(executavel);
    }
    for (int espera = 0; espera < 5 && platform::FileExists(executavel); ++espera)
        esperar(1000);
    return !platform::FileExists(executavel);
}

bool RestaurarExecutavel(const std::string& executavel) {
    if (platform::FileExists(executavel))
        platform::DeleteFile(executavel);
    return platform::RenameFile(nomeAntigo(executavel), executavel);
}

std::string ComandoWinRAR(const std::string& pastaProgramas, const std::string& arquivo) {
    return "\"" + pastaProgramas + "\\winrar\\WinRAR.exe\" x -o+ " + arquivo + " *.exe \".\\\"";
}

std::string MensagemExtracaoFalhou(const platform::ProgramExit& saida, const std::string& executavel, bool restaurado) {
    std::string motivo;
    if (saida.launch != platform::LaunchSucceeded)
        motivo = "o WinRAR não pôde ser iniciado (erro " + std::to_string(saida.launch) + ")";
    else if (saida.timedOut)
        motivo = "o WinRAR não terminou em " + std::to_string(EsperaMaximaWinRAR / 60000) + " minutos";
    else if (saida.exitCode != 0)
        motivo = "o WinRAR terminou com o código " + std::to_string(saida.exitCode);
    else
        motivo = "o arquivo não trouxe " + executavel;
    return "Não foi possível extrair o novo executável de " + std::string(ArquivoCompactado) + ": " + motivo + ". " +
           (restaurado ? "O executável anterior foi restaurado."
                       : "O executável anterior continua em " + std::string(ExecutavelAntigo) + ".");
}

} // namespace app
