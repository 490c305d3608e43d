#include "app/Execucao.h"

#include <gtest/gtest.h>

namespace {

TEST(MensagemFinal, ChosenByTheErrorFlagAndTheTag) {
    struct Caso {
        bool erro;
        int tag;
        const char* mensagem;
    };
    const Caso casos[] = {
        {false, 0, "Atualização finalizada com sucesso."},
        {false, 1, "Atualização finalizada com sucesso."},
        {true, 1, "Atualização finalizada com erros, necessário contactar Borvane Sistemas."},
        {true, 0, "Atualização finalizada com erros, feche os aplicativos e tente denovo."},
        {true, 2, "Atualização finalizada com erros, feche os aplicativos e tente denovo."},
    };
    for (const Caso& caso : casos)
        EXPECT_EQ(app::MensagemFinal(caso.erro, caso.tag), caso.mensagem) << caso.erro << " " << caso.tag;
}

} // namespace
