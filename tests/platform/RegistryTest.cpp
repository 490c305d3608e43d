#include "platform/Registry.h"
#include "platform/SystemError.h"
#include "platform/TextFile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace platform;
using testsupport::EnvGuard;
using testsupport::TempDir;

namespace {

class RegistryFile : public ::testing::Test {
protected:
    // Installs text as the registry file for the rest of the test.
    void install(const std::string& text) {
        file_ = dir_.write("registry.reg", text);
        guard_.reset(); // the former guard restores the variable first
        guard_ = std::make_unique<EnvGuard>(RegistryFileVariable, file_.string());
    }

    TempDir dir_;
    std::filesystem::path file_;
    std::unique_ptr<EnvGuard> guard_;
};

std::string stored(const RegistryKey& key, const std::string& name) {
    auto value = key.QueryValue(name);
    return value ? value->data : "<absent>";
}

} // namespace

TEST_F(RegistryFile, ReadsEveryValueKindWithEscapesContinuationsAndAnyLetterCase) {
    install("REGEDIT4\r\n"
            "\r\n"
            "; the machine's folders\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion]\r\n"
            "\"ProgramFilesDir\"=\"C:\\\\Program Files\"\r\n"
            "\"Quoted\"=\"say \\\"hi\\\"\"\r\n"
            "\"Count\"=dword:0000012c\r\n"
            "\"Blob\"=hex:01,ff,\\\r\n"
            "  7f\r\n"
            "\"Path\"=hex(2):25,41,25,00\r\n"
            "\"Multi\"=hex(7):61,00,00\r\n"
            "@=\"default\"\r\n"
            "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion]\r\n"
            "\"ProgramFilesDir\"=\"other root\"\r\n");
    RegistryKey key = RegistryKey::OpenRead(RootKey::LocalMachine, "\\SOFTWARE\\microsoft\\Windows\\CurrentVersion");
    EXPECT_EQ(stored(key, "programfilesdir"), std::string("C:\\Program Files\0", 17));
    EXPECT_EQ(stored(key, "Quoted"), std::string("say \"hi\"\0", 9));
    EXPECT_EQ(key.QueryValue("Count")->type, REG_DWORD);
    EXPECT_EQ(stored(key, "Count"), std::string("\x2c\x01\x00\x00", 4));
    EXPECT_EQ(key.QueryValue("Blob")->type, REG_BINARY);
    EXPECT_EQ(stored(key, "Blob"), "\x01\xff\x7f");
    EXPECT_EQ(key.QueryValue("Path")->type, REG_EXPAND_SZ);
    EXPECT_EQ(stored(key, "Path"), std::string("%A%\0", 4));
    EXPECT_EQ(key.QueryValue("Multi")->type, 7u);
    EXPECT_EQ(stored(key, "@"), std::string("default\0", 8));
    EXPECT_EQ(stored(key, ""), std::string("default\0", 8));
    EXPECT_EQ(stored(key, "Missing"), "<absent>");
}

TEST_F(RegistryFile, ParentsOfADeclaredKeyExistAndALaterValueReplacesAnEarlierOne) {
    install("REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Vendor\\App]\n\"A\"=\"1\"\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Vendor\\App]\n\"a\"=\"2\"\n");
    EXPECT_EQ(stored(RegistryKey::OpenRead(RootKey::LocalMachine, "Software\\Vendor\\App"), "A"),
              std::string("2\0", 2));
    EXPECT_EQ(stored(RegistryKey::OpenRead(RootKey::LocalMachine, "Software\\Vendor"), "A"), "<absent>");
}

TEST_F(RegistryFile, AnAbsentKeyFileOrVariableFailsWithTheFileNotFoundText) {
    install("REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Vendor]\n");
    auto expectNotFound = [](RootKey root, const char* path) {
        try {
            RegistryKey::OpenRead(root, path);
            ADD_FAILURE() << path << " opened";
        } catch (const EOSError& error) {
            EXPECT_EQ(error.ErrorCode(), ERROR_FILE_NOT_FOUND);
            EXPECT_STREQ(error.what(), "The system cannot find the file specified.");
        }
    };
    expectNotFound(RootKey::LocalMachine, "Software\\Vendors");
    expectNotFound(RootKey::LocalMachine, "Software\\Vendor\\Sub");
    expectNotFound(RootKey::CurrentUser, "Software\\Vendor");
    EnvGuard missingFile(RegistryFileVariable, (dir_ / "none.reg").string());
    expectNotFound(RootKey::LocalMachine, "Software\\Vendor");
    EnvGuard noVariable(RegistryFileVariable, "");
    expectNotFound(RootKey::LocalMachine, "Software\\Vendor");
}

TEST_F(RegistryFile, ADeviceIsRefusedNotRead) {
    EnvGuard device(RegistryFileVariable, "/dev/zero");
    EXPECT_THROW(RegistryKey::OpenRead(RootKey::LocalMachine, "Software"), EFileRefused);
}

TEST_F(RegistryFile, MalformedFilesAreReportedWithTheirLine) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"Windows Registry Editor Version 5.00\n", "line 1: the file does not begin with REGEDIT4"},
        {"", "the file does not begin with REGEDIT4"},
        {"REGEDIT4\n\"A\"=\"1\"\n", "line 2: a value before the first key"},
        {"REGEDIT4\n[HKEY_NOWHERE\\X]\n", "line 2: unknown root key HKEY_NOWHERE"},
        {"REGEDIT4\n[HKEY_USERS\\X\n", "line 2: a key line must end with ]"},
        {"REGEDIT4\n[-HKEY_USERS\\X]\n", "key deletions are not supported"},
        {"REGEDIT4\n[HKEY_USERS\\X]\n\"A\"=\"C:\\Temp\"\n", "line 3: only \\\\ and \\\" may follow"},
        {"REGEDIT4\n[HKEY_USERS\\X]\n\"A\"=\"open\n", "line 3: a quoted text is not closed"},
        {"REGEDIT4\n[HKEY_USERS\\X]\n\"A\"=dword:123456789\n", "invalid hexadecimal number: 123456789"},
        {"REGEDIT4\n[HKEY_USERS\\X]\n\"A\"=hex:1g\n", "invalid hexadecimal number: 1g"},
        {"REGEDIT4\n[HKEY_USERS\\X]\n\"A\"=hex:01,,02\n", "invalid hexadecimal number: "},
        {"REGEDIT4\n[HKEY_USERS\\X]\n\"A\"=-\n", "unknown value data: -"},
        {"REGEDIT4\n[HKEY_USERS\\X]\n\"A\" \"1\"\n", "line 3: = expected"},
        {"REGEDIT4\n[HKEY_USERS\\X]\nA=\"1\"\n", "a value name must be @ or a quoted text"},
    };
    for (const auto& c : cases) {
        install(c.text);
        try {
            // The error shows whatever key is asked for: the whole file is checked.
            RegistryKey::OpenRead(RootKey::LocalMachine, "Other");
            ADD_FAILURE() << c.text;
        } catch (const EOSError&) {
            ADD_FAILURE() << "reported as a missing key: " << c.text;
        } catch (const base::Exception& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
            EXPECT_NE(std::string(error.what()).find(file_.string()), std::string::npos);
        }
    }
}
