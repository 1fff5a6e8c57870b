#include "engine/room_check.h"

#include "platform/file_api.h"

namespace {

constexpr const char16_t* kNoRoomMessage =
    u"フォルダ「%s」の空き容量が足りません。書き込みに%I64dバイト必要ですが、"
    u"空き容量は%I64dバイトです。空き容量のあるディスクを指定してください。";
constexpr const char16_t* kFatLimitMessage =
    u"フォルダ「%s」はFAT形式のため、4294967295バイトを超えるファイルを作成できません。"
    u"作成するファイルは%I64dバイトです。NTFSやexFAT形式のディスクを指定してください。";

}  // namespace

CString RoomRefusal(const CString& folder, const CString& path, std::int64_t bytesToWrite,
                    std::int64_t resultingSize) {
    CString text;
    FileSystemSpace space;
    if (!QueryFileSystemSpace(path, space)) {
        return text;
    }
    if (space.fat && static_cast<std::uint64_t>(resultingSize) > kFatLargestFile) {
        text.Format(kFatLimitMessage, folder, resultingSize);
    } else if (static_cast<std::uint64_t>(bytesToWrite) > space.freeBytes) {
        text.Format(kNoRoomMessage, folder, bytesToWrite,
                    static_cast<std::int64_t>(space.freeBytes));
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
