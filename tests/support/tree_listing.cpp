#include "tests/support/tree_listing.h"

void PrintTo(const ListedFile& file, std::ostream* os) {
    *os << file.size << " bytes, modified at " << file.modified.time_since_epoch().count();
}

TreeListing ListTree(const std::filesystem::path& root) {
    TreeListing listing;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const bool isFile = entry.is_regular_file();
        listing[entry.path().lexically_relative(root).generic_string()] =
            isFile ? ListedFile{entry.file_size(), entry.last_write_time()} : ListedFile{};
    }
    return listing;
}
