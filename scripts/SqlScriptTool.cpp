#include "scripts/SqlScriptTool.h"

#include "base/StrUtils.h"
#include "db/IBDatabase.h"
#include "platform/TextFile.h"
#include "scripts/IBSQLParser.h"
#include "scripts/IBScript.h"
#include "scripts/ScriptStep.h"
#include "scripts/UpdaterScripts.h"

#include <exception>
#include <functional>
#include <optional>

namespace scripts {

namespace {

constexpr const char* kUsage = "usage: sqlscript DATABASE SCRIPT... [--user U] [--password P] [--dialect N]\n"
                               "       sqlscript --parse-only SCRIPT...\n"
                               "       sqlscript --check SCRIPT...\n";

enum class Mode { Run, ParseOnly, Check };

struct Options {
    Mode mode = Mode::Run;
    std::string database;
    std::vector<std::string> scripts;
    std::string user = kLocalUser;
    std::string password = kLocalPassword;
    int dialect = kLocalDialect;
};

std::optional<Mode> ModeOption(const std::string& arg) {
    if (arg == "--parse-only")
        return Mode::ParseOnly;
    if (arg == "--check")
        return Mode::Check;
    return std::nullopt;
}

std::optional<Options> ParseArguments(const std::vector<std::string>& args) {
    Options options;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (const std::optional<Mode> mode = ModeOption(arg)) {
            if (options.mode != Mode::Run && options.mode != *mode)
                return std::nullopt;
            options.mode = *mode;
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
    if (options.mode == Mode::Run) {
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
    void CommitError(const std::string& error) {
        out_ << file_ << ": commit: error\n";
        WriteIndented(out_, error);
        failed_ = true;
    }
    void Warning(int line, const std::string& warning, const std::string& text) {
        At(line) << "warning: " << warning << '\n';
        WriteIndented(out_, text);
        failed_ = true;
    }
    bool Failed() const { return failed_; }
    std::ostream& Out() { return out_; }

private:
    std::ostream& out_;
    std::string file_;
    bool failed_ = false;
};

using ScriptRun = std::function<bool(std::vector<std::string>&& lines)>;
using LinesCheck = std::function<void(const std::vector<std::string>& lines)>;

// Hands the lines of each script, in order and as the file holds them, to
// run until run returns false. False when a script file cannot be read.
bool ForEachScript(const Options& options, Reporter& report, std::ostream& err, const ScriptRun& run) {
    for (const std::string& file : options.scripts) {
        std::vector<std::string> lines;
        try {
            lines = platform::ReadLines(file);
        } catch (const std::exception& error) {
            err << "sqlscript: " << error.what() << '\n';
            return false;
        }
        report.SetFile(file);
        if (!run(std::move(lines)))
            break;
    }
    return true;
}

// Parses the scripts as the updater's runner reads them (COMMIT WORK lines
// blanked): a parse error (or a statement handler that pauses the parser)
// ends its script, whose rest is discarded, and the next script goes on with
// the terminator in force. before, when given, sees each script's lines as
// the file holds them; afterScript learns whether it was read to its end.
bool ParseScripts(const Options& options, Reporter& report, std::ostream& err, TIBSQLParser& parser,
                  const LinesCheck& before = {}, const std::function<void(bool)>& afterScript = {}) {
    parser.OnError = [&](TIBSQLParser&, const std::string& error, const std::string& text, int line) {
        report.ParseError(error, text, line);
    };
    return ForEachScript(options, report, err, [&](std::vector<std::string>&& lines) {
        if (before)
            before(lines);
        BlankCommitWorkLines(lines);
        parser.SetScript(std::move(lines));
        parser.Parse();
        const bool stopped = parser.Paused();
        if (stopped)
            parser.DiscardRest();
        if (afterScript)
            afterScript(!stopped);
        return true;
    });
}

int ListStatements(const Options& options, std::ostream& out, std::ostream& err) {
    Reporter report(out);
    TIBSQLParser parser;
    parser.OnParse = [&](TIBSQLParser& sender, TIBParseKind kind, const std::string& text) {
        report.At(sender.LineIndex()) << ParseKindName(kind) << '\n';
        WriteIndented(report.Out(), text);
    };
    const bool read = ParseScripts(options, report, err, parser);
    return read && !report.Failed() ? 0 : 1;
}

// The maker's release check: what the updater would do with the scripts that
// their author may not expect, found without a database.
class ReleaseCheck {
public:
    explicit ReleaseCheck(Reporter& report) : report_(report) {}

    // Lines whose COMMIT WORK blanks other text with it.
    void Lines(const std::vector<std::string>& lines) {
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (CommitWorkWithOtherText(lines[i]))
                report_.Warning(static_cast<int>(i) + 1, "the whole line is blanked for its COMMIT WORK", lines[i]);
    }

    // A statement the runner would refuse ends the script, as it does in the
    // updater; batches are followed to their end.
    void Statement(TIBSQLParser& parser, TIBParseKind kind, const std::string& text) {
        if (const std::string fault = parser.StatementFault(text); !fault.empty()) {
            report_.ExecuteError(kind, fault, parser.LineIndex());
            parser.SetPaused(true);
        } else if (kind == stmtBatchStart) {
            batchLine_ = parser.LineIndex();
            queued_ = 0;
            inBatch_ = true;
        } else if (kind == stmtBatchExecute) {
            inBatch_ = false;
        } else if (inBatch_ && (kind == stmtDDL || kind == stmtDML)) {
            ++queued_;
        }
    }

    void EndOfScript(bool readToTheEnd) {
        if (readToTheEnd && inBatch_ && queued_ > 0)
            report_.ExecuteError(stmtBatchStart, UnfinishedBatchMessage(queued_), batchLine_);
        inBatch_ = false;
    }

private:
    Reporter& report_;
    bool inBatch_ = false;
    std::size_t queued_ = 0;
    int batchLine_ = 0;
};

int CheckScripts(const Options& options, std::ostream& out, std::ostream& err) {
    Reporter report(out);
    ReleaseCheck check(report);
    TIBSQLParser parser;
    parser.OnParse = [&](TIBSQLParser& sender, TIBParseKind kind, const std::string& text) {
        check.Statement(sender, kind, text);
    };
    const bool read = ParseScripts(
        options, report, err, parser, [&](const std::vector<std::string>& lines) { check.Lines(lines); },
        [&](bool readToTheEnd) { check.EndOfScript(readToTheEnd); });
    return read && !report.Failed() ? 0 : 1;
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
    // Each script is run and committed as the updater runs it; one that fails
    // ends the run, as it ends the update of a database in the updater.
    const bool read = ForEachScript(options, report, err, [&](std::vector<std::string>&& lines) {
        const ScriptStepOutcome outcome = RunScriptAndCommit(runner, [&] { return std::move(lines); });
        if (outcome.failure == ScriptFailure::Statement)
            report.ExecuteError(runner.LastKind(), outcome.message, runner.Parser().LineIndex());
        else if (outcome.failure == ScriptFailure::Commit)
            report.CommitError(outcome.message);
        return !outcome.Failed();
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
    switch (options->mode) {
    case Mode::ParseOnly:
        return ListStatements(*options, out, err);
    case Mode::Check:
        return CheckScripts(*options, out, err);
    case Mode::Run:
        break;
    }
    return RunScripts(*options, out, err);
}

} // namespace scripts
