#include "ftp/IdFTP.h"
#include "tests/ftp/ClientEvents.h"
#include "tests/support/PyFtpServer.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

using namespace ftp;
using testsupport::PyFtpServer;

namespace {

std::string randomBytes(std::size_t size) {
    std::mt19937 numbers(12345);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(numbers());
    return bytes;
}

} // namespace

class EndToEnd : public testing::TestWithParam<bool> {};

TEST_P(EndToEnd, ListsAndDownloadsByteForByte) {
    const std::map<std::string, std::string> files = {
        {"empty.bin", ""},
        {"one.bin", "\x7f"},
        {"big.bin", randomBytes(5 * 1024 * 1024 + 123)},
        {"line ends.txt", "a\r\nb\nc\rd"},
    };
    testsupport::TempDir served;
    testsupport::TempDir local;
    for (const auto& [name, bytes] : files)
        served.write("quillmark/" + name, bytes);
    local.write("big.bin", "an older copy");
    PyFtpServer server(served.path());

    TIdFTP client;
    ClientEvents events;
    events.Attach(client);
    client.Host = "127.0.0.1";
    client.Port = server.Port();
    client.Username = PyFtpServer::User;
    client.Password = PyFtpServer::Password;
    client.Passive = GetParam();
    client.OpenSession();
    client.TransferType(ftBinary);
    client.ChangeDirectory("quillmark");

    std::vector<std::string> memo;
    client.ListDirectory(&memo);
    EXPECT_EQ(memo.size(), files.size());
    const TIdFTPListItems& items = client.ListingItems();
    ASSERT_EQ(items.Count(), files.size());
    for (std::size_t i = 0; i < items.Count(); ++i) {
        const auto found = files.find(items[i].EntryName);
        ASSERT_NE(found, files.end()) << items[i].RawLine;
        EXPECT_EQ(items[i].EntrySize, static_cast<std::int64_t>(found->second.size()));
        EXPECT_EQ(items[i].EntryKind, fekFile);
        EXPECT_GT(items[i].ModifiedAt, base::EncodeDate(2000, 1, 1));
    }

    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        EXPECT_EQ(client.RemoteFileSize(name), static_cast<std::int64_t>(bytes.size()));
        events.Clear();
        client.Download(name, local / name, true, false);
        EXPECT_TRUE(local.read(name) == bytes);
        const auto workEvents = std::count_if(events.work.begin(), events.work.end(),
                                              [](const std::string& w) { return w.rfind("work ", 0) == 0; });
        EXPECT_EQ(workEvents, static_cast<long>(bytes.size() / 32768));
        EXPECT_EQ(events.work.front(), "begin 0");
        EXPECT_EQ(events.work.back(), "end");
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(local.path()), {}), static_cast<long>(files.size()));
    client.CloseSession();
}

INSTANTIATE_TEST_SUITE_P(Modes, EndToEnd, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "Passive" : "Active"; });
