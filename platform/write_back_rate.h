// How fast a medium takes what a file writes, measured as the copy goes, and
// so how much written data may wait for it without any wait, or the flush at
// close, holding the window for long.
//
// The window pumps once per 1 MiB chunk and no more often: whatever the
// medium still has to write when the file layer waits for it is time the
// window does not answer. Bounding that data by bytes makes every wait last
// longer the slower the medium; bounding it by time keeps each wait near one
// chunk's writing time on a card and keeps a fast disk's queue full.
#pragma once

#include <cstdint>

class WriteBackRate {
public:
    // The data left waiting for the medium is what it writes in this long
    // (nanoseconds): at 10 MiB/s the 256 KiB that a bare loop of writes
    // keeps unsettled while it runs at the medium's own pace (the floor of
    // `make bench --medium`), at 40 MiB/s one chunk, so the flush at close
    // waits about one chunk's writing time. The medium stays busy while the
    // next chunk is read and handed over (about 1 ms on a fast disk).
    static constexpr std::int64_t kInFlightTime = 25'000'000;
    // Never less than this in flight: before the first measurement, and on a
    // medium that stalls, a quarter of a chunk still overlaps the reading of
    // the next chunk with the writing of this one (50 ms at 5 MiB/s).
    static constexpr std::uint64_t kMinInFlight = 256 * 1024;
    // Nor more: enough for a fast disk at 2.6 GB/s, little enough that a
    // disk that suddenly slows down does not hold a close for seconds.
    static constexpr std::uint64_t kMaxInFlight = 64 * 1024 * 1024;

    // How long a faster pace must be watched before it is believed whole
    // (nanoseconds). A measurement that shows the medium faster counts as
    // long as it lasted: the first chunks of a file, or one chunk now and
    // then, may come back at once because a queue or a card's cache took
    // them, and a burst of B bytes taken at once raises the allowance by
    // B * kInFlightTime / kBeliefTime, half of it, at most. A fast disk is
    // believed nearly whole after a tenth of a second; shorter, and the
    // simulated cards' bursts kept a backlog of many MiB for the close
    // (400 ms at 20 and 40 MiB/s when every measurement counted alike).
    // A slower pace is believed almost at once, so what is in flight shrinks
    // before it holds a close.
    static constexpr double kBeliefTime = 50e6;

    // The medium was seen to finish `bytes` more in `nanoseconds` (the time
    // since the previous measurement). Measurements of no time count as one
    // nanosecond.
    void Record(std::uint64_t bytes, std::int64_t nanoseconds);

    // The estimate in bytes per second. Before anything is measured it is
    // the pace at which kMinInFlight is what the medium writes in
    // kInFlightTime, so an unknown medium starts at the floor.
    double BytesPerSecond() const { return m_bytesPerSecond; }

    // How many written bytes may be left for the medium to write: what it
    // writes in kInFlightTime at the estimated rate, within the limits above.
    std::uint64_t InFlightAllowance() const;

private:
    double m_bytesPerSecond = static_cast<double>(kMinInFlight) * 1e9 / kInFlightTime;
};
