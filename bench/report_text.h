// Texts the benchmark's runs share: the pieces' names as split writes them,
// and sizes, durations and speeds as the report shows them.
#pragma once

#include <cstdint>
#include <string>

#include "bench/pump_intervals.h"

// "temp001" .. "temp010".
std::string PieceName(int number);
// "2048.0 MiB".
std::string Mebibytes(long long bytes);
// "12.3 ms".
std::string Milliseconds(PumpIntervals::Duration duration);
// "5 MiB/s", "1536 KiB/s": a medium's write speed as it was asked for.
std::string SpeedText(std::uint64_t bytesPerSecond);
