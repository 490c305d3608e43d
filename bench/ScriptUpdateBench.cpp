// Times one script update of the wait window, offscreen, for
// bench/script-update.sh: the alias file (UPDATER_ALIAS_FILE) names the local
// database "LOJA" and the internet database "Check"; the account of the
// internet database comes from the command line. Prints the milliseconds and
// the outcome. Usage: script_update_bench USER PASSWORD
#include <cstdio>
#include <cstdlib>
#include <string>

#include <QApplication>
#include <QElapsedTimer>

#include "runtime/ListControls.h"
#include "scripts/uAguarde.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s USER PASSWORD\n", argv[0]);
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    runtime::TCheckListBox aliases(nullptr, "CheckListBox1", {0, 0, 100, 40}, "Bases");
    aliases.AddItem("LOJA");
    aliases.SetChecked(0, true);
    scripts::Taguarde aguarde(nullptr, aliases);
    aguarde.Database1.Params = {std::string("USER NAME=") + argv[1], std::string("PASSWORD=") + argv[2]};
    aguarde.MostrarErro = [](const std::string& arquivo) {
        std::printf("script failed, saved as %s\n", arquivo.c_str());
    };

    QElapsedTimer clock;
    clock.start();
    aguarde.ShowModal();
    const qint64 elapsed = clock.elapsed();
    std::printf("%lld ms\n", static_cast<long long>(elapsed));
    return aguarde.Resultado == scripts::ScriptUpdateResult::Applied ? 0 : 1;
}
