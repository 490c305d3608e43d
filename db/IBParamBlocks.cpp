#include "db/IBParamBlocks.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <span>
#include <string_view>

#include <ibase.h>

#include "base/StrUtils.h"
#include "db/IBError.h"

namespace db {

namespace {

// How a parameter is written into its block.
enum class Kind {
    Unsupported, // the library knows it; this layer does not send it
    Text,        // code, length byte, text
    Byte,        // code, 1, the number in one byte
    NoValue,     // code, 0
    Flag,        // code alone (transaction options)
    Int32,       // code, 4, the number in four bytes, lowest first
    Table,       // code, length byte, table name (transaction table reservations)
};

struct ParamName {
    std::string_view name;
    int code;
    Kind kind;
};

// The names of the library's constants; the codes come from ibase.h itself.
#define DPB(name, kind)                                                                                                \
    ParamName {                                                                                                        \
#name, isc_dpb_##name, Kind::kind                                                                              \
    }
constexpr std::array dpbNames{
    DPB(cdd_pathname, Unsupported),
    DPB(allocation, Unsupported),
    DPB(journal, Unsupported),
    DPB(page_size, Int32),
    DPB(num_buffers, Int32),
    DPB(buffer_length, Unsupported),
    DPB(debug, Unsupported),
    DPB(garbage_collect, Unsupported),
    DPB(verify, Byte),
    DPB(sweep, Byte),
    DPB(enable_journal, Unsupported),
    DPB(disable_journal, Unsupported),
    DPB(dbkey_scope, Byte),
    DPB(number_of_users, Unsupported),
    DPB(trace, Unsupported),
    DPB(no_garbage_collect, NoValue),
    DPB(damaged, Byte),
    DPB(license, Text),
    DPB(sys_user_name, Text),
    DPB(encrypt_key, Text),
    DPB(activate_shadow, NoValue),
    DPB(sweep_interval, Int32),
    DPB(delete_shadow, NoValue),
    DPB(force_write, Byte),
    DPB(begin_log, Unsupported),
    DPB(quit_log, Unsupported),
    DPB(no_reserve, Byte),
    DPB(user_name, Text),
    DPB(password, Text),
    DPB(password_enc, Text),
    DPB(sys_user_name_enc, Text),
    DPB(interp, Unsupported),
    DPB(online_dump, Unsupported),
    DPB(old_file_size, Unsupported),
    DPB(old_num_files, Unsupported),
    DPB(old_file, Unsupported),
    DPB(old_start_page, Unsupported),
    DPB(old_start_seqno, Unsupported),
    DPB(old_start_file, Unsupported),
    DPB(drop_walfile, Unsupported),
    DPB(old_dump_id, Unsupported),
    DPB(wal_backup_dir, Unsupported),
    DPB(wal_chkptlen, Unsupported),
    DPB(wal_numbufs, Unsupported),
    DPB(wal_bufsize, Unsupported),
    DPB(wal_grp_cmt_wait, Unsupported),
    DPB(lc_messages, Text),
    DPB(lc_ctype, Text),
    DPB(cache_manager, Unsupported),
    DPB(shutdown, Byte),
    DPB(online, Byte),
    DPB(shutdown_delay, Int32),
    DPB(reserved, Unsupported),
    DPB(overwrite, Unsupported),
    DPB(sec_attach, Unsupported),
    DPB(disable_wal, Unsupported),
    DPB(connect_timeout, Int32),
    DPB(dummy_packet_interval, Int32),
    DPB(gbak_attach, Unsupported),
    DPB(sql_role_name, Text),
    DPB(set_page_buffers, Int32),
    DPB(working_directory, Text),
    DPB(sql_dialect, Byte),
    DPB(set_db_readonly, Byte),
    DPB(set_db_sql_dialect, Byte),
    DPB(gfix_attach, Unsupported),
    DPB(gstat_attach, Unsupported),
    DPB(set_db_charset, Text),
    DPB(gsec_attach, Unsupported),
    DPB(address_path, Unsupported),
    DPB(process_id, Unsupported),
    DPB(no_db_triggers, Byte),
    DPB(trusted_auth, Unsupported),
    DPB(process_name, Unsupported),
    DPB(trusted_role, Unsupported),
    DPB(org_filename, Unsupported),
    DPB(utf8_filename, Unsupported),
    DPB(ext_call_depth, Unsupported),
    DPB(auth_block, Unsupported),
    DPB(client_version, Unsupported),
    DPB(remote_protocol, Unsupported),
    DPB(host_name, Unsupported),
    DPB(os_user, Unsupported),
};
#undef DPB

#define TPB(name, kind)                                                                                                \
    ParamName {                                                                                                        \
#name, isc_tpb_##name, Kind::kind                                                                              \
    }
constexpr std::array tpbNames{
    TPB(consistency, Flag),
    TPB(concurrency, Flag),
    TPB(shared, Flag),
    TPB(protected, Flag),
    TPB(exclusive, Flag),
    TPB(wait, Flag),
    TPB(nowait, Flag),
    TPB(read, Flag),
    TPB(write, Flag),
    TPB(lock_read, Table),
    TPB(lock_write, Table),
    TPB(verb_time, Unsupported),
    TPB(commit_time, Unsupported),
    TPB(ignore_limbo, Flag),
    TPB(read_committed, Flag),
    TPB(autocommit, Flag),
    TPB(rec_version, Flag),
    TPB(no_rec_version, Flag),
    TPB(restart_requests, Flag),
    TPB(no_auto_undo, Flag),
    TPB(lock_timeout, Int32),
};
#undef TPB

// A name's code is its position in the library's numbering, starting at 1.
template <std::size_t N> constexpr bool NumberedFromOne(const std::array<ParamName, N>& names) {
    for (std::size_t i = 0; i < N; ++i)
        if (names[i].code != static_cast<int>(i + 1))
            return false;
    return true;
}
static_assert(dpbNames.size() == 83 && NumberedFromOne(dpbNames));
static_assert(tpbNames.size() == 21 && NumberedFromOne(tpbNames));

// The parts of one parameter line.
struct ParamLine {
    std::string name; // lower case, prefix removed
    std::string value;
};

ParamLine SplitLine(const std::string& line, std::string_view prefix) {
    const std::size_t equals = line.find('=');
    ParamLine result;
    result.name = base::LowerCase(line.substr(0, equals));
    if (result.name.starts_with(prefix))
        result.name.erase(0, prefix.size());
    if (equals != std::string::npos)
        result.value = line.substr(equals + 1);
    return result;
}

bool IsBlank(const std::string& line) {
    return std::all_of(line.begin(), line.end(), [](unsigned char c) { return std::isspace(c) != 0; });
}

const ParamName* FindName(std::span<const ParamName> names, const std::string& name) {
    auto found = std::find_if(names.begin(), names.end(), [&](const ParamName& p) { return p.name == name; });
    return found == names.end() ? nullptr : &*found;
}

long ParseNumber(const std::string& value, long low, long high) {
    long number = 0;
    auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size() || number < low || number > high)
        throw EIBError("'" + value + "' is not a valid parameter value");
    return number;
}

void AppendCounted(std::string& block, const std::string& text) {
    if (text.size() > 255)
        throw EIBError("Parameter value is longer than 255 characters");
    block += static_cast<char>(text.size());
    block += text;
}

void AppendValue(std::string& block, Kind kind, const std::string& value) {
    switch (kind) {
    case Kind::Text:
    case Kind::Table:
        AppendCounted(block, value);
        break;
    case Kind::Byte:
        block += '\1';
        block += static_cast<char>(ParseNumber(value, 0, 255));
        break;
    case Kind::NoValue:
        block += '\0';
        break;
    case Kind::Int32: {
        auto number = static_cast<std::uint32_t>(ParseNumber(value, INT32_MIN, INT32_MAX));
        block += '\4';
        for (int shift = 0; shift < 32; shift += 8)
            block += static_cast<char>((number >> shift) & 0xFF);
        break;
    }
    case Kind::Flag:
    case Kind::Unsupported:
        break;
    }
}

// The version byte, then per non-blank line the name's code and its value as
// its kind says. `blockName` names the block in error messages.
std::string BuildBlock(const std::vector<std::string>& params, int version, std::string_view blockName,
                       std::string_view prefix, std::span<const ParamName> names) {
    std::string block(1, static_cast<char>(version));
    for (const std::string& line : params) {
        if (IsBlank(line))
            continue;
        ParamLine param = SplitLine(line, prefix);
        const ParamName* known = FindName(names, param.name);
        const std::string constant = std::string(blockName) + " Constant (";
        if (known == nullptr)
            throw EIBError(constant + param.name + ") is unknown");
        if (known->kind == Kind::Unsupported)
            throw EIBError(constant + std::string(prefix) + param.name + ") is unsupported");
        block += static_cast<char>(known->code);
        AppendValue(block, known->kind, param.value);
    }
    return block;
}

} // namespace

std::string BuildDPB(const std::vector<std::string>& params) {
    return BuildBlock(params, isc_dpb_version1, "DPB", "isc_dpb_", dpbNames);
}

std::string BuildTPB(const std::vector<std::string>& params) {
    if (params.empty())
        return {};
    return BuildBlock(params, isc_tpb_version3, "TPB", "isc_tpb_", tpbNames);
}

const std::string& ParamBlockCache::get(const std::vector<std::string>& params) {
    if (!built_ || params != source_) {
        block_ = builder_(params);
        source_ = params;
        built_ = true;
    }
    return block_;
}

} // namespace db
