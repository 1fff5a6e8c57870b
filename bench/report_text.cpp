#include "bench/report_text.h"

#include <cstdio>

std::string Mebibytes(long long bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MiB", static_cast<double>(bytes) / (1 << 20));
    return text;
}

std::string Milliseconds(std::chrono::steady_clock::duration duration) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f ms",
                  std::chrono::duration<double, std::milli>(duration).count());
    return text;
}

std::string Seconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", seconds);
    return text;
}

std::string SpeedText(std::uint64_t bytesPerSecond) {
    constexpr std::uint64_t kMebibyte = std::uint64_t{1} << 20;
    if (bytesPerSecond % kMebibyte == 0) {
        return std::to_string(bytesPerSecond / kMebibyte) + " MiB/s";
    }
    return std::to_string(bytesPerSecond >> 10) + " KiB/s";
}
