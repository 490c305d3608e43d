#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "base/DateTime.h"
#include "ftp/IdFTPList.h"
#include "platform/Process.h"

// The decisions of an update run's file phase, apart from the window that
// shows them: which listing lines are files to look at, which files are out of
// date, and how the main executable makes way for the one in the archive.
namespace app {

// The application files the run knows by name.
inline constexpr const char* PastaDlls = "Arquivos_dlls";
inline constexpr const char* ArquivoCompactado = "Sys_Vendrake.rar";
inline constexpr const char* ExecutavelAntigo = "Sys_Vendrake.old";

// The last blank-separated word of a line (at most 1000 characters), without
// leading and trailing blanks and control characters.
std::string UltimaPalavra(const std::string& linha);

// Whether the local file nome (current folder) must be fetched for a server
// entry dated remoto: their "dd/mm/yyyy HH:mm" texts differ. A missing file
// counts as dated today at 00:00; the sub-folder "Arquivos_dlls" is never
// out of date.
bool ArquivoDesatualizado(const std::string& nome, base::TDateTime remoto);

// What a raw line of the update folder's listing stands for.
enum class TipoLinha {
    Arquivo,  // an entry to check and perhaps fetch
    Ignorada, // a "total" line, a blank line, "." or "..": shown, never fetched
    // A line that does not parse, a name that is a path, or a file the server
    // never replaces ("SCRIPT_ERRO*.*", "Sys_Vendcfg.INI"): never fetched, an error.
    Invalida,
};

struct LinhaListagem {
    TipoLinha tipo = TipoLinha::Invalida;
    ftp::TIdFTPListItem entrada; // parsed, for an Arquivo
};

// Parses one raw line on its own (format judged by the line itself), so that a
// line that does not parse touches no other line. A name holding "/" or "\"
// would leave the application folder and is refused, as are the names of the
// files the server never replaces.
LinhaListagem AnalisarLinha(const std::string& linha);

// Moves the executable aside to "Sys_Vendrake.old" in its folder, so that one
// of the two names holds the former executable whole at every moment: the old
// name is emptied, the executable copied to it, and removed only once the
// copy has its size. While the executable is still there, esperar(1000) runs
// up to 5 times. Returns whether the executable is gone (an absent one is).
bool AfastarExecutavel(const std::string& executavel, const std::function<void(int)>& esperar);

// Puts the former executable back from "Sys_Vendrake.old" in its folder,
// after an extraction that brought no new one. Returns whether it is back.
bool RestaurarExecutavel(const std::string& executavel);

// The archiver's command line that extracts every *.exe of the archive (its
// name as the folder spells it: the archiver does not ignore letter case)
// into the current folder, overwriting; the program path is quoted because the
// Program Files folder name holds blanks.
std::string ComandoWinRAR(const std::string& pastaProgramas, const std::string& arquivo);

// How long the run waits for the archiver.
inline constexpr int EsperaMaximaWinRAR = 5 * 60 * 1000;

// The information box after an extraction that brought no new executable:
// why, from the archiver's outcome, and whether the former one is back.
std::string MensagemExtracaoFalhou(const platform::ProgramExit& saida, const std::string& executavel, bool restaurado);

} // namespace app
