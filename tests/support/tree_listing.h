// Every file under a folder with its size and modification time, to show
// that an operation touched nothing but what it was meant to.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <ostream>
#include <string>

struct ListedFile {
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified;

    bool operator==(const ListedFile&) const = default;
};
void PrintTo(const ListedFile& file, std::ostream* os);

// Relative path (generic form) to what is there. Folders are listed by name
// only: their times change whenever a file comes or goes inside them.
using TreeListing = std::map<std::string, ListedFile>;
TreeListing ListTree(const std::filesystem::path& root);
