#include "signing/Blake2b.h"
#include "platform/FileHandle.h"
#include "platform/TextFile.h"
#include "tests/support/SigningTools.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace signing;
using testsupport::TempDir;

TEST(Blake2b, HashesAsB2sumPrintsWhateverThePiecesOrTheFileBlocks) {
    TempDir dir;
    std::string blocks;
    for (std::size_t i = 0; i < 2 * platform::FileBlockSize + 7; ++i)
        blocks += static_cast<char>(i * 7 % 256);
    for (const std::string& content : {std::string(), std::string("abc\0\r\n", 6), blocks}) {
        const FileDigest expected{testsupport::B2sum(dir.write("file", content)), content.size()};
        EXPECT_EQ(HashText(content), expected.hash);
        EXPECT_EQ(HashFile((dir / "file").string()), expected);
        // Final starts afresh: the same hasher serves a second file.
        Blake2bHasher hasher;
        for (int round = 0; round < 2; ++round) {
            for (std::size_t at = 0; at < content.size(); at += 1000)
                hasher.Update(std::string_view(content).substr(at, 1000));
            EXPECT_EQ(hasher.Size(), content.size());
            EXPECT_EQ(hasher.Final(), expected);
        }
    }
}

TEST(Blake2b, HashFileRefusesWhatIsNotAReadableRegularFile) {
    TempDir dir;
    EXPECT_THROW(HashFile((dir / "missing").string()), base::EInOutError);
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    for (const auto& name : {dir.path(), dir / "fifo"})
        EXPECT_THROW(HashFile(name.string()), platform::EFileRefused) << name;
}
