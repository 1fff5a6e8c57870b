// The medium's own floor: how fast and how evenly a bare writer gets its data
// onto it, the least any program that keeps its window answering could do.
// It writes `size` bytes of pseudo-random data to a new file in 1 MiB
// writes, starts the write-back of each write at once, and after each write
// waits until all but the newest 256 KiB are on the medium; an fdatasync
// ends it. One write and its wait are the stretch that a window pumping once
// per chunk would see at the least; the fdatasync is the close.
#pragma once

#include <cstdint>
#include <filesystem>

#include "bench/pump_stretches.h"

// Raises BenchError naming the file; each write and its wait go into `waits`
// as one stretch, the fdatasync as the last.
void WriteAtFloor(const std::filesystem::path& file, std::uint64_t size, PumpStretches& waits);
