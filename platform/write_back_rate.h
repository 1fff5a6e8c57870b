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
    // (nanoseconds). With the last chunk (up to 1 MiB) still to write at the
    // close, 40 ms keeps the flush at close under 100 ms at 20 MiB/s, and
    // keeps the medium busy while the next chunk is read and handed over
    // (well under 40 ms: about 1 ms on a fast disk).
    static constexpr std::int64_t kInFlightTime = 40'000'000;
    // Never less than this in flight: before the first measurement, and on a
    // medium that stalls, a quarter of a chunk still overlaps the reading of
    // the next chunk with the writing of this one (50 ms at 5 MiB/s).
    static constexpr std::uint64_t kMinInFlight = 256 * 1024;
    // Nor more: enough for a fast disk at 1.6 GB/s, little enough that a
    // disk that suddenly slows down does not hold a close for seconds.
    static constexpr std::uint64_t kMaxInFlight = 64 * 1024 * 1024;

    // How long the medium must be watched before what it did is believed
    // whole. A measurement counts as long as it lasted: a burst that the
    // medium's queue or a card's cache takes in a millisecond moves the
    // estimate by 1/200 of the way, so it raises the allowance by a fifth of
    // the burst at most; a medium that slows down shows it over long waits,
    // and a stall of a second is believed at once. A fast disk is believed
    // nearly whole after half a second of writing.
    static constexpr std::int64_t kBeliefTime = 200'000'000;

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
