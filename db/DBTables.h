#pragma once

#include "db/Driver.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The components through which the program reaches the internet database:
// a named connection on an alias, queries and a table read linked to a query.
namespace db {

class TDataSet;

// A named connection on an alias of the alias configuration.
class TDatabase {
public:
    TDatabase() = default;
    // Closes and detaches its data sets.
    ~TDatabase();
    TDatabase(const TDatabase&) = delete;
    TDatabase& operator=(const TDatabase&) = delete;

    std::string AliasName;
    std::string DatabaseName;
    // The engine shows no login dialog: with LoginPrompt on, Open fails.
    bool LoginPrompt = true;
    // "USER NAME=..." and "PASSWORD=..." lines; an account missing here is taken from the alias.
    std::vector<std::string> Params;

    // Connects; nothing happens when already connected.
    // @throw EDatabaseError when the alias is unusable, the server cannot be reached or
    //        it refuses the account.
    void Open();
    // Closes every data set on the connection, then the connection itself.
    void Close();
    bool Connected() const { return connection_ != nullptr; }
    // The value as an SQL text literal of the connected engine, quotes and its
    // own escapes included, so that no value can change a statement's text.
    // Opens the connection when it is closed. @throw EDatabaseError as Open does.
    std::string QuoteText(std::string_view value);

private:
    friend class TDataSet;
    Connection& connection();

    std::unique_ptr<Connection> connection_;
    std::vector<TDataSet*> dataSets_;
};

// One column of the current row of a data set, read as the row stands when asked.
class TField {
public:
    TField(const TDataSet& dataSet, size_t index) : dataSet_(&dataSet), index_(index) {}
    // NULL reads as empty text.
    std::string AsString() const;
    // NULL reads as 0. @throw base::EConvertError when the text is not a 32-bit number (StrToInt).
    int AsInteger() const;
    // The text split into lines at CR LF, LF or CR.
    std::vector<std::string> AsLines() const;

private:
    const TDataSet* dataSet_;
    size_t index_;
};

// Rows of one statement on a TDatabase, read one after another. After the
// last row, Eof is true and the last row stays current; without rows every
// field reads as NULL.
class TDataSet {
public:
    explicit TDataSet(TDatabase& database);
    virtual ~TDataSet();
    TDataSet(const TDataSet&) = delete;
    TDataSet& operator=(const TDataSet&) = delete;

    // Opens the connection when it is closed, runs the statement and stands on the first row.
    // Nothing happens when the data set is already open. @throw EDatabaseError on failure.
    void Open();
    void Close();
    bool Active() const { return cursor_ != nullptr; }
    bool Eof() const { return eof_; }
    // @throw EDatabaseError on a closed data set.
    void Next();
    // Column names are matched ignoring letter case.
    // @throw EDatabaseError on a closed data set or an unknown field.
    TField FieldByName(std::string_view name) const;

protected:
    // The connection of the data set's database, opened when closed.
    // @throw EDatabaseError when the database was destroyed before the data set.
    Connection& DatabaseConnection() const;
    // The statement to run, built when the data set opens.
    virtual std::string StatementText() const = 0;

private:
    friend class TDatabase;
    friend class TField;
    void requireActive() const;

    TDatabase* database_; // cleared when the database goes first
    std::unique_ptr<Cursor> cursor_;
    std::vector<FieldValue> row_;
    bool eof_ = true;
};

// A query: the statement is its SQL lines joined by line breaks.
class TQuery : public TDataSet {
public:
    using TDataSet::TDataSet;
    std::vector<std::string> SQL;

protected:
    std::string StatementText() const override;
};

// A table read. With a MasterSource, opening reads only the rows whose index
// fields (IndexFieldNames, separated by ";") equal the master fields
// (MasterFields) of the master's current row.
class TTable : public TDataSet {
public:
    using TDataSet::TDataSet;
    std::string TableName;
    std::string IndexFieldNames;
    std::string MasterFields;
    const TDataSet* MasterSource = nullptr;

protected:
    std::string StatementText() const override;
};

} // namespace db
