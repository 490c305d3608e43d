#include "tests/app/PastaAplicacao.h"

#include <sqlite3.h>

#include "config/Configuracao.h"

namespace testsupport {

void Inicio::CriarBancoInternet(const std::string& senhaFtp) {
    sqlite3* banco = nullptr;
    ASSERT_EQ(sqlite3_open((dir_ / "check.db").c_str(), &banco), SQLITE_OK);
    char* senha = sqlite3_mprintf("%Q", config::CodificaTexto(3, senhaFtp).c_str());
    const std::string sql = "CREATE TABLE IF NOT EXISTS principal (senha_ftp VARCHAR(40)); DELETE FROM principal; "
                            "INSERT INTO principal VALUES (" +
                            std::string(senha) + ");";
    sqlite3_free(senha);
    EXPECT_EQ(sqlite3_exec(banco, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(banco);
}

} // namespace testsupport
