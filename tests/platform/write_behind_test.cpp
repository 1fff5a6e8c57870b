// The write-behind: how much written data it lets wait for the medium, given
// the medium's pace on the test seam's clock, and what it asks of the system.
#include "platform/write_behind.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <string>
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
        std::int64_t microsecondsPerMiB;
        int chunks;
        std::uint64_t allowanceAfter;  // what the phase must end with
    };
    const std::vector<Phase> phases = {
        // A card at 20 MiB/s: 40 ms of it in flight.
        {"20 MiB/s", 50'000, 20, InFlightAt(20.0 * kMiB)},
        // It slows to 5 MiB/s mid-piece: believed within a few chunks, and
        // 40 ms of that is less than the floor.
        {"5 MiB/s", 200'000, 6, WriteBackRate::kMinInFlight},
        // A stall of five seconds: straight to the floor.
        {"stalled", 5'000'000, 1, WriteBackRate::kMinInFlight},
        // A fast disk at 4 GiB/s: the ceiling, once it has run for a second.
        {"fast disk", 250, 4000, WriteBackRate::kMaxInFlight},
    };
    WriteBackRate rate;
    EXPECT_EQ(rate.InFlightAllowance(), WriteBackRate::kMinInFlight);  // nothing measured yet
    for (const Phase& phase : phases) {
        SCOPED_TRACE(phase.medium);
        for (int i = 0; i < phase.chunks; ++i) {
            rate.Record(kMiB, phase.microsecondsPerMiB * 1000);
        }
        const std::uint64_t allowance = rate.InFlightAllowance();
        EXPECT_LE(allowance, phase.allowanceAfter * 11 / 10);
        EXPECT_GE(allowance, phase.allowanceAfter * 9 / 10);
    }
    // A slowdown is believed almost at once: one slow chunk goes most of the
    // way down.
    WriteBackRate fast;
    for (int i = 0; i < 20; ++i) {
        fast.Record(kMiB, 10 * kMillisecond);
    }
    fast.Record(kMiB, 1000 * kMillisecond);
    EXPECT_LT(fast.BytesPerSecond(), 26.0 * kMiB);
}

TEST(WriteBackRate, ABurstTheMediumSwallowsIsNotBelievedWhole) {
    // The first chunks of a press come back at once: a queue or a card's
    // cache took them. Believed, they would let many MiB gather for a medium
    // that then writes at its own pace.
    for (const int burstChunks : {1, 8, 32}) {
        WriteBackRate rate;
        for (int i = 0; i < burstChunks; ++i) {
            rate.Record(kMiB, kMillisecond);
        }
        EXPECT_LE(rate.InFlightAllowance(), WriteBackRate::kMinInFlight + burstChunks * kMiB / 2)
            << burstChunks << " chunks taken at once";
    }
}

// A medium played on the fake clock: it writes the file's bytes in the order
// they were handed over, none before it was handed over, the first `burst`
// bytes at once (its queue takes them), then at `bytesPerSecond`, and it
// stops for `stall` once `stallAt` bytes are on it.
class ScriptedMedium : public fault_injection::FakeMedium {
public:
    struct Drain {
        std::uint64_t from;
        std::uint64_t to;
    };

    ScriptedMedium(fault_injection::FakeClock& clock, std::uint64_t burst, double bytesPerSecond,
                   std::uint64_t stallAt = UINT64_MAX, std::int64_t stall = 0)
        : m_clock(clock),
          m_burst(burst),
          m_nanosecondsPerByte(1e9 / bytesPerSecond),
          m_stallAt(stallAt),
          m_stall(stall) {}

    // The program handed the file's bytes up to `end` to the system now.
    void Handed(std::uint64_t end) { m_handed.push_back({end, m_now}); }
    // The program spent `nanoseconds` on its own work.
    void Spend(std::int64_t nanoseconds) { Advance(nanoseconds); }

    void Wait(std::uint64_t from, std::uint64_t to) override {
        waits.push_back({from, to});
        for (const Hand& hand : m_handed) {
            if (m_onMedium >= to) {
                break;
            }
            if (hand.end <= m_onMedium) {
                continue;
            }
            const std::uint64_t upTo = std::min(hand.end, to);
            m_mediumFree = std::max(m_mediumFree, hand.at);
            if (m_onMedium < m_stallAt && upTo >= m_stallAt) {
                m_mediumFree += m_stall;
            }
            const std::uint64_t paced = upTo - std::max(m_onMedium, std::min(upTo, m_burst));
            m_mediumFree +=
                static_cast<std::int64_t>(static_cast<double>(paced) * m_nanosecondsPerByte);
            m_onMedium = upTo;
        }
        Advance(std::max<std::int64_t>(m_mediumFree - m_now, 0));
    }

    std::vector<Drain> waits;

private:
    struct Hand {
        std::uint64_t end;
        std::int64_t at;
    };
    void Advance(std::int64_t nanoseconds) {
        m_clock.Advance(nanoseconds);
        m_now += nanoseconds;
    }

    fault_injection::FakeClock& m_clock;
    std::uint64_t m_burst;
    double m_nanosecondsPerByte;
    std::uint64_t m_stallAt;
    std::int64_t m_stall;
    std::vector<Hand> m_handed;
    std::int64_t m_now = 0;
    std::int64_t m_mediumFree = 0;  // when the medium has written m_onMedium
    std::uint64_t m_onMedium = 0;
};

class WriteBehindOnAMediumTest : public FileTest {
protected:
    // Writes `chunks` chunks into a new file `name` as a press does, a
    // millisecond of the program's own work before each, then flushes as the
    // close does. Returns what the close found unsettled; the waits are left
    // in `medium`.
    std::uint64_t Press(const std::string& name, ScriptedMedium& medium, int chunks) {
        const HANDLE handle =
            CreateFileW(reinterpret_cast<LPCWSTR>(dir.Child(name).GetString()), GENERIC_WRITE, 0,
                        nullptr, CREATE_NEW, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        EXPECT_NE(handle, INVALID_HANDLE_VALUE);
        WriteBehind writeBehind;
        writeBehind.Start(handle, true);
        for (int i = 0; i < chunks; ++i) {
            medium.Spend(kMillisecond);
            DWORD put = 0;
            EXPECT_TRUE(WriteFile(handle, chunk.data(), kMiB, &put, nullptr));
            medium.Handed((i + 1) * kMiB);
            EXPECT_EQ(writeBehind.AfterWrite(put), ERROR_SUCCESS);
        }
        const std::uint64_t atClose = writeBehind.Unsettled();
        EXPECT_EQ(writeBehind.Flush(), ERROR_SUCCESS);
        CloseHandle(handle);
        return atClose;
    }

    fault_injection::FakeClock clock;
    std::vector<unsigned char> chunk = PatternBytes(kMiB);
};

TEST_F(WriteBehindOnAMediumTest, ABurstOrAStallLeavesNoBacklogForOneWaitOrTheClose) {
    struct Case {
        const char* medium;
        std::uint64_t burst;
        double bytesPerSecond;
        std::uint64_t stallAt;
        std::int64_t stall;
    };
    const std::vector<Case> cases = {
        {"a queue that takes 16 MiB, then 20 MiB/s", 16 * kMiB, 20.0 * kMiB, UINT64_MAX, 0},
        {"a queue that takes 4 MiB, then 10 MiB/s", 4 * kMiB, 10.0 * kMiB, UINT64_MAX, 0},
        {"20 MiB/s, stalled for 2 s, then 20 MiB/s again", 0, 20.0 * kMiB, 20 * kMiB,
         2000 * kMillisecond},
    };
    int piece = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.medium);
        ScriptedMedium medium(clock, c.burst, c.bytesPerSecond, c.stallAt, c.stall);
        const std::uint64_t atClose = Press("temp00" + std::to_string(++piece), medium, 48);
        // The close finds about one chunk left for the medium, not a backlog.
        EXPECT_LE(atClose, kMiB + kMiB / 4);
#ifndef _WIN32
        // Between two writes, no wait drains much more than one chunk.
        ASSERT_GT(medium.waits.size(), 2u);
        for (std::size_t i = 0; i + 1 < medium.waits.size(); ++i) {
            EXPECT_LE(medium.waits[i].to - medium.waits[i].from, kMiB + kMiB / 4) << "wait " << i;
        }
#endif
    }
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
            if (i >= 6) {
                EXPECT_LE(writeBehind.Unsettled(), medium.bound) << "chunk " << i;
            }
        }
    }
    // A last short write, then the flush: it waits for the bound at most.
    ASSERT_EQ(WriteChunk(50, 1000), ERROR_SUCCESS);
    EXPECT_LE(writeBehind.Unsettled(), media.back().bound + 4096);  // and the page it ends in
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

TEST_F(WriteBehindTest, StartsEachWriteAndWaitsForTheOldestDataOnly) {
    fault_injection::RangeSyncLog log;
    std::int64_t settled = 0;  // the oldest byte not yet waited for
    for (int i = 0; i < 24; ++i) {
        const std::size_t before = log.Requests().size();
        // A card at 20 MiB/s, then at 5 MiB/s.
        ASSERT_EQ(WriteChunk(i < 12 ? 50 : 200), ERROR_SUCCESS);
        const auto begin = static_cast<std::int64_t>(i * kMiB);
        const std::int64_t end = begin + static_cast<std::int64_t>(kMiB);
        std::int64_t started = begin;
        for (std::size_t r = before; r < log.Requests().size(); ++r) {
            const fault_injection::RangeSync& request = log.Requests()[r];
            SCOPED_TRACE("chunk " + std::to_string(i) + ", request " + std::to_string(r));
            if (request.flags == SYNC_FILE_RANGE_WRITE) {
                // The chunk's write-back is started, all of it, in order.
                EXPECT_EQ(request.offset, started);
                EXPECT_GT(request.length, 0);
                started = request.offset + request.length;
            } else {
                EXPECT_EQ(request.flags, SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE |
                                             SYNC_FILE_RANGE_WAIT_AFTER);
                // The wait is for the oldest data, and leaves the newest in
                // flight.
                EXPECT_EQ(request.offset, settled);
                EXPECT_LT(request.offset + request.length, end);
                settled = request.offset + request.length;
            }
        }
        EXPECT_EQ(started, end) << "chunk " << i;
    }
    EXPECT_GT(settled, 0);
}

TEST_F(WriteBehindTest, NeverAsksForThePageTheNextWriteFills) {
    // A join's piece lands wherever the pieces before it end: chunks that
    // end inside a page. That page would go to the medium twice, the second
    // time inside a wait.
    ASSERT_EQ(SetFilePointer(handle, 1000, nullptr, FILE_BEGIN), 1000u);
    fault_injection::RangeSyncLog log;
    for (int i = 0; i < 8; ++i) {
        ASSERT_EQ(WriteChunk(50), ERROR_SUCCESS);
    }
    ASSERT_FALSE(log.Requests().empty());
    for (const fault_injection::RangeSync& request : log.Requests()) {
        EXPECT_EQ((request.offset + request.length) % 4096, 0)
            << request.offset << " + " << request.length;
    }
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
