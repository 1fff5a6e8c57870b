#include "engine/room_check.h"

#include <string>
#include <utility>

#include "platform/file_api.h"
#include "platform/space_query.h"

namespace {

// The sizes are shown with their digits grouped in threes, as the file
// manager shows them: "10,737,418,240" is read at a glance, "10737418240" is
// not. The file in the FAT box may be a `temp` that is already there.
constexpr const char16_t* kNoRoomMessage =
    u"フォルダ「%s」の空き容量が足りません。書き込みに%sバイト必要ですが、"
    u"空き容量は%sバイトです。空き容量のあるディスクを指定してください。";
constexpr const char16_t* kFatLimitMessage =
    u"フォルダ「%s」はFAT形式のため、4294967295バイトを超えるファイルを作成できません。"
    u"書き込み後のファイルは%sバイトです。NTFSやexFAT形式のディスクを指定してください。";

// `value` in decimal with its digits grouped in threes.
CString GroupedDigits(std::uint64_t value) {
    std::u16string digits;
    int inGroup = 0;
    do {
        if (inGroup == 3) {
            digits.insert(digits.begin(), u',');
            inGroup = 0;
        }
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
        ++inGroup;
    } while (value != 0);
    return CString(std::move(digits));
}

}  // namespace

CString RoomRefusal(const CString& folder, const CString& path, std::int64_t bytesToWrite,
                    std::int64_t resultingSize) {
    CString text;
    FileSystemSpace space;
    if (!QueryFileSystemSpace(path, space)) {
        return text;
    }
    if (space.fat && static_cast<std::uint64_t>(resultingSize) > kFatLargestFile) {
        text.Format(kFatLimitMessage, folder, GroupedDigits(resultingSize));
    } else if (static_cast<std::uint64_t>(bytesToWrite) > space.freeBytes) {
        text.Format(kNoRoomMessage, folder, GroupedDigits(bytesToWrite),
                    GroupedDigits(space.freeBytes));
    }
    return text;
}

void RemoveUnwrittenFile(CFile64& file, const CString& path) {
    try {
        file.Close();
    } catch (const CFileException&) {
        // Closed all the same; the removal below is what matters.
    }
    (void)DeleteFileW(reinterpret_cast<LPCWSTR>(path.GetString()));
}
