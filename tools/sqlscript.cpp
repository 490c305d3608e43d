// sqlscript: runs update scripts against a Firebird database as the updater
// would (see scripts/SqlScriptTool.h and the README).
#include "scripts/SqlScriptTool.h"

#include <iostream>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    return scripts::SqlScriptMain(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
