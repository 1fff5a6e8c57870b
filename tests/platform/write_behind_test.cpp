// The write-behind: how much written data it lets wait for the medium, given
// the medium's pace on the test seam's clock, and what it asks of the system.
#include "platform/write_behind.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <vector>

#include "platform/fault_injection.h"
#include "platform/file_api.h"
#include "platform/path_lookup.h"
#include "tests/support/file_test.h"
#ifndef _WIN32
#include "tests/platform/file_calls.h"
#endif

namespace {

constexpr std::uint64_t kMiB = 1024 * 1024;
constexpr std::int64_t kMillisecond = 1'000'000;

// What a medium writing `bytesPerSecond` does in the in-flight time.
std::uint64_t InFlightAt(double bytesPerSecond) {
    return static_cast<std::uint64_t>(bytesPerSecond * WriteBackRate::kInFlightTime / 1e9);
}

TEST(WriteBackRate, FollowsAMediumThatSlowsDownStallsAndRunsFast) {
    struct Phase {
        const char* medium;
        std::int64_t millisecondsPerMiB;
        int chunks;
        std::uint64_t allowanceAfter;  // what the phase must end with
    };
    const std::vector<Phase> phases = {
        // A card at 20 MiB/s: 40 ms of it in flight.
        {"20 MiB/s", 50, 20, InFlightAt(20.0 * kMiB)},
        // It slows to 5 MiB/s mid-piece: believed within a few chunks, and
        // 40 ms of that is less than the floor.
        {"5 MiB/s", 200, 6, WriteBackRate::kMinInFlight},
        // A stall of five seconds: straight to the floor.
        {"stalled", 5000, 1, WriteBackRate::kMinInFlight},
        // A fast disk at 4 GiB/s: the ceiling, reached over a few dozen chunks.
        {"fast disk", 0, 60, WriteBackRate::kMaxInFlight},
    };
    WriteBackRate rate;
    EXPECT_EQ(rate.InFlightAllowance(), WriteBackRate::kMinInFlight);  // nothing measured yet
    for (const Phase& phase : phases) {
        SCOPED_TRACE(phase.medium);
        for (int i = 0; i < phase.chunks; ++i) {
            // A fast disk's chunk takes a quarter of a millisecond.
            rate.Record(kMiB, std::max<std::int64_t>(phase.millisecondsPerMiB * kMillisecond,
                                                     kMillisecond / 4));
        }
        const std::uint64_t allowance = rate.InFlightAllowance();
        EXPECT_LE(allowance, phase.allowanceAfter * 11 / 10);
        EXPECT_GE(allowance, phase.allowanceAfter * 9 / 10);
    }
    // A slowdown is believed almost at once: one slow chunk goes three
    // quarters of the way down.
    WriteBackRate fast;
    fast.Record(kMiB, 10 * kMillisecond);
    fast.Record(kMiB, 1000 * kMillisecond);
    EXPECT_LT(fast.BytesPerSecond(), 26.0 * kMiB);
}

#ifndef _WIN32

using namespace file_calls;
using fault_injection::SystemCall;

class WriteBehindTest : public FileTest {
protected:
    void SetUp() override {
        FileTest::SetUp();
        handle = CreatePiece(dir.Child("temp001"));
        ASSERT_NE(handle, INVALID_HANDLE_VALUE);
        writeBehind.Start(handle, true);
    }
    void TearDown() override {
        CloseHandle(handle);
        FileTest::TearDown();
    }

    // Writes one chunk the way CFile64 does, the medium having taken
    // `milliseconds` for it on the fake clock.
    DWORD WriteChunk(std::int64_t milliseconds, DWORD count = kMiB) {
        clock.Advance(milliseconds * kMillisecond);
        DWORD put = 0;
        EXPECT_TRUE(WriteFile(handle, chunk.data(), count, &put, nullptr));
        return writeBehind.AfterWrite(put);
    }

    fault_injection::FakeClock clock;
    std::vector<unsigned char> chunk = PatternBytes(kMiB);
    HANDLE handle = INVALID_HANDLE_VALUE;
    WriteBehind writeBehind;
};

TEST_F(WriteBehindTest, KeepsNoMoreUnwrittenThanTheMediumWritesInAMomentAndFlushesTheRest) {
    struct Medium {
        const char* name;
        std::int64_t millisecondsPerMiB;
        std::uint64_t bound;  // what that medium writes in the in-flight time, or the floor
    };
    // The same file goes from a fast stick to a slow card and back.
    const std::vector<Medium> media = {
        {"40 MiB/s", 25, std::max(InFlightAt(40.0 * kMiB), WriteBackRate::kMinInFlight)},
        {"5 MiB/s", 200, WriteBackRate::kMinInFlight},
        {"20 MiB/s", 50, std::max(InFlightAt(20.0 * kMiB), WriteBackRate::kMinInFlight)},
    };
    for (const Medium& medium : media) {
        SCOPED_TRACE(medium.name);
        for (int i = 0; i < 12; ++i) {
            fault_injection::CallCounter calls;
            ASSERT_EQ(WriteChunk(medium.millisecondsPerMiB), ERROR_SUCCESS);
            // Every chunk's write-back is started at once.
            EXPECT_GE(calls.Calls(SystemCall::syncFileRange), 1);
            // Past the first chunks of a new pace, no more is left for the
            // medium than it writes in a moment.
            if (i >= 4) {
                EXPECT_LE(writeBehind.Unsettled(), medium.bound) << "chunk " << i;
            }
        }
    }
    // A last short write, then the flush: it waits for the bound at most.
    ASSERT_EQ(WriteChunk(50, 1000), ERROR_SUCCESS);
    EXPECT_LE(writeBehind.Unsettled(), media.back().bound);
    fault_injection::CallCounter flushing;
    EXPECT_EQ(writeBehind.Flush(), ERROR_SUCCESS);
    EXPECT_EQ(writeBehind.Unsettled(), 0u);
    EXPECT_EQ(flushing.Calls(SystemCall::fdatasync), 1);
    // Flushed once: a second flush, as at a close after a failure, asks nothing.
    fault_injection::CallCounter again;
    EXPECT_EQ(writeBehind.Flush(), ERROR_SUCCESS);
    EXPECT_EQ(again.Total(), 0);
    EXPECT_EQ(QueryFileSizeByPath(dir.Child("temp001")),
              36 * static_cast<std::int64_t>(kMiB) + 1000);
}

TEST_F(WriteBehindTest, WritesElsewhereInTheFileSettleTheEarlierRunFirst) {
    ASSERT_EQ(WriteChunk(10), ERROR_SUCCESS);
    ASSERT_EQ(SetFilePointer(handle, 64 * kMiB, nullptr, FILE_BEGIN), 64 * kMiB);
    ASSERT_EQ(WriteChunk(10), ERROR_SUCCESS);
    // Only the new run can be unsettled: never more than one chunk of it.
    EXPECT_LE(writeBehind.Unsettled(), kMiB);
}

TEST_F(WriteBehindTest, TheMediumsFailuresAreReportedAndInterruptionsRetried) {
    // Interrupted starts and waits are made again and the write succeeds.
    fault_injection::FailSystemCall(SystemCall::syncFileRange, EINTR);
    EXPECT_EQ(WriteChunk(10), ERROR_SUCCESS);
    fault_injection::FailSystemCall(SystemCall::syncFileRange, EINTR, 1);
    EXPECT_EQ(WriteChunk(10), ERROR_SUCCESS);
    // A medium that cannot write: the write that started or waited reports it.
    fault_injection::FailSystemCall(SystemCall::syncFileRange, EIO);
    EXPECT_EQ(WriteChunk(10), 23u);
    fault_injection::FailSystemCall(SystemCall::fdatasync, EIO);
    EXPECT_EQ(writeBehind.Flush(), 23u);
    // A handle only read is not followed: nothing is asked of the system.
    WriteBehind reading;
    reading.Start(handle, false);
    fault_injection::CallCounter calls;
    EXPECT_EQ(reading.AfterWrite(kMiB), ERROR_SUCCESS);
    EXPECT_EQ(reading.Flush(), ERROR_SUCCESS);
    EXPECT_EQ(calls.Total(), 0);
}

#endif

}  // namespace
