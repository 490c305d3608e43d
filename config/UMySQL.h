#pragma once

#include <string>

// The internet database account, compiled in in its stored (scrambled) form:
// a key digit followed by the scrambled characters. DecodificaTexto gives the
// plain values. The deployment supplies them at configure time (see README).
namespace config {

std::string MySQLUsuario();
std::string MySQLSenha();

} // namespace config
