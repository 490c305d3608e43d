#include "scripts/SqlScriptTool.h"

#include "base/StrUtils.h"
#include "db/IBDatabase.h"
#include "platform/TextFile.h"
#include "scripts/IBSQLParser.h"
#include "scripts/IBScript.h"
#include "scripts/UpdaterScripts.h"

#include <exception>
#include <functional>
#include <optional>

namespace scripts {

namespace {

constexpr const char* kUsage = "usage: sqlscript DATABASE SCRIPT... [--user U] [--password P] [--dialect N]\n"
                               "       sqlscript --parse-only SCRIPT...\n";

struct Options {
    std::string database;
    std::vector<std::string> scripts;
    std::string user = kLocalUser;
    std::string password = kLocalPassword;
    int dialect = kLocalDialect;
    bool parseOnly = false;
};

std::optional<Options> ParseArguments(const std::vector<std::string>& args) {
    Options options;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--parse-only") {
            options.parseOnly = true;
            continue;
        }
        if (!arg.starts_with("--")) {
            positional.push_back(arg);
            continue;
        }
        if (i + 1 == args.size())
            return std::nullopt;
        const std::string& value = args[++i];
        if (arg == "--user")
            options.user = value;
        else if (arg == "--password")
            options.password = value;
        else if (arg == "--dialect" && (value == "1" || value == "3"))
            options.dialect = value[0] - '0';
        else
            return std::nullopt;
    }
    if (!options.parseOnly) {
        if (positional.empty())
            return std::nullopt;
        options.database = positional.front();
        positional.erase(positional.begin());
    }
    if (positional.empty())
        return std::nullopt;
    options.scripts = positional;
    return options;
}

// Writes each line of a (possibly multi-line) text indented by two blanks.
void WriteIndented(std::ostream& out, const std::string& text) {
    for (const std::string& line : base::TextToLines(text))
        out << "  " << line << '\n';
}

// A script file's lines as the updater hands them to the runner.
std::optional<std::vector<std::string>> LoadScript(const std::string& file, std::ostream& err) {
    try {
        std::vector<std::string> lines = platform::ReadLines(file);
        BlankCommitWorkLines(lines);
        return lines;
    } catch (const std::exception& error) {
        err << "sqlscript: " << error.what() << '\n';
        return std::nullopt;
    }
}

class Reporter {
public:
    explicit Reporter(std::ostream& out) : out_(out) {}

    void SetFile(const std::string& file) { file_ = file; }
    std::ostream& At(int line) { return out_ << file_ << ':' << line << ": "; }
    void ParseError(const std::string& error, const std::string& text, int line) {
        At(line) << "parse error: " << error << '\n';
        WriteIndented(out_, text);
        failed_ = true;
    }
    void ExecuteError(TIBParseKind kind, const std::string& error, int line) {
        At(line) << ParseKindName(kind) << ": error\n";
        WriteIndented(out_, error);
        failed_ = true;
    }
    bool Failed() const { return failed_; }
    std::ostream& Out() { return out_; }

private:
    std::ostream& out_;
    std::string file_;
    bool failed_ = false;
};

// Hands the lines of each script, in order, to run until it returns false.
// False when a script file cannot be read.
bool ForEachScript(const Options& options, Reporter& report, std::ostream& err,
                   const std::function<bool(const std::vector<std::string>&)>& run) {
    for (const std::string& file : options.scripts) {
        const auto lines = LoadScript(file, err);
        if (!lines)
            return false;
        report.SetFile(file);
        if (!run(*lines))
            break;
    }
    return true;
}

int ListStatements(const Options& options, std::ostream& out, std::ostream& err) {
    Reporter report(out);
    TIBSQLParser parser;
    parser.OnParse = [&](TIBSQLParser& sender, TIBParseKind kind, const std::string& text) {
        report.At(sender.LineIndex()) << ParseKindName(kind) << '\n';
        WriteIndented(report.Out(), text);
    };
    parser.OnError = [&](TIBSQLParser&, const std::string& error, const std::string& text, int line) {
        report.ParseError(error, text, line);
    };
    const bool read = ForEachScript(options, report, err, [&](const std::vector<std::string>& lines) {
        parser.SetScript(lines);
        parser.Parse();
        return true;
    });
    return read && !report.Failed() ? 0 : 1;
}

void CommitQuietly(db::TIBTransaction& transaction) {
    try {
        if (transaction.InTransaction())
            transaction.Commit();
    } catch (const std::exception&) {
        // The updater ignores a failed commit after a script as well.
    }
}

int RunScripts(const Options& options, std::ostream& out, std::ostream& err) {
    db::TIBTransaction transaction;
    db::TIBDatabase database;
    database.DatabaseName = options.database;
    database.Params = AccountParams(options.user, options.password);
    database.LoginPrompt = false;
    database.SetSQLDialect(options.dialect);
    database.SetDefaultTransaction(&transaction);
    try {
        database.Open();
    } catch (const std::exception& error) {
        err << "sqlscript: cannot open " << options.database << '\n';
        WriteIndented(err, error.what());
        return 1;
    }

    Reporter report(out);
    TIBScript runner;
    runner.SetDatabase(&database);
    runner.SetTransaction(&transaction);
    runner.OnParse = [&](TIBScript& sender, TIBParseKind kind, const std::string&) {
        report.At(sender.Parser().LineIndex()) << ParseKindName(kind) << ": ok\n";
    };
    runner.OnParseError = [&](TIBScript&, const std::string& error, const std::string& text, int line) {
        report.ParseError(error, text, line);
    };
    const bool read = ForEachScript(options, report, err, [&](const std::vector<std::string>& lines) {
        runner.SetScript(lines);
        bool stopped = false;
        try {
            runner.RunScript();
        } catch (const std::exception& error) {
            report.ExecuteError(runner.LastKind(), error.what(), runner.Parser().LineIndex());
            stopped = true;
        }
        CommitQuietly(transaction);
        return !stopped;
    });
    if (!read)
        return 1;
    try {
        database.Close();
    } catch (const std::exception& error) {
        err << "sqlscript: closing " << options.database << " failed\n";
        WriteIndented(err, error.what());
        return 1;
    }
    return report.Failed() ? 1 : 0;
}

} // namespace

int SqlScriptMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const std::optional<Options> options = ParseArguments(args);
    if (!options) {
        err << kUsage;
        return 2;
    }
    return options->parseOnly ? ListStatements(*options, out, err) : RunScripts(*options, out, err);
}

} // namespace scripts
