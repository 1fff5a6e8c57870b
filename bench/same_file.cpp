#include "bench/same_file.h"

#include "bench/bench_error.h"
#include "bench/child_process.h"

void CheckSameFile(const std::filesystem::path& expected, const std::filesystem::path& actual,
                   const std::string& what) {
    // cmp names the first differing byte on its own output.
    const ChildProcess compare({"cmp", expected.string(), actual.string()});
    const int status = compare.Run();
    if (status == 1) {
        throw BenchError(what + ": " + actual.string() + " differs from " + expected.string());
    }
    if (status != 0) {
        throw BenchError("'" + compare.CommandLine() + "' failed with exit status " +
                         std::to_string(status));
    }
}
