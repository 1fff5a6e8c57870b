// The refusals of a press that cannot fit, as the tests expect to read them:
// sizes with their digits grouped in threes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

inline std::string Grouped(std::uint64_t value) {
    std::string digits = std::to_string(value);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), ",");
    }
    return digits;
}

inline std::string NoRoom(const std::filesystem::path& folder, std::uint64_t needed,
                          std::uint64_t free) {
    return "フォルダ「" + folder.string() + "」の空き容量が足りません。書き込みに" +
           Grouped(needed) + "バイト必要ですが、空き容量は" + Grouped(free) +
           "バイトです。空き容量のあるディスクを指定してください。";
}

inline std::string FatLimit(const std::filesystem::path& folder, std::uint64_t size) {
    return "フォルダ「" + folder.string() +
           "」はFAT形式のため、4294967295バイトを超えるファイルを作成できません。"
           "書き込み後のファイルは" +
           Grouped(size) + "バイトです。NTFSやexFAT形式のディスクを指定してください。";
}
