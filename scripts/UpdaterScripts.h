#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/DateTime.h"

namespace scripts {

// How the updater connects to a local database to run scripts: the account
// of its connection parameters and the connection's SQL dialect.
inline constexpr const char* kLocalUser = "ROOT";
inline constexpr const char* kLocalPassword = "718352";
inline constexpr int kLocalDialect = 1;

// The connection parameters that log an account on, as the updater writes them.
std::vector<std::string> AccountParams(const std::string& user, const std::string& password);

// Whether the updater blanks the line: its upper-case form holds
// "COMMIT WORK" anywhere.
bool HoldsCommitWork(std::string_view line);

// What the updater does to a script before running it: every line that holds
// COMMIT WORK becomes a single blank.
void BlankCommitWorkLines(std::vector<std::string>& lines);

// Whether blanking the line for its COMMIT WORK takes other text with it:
// anything but blanks and semicolons besides the COMMIT WORK.
bool CommitWorkWithOtherText(std::string_view line);

// Copy of texto in which every occurrence of the character caractere is
// replaced by substituto (a text of any length).
std::string TrocaCaractere(const std::string& texto, char caractere, const std::string& substituto);

// The name of the file that keeps a failed script of the work-list entry:
// "SCRIPT_ERRO_DT_" + short date (its "/" as "-") + "_HR_" + long time (its
// ":" as "-") + " " + entry + ".TXT". A "/" or "\" of the entry becomes "-",
// so the file stays in the working folder whatever the alias is called.
std::string NomeArquivoErro(base::TDateTime quando, const std::string& entrada);

// The six lines put before a failed script: a comment that holds the error's
// message, so that the saved file is itself a runnable script.
std::vector<std::string> CabecalhoErro(const std::string& mensagem);

// Why the local version table (VERSAO VARCHAR(10), in the Windows code page)
// cannot hold a released version given in UTF-8; empty when it can.
std::string MotivoVersaoInvalida(const std::string& versao);

// The position of the script progress bar after feitos of total scripts:
// 100 / total * feitos rounded to the nearest integer, halves to even, at
// most 100; 100 when the count is 0 although scripts came (the table changed
// between the two queries).
int PosicaoProgresso(int feitos, int total);

// The end of the queries on the released scripts newer than a version:
// " from scripts where programa=" + programa + " and versao>" + versao +
// " and liberado='S' order by versao", with both values already written as
// SQL text literals of the internet database.
std::string FiltroScriptsNovos(const std::string& programaLiteral, const std::string& versaoLiteral);

} // namespace scripts
