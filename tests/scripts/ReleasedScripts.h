#pragma once

// The world of a script update: two local databases behind the aliases LOJA1
// and LOJA2, an internet database (SQLite or MariaDB) with its scripts table,
// and a working folder for the error files.
#include <memory>
#include <string>
#include <vector>

#include "base/StrUtils.h"
#include "tests/support/FirebirdTestDb.h"
#include "tests/support/InternetDb.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

class ReleasedScripts : public ::testing::TestWithParam<BackendKind> {
protected:
    static constexpr const char* kVersao = "SELECT VERSAO FROM VERSAO";

    ReleasedScripts() : dirGuard_(work_.path()) {}

    void SetUp() override {
        internet_ = MakeBackend(GetParam(), "[LOJA1]\nTYPE=FIREBIRD\nSERVER NAME=" + loja1_.name() +
                                                "\n[LOJA2]\nTYPE=FIREBIRD\nSERVER NAME=" + loja2_.name() + "\n");
        if (GetParam() == BackendKind::MySQL)
            internet_->Execute("SET NAMES utf8mb4");
        internet_->Execute("CREATE TABLE scripts (programa VARCHAR(20) NOT NULL, versao VARCHAR(10) NOT NULL, "
                           "liberado CHAR(1), texto TEXT NOT NULL, PRIMARY KEY (programa, versao))" +
                           std::string(GetParam() == BackendKind::MySQL ? " CHARACTER SET utf8mb4" : ""));
    }

    // The internet database's account, as connection parameters.
    std::vector<std::string> InternetParams() const {
        const db::Account conta = internet_->Account();
        return {"USER NAME=" + conta.user, "PASSWORD=" + conta.password};
    }

    void Publicar(const std::string& versao, const std::string& texto, const std::string& liberado = "S",
                  const std::string& programa = "QUILLMARK") {
        internet_->Execute("INSERT INTO scripts VALUES (" + base::QuotedStr(programa) + ", " + base::QuotedStr(versao) +
                           ", " + base::QuotedStr(liberado) + ", " + base::QuotedStr(texto) + ")");
    }

    // The files the updates left in the working folder.
    std::vector<std::string> ArquivosDeErro() const { return work_.names(); }

    testsupport::TempDir work_;
    testsupport::CurrentDirGuard dirGuard_;
    testsupport::FirebirdTestDb loja1_{1};
    testsupport::FirebirdTestDb loja2_{1};
    std::unique_ptr<Backend> internet_;
};
