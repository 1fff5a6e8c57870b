// The Windows program's compiled resources, linked into this test program and
// read back through the Windows API: the strings, the icon at both sizes, the
// version record, and that every resource is Japanese. Built on Windows only.

#include <gtest/gtest.h>

#include "platform/win_types.h"
#include "resources/resources.h"
#include "resources/version_info.h"
#include "tests/resources/app_icon_pixels.h"

#include <cwctype>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace {

// wchar_t is UTF-16 on Windows, the program's own text type.
std::u16string_view Text(const wchar_t* text, std::size_t length) {
    return {reinterpret_cast<const char16_t*>(text), length};
}

TEST(WindowsResources, StringsAreThoseOfTheTable) {
    for (int i = 0; i < kStringTable.count; ++i) {
        const StringResource& entry = kStringTable.entries[i];
        // With no buffer, LoadStringW points into the resource and gives its
        // exact length, so a cut or a stray terminator shows.
        const wchar_t* text = nullptr;
        const int length =
            LoadStringW(GetModuleHandleW(nullptr), entry.id, reinterpret_cast<LPWSTR>(&text), 0);
        EXPECT_EQ(Text(text, length), std::u16string_view(entry.text)) << "string " << entry.id;
    }
}

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) {
    reinterpret_cast<std::vector<WORD>*>(languages)->push_back(language);
    return TRUE;
}

TEST(WindowsResources, EveryResourceIsJapanese) {
    const WORD japanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
    const struct {
        LPCWSTR type;
        LPCWSTR name;
    } resources[] = {
        {RT_GROUP_ICON, MAKEINTRESOURCEW(IDI_APP)},
        {RT_STRING, MAKEINTRESOURCEW(IDS_ABOUT_MENU / 16 + 1)},  // ids 16 (n - 1) to 16 n - 1
        {RT_VERSION, MAKEINTRESOURCEW(VS_VERSION_INFO)},
        {RT_MANIFEST, MAKEINTRESOURCEW(1)},
    };
    for (const auto& resource : resources) {
        const HMODULE self = GetModuleHandleW(nullptr);
        EXPECT_NE(FindResourceExW(self, resource.type, resource.name, japanese), nullptr);
        std::vector<WORD> languages;
        EnumResourceLanguagesW(self, resource.type, resource.name, AddLanguage,
                               reinterpret_cast<LONG_PTR>(&languages));
        EXPECT_EQ(languages, std::vector<WORD>{japanese});
    }
}

// A bitmap's pixels as 0x00RRGGBB, rows top down; its width and height in `size`.
std::vector<DWORD> Pixels(HBITMAP bitmap, BITMAP& size) {
    GetObjectW(bitmap, sizeof size, &size);
    BITMAPINFO info = {};
    info.bmiHeader = {
        sizeof info.bmiHeader, size.bmWidth, -size.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> pixels(static_cast<std::size_t>(size.bmWidth) * size.bmHeight);
    std::unique_ptr<std::remove_pointer_t<HDC>, decltype(&DeleteDC)> dc(CreateCompatibleDC(nullptr),
                                                                        &DeleteDC);
    GetDIBits(dc.get(), bitmap, 0, size.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
    return pixels;
}

TEST(WindowsResources, IconShowsTheProgramIconAtBothSizes) {
    using Bitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, decltype(&DeleteObject)>;
    for (const int size : {32, 16}) {
        std::unique_ptr<std::remove_pointer_t<HICON>, decltype(&DestroyIcon)> icon(
            static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP),
                                          IMAGE_ICON, size, size, 0)),
            &DestroyIcon);
        ICONINFO parts = {};
        ASSERT_TRUE(GetIconInfo(icon.get(), &parts)) << size << ", error " << GetLastError();
        const Bitmap colour(parts.hbmColor, &DeleteObject);
        const Bitmap mask(parts.hbmMask, &DeleteObject);
        BITMAP colourSize = {};
        BITMAP maskSize = {};
        const std::vector<DWORD> colours = Pixels(colour.get(), colourSize);
        const std::vector<DWORD> clear = Pixels(mask.get(), maskSize);  // white where clear
        ASSERT_EQ(colourSize.bmWidth, size);
        ASSERT_EQ(colourSize.bmHeight, size);
        ASSERT_EQ(maskSize.bmWidth, size);
        ASSERT_EQ(maskSize.bmHeight, size);
        for (const AppIconPixel& pixel : kAppIconPixels) {
            if (pixel.size == size) {
                const std::size_t at = static_cast<std::size_t>(pixel.y) * size + pixel.x;
                SCOPED_TRACE(std::to_string(size) + ": " + std::to_string(pixel.x) + ", " +
                             std::to_string(pixel.y));
                EXPECT_EQ(clear[at] & 0xFFFFFF, pixel.argb == 0 ? 0xFFFFFFu : 0u);
                if (pixel.argb != 0) {
                    EXPECT_EQ(colours[at] & 0xFFFFFF, pixel.argb & 0xFFFFFF);
                }
            }
        }
    }
}

// The icon group as the shell reads it: a 32 x 32 and a 16 x 16 image, each
// of 16 colours at 4 bits per pixel, down to the images' own headers.
TEST(WindowsResources, IconGroupHoldsTwo16ColourImages) {
    const HMODULE self = GetModuleHandleW(nullptr);
    const auto bytesOf = [self](LPCWSTR name, LPCWSTR type) {
        const HRSRC found = FindResourceW(self, name, type);
        return found != nullptr ? static_cast<const BYTE*>(LockResource(LoadResource(self, found)))
                                : nullptr;
    };
    const BYTE* group = bytesOf(MAKEINTRESOURCEW(IDI_APP), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group[4] | group[5] << 8, 2);  // images
    const int sizes[] = {32, 16};
    for (int i = 0; i < 2; ++i) {
        const BYTE* entry = group + 6 + 14 * i;  // width, height, colours, 0, planes, bits, ...
        EXPECT_EQ(entry[0], sizes[i]);
        EXPECT_EQ(entry[2], 16);
        EXPECT_EQ(entry[6] | entry[7] << 8, 4);
        const BYTE* image = bytesOf(MAKEINTRESOURCEW(entry[12] | entry[13] << 8), RT_ICON);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(reinterpret_cast<const BITMAPINFOHEADER*>(image)->biBitCount, 4);
    }
}

// The manifest makes the system load its current common controls for the
// program (their side-by-side assembly), not the oldest ones, which live
// among the system's own files.
TEST(WindowsResources, TheManifestBringsTheCurrentCommonControls) {
    const HMODULE controls = LoadLibraryW(L"comctl32.dll");
    ASSERT_NE(controls, nullptr);
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(controls, path, MAX_PATH);
    ASSERT_GT(length, 0u);
    std::wstring loaded(path, length);
    for (wchar_t& c : loaded) {
        c = static_cast<wchar_t>(towlower(c));
    }
    EXPECT_NE(loaded.find(L"\\winsxs\\"), std::wstring::npos);
    EXPECT_NE(loaded.find(L"microsoft.windows.common-controls"), std::wstring::npos);
    FreeLibrary(controls);
}

TEST(WindowsResources, VersionRecordOfTheProgramFile) {
    wchar_t path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
    std::vector<char> record(GetFileVersionInfoSizeW(path, nullptr));
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, record.size(), record.data()));
    const auto query = [&](const std::wstring& name, UINT& length) {
        void* value = nullptr;
        length = 0;
        return VerQueryValueW(record.data(), name.c_str(), &value, &length) ? value : nullptr;
    };

    UINT length = 0;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(query(L"\\", length));
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwFileVersionMS, DWORD(kVersionMajor) << 16 | kVersionMinor);
    EXPECT_EQ(fixed->dwFileVersionLS, DWORD(kVersionPatch) << 16 | kVersionBuild);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);  // 1.0.0.0
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileOS, DWORD(VOS__WINDOWS32));
    EXPECT_EQ(fixed->dwFileOS, 4u);
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_APP));

    const auto* translation =
        static_cast<const WORD*>(query(L"\\VarFileInfo\\Translation", length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0411);  // Japanese
    EXPECT_EQ(translation[1], 1200);    // Unicode

    const struct {
        const wchar_t* name;
        const char16_t* text;
    } texts[] = {{L"FileDescription", kFileDescription},
                 {L"ProductName", kProductName},
                 {L"Comments", kComments},
                 {L"OriginalFilename", kOriginalFilename},
                 {L"LegalCopyright", kLegalCopyright},
                 {L"FileVersion", kFileVersionText},
                 {L"InternalName", kInternalName},
                 {L"ProductVersion", kProductVersionText},
                 {L"LegalTrademarks", u""},
                 {L"PrivateBuild", u""},
                 {L"SpecialBuild", u""}};
    for (const auto& text : texts) {
        const auto* value = static_cast<const wchar_t*>(
            query(std::wstring(L"\\StringFileInfo\\041104b0\\") + text.name, length));
        ASSERT_NE(value, nullptr) << text.name;
        // The length counts the terminating zero, where there is one: an
        // empty entry may come without it.
        EXPECT_EQ(Text(value, length > 0 ? length - 1 : 0), std::u16string_view(text.text))
            << text.name;
    }
}

}  // namespace
