// Puts the page cache in the same state before every timed run, ours and the
// standard tools' alike. Pending write-back is flushed first, so no run pays
// for the previous run's writes. Then, when the cache can be dropped (root):
// cold drops it, so the run reads its input from disk; warm drops it and reads
// the run's input once, so exactly the input is cached. Without root, warm
// only reads the input, and whatever earlier runs left cached stays.
//
// Dropping matters more than it seems: on a virtual machine that hands freed
// memory back to its host, fresh page-cache pages can cost several times more
// to fill, so the run that follows another one's writes would be slower for
// reasons that have nothing to do with the program under test.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

class PageCachePolicy {
public:
    // Raises BenchError at once when `cold` is asked for but the cache cannot
    // be dropped, before anything is written.
    explicit PageCachePolicy(bool cold);

    void BeforeTimedRun(const std::vector<std::filesystem::path>& inputs) const;
    // One line for the report.
    std::string Describe() const;

private:
    void Warm(const std::filesystem::path& input) const;
    static void DropAll();

    bool m_cold;
    bool m_canDrop;
};
