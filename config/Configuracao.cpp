#include "config/Configuracao.h"

#include "base/Exception.h"
#include "base/StrUtils.h"
#include "db/AliasConfig.h"
#include "platform/Files.h"
#include "platform/SystemError.h"
#include "platform/TextFile.h"

#include <cstdlib>

namespace config {

namespace {

constexpr int InicioAlias = 15;
constexpr int TamanhoAlias = 30;
constexpr size_t TamanhoMaximoParametro = 100;
constexpr size_t TamanhoMaximoPrimeiraLinha = 64 * 1024;

std::string ParaTexto(const TValorRegistro& valor) {
    if (const auto* texto = std::get_if<std::string>(&valor))
        return *texto;
    if (const auto* numero = std::get_if<std::int32_t>(&valor))
        return base::IntToStr(*numero);
    throw base::Exception("Could not convert variant of type (Array Byte) into type (String)");
}

} // namespace

std::string DecodificaTexto(const std::string& texto) {
    if (texto.empty())
        return {};
    int chave = (texto[0] >= '0' && texto[0] <= '9') ? texto[0] - '0' : 0;
    std::string resultado = texto.substr(1);
    for (char& c : resultado)
        c = static_cast<char>((static_cast<unsigned char>(c) - 3 * chave) & 0xFF);
    return resultado;
}

std::string CodificaTexto(int chave, const std::string& texto) {
    std::string resultado(1, static_cast<char>('0' + chave));
    for (char c : texto)
        resultado += static_cast<char>((static_cast<unsigned char>(c) + 3 * chave) & 0xFF);
    return resultado;
}

std::string LerNomeAlias(const std::string& arquivo) {
    return base::Trim(
        base::Copy(platform::ReadFirstLine(arquivo, TamanhoMaximoPrimeiraLinha), InicioAlias, TamanhoAlias));
}

std::string LerParametroAlias(const std::string& alias, const std::string& nome) {
    std::string resultado;
    if (alias.empty() || nome.empty())
        return resultado;
    try {
        const std::string prefixo = nome + "=";
        for (const std::string& linha : db::GetAliasParams(alias))
            if (linha.starts_with(prefixo))
                resultado = linha.substr(prefixo.size(), TamanhoMaximoParametro);
    } catch (const std::exception&) {
        // An alias the engine cannot give counts as not found: the caller reports it.
    }
    return resultado;
}

TValorRegistro LerValorRegistro(platform::RootKey raiz, const std::string& chave, const std::string& nome) {
    const platform::RegistryKey key = platform::RegistryKey::OpenRead(raiz, chave);
    const std::optional<platform::RegistryValue> valor = key.QueryValue(nome);
    if (!valor)
        throw platform::EOSError(platform::ERROR_CANTREAD);
    const std::string& dados = valor->data;
    switch (valor->type) {
    case platform::REG_SZ:
    case platform::REG_EXPAND_SZ:
        return dados.substr(0, dados.find('\0'));
    case platform::REG_DWORD:
        if (dados.size() == sizeof(std::int32_t)) {
            std::uint32_t numero = 0;
            for (int i = 3; i >= 0; --i)
                numero = (numero << 8) | static_cast<unsigned char>(dados[i]);
            return static_cast<std::int32_t>(numero);
        }
        break;
    case platform::REG_BINARY:
        return std::vector<std::uint8_t>(dados.begin(), dados.end());
    }
    throw platform::EOSError(platform::ERROR_CANTREAD);
}

std::string PastaWinRAR() {
    const std::string base = ParaTexto(LerValorRegistro(
        platform::RootKey::LocalMachine, "\\Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir"));
    if (platform::FileExists(base + ProgramaWinRAR))
        return base;
    const size_t marca = base::UpperCase(base).find("(X86)");
    if (marca != std::string::npos) {
        const std::string alternativa = base::Trim(base.substr(0, marca));
        if (platform::FileExists(alternativa + ProgramaWinRAR))
            return alternativa;
    }
    return base;
}

ServidorFtp LerServidorFtp() {
    const char* variavel = std::getenv("UPDATER_FTP_HOST");
    const std::string texto = variavel != nullptr ? base::Trim(variavel) : std::string();
    if (texto.empty())
        return {UPDATER_FTP_HOST_DEFAULT};
    const std::size_t doisPontos = texto.rfind(':');
    if (doisPontos == std::string::npos)
        return {texto};
    const std::string porta = texto.substr(doisPontos + 1);
    const int numero = base::StrToIntDef(porta, 0);
    if (numero < 1 || numero > 65535 || porta.find_first_not_of("0123456789") != std::string::npos)
        throw base::Exception("UPDATER_FTP_HOST: '" + porta + "' is not a valid port");
    return {texto.substr(0, doisPontos), numero};
}

} // namespace config
