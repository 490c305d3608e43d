#include "app/Progresso.h"

#include <algorithm>

#include "base/Format.h"

namespace app {

namespace {

std::string kb(std::int64_t bytes) {
    return base::FormatFloat("##,###,##0", static_cast<double>(bytes / 1024)) + " Kb";
}

} // namespace

Progresso CalcularProgresso(std::int64_t tamanho, std::int64_t contagem, base::TDateTime decorrido, double& taxa) {
    Progresso progresso;
    progresso.contador = "Transferidos: " + kb(contagem);
    if (tamanho > 0) {
        progresso.contador += " de " + kb(tamanho);
        const double percentual = 100.0 / static_cast<double>(tamanho) * static_cast<double>(contagem);
        progresso.percentual = static_cast<int>(std::clamp(percentual, 0.0, 100.0));
    }
    // Hours, minutes and seconds of the time of day only: whole days are dropped.
    const base::TimeParts partes = base::DecodeTime(decorrido);
    const auto segundos = static_cast<std::uint16_t>(partes.hour * 3600 + partes.minute * 60 + partes.second);
    const double t = segundos + partes.millisecond / 1000.0;
    std::string tempo;
    if (t > 0) {
        taxa = static_cast<double>(contagem) / 1024.0 / t;
        tempo =
            "Tempo de download " + base::Format("%2d:%2d:%2d", {segundos / 3600, segundos / 60 % 60, segundos % 60});
    }
    progresso.status = "Taxa de Transferencia: " + base::FormatFloat("0.00 KB/s", taxa) + "; " + tempo;
    return progresso;
}

std::string ContadorFinal(std::int64_t tamanho, std::int64_t movidos) {
    return "Transferidos: " + kb(tamanho > 0 ? tamanho : movidos);
}

} // namespace app
