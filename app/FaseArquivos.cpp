#include "app/FaseArquivos.h"

#include "base/Exception.h"
#include "base/FormatDateTime.h"
#include "base/StrUtils.h"
#include "platform/Files.h"

namespace app {

namespace {

bool nomeEhCaminho(const std::string& nome) {
    return nome.find_first_of("/\\") != std::string::npos;
}

bool linhaTotal(const std::string& linha) {
    const std::vector<std::string> palavras = base::SplitString(base::Trim(linha), ' ');
    return !palavras.empty() && base::SameText(palavras.front(), "total");
}

std::string minutos(base::TDateTime valor) {
    return base::FormatDateTime("dd/mm/yyyy HH:mm", valor);
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
    else if (!nome.empty() && !nomeEhCaminho(nome))
        resultado.tipo = TipoLinha::Arquivo;
    return resultado;
}

bool AfastarExecutavel(const std::string& executavel, const std::function<void(int)>& esperar) {
    const std::size_t barra = executavel.find_last_of("\\/");
    const std::string antigo = executavel.substr(0, barra == std::string::npos ? 0 : barra + 1) + ExecutavelAntigo;
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

std::string ComandoWinRAR(const std::string& pastaProgramas) {
    return "\"" + pastaProgramas + "\\winrar\\WinRAR.exe\" x -o+ " + ArquivoCompactado + " *.exe \".\\\"";
}

} // namespace app
