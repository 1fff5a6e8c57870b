// The fault sweep: a whole round trip, ten split presses and then ten join
// presses, in which each system call of each press fails in turn, with each
// error a full, failing or vanished medium gives, and each write is cut
// short. After every run: a failed press says so with one box and one only;
// what a press reports done is byte-exact and what it leaves after a failure
// is an exact prefix of it; the source and every other file are untouched;
// no file is left open; the engine is idle; and the failed press, done again
// (after removing a partial piece, as a user would), completes the trip.
//
// Every call of every press fails with EIO. The other errors run on every
// call they can come from, in the first and the tenth press of each phase
// (the presses between differ from the first only in their offsets). Under
// the sanitizers only the first and the tenth press are swept.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/join.h"
#include "engine/split.h"
#include "platform/fault_injection.h"
#include "resources/resource.h"
#include "tests/support/fake_host.h"
#include "tests/support/file64_fixture.h"
#include "tests/support/temp_dir.h"
#include "tests/support/tree_listing.h"

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
TEST(FaultSweep, NeedsTheLinuxFileLayer) {
    GTEST_SKIP() << "kernel32's own system calls cannot be made to fail";
}
#else

using Bytes = std::vector<unsigned char>;
using fault_injection::SystemCall;

// Pieces just over 8 MiB: eight full chunks, which cross the write-behind's
// stride, and a remainder. The tenth piece is 7 bytes longer.
constexpr std::uint64_t kPieceLength = 8 * ChunkSize + 4321;
constexpr std::uint64_t kSourceSize = 10 * kPieceLength + 7;

enum class Phase { split, join };

#ifdef __SANITIZE_ADDRESS__
// Under the sanitizers the first and the tenth press of each phase are swept:
// the presses between walk the same code, only at other offsets, and the
// sanitized run would take twice as long with them.
constexpr bool kSweepEveryRow = false;
#else
constexpr bool kSweepEveryRow = true;
#endif

// One way for a system call to go wrong.
struct Injection {
    const char* name;
    bool cutShort;  // false: the call fails with `error`; true: a write takes 40 bytes, and
                    // the write after it fails with `error` unless that is 0
    int error;
    std::set<SystemCall> kinds;  // the calls it can come from; empty: every kind
    bool harmless;               // the press completes as if nothing had happened
};

const std::set<SystemCall> kWritingCalls = {SystemCall::open, SystemCall::write, SystemCall::close,
                                            SystemCall::fdatasync, SystemCall::syncFileRange};

const Injection kEio = {"EIO", false, EIO, {}, false};
const std::vector<Injection> kOtherInjections = {
    {"ENOSPC", false, ENOSPC, kWritingCalls, false},
    {"EDQUOT", false, EDQUOT, kWritingCalls, false},
    {"ENXIO", false, ENXIO, {}, false},  // the medium is gone
    {"ENODEV", false, ENODEV, {SystemCall::open}, false},
    {"EROFS", false, EROFS, {SystemCall::open, SystemCall::write, SystemCall::fdatasync}, false},
    {"EINTR", false, EINTR, {}, true},
    {"a short write", true, 0, {SystemCall::write}, true},
    {"a short write, then a full medium", true, ENOSPC, {SystemCall::write}, false},
};

// The calls whose failure concerns a file being written or closed: its box
// must say which file.
const std::set<SystemCall> kNamedCalls = {SystemCall::write, SystemCall::close,
                                          SystemCall::fdatasync, SystemCall::syncFileRange};

// How one press ended.
struct Outcome {
    bool completed = false;
    int boxes = 0;  // error boxes shown, the file error's included
    std::string message;
    CString fileName;  // of the file error
};

class FaultSweep : public ::testing::Test {
protected:
    FaultSweep() : dir(FastTempBase()) {}

    void SetUp() override {
        if (!fault_injection::SupportsSystemCalls()) {
            GTEST_SKIP() << "needs the Linux file layer's seam to fail its system calls";
        }
        TransferState = kTransferIdle;
        fault_injection::ClearFailures();
        bytes = PatternBytes(kSourceSize, 77);
        scratch.resize(Length(10));
        source = dir.path() / "source.bin";
        WriteAll(source, bytes);
        host.SetField(IDC_SOURCE_PATH, ToCString(source));
        for (int row = 1; row <= 10; ++row) {
            folders.push_back(dir.path() / ("card" + std::to_string(row)));
            fs::create_directory(folders.back());
            host.SetField(IDC_FOLDER_1 + row - 1, ToCString(folders.back()));
        }
        fs::create_directory(dir.path() / "restored");
        host.SetField(IDC_DEST_FOLDER, ToCString(dir.path() / "restored"));
        descriptors = CountOpenDescriptors();
    }

    void TearDown() override {
        fault_injection::ClearFailures();
        TransferState = kTransferIdle;
        if (injections > 0) {
            std::cout << "[ sweep    ] " << injections << " injections\n";
            RecordProperty("injections", injections);
        }
    }

    fs::path Output(Phase phase, int row) const {
        char name[16];
        std::snprintf(name, sizeof name, "temp%03d", row);
        return phase == Phase::split ? folders[row - 1] / name : dir.path() / "restored" / "temp";
    }
    static std::uint64_t Offset(int row) { return (row - 1) * kPieceLength; }
    static std::uint64_t Length(int row) { return row == 10 ? kPieceLength + 7 : kPieceLength; }

    // How many bytes the press of `row` has put where its bytes go (the
    // piece, or `temp` from the piece's offset to its end) when they are an
    // exact prefix of the piece; -1 when they are not. Read into one buffer
    // kept for the whole sweep: fresh 8 MiB blocks would cost more than the
    // presses.
    std::int64_t PrefixWritten(Phase phase, int row) {
        const fs::path out = Output(phase, row);
        if (!fs::exists(out)) {
            return 0;
        }
        const std::uint64_t from = phase == Phase::split ? 0 : Offset(row);
        const std::uint64_t size = fs::file_size(out);
        if (size <= from) {
            return 0;
        }
        if (size - from > Length(row)) {
            return -1;
        }
        const auto count = static_cast<std::size_t>(size - from);
        std::ifstream in(out, std::ios::binary);
        in.seekg(static_cast<std::streamoff>(from));
        in.read(reinterpret_cast<char*>(scratch.data()), static_cast<std::streamsize>(count));
        if (static_cast<std::size_t>(in.gcount()) != count ||
            !std::equal(scratch.begin(), scratch.begin() + static_cast<std::ptrdiff_t>(count),
                        bytes.begin() + static_cast<std::ptrdiff_t>(Offset(row)))) {
            return -1;
        }
        return static_cast<std::int64_t>(count);
    }

    // Whether `file` holds exactly the source's bytes.
    bool HoldsTheSource(const fs::path& file) {
        if (fs::file_size(file) != bytes.size()) {
            return false;
        }
        std::ifstream in(file, std::ios::binary);
        for (std::size_t at = 0; at < bytes.size(); at += scratch.size()) {
            const std::size_t count = std::min(scratch.size(), bytes.size() - at);
            in.read(reinterpret_cast<char*>(scratch.data()), static_cast<std::streamsize>(count));
            if (!std::equal(scratch.begin(), scratch.begin() + static_cast<std::ptrdiff_t>(count),
                            bytes.begin() + static_cast<std::ptrdiff_t>(at))) {
                return false;
            }
        }
        return true;
    }

    // Puts things back as they were before the press: no piece, or `temp`
    // holding the pieces before this one.
    void Reset(Phase phase, int row) {
        if (phase == Phase::split || row == 1) {
            fs::remove(Output(phase, row));
        } else {
            fs::resize_file(Output(phase, row), Offset(row));
        }
    }

    Outcome Press(Phase phase, int row) {
        Outcome outcome;
        const std::size_t boxes = host.errors.size();
        try {
            outcome.completed =
                (phase == Phase::split ? SplitPiece(host, row) : JoinPiece(host, row)) ==
                kTransferCompleted;
        } catch (const CFileException& e) {
            // Shown by the window's dispatch in the standard box.
            outcome.boxes = 1;
            outcome.message = e.GetErrorMessage().ToUtf8();
            outcome.fileName = e.m_strFileName;
        }
        outcome.boxes += static_cast<int>(host.errors.size() - boxes);
        if (host.errors.size() > boxes) {
            outcome.message = host.errors.back().ToUtf8();
        }
        return outcome;
    }

    // Runs the press with `injection` armed for its `k`-th call (its `k`-th
    // write when cutting short), checks what it left, and does it again when
    // it failed. Returns the kind of call that went wrong.
    std::optional<SystemCall> RunOne(Phase phase, int row, const Injection& injection, int k) {
        SCOPED_TRACE(std::string(phase == Phase::split ? "split" : "join") + " row " +
                     std::to_string(row) + ", " + injection.name + " at call " + std::to_string(k));
        Reset(phase, row);
        const std::string output = Output(phase, row).lexically_relative(dir.path()).string();
        TreeListing before = ListTree(dir.path());
        before.erase(output);

        if (injection.cutShort) {
            fault_injection::ShortenWrite(40, injection.error, k);
        } else {
            fault_injection::FailSystemCall(injection.error, k);
        }
        const Outcome outcome = Press(phase, row);
        const std::optional<SystemCall> kind = fault_injection::LastFailure();
        fault_injection::ClearFailures();
        ++injections;

        EXPECT_TRUE(kind.has_value()) << "the armed failure never came";
        EXPECT_EQ(outcome.boxes, outcome.completed ? 0 : 1) << outcome.message;
        if (injection.harmless) {
            EXPECT_TRUE(outcome.completed) << outcome.message;
        }
        if (!outcome.completed && kind && kNamedCalls.count(*kind) != 0 &&
            outcome.fileName.IsEmpty()) {
            ADD_FAILURE() << "the box names no file: " << outcome.message;
        }
        EXPECT_EQ(TransferState, kTransferIdle);
        EXPECT_EQ(TransferBuffer::LiveCount(), 0);
        EXPECT_EQ(PumpGuard, 0);
        EXPECT_EQ(CountOpenDescriptors(), descriptors);
        TreeListing after = ListTree(dir.path());
        after.erase(output);
        EXPECT_EQ(after, before);

        const std::int64_t written = PrefixWritten(phase, row);
        if (outcome.completed) {
            EXPECT_EQ(written, static_cast<std::int64_t>(Length(row))) << "-1: not the piece";
        } else {
            EXPECT_NE(written, -1) << "what is left is no prefix of the piece";
            if (phase == Phase::join && row == 10) {
                EXPECT_EQ(fs::file_size(Output(phase, row)), Offset(10));
            }
            Redo(phase, row);
        }
        return kind;
    }

    void Redo(Phase phase, int row) {
        if (phase == Phase::split) {
            fs::remove(Output(phase, row));
        }
        const Outcome outcome = Press(phase, row);
        EXPECT_TRUE(outcome.completed) << "done again: " << outcome.message;
        EXPECT_EQ(PrefixWritten(phase, row), static_cast<std::int64_t>(Length(row)));
    }

    // Sweeps one press: every call with EIO and, when `everyInjection`, every
    // other injection on the calls it can come from.
    void SweepPress(Phase phase, int row, bool everyInjection) {
        Reset(phase, row);
        const fault_injection::CallCounter counter;
        ASSERT_TRUE(Press(phase, row).completed);
        const auto calls = static_cast<int>(counter.Total());
        const auto writes = static_cast<int>(counter.Calls(SystemCall::write));
        ASSERT_GT(writes, 8);

        std::vector<std::optional<SystemCall> > kinds;
        for (int k = 0; k < calls; ++k) {
            kinds.push_back(RunOne(phase, row, kEio, k));
        }
        if (!everyInjection) {
            return;
        }
        for (const Injection& injection : kOtherInjections) {
            const int count = injection.cutShort ? writes : calls;
            for (int k = 0; k < count; ++k) {
                if (injection.cutShort || injection.kinds.empty() ||
                    (kinds[k] && injection.kinds.count(*kinds[k]) != 0)) {
                    RunOne(phase, row, injection, k);
                }
            }
        }
    }

    void SweepPhase(Phase phase) {
        for (int row = 1; row <= 10; ++row) {
            const bool firstOrLast = row == 1 || row == 10;
            if (kSweepEveryRow || firstOrLast) {
                SweepPress(phase, row, firstOrLast);
            } else {
                Reset(phase, row);
                ASSERT_TRUE(Press(phase, row).completed);
            }
            if (HasFatalFailure()) {
                return;
            }
        }
    }

    TempDir dir;
    FakeHost host;
    // The write-behind's waits depend on the medium's measured pace; on a
    // clock that stands still every press makes the same calls, so the k-th
    // call of a press is the same call each time it is counted.
    fault_injection::FakeClock clock;
    Bytes bytes;
    Bytes scratch;
    fs::path source;
    std::vector<fs::path> folders;
    int descriptors = 0;
    int injections = 0;
};

TEST_F(FaultSweep, EveryCallOfTheTenSplitPressesFails) {
    SweepPhase(Phase::split);
    for (int row = 1; row <= 10; ++row) {
        EXPECT_EQ(PrefixWritten(Phase::split, row), static_cast<std::int64_t>(Length(row)))
            << "piece " << row;
    }
    EXPECT_TRUE(HoldsTheSource(source));
}

TEST_F(FaultSweep, EveryCallOfTheTenJoinPressesFails) {
    for (int row = 1; row <= 10; ++row) {
        ASSERT_EQ(SplitPiece(host, row), kTransferCompleted);
    }
    SweepPhase(Phase::join);
    EXPECT_TRUE(HoldsTheSource(Output(Phase::join, 10)));
    EXPECT_TRUE(HoldsTheSource(source));
}

#endif

}  // namespace
