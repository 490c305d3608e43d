// release-manifest: writes the release manifest of an update folder (see
// signing/Manifest.h) for the maker to sign with minisign:
//
//   release-manifest --release N FOLDER [--program P] [--user U] [--password P] [--no-scripts]
//
// It lists every regular file directly in FOLDER (sub-folders, the manifest
// and its signature aside) with its size and BLAKE2b-512, and every released
// script of the internet database (alias "Check", read through the same driver
// as the updater's, so the hashes agree) with the hash of its text in
// Windows-1252, as the updater receives it. --program takes one program's
// scripts only; --user and --password replace the built-in account;
// --no-scripts leaves the database alone. The manifest replaces FOLDER's in
// one step, and only when N is above the release of the manifest there.
// Exit code: 0 written, 1 refused or failed, 2 bad usage.

#include "base/Exception.h"
#include "base/Windows1252.h"
#include "config/Configuracao.h"
#include "config/UMySQL.h"
#include "db/DBTables.h"
#include "platform/TextFile.h"
#include "signing/Manifest.h"

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* Usage =
    "usage: release-manifest --release N FOLDER [--program P] [--user U] [--password P] [--no-scripts]\n";

struct Options {
    std::optional<std::uint64_t> release;
    std::filesystem::path folder;
    std::string program; // empty: every program
    std::string user = config::DecodificaTexto(config::MySQLUsuario());
    std::string password = config::DecodificaTexto(config::MySQLSenha());
    bool scripts = true;
};

// Sets the option that takes a value; false for an unknown option or a bad value.
bool SetOption(Options& options, const std::string& name, const std::string& value) {
    if (name == "--release") {
        options.release = signing::ManifestNumber(value);
        return options.release.has_value();
    }
    if (name == "--program")
        options.program = value;
    else if (name == "--user")
        options.user = value;
    else if (name == "--password")
        options.password = value;
    else
        return false;
    return true;
}

std::optional<Options> ParseArguments(const std::vector<std::string>& args) {
    Options options;
    std::vector<std::string> folders;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--no-scripts")
            options.scripts = false;
        else if (!args[i].starts_with("--"))
            folders.push_back(args[i]);
        else if (i + 1 == args.size() || !SetOption(options, args[i], args[i + 1]))
            return std::nullopt;
        else
            ++i;
    }
    if (!options.release || folders.size() != 1)
        return std::nullopt;
    options.folder = folders.front();
    return options;
}

// A release must be above the one of the manifest already in the folder.
void RefuseUnlessNewer(const std::filesystem::path& manifestFile, std::uint64_t release) {
    if (!std::filesystem::exists(std::filesystem::symlink_status(manifestFile)))
        return;
    const std::string text = platform::ReadRegularFile(manifestFile.string(), signing::ManifestLimit);
    const std::uint64_t former = signing::Manifest::Parse(text).Release();
    if (release <= former)
        throw base::Exception(manifestFile.string() + " holds release " + std::to_string(former) + "; release " +
                              std::to_string(release) + " is not above it");
}

bool IsListed(const std::filesystem::directory_entry& entry) {
    const std::string name = entry.path().filename().string();
    return entry.is_regular_file() && name != signing::ManifestFileName && name != signing::SignatureFileName &&
           !name.starts_with(platform::TemporaryPrefixOf(signing::ManifestFileName));
}

void AddFiles(signing::Manifest& manifest, const std::filesystem::path& folder) {
    for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(folder)) {
        if (!IsListed(entry))
            continue;
        try {
            manifest.AddFile(entry.path().filename().string(), signing::HashFile(entry.path().string()));
        } catch (const base::EInOutError& error) {
            throw base::Exception(entry.path().string() + ": " + error.what());
        }
    }
}

// The released scripts as the updater's wait window reads them: alias "Check"
// through the engine's driver, the text turned into Windows-1252.
void AddScripts(signing::Manifest& manifest, const Options& options) {
    db::TDatabase database;
    database.AliasName = "Check";
    database.LoginPrompt = false;
    database.Params = {"USER NAME=" + options.user, "PASSWORD=" + options.password};
    db::TQuery query(database);
    const std::string program =
        options.program.empty() ? std::string() : " and programa=" + database.QuoteText(options.program);
    query.SQL = {"select programa, versao, texto from scripts where liberado='S'" + program +
                 " order by programa, versao"};
    for (query.Open(); !query.Eof(); query.Next()) {
        const std::string name = query.FieldByName("programa").AsString();
        const std::string version = query.FieldByName("versao").AsString();
        try {
            const std::string text = base::Utf8ToWindows1252(query.FieldByName("texto").AsString());
            manifest.AddScript(name, version, signing::HashText(text));
        } catch (const base::EConvertError& error) {
            throw base::Exception("script " + name + " " + version + ": " + error.what());
        }
    }
}

void WriteManifest(const Options& options) {
    const std::filesystem::path file = options.folder / signing::ManifestFileName;
    RefuseUnlessNewer(file, *options.release);
    signing::Manifest manifest(*options.release);
    AddFiles(manifest, options.folder);
    if (options.scripts)
        AddScripts(manifest, options);
    const std::string text = manifest.Text();
    platform::WriteFileAtomically(file.string(), [&](platform::OutputFile& out) { out.write(text); });
    std::cout << "release-manifest: wrote " << file.string() << " (release " << *options.release << ", "
              << manifest.FileNames().size() << " files)\n"
              << "release-manifest: sign it: minisign -S -s SECRET_KEY -m " << file.string() << '\n';
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!options) {
        std::cerr << Usage;
        return 2;
    }
    try {
        WriteManifest(*options);
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "release-manifest: error: " << error.what() << '\n';
        return 1;
    }
}
