// The one error type of the benchmark: a failed step, said in words that name
// what was being done, to which file, and why.
#pragma once

#include <stdexcept>
#include <string>

class BenchError : public std::runtime_error {
public:
    explicit BenchError(const std::string& what) : std::runtime_error(what) {}
};

// "<what>: <strerror(errnum)>", for failures of the C library.
std::string DescribeErrno(const std::string& what, int errnum);
