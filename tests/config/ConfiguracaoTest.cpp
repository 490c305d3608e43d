#include "config/Configuracao.h"
#include "base/Exception.h"
#include "config/ChaveReleases.h"
#include "db/AliasConfig.h"
#include "platform/SystemError.h"
#include "signing/Minisign.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace config;
using ::testing::HasSubstr;
using testsupport::EnvGuard;
using testsupport::TempDir;

TEST(DecodificaTexto, TheKeyDigitShiftsEveryFollowingCharacterBackModulo256) {
    const struct {
        std::string stored;
        std::string plain;
    } cases[] = {
        {"", ""},
        {"7", ""},
        {"0abc", "abc"}, // key 0 leaves the text as it is
        {"xabc", "abc"}, // a key that is not a digit counts as 0
        {"1xsgdwhubtp", "updater_qm"},
        {"3\x05\x09\x0a", std::string("\xfc\x00\x01", 3)}, // codes below 3 x k wrap around
        {std::string("9\x1b", 2), std::string("\x00", 1)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodificaTexto(c.stored), c.plain) << c.stored;
}

TEST(DecodificaTexto, UndoesCodificaTextoForEveryKeyAndEveryByte) {
    std::string every;
    for (int code = 0; code < 256; ++code)
        every += static_cast<char>(code);
    for (int key = 0; key <= 9; ++key) {
        std::string stored = CodificaTexto(key, every);
        ASSERT_EQ(stored[0], '0' + key);
        EXPECT_EQ(DecodificaTexto(stored), every) << key;
    }
}

TEST(ChaveDeReleases, IsAMinisignPublicKeyLineUnlessTheChecksAreOff) {
    const std::string chave = ChaveDeReleases();
    if (chave.empty())
        GTEST_SKIP() << "built with UPDATER_RELEASE_PUBLIC_KEY empty";
    EXPECT_NO_THROW(signing::ParsePublicKey(chave));
}

namespace {

class ConfigFolder : public ::testing::Test {
protected:
    TempDir dir_;
    testsupport::CurrentDirGuard current_{dir_.path()};
};

} // namespace

TEST_F(ConfigFolder, AliasNameIsCharacters15To44OfTheFirstLineTrimmed) {
    const std::string digits60 = "12345678901234567890123456789012345678901234567890123456789X";
    const struct {
        std::string content;
        std::string alias;
    } cases[] = {
        {"", ""},
        {"12345678901234\r\nQUILLMARK\r\n", ""}, // 14 characters: nothing from character 15
        {"12345678901234 \t QUILL MARK \x01\r\nignored", "QUILL MARK"},
        {digits60 + "\n", digits60.substr(14, 30)},
        {"CONFIGURACAO: QUILLMARK                       tail", "QUILLMARK"},
    };
    for (const auto& c : cases) {
        dir_.write("Sys_Vendcfg.INI", c.content);
        EXPECT_EQ(LerNomeAlias(), c.alias) << c.content;
    }
    // The file's name is found whatever its letter case, as on the store's machines.
    std::filesystem::rename(dir_ / "Sys_Vendcfg.INI", dir_ / "SYS_VENDCFG.ini");
    EXPECT_EQ(LerNomeAlias(), "QUILLMARK");
}

TEST_F(ConfigFolder, AnUnopenableOrUnboundedConfigurationFileIsAnInputOutputError) {
    try {
        LerNomeAlias();
        FAIL() << "no error";
    } catch (const base::EInOutError& error) {
        EXPECT_STREQ(error.what(), "File not found");
    }
    std::filesystem::create_directory(dir_ / "folder");
    EXPECT_THROW(LerNomeAlias("folder"), base::EInOutError);
    ASSERT_EQ(mkfifo("Sys_Vendcfg.INI", 0600), 0); // must not wait for a writer
    EXPECT_THROW(LerNomeAlias(), base::EInOutError);
    std::filesystem::remove("Sys_Vendcfg.INI");
    dir_.write("Sys_Vendcfg.INI", std::string(64 * 1024, ' ') + "QUILLMARK\r\n");
    EXPECT_THROW(LerNomeAlias(), base::EInOutError);
}

TEST_F(ConfigFolder, AliasParameterIsTheLastExactMatchCutTo100Characters) {
    const std::string longPath = "/" + std::string(120, 'p');
    dir_.write("aliases.ini", "[QUILLMARK]\n"
                              "TYPE=FIREBIRD\n"
                              "SERVER NAME=/data/first.fdb\n"
                              "SERVER NAMES=/data/plural.fdb\n"
                              "server name=/data/lower.fdb\n"
                              "SERVER NAME=/data/second.fdb\n"
                              "[LONG]\n"
                              "TYPE=FIREBIRD\n"
                              "SERVER NAME=" +
                                  longPath + "\n");
    EnvGuard aliases(db::AliasFileVariable, (dir_ / "aliases.ini").string());
    EXPECT_EQ(LerParametroAlias("quillmark", "SERVER NAME"), "/data/second.fdb");
    EXPECT_EQ(LerParametroAlias("QUILLMARK", "SERVER NAMES"), "/data/plural.fdb");
    EXPECT_EQ(LerParametroAlias("LONG", "SERVER NAME"), longPath.substr(0, 100));
    EXPECT_EQ(LerParametroAlias("QUILLMARK", "USER NAME"), "");
    EXPECT_EQ(LerParametroAlias("OTHER", "SERVER NAME"), "");
    EXPECT_EQ(LerParametroAlias("", "SERVER NAME"), "");
    EXPECT_EQ(LerParametroAlias("QUILLMARK", ""), "");
    EnvGuard broken(db::AliasFileVariable, (dir_ / "Sys_Vendcfg.INI").string());
    dir_.write("Sys_Vendcfg.INI", "not an alias file\n");
    EXPECT_EQ(LerParametroAlias("QUILLMARK", "SERVER NAME"), "");
}

namespace {

class Registry : public ConfigFolder {
protected:
    void install(const std::string& values) {
        dir_.write("registry.reg",
                   "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion]\n" + values);
    }

    std::string errorOf(const std::string& key, const std::string& name) {
        try {
            LerValorRegistro(platform::RootKey::LocalMachine, key, name);
        } catch (const platform::EOSError& error) {
            return error.what();
        }
        return "<no error>";
    }

    EnvGuard registry_{platform::RegistryFileVariable, (dir_ / "registry.reg").string()};
    const std::string key_ = "\\Software\\Microsoft\\Windows\\CurrentVersion";
};

} // namespace

TEST_F(Registry, ValuesAreReadByTheirType) {
    install("\"Text\"=\"C:\\\\Program Files\"\n"
            "\"Expand\"=hex(2):25,50,25,00,78,00\n"
            "\"Number\"=dword:ffffffff\n"
            "\"Bytes\"=hex:00,01,fe\n");
    using Valor = TValorRegistro;
    EXPECT_EQ(LerValorRegistro(platform::RootKey::LocalMachine, key_, "Text"), Valor(std::string("C:\\Program Files")));
    EXPECT_EQ(LerValorRegistro(platform::RootKey::LocalMachine, key_, "Expand"), Valor(std::string("%P%")));
    EXPECT_EQ(LerValorRegistro(platform::RootKey::LocalMachine, key_, "Number"), Valor(std::int32_t{-1}));
    EXPECT_EQ(LerValorRegistro(platform::RootKey::LocalMachine, key_, "Bytes"),
              Valor(std::vector<std::uint8_t>{0x00, 0x01, 0xfe}));
}

TEST_F(Registry, MissingKeysValuesAndUnreadableTypesGiveTheSystemTexts) {
    install("\"Multi\"=hex(7):61,00,00\n"
            "\"ShortNumber\"=hex(4):01,02\n");
    const std::string cantRead = "The configuration registry key could not be read.";
    EXPECT_EQ(errorOf(key_, "Missing"), cantRead);
    EXPECT_EQ(errorOf(key_, "Multi"), cantRead);
    EXPECT_EQ(errorOf(key_, "ShortNumber"), cantRead);
    EXPECT_EQ(errorOf("\\Software\\Elsewhere", "Multi"), "The system cannot find the file specified.");
}

TEST_F(Registry, WinRARFolderFallsBackFromTheX86FolderToItsPlainForm) {
    const std::string plain = (dir_ / "Program Files").string();
    const std::string x86 = plain + " (x86)";
    auto useFolder = [&](const std::string& folder) {
        std::string escaped;
        for (char c : folder)
            escaped += (c == '\\' ? "\\\\" : std::string(1, c));
        install("\"ProgramFilesDir\"=\"" + escaped + "\"\n");
    };

    useFolder(x86);
    EXPECT_EQ(PastaWinRAR(), x86); // WinRAR nowhere: the value unchanged
    dir_.write("Program Files/winrar/winrar.exe", "");
    EXPECT_EQ(PastaWinRAR(), plain);
    dir_.write("Program Files (x86)/winrar/winrar.exe", "");
    EXPECT_EQ(PastaWinRAR(), x86);
    useFolder(plain);
    EXPECT_EQ(PastaWinRAR(), plain);
    std::filesystem::rename(dir_ / "Program Files/winrar/winrar.exe", dir_ / "Program Files/winrar/WinRAR.exe");
    std::filesystem::rename(dir_ / "Program Files/winrar", dir_ / "Program Files/WinRAR");
    EXPECT_EQ(PastaWinRAR(), plain); // found ignoring letter case

    install("\"ProgramFilesDir\"=hex:41\n");
    EXPECT_THROW(PastaWinRAR(), base::Exception);
    install("");
    EXPECT_THROW(PastaWinRAR(), platform::EOSError);
}

TEST(ServidorFtp, TheEnvironmentOverridesTheBuiltInHost) {
    {
        EnvGuard vazio("UPDATER_FTP_HOST", "");
        const ServidorFtp servidor = LerServidorFtp();
        EXPECT_FALSE(servidor.host.empty());
        EXPECT_EQ(servidor.porta, 21);
    }
    const struct {
        const char* valor;
        const char* host;
        int porta;
    } cases[] = {
        {"ftp.example.com", "ftp.example.com", 21},
        {" 127.0.0.1:2121 ", "127.0.0.1", 2121},
        {"host:65535", "host", 65535},
    };
    for (const auto& c : cases) {
        EnvGuard host("UPDATER_FTP_HOST", c.valor);
        const ServidorFtp servidor = LerServidorFtp();
        EXPECT_EQ(servidor.host, c.host) << c.valor;
        EXPECT_EQ(servidor.porta, c.porta) << c.valor;
    }
    for (const char* ruim : {"host:", "host:0", "host:65536", "host:21x", "host:-5"}) {
        EnvGuard host("UPDATER_FTP_HOST", ruim);
        EXPECT_THROW(LerServidorFtp(), base::Exception) << ruim;
    }
}
