// The chunked copy loop: progress lines, the speed figure, cancellation, the
// start check, the pump guard, and a source that shrinks during the copy.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "engine/transfer.h"
#include "tests/support/fake_host.h"
#include "tests/support/temp_dir.h"

namespace {

constexpr std::int64_t MiB = ChunkSize;

// A clock that gives the listed seconds in turn, then repeats the last one.
class ScriptedClock : public SecondsClock {
public:
    explicit ScriptedClock(std::vector<std::time_t> seconds) : m_seconds(std::move(seconds)) {}
    std::time_t Now() const override {
        const std::time_t t = m_seconds[std::min(m_next, m_seconds.size() - 1)];
        ++m_next;
        return t;
    }

private:
    std::vector<std::time_t> m_seconds;
    mutable std::size_t m_next = 0;
};

std::string Utf8(const CString& s) {
    return s.ToUtf8();
}

class CopyLoopTest : public ::testing::Test {
protected:
    void SetUp() override { TransferState = kTransferIdle; }
    void TearDown() override { TransferState = kTransferIdle; }

    // Opens `size` pattern bytes as the source and a new target, both at 0.
    void Prepare(std::size_t size) {
        sourceBytes = PatternBytes(size, 7);
        WriteAll(dir.path() / "source", sourceBytes);
        ASSERT_TRUE(source.Open(dir.Child("source"), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
        ASSERT_TRUE(target.Open(dir.Child("target"), GENERIC_WRITE, 0, CREATE_NEW));
        TransferState = kTransferRunning;
    }

    TransferResult Copy(std::int64_t length, const SecondsClock& clock = ScriptedClock({100})) {
        return CopyLoop(host, source, target, buffer, length, clock);
    }

    std::vector<unsigned char> Target() { return ReadAll(dir.path() / "target"); }

    std::vector<std::string> Lines() {
        std::vector<std::string> lines;
        for (const CString& s : host.statusLines) {
            lines.push_back(Utf8(s));
        }
        return lines;
    }

    TempDir dir;
    FakeHost host;
    CFile64 source;
    CFile64 target;
    TransferBuffer buffer;
    std::vector<unsigned char> sourceBytes;
};

TEST_F(CopyLoopTest, ThreeMiBAndFiveBytesShowsThreeLinesThenTheRemainder) {
    Prepare(3 * MiB + 5);
    EXPECT_EQ(Copy(3 * MiB + 5), kTransferCompleted);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"0%  (0M/3M ) 処理速度：0MB/s",
                                                 "33%  (1M/3M ) 処理速度：0MB/s",
                                                 "66%  (2M/3M ) 処理速度：0MB/s", "100%"}));
    EXPECT_EQ(Target(), sourceBytes);
    EXPECT_FALSE(source.IsOpen());
    EXPECT_FALSE(target.IsOpen());
    EXPECT_FALSE(buffer.IsHeld());
    EXPECT_EQ(TransferState, kTransferIdle);
    EXPECT_EQ(host.pumps, 3);
}

TEST_F(CopyLoopTest, ExactMiBShowsOneLinePerChunkAndAnEmptyRemainder) {
    Prepare(4 * MiB);
    EXPECT_EQ(Copy(4 * MiB), kTransferCompleted);
    EXPECT_EQ(Lines(),
              (std::vector<std::string>{
                  "0%  (0M/4M ) 処理速度：0MB/s", "25%  (1M/4M ) 処理速度：0MB/s",
                  "50%  (2M/4M ) 処理速度：0MB/s", "75%  (3M/4M ) 処理速度：0MB/s", "100%"}));
    EXPECT_EQ(Target(), sourceBytes);
}

TEST_F(CopyLoopTest, LessThanOneMiBAndNothingShowOnlyTheFinalLine) {
    Prepare(MiB - 1);
    EXPECT_EQ(Copy(MiB - 1), kTransferCompleted);
    EXPECT_EQ(Lines(), std::vector<std::string>{"100%"});
    EXPECT_EQ(Target(), sourceBytes);
    EXPECT_EQ(host.pumps, 0);

    FakeHost emptyHost;
    CFile64 emptySource;
    CFile64 emptyTarget;
    TransferBuffer emptyBuffer;
    WriteAll(dir.path() / "empty", {});
    ASSERT_TRUE(emptySource.Open(dir.Child("empty"), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
    ASSERT_TRUE(emptyTarget.Open(dir.Child("empty-copy"), GENERIC_WRITE, 0, CREATE_NEW));
    TransferState = kTransferRunning;
    EXPECT_EQ(CopyLoop(emptyHost, emptySource, emptyTarget, emptyBuffer, 0), kTransferCompleted);
    ASSERT_EQ(emptyHost.statusLines.size(), 1u);
    EXPECT_EQ(Utf8(emptyHost.statusLines[0]), "100%");
    EXPECT_FALSE(emptySource.IsOpen());
    EXPECT_FALSE(emptyTarget.IsOpen());
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "empty-copy"));
    EXPECT_EQ(std::filesystem::file_size(dir.path() / "empty-copy"), 0u);
    EXPECT_EQ(TransferState, kTransferIdle);
}

TEST_F(CopyLoopTest, SpeedFigureCountsTheChunksThatBeganInThePreviousSecond) {
    Prepare(6 * MiB);
    EXPECT_EQ(Copy(6 * MiB, ScriptedClock({100, 100, 100, 101, 101, 102})), kTransferCompleted);
    EXPECT_EQ(Lines(),
              (std::vector<std::string>{
                  "0%  (0M/6M ) 処理速度：0MB/s", "16%  (1M/6M ) 処理速度：0MB/s",
                  "33%  (2M/6M ) 処理速度：0MB/s", "50%  (3M/6M ) 処理速度：2MB/s",
                  "66%  (4M/6M ) 処理速度：2MB/s", "83%  (5M/6M ) 処理速度：1MB/s", "100%"}));
}

TEST_F(CopyLoopTest, EveryChunkInASecondOfItsOwnShowsZero) {
    Prepare(3 * MiB);
    EXPECT_EQ(Copy(3 * MiB, ScriptedClock({5, 6, 7})), kTransferCompleted);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NE(Lines()[i].find("処理速度：0MB/s"), std::string::npos) << Lines()[i];
    }
}

TEST_F(CopyLoopTest, CancelAtChunkTwoKeepsTwoChunksAndTheFilesOpen) {
    Prepare(5 * MiB);
    host.AtPump(2, [] { TransferState = kTransferCancelRequested; });
    EXPECT_EQ(Copy(5 * MiB), kTransferFailed);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"0%  (0M/5M ) 処理速度：0MB/s",
                                                 "20%  (1M/5M ) 処理速度：0MB/s"}));
    EXPECT_EQ(TransferState, kTransferIdle);
    EXPECT_FALSE(buffer.IsHeld());
    EXPECT_TRUE(source.IsOpen());
    EXPECT_TRUE(target.IsOpen());
    target.Close();
    const std::vector<unsigned char> expected(sourceBytes.begin(), sourceBytes.begin() + 2 * MiB);
    EXPECT_EQ(Target(), expected);
    EXPECT_TRUE(host.errors.empty());
}

TEST_F(CopyLoopTest, CancelDuringTheLastFullChunkSkipsTheRemainder) {
    Prepare(3 * MiB + 5);
    host.AtPump(3, [] { TransferState = kTransferCancelRequested; });
    EXPECT_EQ(Copy(3 * MiB + 5), kTransferFailed);
    EXPECT_EQ(Lines().size(), 3u);
    EXPECT_EQ(Lines().back(), "66%  (2M/3M ) 処理速度：0MB/s");
    target.Close();
    EXPECT_EQ(std::filesystem::file_size(dir.path() / "target"),
              static_cast<std::uintmax_t>(3 * MiB));
}

TEST_F(CopyLoopTest, ASecondStartDuringTheCopyCancelsItAfterTheCurrentChunk) {
    Prepare(4 * MiB);
    bool nestedStarted = true;
    host.AtPump(1, [&] { nestedStarted = PassStartCheck(); });
    EXPECT_EQ(Copy(4 * MiB), kTransferFailed);
    EXPECT_FALSE(nestedStarted);
    EXPECT_EQ(host.statusLines.size(), 1u);
    EXPECT_EQ(TransferState, kTransferIdle);
}

TEST_F(CopyLoopTest, ANestedPumpReturnsAtOnce) {
    Prepare(2 * MiB);
    host.AtPump(1, [&] {
        EXPECT_EQ(PumpGuard, 1);
        host.PumpMessages();
    });
    EXPECT_EQ(Copy(2 * MiB), kTransferCompleted);
    EXPECT_EQ(host.pumps, 2);
    EXPECT_EQ(host.nestedPumps, 1);
    EXPECT_EQ(PumpGuard, 0);
}

TEST_F(CopyLoopTest, ASourceThatShrinksRaisesEndOfFileAndWritesNoStaleBytes) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows keeps other programs from writing the source while it is read, so it "
                    "cannot shrink";
#else
    Prepare(3 * MiB);
    // Another program cuts the source to 1.5 MiB while the first chunk is out.
    host.AtPump(1, [&] { std::filesystem::resize_file(dir.path() / "source", MiB + MiB / 2); });
    try {
        Copy(3 * MiB);
        FAIL() << "a short read must not pass as a full chunk";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::endOfFile);
        EXPECT_EQ(e.m_lOsError, -1);
        EXPECT_EQ(e.m_strFileName, dir.Child("source"));
        EXPECT_EQ(Utf8(e.GetErrorMessage()),
                  Utf8(dir.Child("source")) + " の末尾以降にｱｸｾｽしようとしました。");
    }
    target.Close();
    const std::vector<unsigned char> expected(sourceBytes.begin(), sourceBytes.begin() + MiB);
    EXPECT_EQ(Target(), expected);
#endif
}

TEST(StartCheck, PassesOnlyWhenIdleAndTurnsABusyStateIntoACancelRequest) {
    TransferState = kTransferIdle;
    EXPECT_TRUE(PassStartCheck());
    EXPECT_EQ(TransferState, kTransferIdle);

    TransferState = kTransferRunning;
    EXPECT_FALSE(PassStartCheck());
    EXPECT_EQ(TransferState, kTransferCancelRequested);

    EXPECT_FALSE(PassStartCheck());
    EXPECT_EQ(TransferState, kTransferCancelRequested);
    TransferState = kTransferIdle;
}

TEST(RunningTransferScope, LeavesTheStateIdleWhenAnExceptionPasses) {
    TransferState = kTransferIdle;
    try {
        const RunningTransfer running;
        EXPECT_EQ(TransferState, kTransferRunning);
        throw CFileException(CFileException::hardIO, 23);
    } catch (const CFileException&) {
    }
    EXPECT_EQ(TransferState, kTransferIdle);
}

TEST(TransferBufferTest, IsReleasedExactlyOnceOnEveryWayOut) {
    ASSERT_EQ(TransferBuffer::LiveCount(), 0);
    {
        TransferBuffer buffer;
        EXPECT_TRUE(buffer.IsHeld());
        EXPECT_EQ(TransferBuffer::LiveCount(), 1);
        buffer.Release();
        EXPECT_EQ(TransferBuffer::LiveCount(), 0);
        buffer.Release();
        EXPECT_EQ(TransferBuffer::LiveCount(), 0);
    }
    try {
        TransferBuffer buffer;
        throw CUserException();
    } catch (const CUserException&) {
    }
    EXPECT_EQ(TransferBuffer::LiveCount(), 0);
}

}  // namespace
