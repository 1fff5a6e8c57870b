// The check of a round trip: two files the same byte for byte, compared by
// the standard cmp, independently of the program under test.
#pragma once

#include <filesystem>
#include <string>

// Raises BenchError "<what>: <actual> differs from <expected>" when they
// differ, or naming the command when cmp fails.
void CheckSameFile(const std::filesystem::path& expected, const std::filesystem::path& actual,
                   const std::string& what);
