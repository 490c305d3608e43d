#include "ftp/IdException.h"
#include "ftp/IdFTP.h"
#include "ftp/IdStreams.h"
#include "tests/ftp/ClientEvents.h"
#include "tests/support/ScriptedFtpServer.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace ftp;
using testsupport::FtpScriptSession;
using testsupport::ScriptedFtpServer;
using Clock = std::chrono::steady_clock;

namespace {

// Times between the calls of a client's idle handler.
struct IdleRecorder {
    std::vector<Clock::time_point> calls;
    void Attach(TIdFTP& client) {
        client.OnIdle = [this] { calls.push_back(Clock::now()); };
    }
    std::chrono::milliseconds LongestGap(Clock::time_point start) const {
        std::chrono::milliseconds longest{0};
        for (const Clock::time_point call : calls) {
            longest = std::max(longest, std::chrono::duration_cast<std::chrono::milliseconds>(call - start));
            start = call;
        }
        return longest;
    }
};

} // namespace

TEST(WaitAndAbort, ASilentServerIsWaitedForWithIdleCallsUntilTheLimit) {
    ScriptedFtpServer server([](FtpScriptSession& s) {
        s.LogIn();
        s.Command();
        s.ClientCloses();
    });
    TIdFTP client;
    PointAt(client, server.Port());
    client.OpenSession();
    IdleRecorder idle;
    idle.Attach(client);
    client.ReadTimeout = 700;
    const Clock::time_point start = Clock::now();
    try {
        client.ChangeDirectory("silence");
        ADD_FAILURE() << "a reply was read that never came";
    } catch (const EIdReadTimeout& error) {
        EXPECT_STREQ(error.what(), "Read Timeout\r\nNo reply from the server in 700 ms.");
    }
    const auto waited = Clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(690));
    EXPECT_LT(waited, std::chrono::milliseconds(2500));
    EXPECT_GE(idle.calls.size(), 5u);
    EXPECT_LE(idle.LongestGap(start), std::chrono::milliseconds(250));
    EXPECT_FALSE(client.IsOpen()); // a late reply must not answer the next command
    EXPECT_EQ(server.Failure(), "");
}

TEST(WaitAndAbort, AnAbortAskedWhileWaitingEndsTheOperationSilentlyAndClosesTheSession) {
    enum class Where { ReplyWait, AcceptWait, DataWait, WorkEvent };
    struct Case {
        const char* name;
        Where where;
    };
    const std::string bytes(100000, 'x');
    for (const Case& c :
         {Case{"waiting for a reply", Where::ReplyWait}, Case{"waiting for the data connection", Where::AcceptWait},
          Case{"waiting for data", Where::DataWait}, Case{"after a work event", Where::WorkEvent}}) {
        SCOPED_TRACE(c.name);
        testsupport::TempDir folder;
        folder.write("kept.bin", "former content");
        ScriptedFtpServer server([&](FtpScriptSession& s) {
            s.LogIn();
            if (c.where == Where::ReplyWait) {
                s.Command();
            } else {
                const std::string port = s.Command();
                s.Reply("200 PORT command successful");
                s.Command();
                s.Reply("150 Opening data connection");
                if (c.where != Where::AcceptWait)
                    s.ConnectData(port);
                if (c.where == Where::WorkEvent)
                    s.SendData(bytes);
            }
            s.ClientCloses();
        });
        TIdFTP client;
        PointAt(client, server.Port());
        client.OpenSession();
        client.ReadTimeout = 5000;
        int idleCalls = 0;
        client.OnIdle = [&] {
            if (++idleCalls == 3 && c.where != Where::WorkEvent)
                client.RequestAbort();
        };
        client.OnWork = [&](TIdComponent*, TWorkMode, std::int64_t) {
            if (c.where == Where::WorkEvent)
                client.RequestAbort();
        };
        const Clock::time_point start = Clock::now();
        if (c.where == Where::ReplyWait)
            EXPECT_THROW(client.ChangeDirectory("silence"), EIdAborted);
        else
            EXPECT_THROW(client.Download("kept.bin", folder / "kept.bin", true, false), EIdAborted);
        EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(2000));
        EXPECT_FALSE(client.IsOpen());
        EXPECT_EQ(client.DataConnection(), nullptr);
        EXPECT_EQ(folder.read("kept.bin"), "former content");
        EXPECT_EQ(server.Failure(), "");
    }
}

TEST(WaitAndAbort, AnAbortIsSilentAndANewSessionClearsIt) {
    static_assert(std::is_base_of_v<base::EAbort, EIdAborted>);
    ScriptedFtpServer server([](FtpScriptSession& s) {
        s.LogIn();
        s.Answer("213 5000000000");
        s.ClientCloses();
    });
    TIdFTP client;
    PointAt(client, server.Port());
    client.RequestAbort(); // asked before the session: the open clears it
    client.OpenSession();
    EXPECT_EQ(client.RemoteFileSize("big.iso"), 5000000000LL);
    client.CloseSession();
    EXPECT_EQ(server.Failure(), "");
}

TEST(WaitAndAbort, ATransferThatKeepsMovingIsNeverCut) {
    ScriptedFtpServer server([](FtpScriptSession& s) {
        s.LogIn();
        const std::string port = s.Command();
        s.Reply("200 PORT command successful");
        s.Answer("150 Opening data connection");
        s.ConnectData(port);
        for (int i = 0; i < 8; ++i) { // far longer in all than the limit, never silent as long
            s.SendData("slow");
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        s.CloseData();
        s.Reply("226 Transfer complete");
        s.ClientCloses();
    });
    TIdFTP client;
    PointAt(client, server.Port());
    client.ReadTimeout = 300;
    client.OpenSession();
    TMemoryStream received;
    client.DownloadToStream("slow.bin", received, false);
    EXPECT_EQ(received.DataString().size(), 32u);
    client.CloseSession();
    EXPECT_EQ(server.Failure(), "");
}
