#pragma once

#include <cstdint>
#include <string>

#include "base/DateTime.h"

// The texts and the percentage that the main window shows while the FTP
// client moves bytes.
namespace app {

struct Progresso {
    std::string contador; // the transferred-amount line
    std::string status;   // the rate and elapsed-time line
    int percentual = 0;   // whole percent, 0 to 100
};

// The display for count bytes moved of a file of tamanho bytes (0 or -1 when
// the size is not known: no total is shown and the percentage stays 0),
// decorrido days after the transfer began. taxa, the rate in KB/s, is
// recomputed once any time has passed and otherwise keeps its value.
Progresso CalcularProgresso(std::int64_t tamanho, std::int64_t contagem, base::TDateTime decorrido, double& taxa);

// The transferred-amount line at the end of a transfer: the file's size in KB,
// or the bytes that were moved when the size is not known.
std::string ContadorFinal(std::int64_t tamanho, std::int64_t movidos);

} // namespace app
