#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace scripts {

// Kinds of script statements, in their stored order (0 to 20).
enum TIBParseKind : int {
    stmtDDL,
    stmtDML,
    stmtSET,
    stmtCONNECT,
    stmtDrop,
    stmtCREATE,
    stmtINPUT,
    stmtUNK,
    stmtEMPTY,
    stmtTERM,
    stmtERR,
    stmtCOMMIT,
    stmtROLLBACK,
    stmtReconnect,
    stmtRollbackSavePoint,
    stmtReleaseSavePoint,
    stmtStartSavepoint,
    stmtCOMMITRetaining,
    stmtROLLBACKRetaining,
    stmtBatchStart,
    stmtBatchExecute,
};

// The kind's name as written in code ("stmtDDL"), for listings.
const char* ParseKindName(TIBParseKind kind);

// Cuts a script into statements at the terminator, splits each statement into
// tokens, classifies it and reports it through OnParse. Knows SET TERM, /* */
// comments, quoted texts, a block mode for procedure and trigger bodies, and
// INPUT, which splices the lines of a file into the script.
//
// Parse errors never raise: they are reported through OnError and the parser
// pauses. The terminator and the unread rest of the working text persist from
// one Parse to the next.
class TIBSQLParser {
public:
    using TIBSQLParseStmt = std::function<void(TIBSQLParser& sender, TIBParseKind kind, const std::string& sqlText)>;
    using TIBSQLParseError =
        std::function<void(TIBSQLParser& sender, const std::string& error, const std::string& sqlText, int lineIndex)>;

    TIBSQLParseStmt OnParse;
    TIBSQLParseError OnError;

    std::vector<std::string>& Script() { return script_; }
    // Copies (or takes) the lines into the script; nothing else is reset.
    void SetScript(const std::vector<std::string>& lines) { script_ = lines; }
    void SetScript(std::vector<std::string>&& lines) { script_ = std::move(lines); }

    const std::string& Terminator() const { return terminator_; }
    void SetTerminator(const std::string& value) { terminator_ = value; }

    bool Paused() const { return paused_; }
    // Clearing the flag while no parse loop runs resumes the loop inside this
    // call; cleared from an event of a running loop, that loop goes on with the
    // next statement once the event returns.
    void SetPaused(bool value);

    // 1-based number of the script line on which the current statement began.
    int LineIndex() const { return lineIndex_; }
    // Tokens of the current statement; the last one is in upper case.
    const std::vector<std::string>& Tokens() const { return tokens_; }
    // The line on which a quoted text of the current statement began that
    // never closes (the statement then runs to the end of the script); 0 when
    // every quoted text closes. A quoted text opened in an INPUT file counts
    // from the script line where the statement began.
    int OpenQuoteLine() const { return openQuoteLine_; }
    // Why the current statement, with this text, must not reach the engine:
    // it holds a NUL character, which would cut it short there, or a quoted
    // text that never closes. Empty when it may go.
    std::string StatementFault(const std::string& sqlText) const;

    // Reads the script from its first line (input lines cleared, pause
    // cleared) until all text is consumed or the parser pauses. Exceptions
    // other than parse errors (those of the event handlers) pass through.
    void Parse();

    // Drops the text not read yet: the rest of the working text and of the
    // input and script lines, so that the next Parse starts with the next
    // script's own text. True when any of it was statement text (see
    // StatementTextScan).
    bool DiscardRest();

    static TIBParseKind ClassifyStatement(const std::vector<std::string>& tokens);

private:
    struct StatementState {
        bool inSingleQuotes = false;
        bool inDoubleQuotes = false;
        bool inComment = false;
        bool blockMode = false;
        bool done = false;
        int quoteLine = 0;
    };

    void RunLoop();
    void Dispatch(TIBParseKind kind, const std::string& sqlText);
    void ReportError(const std::string& message, const std::string& sqlText);
    bool AppendNextLine();
    std::string ReadStatement();
    bool SkipLeadingComments();
    void ReadToken(StatementState& state, std::string& statement);
    // Opens or closes a quoted text; true when it closed (which ends the token).
    bool ToggleQuote(StatementState& state, bool& inQuotes) const;
    void Terminate(StatementState& state, std::string& statement, std::size_t length);
    // The line that the text being read stands on (see OpenQuoteLine).
    int CurrentLine() const;
    bool AtBlockEnd() const;
    void LoadInputFile();

    std::string_view Working() const { return std::string_view(work_).substr(pos_); }
    bool WorkingIsBlank() const;
    void Consume(std::size_t count) { pos_ += count; }
    void TrimWorkingLeft();

    std::vector<std::string> script_;
    std::vector<std::string> inputLines_;
    // The input files read since the last script line, as absolute paths.
    std::set<std::filesystem::path> inputChain_;
    std::string terminator_ = ";";
    bool paused_ = false;
    bool looping_ = false;
    std::vector<std::string> tokens_;
    // The working text is work_ from pos_ on: consuming text moves pos_, and
    // the consumed front is dropped only when lines are appended, so every
    // character is copied a bounded number of times.
    std::string work_;
    std::size_t pos_ = 0;
    std::size_t nextScriptLine_ = 0;
    std::size_t nextInputLine_ = 0;
    int lineIndex_ = 0;
    int openQuoteLine_ = 0;
    bool readingInput_ = false;
};

} // namespace scripts
