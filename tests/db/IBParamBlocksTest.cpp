#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "db/IBError.h"
#include "db/IBParamBlocks.h"
#include "db/IBSQL.h"

namespace {

using Lines = std::vector<std::string>;

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int value : values)
        bytes += static_cast<char>(value);
    return bytes;
}

std::string ErrorOf(std::string (*build)(const Lines&), const Lines& params) {
    try {
        build(params);
    } catch (const db::EIBError& error) {
        return error.what();
    }
    return "no error";
}

struct BlockCase {
    const char* what;
    Lines params;
    std::string expected;
};

TEST(ConnectionParamBlock, WritesEachKindAsTheLibraryReadsIt) {
    const std::string userAndPassword = Bytes({1, 28, 4}) + "ROOT" + Bytes({29, 6}) + "718352";
    const BlockCase cases[] = {
        {"user and password", {"user_name=ROOT", "password=718352"}, userAndPassword},
        {"prefixed name, any case", {"isc_dpb_user_name=ROOT", "ISC_DPB_PASSWORD=718352"}, userAndPassword},
        {"blank lines skipped", {"", "user_name=ROOT", "  ", "password=718352"}, userAndPassword},
        {"value keeps its case and blanks", {"lc_ctype=Win 1252"}, Bytes({1, 48, 8}) + "Win 1252"},
        {"role", {"sql_role_name=ADMIN"}, Bytes({1, 60, 5}) + "ADMIN"},
        {"value after the first equals sign", {"password=a=b"}, Bytes({1, 29, 3}) + "a=b"},
        {"small number", {"sql_dialect=3"}, Bytes({1, 63, 1, 3})},
        {"no value", {"activate_shadow"}, Bytes({1, 21, 0})},
        {"32-bit number, lowest byte first", {"sweep_interval=70000"}, Bytes({1, 22, 4, 0x70, 0x11, 0x01, 0x00})},
        {"no lines", {}, Bytes({1})},
    };
    for (const BlockCase& c : cases)
        EXPECT_EQ(db::BuildDPB(c.params), c.expected) << c.what;
}

TEST(ConnectionParamBlock, RejectsUnknownUnsupportedAndMalformedParameters) {
    EXPECT_EQ(ErrorOf(db::BuildDPB, {"user_name=ROOT", "usuario=ROOT"}), "DPB Constant (usuario) is unknown");
    EXPECT_EQ(ErrorOf(db::BuildDPB, {"ISC_DPB_Usuario=ROOT"}), "DPB Constant (usuario) is unknown");
    EXPECT_EQ(ErrorOf(db::BuildDPB, {"journal=x"}), "DPB Constant (isc_dpb_journal) is unsupported");
    EXPECT_EQ(ErrorOf(db::BuildDPB, {"isc_dpb_os_user=x"}), "DPB Constant (isc_dpb_os_user) is unsupported");
    // Names beyond the library's 83 are not known to the layer.
    EXPECT_EQ(ErrorOf(db::BuildDPB, {"config=x"}), "DPB Constant (config) is unknown");
    EXPECT_EQ(ErrorOf(db::BuildDPB, {"sql_dialect=three"}), "'three' is not a valid parameter value");
    EXPECT_EQ(ErrorOf(db::BuildDPB, {"sql_dialect=300"}), "'300' is not a valid parameter value");
    EXPECT_EQ(ErrorOf(db::BuildDPB, {"user_name=" + std::string(256, 'x')}),
              "Parameter value is longer than 255 characters");
}

TEST(TransactionParamBlock, HasNoBlockForNoLinesAndVersionThreeOtherwise) {
    const BlockCase cases[] = {
        {"no lines: library defaults", {}, ""},
        {"options", {"read_committed", "rec_version", "nowait"}, Bytes({3, 15, 17, 7})},
        {"prefixed, any case", {"ISC_TPB_CONCURRENCY", "isc_tpb_wait"}, Bytes({3, 2, 6})},
        {"table reservation", {"lock_write=VERSAO", "protected"}, Bytes({3, 11, 6}) + "VERSAO" + Bytes({4})},
        {"lock time-out", {"lock_timeout=5"}, Bytes({3, 21, 4, 5, 0, 0, 0})},
    };
    for (const BlockCase& c : cases)
        EXPECT_EQ(db::BuildTPB(c.params), c.expected) << c.what;
}

TEST(TransactionParamBlock, RejectsUnknownAndUnsupportedNames) {
    EXPECT_EQ(ErrorOf(db::BuildTPB, {"no_savepoint"}), "TPB Constant (no_savepoint) is unknown");
    EXPECT_EQ(ErrorOf(db::BuildTPB, {"isc_tpb_verb_time"}), "TPB Constant (isc_tpb_verb_time) is unsupported");
}

TEST(NamedParams, BecomeMarkersOutsideQuotesAndComments) {
    struct Case {
        std::string sql;
        std::string expected;
        Lines names;
    } cases[] = {
        {"select * from t where a = :a and b=:B_2", "select * from t where a = ? and b=?", {"a", "B_2"}},
        {"update t set a = :\"Mixed Name\"", "update t set a = ?", {"Mixed Name"}},
        {"select ':a', \":b\" from t", "select ':a', \":b\" from t", {}},
        {"select 'it''s :x' from t where a=:y", "select 'it''s :x' from t where a=?", {"y"}},
        {"select a -- :c\nfrom t /* :d */ where b = :e", "select a -- :c\nfrom t /* :d */ where b = ?", {"e"}},
        {"select a[1:2], x : 1 from t", "select a[1:2], x : 1 from t", {}},
    };
    for (const Case& c : cases) {
        Lines names;
        EXPECT_EQ(db::ReplaceNamedParams(c.sql, names), c.expected) << c.sql;
        EXPECT_EQ(names, c.names) << c.sql;
    }
}

} // namespace
