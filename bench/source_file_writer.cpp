#include "bench/source_file_writer.h"

#include <fcntl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "bench/interrupt_flag.h"
#include "bench/unique_fd.h"

namespace {

constexpr std::size_t kBlockSize = std::size_t{1} << 20;

}  // namespace

std::uint64_t SourceFileWriter::Next() {
    std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

void SourceFileWriter::Write(const std::filesystem::path& path, std::uint64_t size) {
    UniqueFd file(path, O_WRONLY | O_CREAT | O_EXCL, "to create the source file");
    std::vector<std::uint64_t> block(kBlockSize / sizeof(std::uint64_t));
    std::uint64_t left = size;
    while (left > 0) {
        InterruptFlag::ThrowIfRaised("the making of the source file");
        for (auto& word : block) {
            word = Next();
        }
        const std::size_t count =
            static_cast<std::size_t>(std::min<std::uint64_t>(left, kBlockSize));
        file.WriteAll(block.data(), count);
        left -= count;
    }
    file.Sync();
    file.Close();
}
