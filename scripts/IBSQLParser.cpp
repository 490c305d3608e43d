#include "scripts/IBSQLParser.h"

#include "base/Exception.h"
#include "base/StrUtils.h"
#include "platform/Path.h"
#include "platform/TextFile.h"
#include "scripts/ScriptText.h"

#include <array>
#include <exception>

namespace scripts {

namespace {

constexpr std::string_view kLineBreak = "\r\n";

bool IsOneOf(const std::string& word, std::initializer_list<std::string_view> choices) {
    for (std::string_view choice : choices)
        if (word == choice)
            return true;
    return false;
}

// Restores a flag on every way out of a scope.
class FlagGuard {
public:
    FlagGuard(bool& flag, bool value) : flag_(flag), previous_(flag) { flag_ = value; }
    ~FlagGuard() { flag_ = previous_; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

private:
    bool& flag_;
    bool previous_;
};

// The file name of an INPUT statement: one leading and one trailing quote go.
std::string InputFileName(std::string name) {
    if (!name.empty() && (name.front() == '\'' || name.front() == '"'))
        name.erase(0, 1);
    if (!name.empty() && (name.back() == '\'' || name.back() == '"'))
        name.pop_back();
    return name;
}

} // namespace

const char* ParseKindName(TIBParseKind kind) {
    static constexpr std::array<const char*, 21> names = {
        "stmtDDL",
        "stmtDML",
        "stmtSET",
        "stmtCONNECT",
        "stmtDrop",
        "stmtCREATE",
        "stmtINPUT",
        "stmtUNK",
        "stmtEMPTY",
        "stmtTERM",
        "stmtERR",
        "stmtCOMMIT",
        "stmtROLLBACK",
        "stmtReconnect",
        "stmtRollbackSavePoint",
        "stmtReleaseSavePoint",
        "stmtStartSavepoint",
        "stmtCOMMITRetaining",
        "stmtROLLBACKRetaining",
        "stmtBatchStart",
        "stmtBatchExecute",
    };
    return names.at(static_cast<std::size_t>(kind));
}

void TIBSQLParser::SetPaused(bool value) {
    if (paused_ == value)
        return;
    paused_ = value;
    if (!paused_ && !looping_)
        RunLoop();
}

void TIBSQLParser::Parse() {
    nextScriptLine_ = 0;
    nextInputLine_ = 0;
    inputLines_.clear();
    inputChain_.clear();
    paused_ = false;
    RunLoop();
}

void TIBSQLParser::RunLoop() {
    FlagGuard looping(looping_, true);
    while ((nextScriptLine_ < script_.size() || !WorkingIsBlank() || nextInputLine_ < inputLines_.size()) && !paused_) {
        std::string statement = ReadStatement();
        Dispatch(ClassifyStatement(tokens_), statement);
    }
}

void TIBSQLParser::Dispatch(TIBParseKind kind, const std::string& sqlText) {
    switch (kind) {
    case stmtEMPTY:
        return;
    case stmtERR:
        ReportError("Invalid statement", sqlText);
        return;
    case stmtINPUT:
        try {
            LoadInputFile();
        } catch (const std::exception& error) {
            ReportError(error.what(), sqlText);
        }
        return;
    case stmtTERM: {
        const std::string newTerminator = tokens_[2];
        if (OnParse)
            OnParse(*this, kind, newTerminator);
        terminator_ = newTerminator;
        return;
    }
    case stmtSET: {
        std::string words;
        for (std::size_t i = 1; i < tokens_.size(); ++i)
            words += tokens_[i] + " ";
        if (OnParse)
            OnParse(*this, kind, base::Trim(words));
        return;
    }
    default:
        if (OnParse)
            OnParse(*this, kind, sqlText);
        return;
    }
}

void TIBSQLParser::ReportError(const std::string& message, const std::string& sqlText) {
    if (OnError)
        OnError(*this, message, sqlText, lineIndex_);
    paused_ = true;
}

bool TIBSQLParser::WorkingIsBlank() const {
    return IsBlank(Working());
}

void TIBSQLParser::TrimWorkingLeft() {
    while (pos_ < work_.size() && IsBlankChar(work_[pos_]))
        ++pos_;
}

bool TIBSQLParser::AppendNextLine() {
    const bool fromInput = nextInputLine_ < inputLines_.size();
    readingInput_ = fromInput;
    const std::vector<std::string>& source = fromInput ? inputLines_ : script_;
    std::size_t& next = fromInput ? nextInputLine_ : nextScriptLine_;
    if (next == source.size())
        return false;
    if (!fromInput)
        inputChain_.clear();

    if (pos_ > 0 && pos_ * 2 >= work_.size()) {
        work_.erase(0, pos_);
        pos_ = 0;
    }
    // The working text is blank on entry or becomes non-blank with the first
    // non-blank line, so only the appended line needs looking at.
    bool blank = WorkingIsBlank();
    do {
        const std::string& line = source[next++];
        work_ += kLineBreak;
        work_ += line;
        blank = blank && IsBlank(line);
    } while (next < source.size() && blank);

    if (fromInput && blank)
        AppendNextLine();
    return true;
}

std::string TIBSQLParser::ReadStatement() {
    tokens_.clear();
    openQuoteLine_ = 0;
    if (WorkingIsBlank())
        AppendNextLine();
    if (!readingInput_)
        lineIndex_ = static_cast<int>(nextScriptLine_);

    if (!SkipLeadingComments()) {
        ReportError("Invalid Comment", "");
        return "";
    }

    StatementState state;
    std::string statement;
    while (!state.done) {
        if (Working().empty() && !AppendNextLine())
            break;
        ReadToken(state, statement);
    }
    // Only the end of all text ends a statement inside quotes.
    if (state.inSingleQuotes || state.inDoubleQuotes)
        openQuoteLine_ = state.quoteLine;
    return statement;
}

int TIBSQLParser::CurrentLine() const {
    // Text is taken into the working text only once the text before it is
    // read, so what is being read stands on the line read last.
    return readingInput_ ? lineIndex_ : static_cast<int>(nextScriptLine_);
}

std::string TIBSQLParser::StatementFault(const std::string& sqlText) const {
    if (sqlText.find('\0') != std::string::npos)
        return "Statement contains a NUL character";
    if (openQuoteLine_ != 0)
        return "Unterminated quoted text starting at line " + std::to_string(openQuoteLine_);
    return "";
}

bool TIBSQLParser::DiscardRest() {
    StatementTextScan scan;
    scan.Feed(Working());
    for (const auto& [lines, next] : {std::pair(&inputLines_, nextInputLine_), std::pair(&script_, nextScriptLine_)})
        for (std::size_t i = next; i < lines->size() && !scan.Settled(); ++i) {
            scan.Feed(kLineBreak);
            scan.Feed((*lines)[i]);
        }
    work_.clear();
    pos_ = 0;
    inputLines_.clear();
    nextInputLine_ = 0;
    nextScriptLine_ = script_.size();
    return scan.Found();
}

bool TIBSQLParser::SkipLeadingComments() {
    TrimWorkingLeft();
    while (Working().starts_with("/*")) {
        // Search only the text appended since the last look, so a long
        // comment is scanned once.
        std::size_t searchFrom = 0;
        std::size_t close;
        while ((close = Working().find("*/", searchFrom)) == std::string_view::npos) {
            searchFrom = Working().size() - 1;
            if (!AppendNextLine())
                return false;
        }
        Consume(close + 2);
        TrimWorkingLeft();
        if (Working().empty())
            AppendNextLine();
        TrimWorkingLeft();
    }
    TrimWorkingLeft();
    return true;
}

bool TIBSQLParser::AtBlockEnd() const {
    const std::size_t n = tokens_.size();
    if (n >= 2 && base::SameText(tokens_[n - 2], "END") && tokens_[n - 1] == ";")
        return true;
    return n == 5 && base::SameText(tokens_[0], "ALTER") && base::SameText(tokens_[1], "TRIGGER") &&
           (base::SameText(tokens_[3], "ACTIVE") || base::SameText(tokens_[3], "INACTIVE")) && tokens_[4] == ";";
}

void TIBSQLParser::ReadToken(StatementState& state, std::string& statement) {
    const std::string_view w = Working();
    // The tokens read so far do not change while this token is read.
    const bool atBlockEnd = state.blockMode && AtBlockEnd();
    std::size_t i = 0;
    bool ended = false;
    while (i < w.size() && !ended) {
        if (!state.inSingleQuotes && !state.inDoubleQuotes && !state.inComment) {
            const bool atTerminator =
                !terminator_.empty() && w[i] == terminator_[0] && w.substr(i, terminator_.size()) == terminator_;
            if ((atTerminator && !state.blockMode) || atBlockEnd) {
                Terminate(state, statement, i);
                return;
            }
        }
        const bool outsideQuotes = !state.inSingleQuotes && !state.inDoubleQuotes;
        if (i + 1 < w.size() && outsideQuotes && w[i] == '/' && w[i + 1] == '*')
            state.inComment = true;
        if (state.inComment && i != 0 && w[i] == '/' && w[i - 1] == '*')
            state.inComment = false;
        if (!state.inComment) {
            const char c = w[i];
            if (c == ' ' && outsideQuotes) {
                ended = true;
            } else if (c == '"' && !state.inSingleQuotes) {
                ended = ToggleQuote(state, state.inDoubleQuotes);
            } else if (c == '\'' && !state.inDoubleQuotes) {
                ended = ToggleQuote(state, state.inSingleQuotes);
            }
        }
        ++i;
    }

    while (i < w.size() && IsBlankChar(w[i]))
        ++i;
    statement.append(w.substr(0, i));
    std::string token = base::Trim(w.substr(0, i));
    Consume(i);
    if (token.empty())
        return;
    tokens_.push_back(token);

    if (tokens_.size() == 2 && (base::SameText(tokens_[0], "CREATE") || base::SameText(tokens_[0], "ALTER")) &&
        (base::SameText(token, "PROCEDURE") || base::SameText(token, "TRIGGER")) && terminator_ == ";")
        state.blockMode = true;
    if (!state.blockMode)
        return;
    // In block mode the semicolon of END; (and of ALTER TRIGGER x ACTIVE;)
    // becomes a token of its own, which ends the statement.
    if (base::SameText(token, "END;")) {
        tokens_.back().resize(3);
        tokens_.push_back(";");
    } else if (tokens_.size() == 4 && base::SameText(tokens_[0], "ALTER") && base::SameText(tokens_[1], "TRIGGER") &&
               (base::SameText(token, "ACTIVE;") || base::SameText(token, "INACTIVE;"))) {
        tokens_.back().pop_back();
        tokens_.push_back(";");
    }
}

bool TIBSQLParser::ToggleQuote(StatementState& state, bool& inQuotes) const {
    inQuotes = !inQuotes;
    if (inQuotes)
        state.quoteLine = CurrentLine();
    return !inQuotes;
}

void TIBSQLParser::Terminate(StatementState& state, std::string& statement, std::size_t length) {
    state.done = true;
    if (state.blockMode) {
        // The statement ends at END; (or ACTIVE;) without its semicolon. The
        // character after it goes as well when it is the line break or blank
        // that normally follows; anything else begins the next statement.
        state.blockMode = false;
        while (!statement.empty() && IsBlankChar(statement.back()))
            statement.pop_back();
        if (!statement.empty())
            statement.pop_back();
        const std::string_view rest = Working();
        Consume(!rest.empty() && IsBlankChar(rest.front()) ? 1 : 0);
        return;
    }
    const std::string_view token = Working().substr(0, length);
    statement.append(token);
    const std::string trimmed = base::UpperCase(base::Trim(token));
    Consume(length + terminator_.size());
    if (!trimmed.empty())
        tokens_.push_back(trimmed);
}

void TIBSQLParser::LoadInputFile() {
    inputLines_.clear();
    nextInputLine_ = 0;
    // The name is written as on Windows and, as the last token, may have been
    // upper-cased: ReadLines finds it the way the Windows file system does.
    const std::string name = InputFileName(tokens_[1]);
    // Each INPUT replaces the rest of the file that named it, so a file read a
    // second time before the script moves on would be read again for ever.
    if (!inputChain_.insert(std::filesystem::weakly_canonical(platform::NativePath(name))).second)
        throw base::Exception("Input file \"" + name + "\" is already being read");
    inputLines_ = platform::ReadLines(name);
}

TIBParseKind TIBSQLParser::ClassifyStatement(const std::vector<std::string>& tokens) {
    const std::size_t n = tokens.size();
    if (n == 0)
        return stmtEMPTY;
    const std::string w0 = base::UpperCase(tokens[0]);
    const std::string w1 = n > 1 ? base::UpperCase(tokens[1]) : std::string();

    if (w0 == "COMMIT") {
        if (n != 2)
            return stmtCOMMIT;
        if (tokens[1] == "RETAINING")
            return stmtCOMMITRetaining;
    }
    if (w0 == "ROLLBACK") {
        if (n < 2)
            return stmtROLLBACK;
        if (n == 2 && tokens[1] == "RETAINING")
            return stmtROLLBACKRetaining;
        if ((n == 4 && tokens[1] == "TO" && tokens[2] == "SAVEPOINT") ||
            (n == 5 && tokens[2] == "TO" && tokens[3] == "SAVEPOINT"))
            return stmtRollbackSavePoint;
        return stmtERR;
    }
    if (w0 == "RECONNECT")
        return stmtReconnect;
    if (w0 == "SAVEPOINT")
        return stmtStartSavepoint;
    if (n < 2)
        return stmtERR;
    if (w0 == "BATCH") {
        if (w1 == "START")
            return stmtBatchStart;
        if (w1 == "EXECUTE")
            return stmtBatchExecute;
        return stmtERR;
    }
    if (w0 == "RELEASE" && w1 == "SAVEPOINT")
        return stmtReleaseSavePoint;
    if (IsOneOf(w0, {"INSERT", "DELETE", "SELECT", "UPDATE", "EXECUTE"}))
        return stmtDML;
    if (w0 == "INPUT")
        return stmtINPUT;
    if (w0 == "CONNECT")
        return stmtCONNECT;
    if (w0 == "CREATE" && IsOneOf(w1, {"DATABASE", "SCHEMA"}))
        return stmtCREATE;
    if (w0 == "DROP" && w1 == "DATABASE")
        return stmtDrop;
    if (IsOneOf(w0, {"DECLARE", "CREATE", "ALTER", "GRANT", "REVOKE", "DROP"}) || (w0 == "SET" && w1 == "GENERATOR") ||
        (w0 == "SET" && w1 == "STATISTICS" && n > 2 && base::SameText(tokens[2], "INDEX")))
        return stmtDDL;
    if (w0 == "SET") {
        if (w1 == "TERM")
            return n == 3 ? stmtTERM : stmtERR;
        if (w1 == "SQL")
            return n == 4 && base::SameText(tokens[2], "DIALECT") ? stmtSET : stmtERR;
        if (IsOneOf(w1, {"AUTODDL", "STATISTICS", "NAMES", "SAVEPOINTS"}))
            return n == 3 ? stmtSET : stmtERR;
    }
    return stmtERR;
}

} // namespace scripts
