#pragma once

#include <QCoreApplication>
#include <filesystem>
#include <memory>
#include <string>

#include "app/untfrmkestoupdate.h"
#include "runtime/Application.h"
#include "tests/support/FirebirdTestDb.h"
#include "tests/support/LaunchRecorder.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/PyFtpServer.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace testsupport {

// A confirmation window that answers at once with the given Tag.
class PortaoRespondido : public runtime::TForm {
public:
    explicit PortaoRespondido(int resposta) : TForm(nullptr, "Form1"), resposta_(resposta) {}

protected:
    void FormShow() override {
        Tag = resposta_;
        Close();
    }

private:
    int resposta_;
};

// An application folder with everything start-up needs: the executable, the
// configuration naming alias LOJA, whose path is a dialect-1 local database,
// WinRAR under the registry's Program Files folder, and an alias file whose
// "Check" alias reaches the internet database (an SQLite file holding the FTP
// password).
class Inicio : public ::testing::Test {
protected:
    Inicio() {
        dir_.write("Sys_Vendrake.exe", "MZ");
        EscreverIni("Configuracao: LOJA\r\nresto\r\n");
        dir_.write("Program Files/winrar/winrar.exe", "#!/bin/sh\n");
        dir_.write("registry.reg", "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion]\n"
                                   "\"ProgramFilesDir\"=\"" +
                                       (dir_ / "Program Files").string() + "\"\n");
        CriarBancoInternet("segredo");
        ApontarAliasPara(local_.name());
        application_.SetTitle("KestoUpdate");
    }

    void EscreverIni(const std::string& primeiraLinha) { dir_.write("Sys_Vendcfg.INI", primeiraLinha); }
    void EscreverAliases(const std::string& texto) { dir_.write("aliases.ini", texto); }
    void ApontarAliasPara(const std::string& caminho) {
        EscreverAliases("[LOJA]\nTYPE=FIREBIRD\nSERVER NAME=" + caminho +
                        "\n\n[Check]\nTYPE=SQLITE\nDATABASE NAME=check.db\n");
    }
    void Remover(const std::string& nome) { std::filesystem::remove(dir_ / nome); }
    // Serves a "quillmark" folder (below the test folder's "servidor") to the
    // account "tovrin" with the password "segredo" from a real FTP server, which
    // the run reaches through UPDATER_FTP_HOST.
    void ServirAtualizacoes() {
        std::filesystem::create_directories(dir_ / "servidor/quillmark");
        ftp_ = std::make_unique<PyFtpServer>(dir_ / "servidor", "tovrin", "segredo");
        host_ = std::make_unique<EnvGuard>("UPDATER_FTP_HOST", "127.0.0.1:" + std::to_string(ftp_->Port()));
    }
    // The internet database: table principal holding (only) the FTP password in its stored form.
    void CriarBancoInternet(const std::string& senhaFtp);

    // Shows the main window: its start-up sequence runs.
    app::Tfrmkestoupdate& Mostrar() {
        form_ = std::make_unique<app::Tfrmkestoupdate>();
        form_->Show();
        return *form_;
    }

    void EsperarQueFeche(app::Tfrmkestoupdate& form) {
        while (form.isVisible())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }

    testsupport::TempDir dir_;
    testsupport::FirebirdTestDb local_{1};
    testsupport::CurrentDirGuard current_{dir_.path()};
    EnvGuard registry_{"UPDATER_REGISTRY_FILE", (dir_ / "registry.reg").string()};
    EnvGuard aliases_{"UPDATER_ALIAS_FILE", (dir_ / "aliases.ini").string()};
    runtime::TApplication application_;
    testsupport::MessageBoxRecorder boxes_;
    testsupport::LaunchRecorder launches_;
    std::unique_ptr<PyFtpServer> ftp_;
    std::unique_ptr<EnvGuard> host_;
    std::unique_ptr<app::Tfrmkestoupdate> form_;
};

} // namespace testsupport
