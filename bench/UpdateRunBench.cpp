// Runs the updater's main window offscreen in the current folder (an
// application folder that the calling script prepared): its start-up, then one
// update run as "Atualizar agora" starts it. Prints the run's time in
// milliseconds and its closing message; exits with 1 when the run did not end
// in success.
#include <QApplication>
#include <chrono>
#include <iostream>

#include "app/untfrmkestoupdate.h"
#include "runtime/Application.h"

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    runtime::TApplication application;
    application.SetTitle("KestoUpdate");
    app::Tfrmkestoupdate form;
    form.Show();
    const auto inicio = std::chrono::steady_clock::now();
    application.Dispatch([&] { form.batualizarClick(); });
    const auto fim = std::chrono::steady_clock::now();
    const std::string mensagem = form.lblstatus.Caption();
    std::cout << std::chrono::duration_cast<std::chrono::milliseconds>(fim - inicio).count() << " " << mensagem
              << std::endl;
    return mensagem == "Atualização finalizada com sucesso." ? 0 : 1;
}
