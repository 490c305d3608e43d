#include "scripts/IBScriptStats.h"

#include <charconv>

namespace scripts {

void TIBScriptStats::Start() {
    start_ = Read();
}

void TIBScriptStats::Stop() {
    const Counters now = Read();
    totals_.Buffers += now.Buffers - start_.Buffers;
    totals_.Reads += now.Reads - start_.Reads;
    totals_.Writes += now.Writes - start_.Writes;
    totals_.SeqReads += now.SeqReads - start_.SeqReads;
    totals_.Fetches += now.Fetches - start_.Fetches;
    totals_.ReadIdx += now.ReadIdx - start_.ReadIdx;
    totals_.DeltaMem += now.DeltaMem - start_.DeltaMem;
}

TIBScriptStats::Counters TIBScriptStats::Read() const {
    Counters values;
    values.Buffers = database_->InfoInteger(isc_info_num_buffers);
    values.Reads = database_->InfoInteger(isc_info_reads);
    values.Writes = database_->InfoInteger(isc_info_writes);
    values.SeqReads = SumOfTables(isc_info_read_seq_count);
    values.Fetches = database_->InfoInteger(isc_info_fetches);
    values.ReadIdx = SumOfTables(isc_info_read_idx_count);
    values.DeltaMem = database_->InfoInteger(isc_info_current_memory);
    return values;
}

// Each table comes as a line "table=count"; one count that is not a number
// makes the whole sum 0.
long long TIBScriptStats::SumOfTables(char item) const {
    long long sum = 0;
    for (const std::string& line : database_->InfoTableCounts(item)) {
        const std::size_t equals = line.find('=');
        const char* first = line.data() + (equals == std::string::npos ? line.size() : equals + 1);
        const char* last = line.data() + line.size();
        long long count = 0;
        const auto [end, error] = std::from_chars(first, last, count);
        if (error != std::errc() || end != last || first == last)
            return 0;
        sum += count;
    }
    return sum;
}

} // namespace scripts
