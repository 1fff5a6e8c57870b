#include "bench/bench_error.h"

#include <cstring>

std::string DescribeErrno(const std::string& what, int errnum) {
    return what + ": " + std::strerror(errnum);
}
