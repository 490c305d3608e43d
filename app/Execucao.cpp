#include "app/Execucao.h"

namespace app {

std::string MensagemFinal(bool erro, int tag) {
    if (!erro)
        return "Atualização finalizada com sucesso.";
    if (tag == 1)
        return "Atualização finalizada com erros, necessário contactar Borvane Sistemas.";
    return "Atualização finalizada com erros, feche os aplicativos e tente denovo.";
}

} // namespace app
