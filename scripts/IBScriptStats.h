#pragma once

#include "db/IBDatabase.h"

namespace scripts {

// Database counters gathered over a script run from the database information
// items. Reading them raises db::EIBError when the library refuses.
class TIBScriptStats {
public:
    struct Counters {
        long long Buffers = 0;  // page buffers
        long long Reads = 0;    // page reads
        long long Writes = 0;   // page writes
        long long SeqReads = 0; // sequential reads, all tables
        long long Fetches = 0;
        long long ReadIdx = 0;  // indexed reads, all tables
        long long DeltaMem = 0; // memory change
    };

    db::TIBDatabase* Database() const { return database_; }
    void SetDatabase(db::TIBDatabase* database) { database_ = database; }

    const Counters& Totals() const { return totals_; }
    // Zeroes the counters.
    void Clear() { totals_ = Counters(); }
    // Records the database's current values as the start values.
    void Start();
    // Adds what changed since Start to the counters.
    void Stop();

private:
    Counters Read() const;
    long long SumOfTables(char item) const;

    db::TIBDatabase* database_ = nullptr;
    Counters totals_;
    Counters start_;
};

} // namespace scripts
