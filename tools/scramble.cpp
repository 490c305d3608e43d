// Prints the stored (scrambled) form of a plain value, written for a C string
// literal: the form to give UPDATER_MYSQL_USER_STORED or
// UPDATER_MYSQL_PASSWORD_STORED at configure time.
//
//   scramble <key digit 0-9> <plain value>

#include "config/Configuracao.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    const std::string chave = argc == 3 ? argv[1] : "";
    if (chave.size() != 1 || chave[0] < '0' || chave[0] > '9') {
        std::fprintf(stderr, "usage: scramble <key digit 0-9> <plain value>\n");
        return 2;
    }
    for (char c : config::CodificaTexto(chave[0] - '0', argv[2])) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 32 || code > 126)
            std::printf("\\%03o", code);
        else if (c == '\\' || c == '"')
            std::printf("\\%c", c);
        else
            std::putchar(c);
    }
    std::putchar('\n');
    return 0;
}
