#include "scripts/UpdaterScripts.h"

#include <vector>

#include "base/DateTime.h"
#include "base/FormatSettings.h"

#include <gtest/gtest.h>

namespace {

TEST(PosicaoProgresso, RoundsHalvesToEvenAndNeverPassesTheEnd) {
    struct Caso {
        int feitos, total, posicao;
    };
    const std::vector<Caso> casos = {
        {1, 8, 12}, // 12.5 goes down to the even 12
        {3, 8, 38}, // 37.5 goes up to the even 38
        {1, 3, 33},  {2, 3, 67},  {3, 3, 100},
        {1, 200, 0}, {1, 1, 100}, {1, 0, 100}, // the count said 0, yet a script came
        {5, 3, 100},                           // more scripts came than were counted
    };
    for (const Caso& caso : casos)
        EXPECT_EQ(scripts::PosicaoProgresso(caso.feitos, caso.total), caso.posicao) << caso.feitos << "/" << caso.total;
}

TEST(NomeArquivoErro, DateAndTimeOfTheSystemFormatsWithoutSeparatorsThatMakeFolders) {
    const base::FormatSettings antes = base::CurrentFormatSettings();
    base::FormatSettings formato = antes;
    formato.shortDateFormat = "dd/mm/yyyy";
    formato.longTimeFormat = "hh:nn:ss";
    formato.dateSeparator = "/";
    formato.timeSeparator = ":";
    base::SetFormatSettings(formato);
    base::TDateTime quando = 0;
    ASSERT_TRUE(base::TryEncodeDate(2026, 12, 7, quando));
    base::TDateTime hora = 0;
    ASSERT_TRUE(base::TryEncodeTime(9, 45, 10, 0, hora));
    EXPECT_EQ(scripts::NomeArquivoErro(quando + hora, "M-LOJA"), "SCRIPT_ERRO_DT_07-12-2026_HR_09-45-10 M-LOJA.TXT");
    EXPECT_EQ(scripts::NomeArquivoErro(quando + hora, "M-../a\\b"),
              "SCRIPT_ERRO_DT_07-12-2026_HR_09-45-10 M-..-a-b.TXT");
    base::SetFormatSettings(antes);
}

} // namespace
