// Which reparse points make a file a link. On Windows a name can carry a
// reparse point for many reasons: a symbolic link, a junction or a mount
// point lead elsewhere, while a cloud service's placeholder (the Desktop and
// Documents folders kept in sync on many machines), a deduplicated file or
// an app alias are the file itself. Only the first kind is refused when the
// program writes, as data written there would land in another file.
#pragma once

#include <cstdint>

// FILE_ATTRIBUTE_REPARSE_POINT.
inline constexpr std::uint32_t kReparsePointAttribute = 0x400;
// The bit of a reparse tag that says it names another file or folder
// (IsReparseTagNameSurrogate).
inline constexpr std::uint32_t kNameSurrogateTagBit = 0x20000000;

// Whether a file with `attributes` and reparse tag `tag` (both as
// GetFileInformationByHandleEx's FILE_ATTRIBUTE_TAG_INFO gives them) is a link.
constexpr bool IsLinkReparsePoint(std::uint32_t attributes, std::uint32_t tag) {
    return (attributes & kReparsePointAttribute) != 0 && (tag & kNameSurrogateTagBit) != 0;
}
