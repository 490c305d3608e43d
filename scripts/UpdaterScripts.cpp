#include "scripts/UpdaterScripts.h"

#include <algorithm>
#include <cmath>

#include "base/Exception.h"
#include "base/FormatDateTime.h"
#include "base/StrUtils.h"
#include "base/Windows1252.h"
#include "scripts/ScriptText.h"

namespace scripts {

std::vector<std::string> AccountParams(const std::string& user, const std::string& password) {
    return {"user_name=" + user, "password=" + password};
}

namespace {

constexpr std::string_view kCommitWork = "COMMIT WORK";

} // namespace

bool HoldsCommitWork(std::string_view line) {
    return base::UpperCase(line).find(kCommitWork) != std::string::npos;
}

void BlankCommitWorkLines(std::vector<std::string>& lines) {
    for (std::string& line : lines)
        if (HoldsCommitWork(line))
            line = " ";
}

bool CommitWorkWithOtherText(std::string_view line) {
    if (!HoldsCommitWork(line))
        return false;
    const std::string rest = base::StringReplace(line, kCommitWork, "", base::rfReplaceAll | base::rfIgnoreCase);
    return std::any_of(rest.begin(), rest.end(), [](char c) { return !IsBlankChar(c) && c != ';'; });
}

std::string TrocaCaractere(const std::string& texto, char caractere, const std::string& substituto) {
    return base::StringReplace(texto, std::string(1, caractere), substituto, base::rfReplaceAll);
}

std::string NomeArquivoErro(base::TDateTime quando, const std::string& entrada) {
    const std::string entradaSemPasta = TrocaCaractere(TrocaCaractere(entrada, '/', "-"), '\\', "-");
    return "SCRIPT_ERRO_DT_" + TrocaCaractere(base::DateToStr(quando), '/', "-") + "_HR_" +
           TrocaCaractere(base::TimeToStr(quando), ':', "-") + " " + entradaSemPasta + ".TXT";
}

std::vector<std::string> CabecalhoErro(const std::string& mensagem) {
    return {"/* ERRO: ", " ", mensagem, " ", ".....  */", " "};
}

std::string MotivoVersaoInvalida(const std::string& versao) {
    if (versao.find('\0') != std::string::npos)
        return "ela contém o caractere NUL";
    std::string local;
    try {
        local = base::Utf8ToWindows1252(versao);
    } catch (const base::EConvertError&) {
        return "ela contém um caractere que o Windows-1252 não tem";
    }
    if (local.size() > 10)
        return "ela tem mais de 10 caracteres";
    return {};
}

int PosicaoProgresso(int feitos, int total) {
    if (total <= 0)
        return 100;
    // nearbyint rounds in the default mode: to the nearest, halves to even.
    return std::min(100, static_cast<int>(std::nearbyint(100.0 / total * feitos)));
}

std::string FiltroScriptsNovos(const std::string& programaLiteral, const std::string& versaoLiteral) {
    return " from scripts where programa=" + programaLiteral + " and versao>" + versaoLiteral +
           " and liberado='S' order by versao";
}

} // namespace scripts
