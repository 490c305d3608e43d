#include "scripts/ScriptUpdate.h"

#include "base/StrUtils.h"
#include "base/Windows1252.h"
#include "config/Configuracao.h"
#include "platform/TextFile.h"
#include "scripts/ScriptStep.h"
#include "scripts/UpdaterScripts.h"

namespace scripts {

using namespace base;

ScriptUpdate::ScriptUpdate(const ScriptUpdateComponents& components) : c_(components) {
    c_.texts.TableName = "scripts";
    c_.texts.IndexFieldNames = "programa;versao";
    c_.texts.MasterFields = "programa;versao";
    c_.texts.MasterSource = &c_.list;

    c_.local.Params = AccountParams(kLocalUser, kLocalPassword);
    c_.local.LoginPrompt = false;
    c_.local.SetSQLDialect(kLocalDialect);
    c_.local.SetDefaultTransaction(&c_.scriptTransaction);
    c_.versionTransaction.SetDefaultDatabase(&c_.local);
    c_.versionQuery.SetDatabase(&c_.local);
    c_.versionQuery.SetTransaction(&c_.versionTransaction);
    versionInScript_.SetDatabase(&c_.local);
    versionInScript_.SetTransaction(&c_.scriptTransaction);
    c_.runner.SetDatabase(&c_.local);
    c_.runner.SetTransaction(&c_.scriptTransaction);
    c_.runner.SetTerminator(";");
}

ScriptUpdateResult ScriptUpdate::Run(const std::vector<std::string>& workList, ScriptUpdateObserver& observer) {
    ScriptUpdateResult result = ScriptUpdateResult::Applied;
    try {
        for (const std::string& entry : workList)
            if (!UpdateDatabase(entry, observer))
                result = ScriptUpdateResult::ScriptFailed;
    } catch (...) {
        result = ScriptUpdateResult::OutsideFailure;
        Undo();
        observer.OutsideFailure(std::current_exception());
    }
    programName_.clear();
    return result;
}

bool ScriptUpdate::UpdateDatabase(const std::string& entry, ScriptUpdateObserver& observer) {
    const std::string alias = Copy(entry, 3, 100);
    c_.local.DatabaseName = config::LerParametroAlias(alias, "SERVER NAME");
    if (entry[0] == 'M')
        programName_ = "QUILLMARK";
    c_.local.Open();
    CreateVersionTable();
    // The recorded version is kept in the Windows code page; the internet
    // database takes UTF-8.
    const std::string filter = FiltroScriptsNovos(c_.internet.QuoteText(programName_),
                                                  c_.internet.QuoteText(Windows1252ToUtf8(RecordedVersion())));
    c_.count.SQL = {"select count(*) ct" + filter};
    c_.count.Open();
    const int total = c_.count.FieldByName("ct").AsInteger();
    c_.count.Close();
    c_.list.SQL = {"select programa,versao" + filter};
    c_.list.Open();

    int done = 0;
    bool failed = false;
    while (!c_.list.Eof() && !failed) {
        failed = !ApplyCurrentScript(entry, observer);
        ++done;
        observer.Progress(PosicaoProgresso(done, total));
        if (!failed)
            c_.list.Next();
    }
    observer.Progress(100);
    c_.list.Close();
    c_.local.Close();
    return !failed;
}

void ScriptUpdate::CreateVersionTable() {
    if (!CountsAny("SELECT COUNT(*) CT FROM RDB$RELATION_FIELDS where RDB$FIELD_NAME='VERSAO' AND "
                   "RDB$RELATION_NAME='VERSAO'"))
        ExecuteAndCommit("CREATE TABLE VERSAO (VERSAO VARCHAR(10));");
    // A table without its row would record nothing, and every script would
    // run again at the next update: it gets the row a new table gets.
    if (!CountsAny("select count(*) CT from versao"))
        ExecuteAndCommit("insert into versao (versao) values ('0');");
}

bool ScriptUpdate::CountsAny(const std::string& countQuery) {
    db::TIBQuery& query = c_.versionQuery;
    query.SetSQL({countQuery});
    query.Open();
    const bool any = query.FieldByName("CT").AsInteger() != 0;
    c_.versionTransaction.Rollback();
    return any;
}

void ScriptUpdate::ExecuteAndCommit(const std::string& statement) {
    c_.versionQuery.SetSQL({statement});
    c_.versionQuery.ExecSQL();
    c_.versionTransaction.Commit();
}

std::string ScriptUpdate::RecordedVersion() {
    db::TIBQuery& query = c_.versionQuery;
    query.SetSQL({"select versao from versao"});
    query.Open();
    std::string version = query.FieldByName("versao").AsString();
    query.Close();
    c_.versionTransaction.Rollback();
    return version;
}

bool ScriptUpdate::ApplyCurrentScript(const std::string& entry, ScriptUpdateObserver& observer) {
    const std::string version = c_.list.FieldByName("versao").AsString();
    // Run, such a script could never be recorded, and would run again at
    // every update.
    if (const std::string why = MotivoVersaoInvalida(version); !why.empty())
        throw Exception("A versão " + QuotedStr(TrocaCaractere(version, '\0', "\\0")) +
                        " de um script não cabe na tabela VERSAO do banco de dados local: " + why +
                        ". Nada desse script foi executado.");
    c_.texts.Open();
    const std::string text = c_.texts.FieldByName("texto").AsString();
    c_.texts.Close();
    std::vector<std::string> lines = TextToLines(text);
    observer.ScriptStarting(lines);
    // The store application reads its database in the Windows code page. A
    // script that the code page cannot hold is kept as it came, for the error
    // file, and not run.
    c_.runner.SetScript(std::move(lines));
    // The version goes in with the script's own work, so that one commit
    // keeps both: an update that stops later never applies a script twice.
    // The failing script's version too, as it counts as applied, but only
    // once its error file is written: a failure nobody can see must not
    // count as applied.
    std::string errorFile;
    const auto saveFailure = [&](const ScriptStepOutcome& failure) {
        errorFile = SaveFailedScript(entry, version, failure.message);
    };
    std::exception_ptr notSaved;
    const ScriptStepOutcome outcome = RunScriptAndCommit(
        c_.runner, [&] { return TextToLines(Utf8ToWindows1252(text)); },
        [&](const ScriptStepOutcome& soFar) {
            try {
                if (soFar.Failed())
                    saveFailure(soFar);
            } catch (...) {
                notSaved = std::current_exception();
                throw;
            }
            RecordVersion(versionInScript_, version);
        });
    if (notSaved)
        std::rethrow_exception(notSaved);
    if (outcome.failure == ScriptFailure::Commit)
        saveFailure(outcome);
    if (!outcome.committed) {
        RecordVersion(c_.versionQuery, version);
        c_.versionTransaction.Commit();
    }
    if (!outcome.Failed())
        return true;
    observer.ScriptFailed(errorFile);
    return false;
}

void ScriptUpdate::RecordVersion(db::TIBQuery& query, const std::string& version) {
    query.SetSQL({"update versao set versao=" + QuotedStr(Utf8ToWindows1252(version)) + ";"});
    query.ExecSQL();
}

std::string ScriptUpdate::SaveFailedScript(const std::string& entry, const std::string& version,
                                           const std::string& message) {
    std::vector<std::string>& script = c_.runner.Script();
    const std::vector<std::string> header = CabecalhoErro(message);
    script.insert(script.begin(), header.begin(), header.end());
    const std::string file = NomeArquivoErro(Now(), entry);
    try {
        platform::WriteLinesAtomically(file, script);
    } catch (const std::exception& error) {
        throw Exception("O script " + version + " falhou e não pôde ser salvo no arquivo " + file + ": " +
                        error.what() + ". Ele não foi registrado e será executado de novo na próxima atualização.");
    }
    return file;
}

void ScriptUpdate::Undo() {
    c_.scriptTransaction.RollbackQuietly();
    c_.versionTransaction.RollbackQuietly();
    c_.list.Close();
    c_.texts.Close();
    try {
        if (c_.local.Connected())
            c_.local.Close();
    } catch (const std::exception&) {
    }
}

} // namespace scripts
