#pragma once

#include "db/Driver.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// A database that the engine reaches as alias "Check": the backend writes the
// alias file (with the further aliases given), points the alias variable at
// it, and runs set-up statements with its own client.
enum class BackendKind { SQLite, MySQL };

class Backend {
public:
    virtual ~Backend() = default;
    virtual void Execute(const std::string& sql) = 0;
    virtual db::Account Account() const = 0;
};

std::unique_ptr<Backend> MakeBackend(BackendKind kind, const std::string& moreAliases = "");

// The backend's name in parameterised test names.
std::string BackendName(const testing::TestParamInfo<BackendKind>& info);
