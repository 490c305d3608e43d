// Runs the updater's main window offscreen in the current folder (an
// application folder that the calling script prepared): its start-up, then one
// update run as "Atualizar agora" starts it. Prints the milliseconds of the
// file phase (up to the script update, which starts with the wait window's
// fixed 100 ms timer and has nothing to do with fetching), those of the whole
// run, and the run's closing message; exits with 1 when the run did not end
// in success.
#include <QApplication>
#include <chrono>
#include <functional>
#include <iostream>
#include <optional>

#include "app/untfrmkestoupdate.h"
#include "runtime/Application.h"

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    runtime::TApplication application;
    application.SetTitle("KestoUpdate");
    app::Tfrmkestoupdate form;
    form.Show();
    const auto milissegundos = [](auto duracao) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(duracao).count();
    };
    std::optional<std::chrono::steady_clock::time_point> fimArquivos;
    const std::function<void()> atualizarBancos = form.AtualizarBancos;
    form.AtualizarBancos = [&] {
        fimArquivos = std::chrono::steady_clock::now();
        if (atualizarBancos)
            atualizarBancos();
    };
    const auto inicio = std::chrono::steady_clock::now();
    application.Dispatch([&] { form.batualizarClick(); });
    const auto fim = std::chrono::steady_clock::now();
    const std::string mensagem = form.lblstatus.Caption();
    std::cout << milissegundos(fimArquivos.value_or(fim) - inicio) << " " << milissegundos(fim - inicio) << " "
              << mensagem << std::endl;
    return mensagem == "Atualização finalizada com sucesso." ? 0 : 1;
}
