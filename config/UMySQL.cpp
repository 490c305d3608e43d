#include "config/UMySQL.h"

#include "config/UMySQLArmazenado.h"

namespace config {

// The sizes exclude the literal's terminating zero; a stored form may hold zero bytes.
std::string MySQLUsuario() {
    return std::string(armazenado::Usuario, sizeof(armazenado::Usuario) - 1);
}

std::string MySQLSenha() {
    return std::string(armazenado::Senha, sizeof(armazenado::Senha) - 1);
}

} // namespace config
