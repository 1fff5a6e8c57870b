// The resource script (.rc) of the Windows program, made from the data the
// Linux program uses: the icon IDI_APP (from an icon file beside the script),
// every string of the string table, the version record with the texts of
// resources/version_info.h, and the application manifest (from a file beside
// the script).
//
// The script is UTF-8 and says so (#pragma code_page(65001)); every resource
// is Japanese (LANG_JAPANESE, SUBLANG_DEFAULT), and so is the version record's
// string block (041104b0: Japanese, Unicode). Ids and flags are written as
// numbers, so the resource compiler needs no Windows headers.
#pragma once

#include <string>
#include <string_view>

#include "framework/core/string_table.h"

// The language and code page of every resource and of the version texts.
inline constexpr unsigned kResourceLanguage = 0x0411;  // MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)
inline constexpr unsigned kResourceCodePage = 1200;    // UTF-16, "Unicode"

// `text` as a quoted rc string in UTF-8: a quote is doubled; a backslash, a
// line feed, a carriage return and a tab are written as \\, \n, \r and \t.
// Throws std::invalid_argument for any other control character and for a
// lone surrogate, which no script can carry.
std::string RcStringLiteral(std::u16string_view text);

// The whole script. `iconFileName` and `manifestFileName` are the icon's and
// the manifest's files as the resource compiler finds them (beside the
// script). Throws std::invalid_argument, naming the string's id, when a text
// cannot be written (see RcStringLiteral).
std::string ResourceScript(const StringTable& strings, int iconId, std::string_view iconFileName,
                           std::string_view manifestFileName);

// The application manifest: the system's current common controls (the look
// of the system's own dialogs rather than the oldest one) and awareness of
// the screen's resolution, so the system draws the dialog at its size in
// dialog units instead of stretching a small picture of it.
std::string ApplicationManifest();
