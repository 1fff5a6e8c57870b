// The one error type of the benchmark: a failed step, said in words that name
// what was being done, to which file, and why.
#pragma once

#include <cstring>
#include <stdexcept>
#include <string>

class BenchError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "<what>: <strerror(errnum)>", for failures of the C library.
inline std::string DescribeErrno(const std::string& what, int errnum) {
    return what + ": " + std::strerror(errnum);
}
