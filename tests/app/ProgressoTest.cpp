#include "app/Progresso.h"

#include <gtest/gtest.h>

#include "base/FormatSettings.h"

namespace {

using base::EncodeTime;

// Fixed separators: a point for thousands, a comma for decimals.
class Progresso : public ::testing::Test {
protected:
    Progresso() {
        base::FormatSettings brasil = anterior_;
        brasil.thousandSeparator = ".";
        brasil.decimalSeparator = ",";
        base::SetFormatSettings(brasil);
    }
    ~Progresso() override { base::SetFormatSettings(anterior_); }

    base::FormatSettings anterior_ = base::CurrentFormatSettings();
};

TEST_F(Progresso, CountersRateTimeAndGauge) {
    struct Caso {
        const char* descricao;
        std::int64_t tamanho;
        std::int64_t contagem;
        base::TDateTime decorrido;
        const char* contador;
        const char* status;
        int percentual;
    };
    const Caso casos[] = {
        {"within the first millisecond", 4096, 1024, 0, "Transferidos: 1 Kb de 4 Kb",
         "Taxa de Transferencia: 0,00 KB/s; ", 25},
        {"after 65 seconds", 4096 * 1024, 1536, EncodeTime(0, 1, 5, 0), "Transferidos: 1 Kb de 4.096 Kb",
         "Taxa de Transferencia: 0,02 KB/s; Tempo de download  0: 1: 5", 0},
        {"1536 of 4096 bytes", 4096, 1536, EncodeTime(0, 0, 1, 500), "Transferidos: 1 Kb de 4 Kb",
         "Taxa de Transferencia: 1,00 KB/s; Tempo de download  0: 0: 1", 37},
        {"beyond the expected size", 4096, 8192, EncodeTime(0, 0, 2, 0), "Transferidos: 8 Kb de 4 Kb",
         "Taxa de Transferencia: 4,00 KB/s; Tempo de download  0: 0: 2", 100},
        {"size 0", 0, 2048, EncodeTime(0, 0, 1, 0), "Transferidos: 2 Kb",
         "Taxa de Transferencia: 2,00 KB/s; "
         "Tempo de download  0: 0: 1",
         0},
        {"size unknown", -1, 2048, EncodeTime(0, 0, 1, 0), "Transferidos: 2 Kb",
         "Taxa de Transferencia: 2,00 KB/s; Tempo de download  0: 0: 1", 0},
        {"5 GiB file, 64-bit counts", 5LL << 30, 3LL << 30, EncodeTime(1, 0, 0, 0),
         "Transferidos: 3.145.728 Kb de 5.242.880 Kb", "Taxa de Transferencia: 873,81 KB/s; Tempo de download  1: 0: 0",
         60},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.descricao);
        double taxa = 0;
        const app::Progresso progresso = app::CalcularProgresso(caso.tamanho, caso.contagem, caso.decorrido, taxa);
        EXPECT_EQ(progresso.contador, caso.contador);
        EXPECT_EQ(progresso.status, caso.status);
        EXPECT_EQ(progresso.percentual, caso.percentual);
    }
}

TEST_F(Progresso, TheRateKeepsItsValueWhileNoTimeHasPassed) {
    double taxa = 12.5;
    EXPECT_EQ(app::CalcularProgresso(4096, 4096, 0, taxa).status, "Taxa de Transferencia: 12,50 KB/s; ");
    EXPECT_EQ(taxa, 12.5);
}

TEST_F(Progresso, TheEndOfTransferLine) {
    EXPECT_EQ(app::ContadorFinal(1048576, 32768), "Transferidos: 1.024 Kb");
    EXPECT_EQ(app::ContadorFinal(0, 5000), "Transferidos: 4 Kb") << "the bytes moved when the size is not known";
    EXPECT_EQ(app::ContadorFinal(-1, 5LL << 30), "Transferidos: 5.242.880 Kb");
}

} // namespace
