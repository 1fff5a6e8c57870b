// Sizes, durations and speeds as the benchmark's report shows them.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

// "2048.0 MiB".
std::string Mebibytes(long long bytes);
// "12.3 ms".
std::string Milliseconds(std::chrono::steady_clock::duration duration);
// "205.10 s".
std::string Seconds(double seconds);
// "5 MiB/s", "1536 KiB/s": a medium's write speed as it was asked for.
std::string SpeedText(std::uint64_t bytesPerSecond);
