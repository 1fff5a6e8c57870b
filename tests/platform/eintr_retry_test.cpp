// The retry of an interrupted system call.
#include "platform/eintr_retry.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <type_traits>

namespace {

TEST(RetryOnEintr, CallsAgainWhileTheCallIsInterrupted) {
    int calls = 0;
    const long result = RetryOnEintr([&]() -> long {
        ++calls;
        if (calls < 3) {
            errno = EINTR;
            return -1;
        }
        return 42;
    });
    EXPECT_EQ(result, 42);
    EXPECT_EQ(calls, 3);
}

TEST(RetryOnEintr, ReturnsAnyOtherFailureAtOnceWithItsErrno) {
    int calls = 0;
    const int result = RetryOnEintr([&] {
        ++calls;
        errno = EIO;
        return -1;
    });
    EXPECT_EQ(result, -1);
    EXPECT_EQ(errno, EIO);
    EXPECT_EQ(calls, 1);
}

TEST(RetryOnEintr, AnInterruptionAfterAnotherFailureIsRetriedUntilThatFailure) {
    int calls = 0;
    const int result = RetryOnEintr([&] {
        ++calls;
        errno = calls == 1 ? EINTR : ENOSPC;
        return -1;
    });
    EXPECT_EQ(result, -1);
    EXPECT_EQ(errno, ENOSPC);
    EXPECT_EQ(calls, 2);
}

TEST(RetryOnEintr, OnlyMinusOneIsAFailureWhateverErrnoStillHolds) {
    // errno keeps its value across a success; it says nothing then.
    int calls = 0;
    errno = EINTR;
    EXPECT_EQ(RetryOnEintr([&] {
                  ++calls;
                  return 0;
              }),
              0);
    EXPECT_EQ(RetryOnEintr([&] {
                  ++calls;
                  return -2;
              }),
              -2);
    EXPECT_EQ(calls, 2);
}

TEST(RetryOnEintr, KeepsTheResultTypeOfTheCall) {
    const auto sixtyFourBits = [] { return std::int64_t{5000000000}; };
    static_assert(std::is_same_v<decltype(RetryOnEintr(sixtyFourBits)), std::int64_t>);
    EXPECT_EQ(RetryOnEintr(sixtyFourBits), 5000000000);
}

}  // namespace
