// The Windows program's compiled resources, linked into this test program and
// read back through the Windows API: the strings, the icon at both sizes, the
// version record, and that every resource is Japanese. Built on Windows only.

// Before <windows.h>: the dialog templates' style constants have the names of
// its macros.
#include "resources/resources.h"
#include "resources/version_info.h"
#include "tests/resources/app_icon_pixels.h"

// The resource types (RT_...) as wide-string ids, as the W functions take them.
#define UNICODE
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cwchar>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace {

constexpr WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

// wchar_t is UTF-16 on Windows, the program's own text type.
std::u16string_view Text(const wchar_t* text, std::size_t length) {
    return {reinterpret_cast<const char16_t*>(text), length};
}
std::u16string_view Text(const wchar_t* text) {
    return Text(text, std::wcslen(text));
}

TEST(WindowsResources, LoadStringGivesEveryStringOfTheTable) {
    for (int i = 0; i < kStringTable.count; ++i) {
        const StringResource& entry = kStringTable.entries[i];
        // With no buffer, LoadStringW points into the resource itself and
        // gives the exact length, so a cut or a stray terminator shows.
        const wchar_t* text = nullptr;
        const int length =
            LoadStringW(GetModuleHandleW(nullptr), entry.id, reinterpret_cast<LPWSTR>(&text), 0);
        ASSERT_GT(length, 0) << "string " << entry.id << ", error " << GetLastError();
        EXPECT_EQ(Text(text, length), std::u16string_view(entry.text)) << "string " << entry.id;
    }
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) {
    reinterpret_cast<std::vector<WORD>*>(languages)->push_back(language);
    return TRUE;
}

TEST(WindowsResources, EveryResourceIsJapanese) {
    struct Case {
        const char* what;
        LPCWSTR type;
        LPCWSTR name;
    };
    const Case cases[] = {
        {"icon group IDI_APP", RT_GROUP_ICON, MAKEINTRESOURCEW(IDI_APP)},
        // Strings come in blocks of 16: block n holds ids 16 (n - 1) to 16 n - 1.
        {"string block of IDS_ABOUT_MENU", RT_STRING, MAKEINTRESOURCEW(IDS_ABOUT_MENU / 16 + 1)},
        {"version record", RT_VERSION, MAKEINTRESOURCEW(VS_VERSION_INFO)},
    };
    const HMODULE module = GetModuleHandleW(nullptr);
    for (const Case& c : cases) {
        EXPECT_NE(FindResourceExW(module, c.type, c.name, kJapanese), nullptr) << c.what;
        std::vector<WORD> languages;
        EnumResourceLanguagesW(module, c.type, c.name, CollectLanguage,
                               reinterpret_cast<LONG_PTR>(&languages));
        EXPECT_EQ(languages, std::vector<WORD>{kJapanese}) << c.what;
    }
}

struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct BitmapDeleter {
    void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
};
struct DcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;
using UniqueBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter>;
using UniqueDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

// A bitmap's pixels as 32-bit 0x00RRGGBB values (alpha as stored), rows top
// down.
std::vector<std::uint32_t> Pixels(HBITMAP bitmap, int size) {
    UniqueDc dc(CreateCompatibleDC(nullptr));
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;  // top down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size) * size);
    const int rows = GetDIBits(dc.get(), bitmap, 0, size, pixels.data(), &info, DIB_RGB_COLORS);
    EXPECT_EQ(rows, size) << "GetDIBits, error " << GetLastError();
    return pixels;
}

TEST(WindowsResources, IconAtBothSizesShowsTheProgramIcon) {
    for (const int size : {32, 16}) {
        SCOPED_TRACE(size);
        UniqueIcon icon(
            static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP),
                                          IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
        ASSERT_NE(icon, nullptr) << "LoadImageW, error " << GetLastError();
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon.get(), &info)) << "GetIconInfo, error " << GetLastError();
        UniqueBitmap colour(info.hbmColor);
        UniqueBitmap mask(info.hbmMask);
        ASSERT_NE(colour, nullptr);

        BITMAP colourSize = {};
        BITMAP maskSize = {};
        ASSERT_TRUE(GetObjectW(colour.get(), sizeof colourSize, &colourSize));
        ASSERT_TRUE(GetObjectW(mask.get(), sizeof maskSize, &maskSize));
        EXPECT_EQ(colourSize.bmWidth, size);
        EXPECT_EQ(colourSize.bmHeight, size);
        EXPECT_EQ(maskSize.bmWidth, size);
        EXPECT_EQ(maskSize.bmHeight, size);  // a colour icon's mask is the AND mask alone

        const std::vector<std::uint32_t> colours = Pixels(colour.get(), size);
        const std::vector<std::uint32_t> masks = Pixels(mask.get(), size);
        for (const AppIconPixel& pixel : kAppIconPixels) {
            if (pixel.size != size) {
                continue;
            }
            SCOPED_TRACE(std::to_string(pixel.x) + ", " + std::to_string(pixel.y));
            const std::size_t at = static_cast<std::size_t>(pixel.y) * size + pixel.x;
            const bool clear = pixel.argb == 0;
            // The mask is white where the icon is clear, black where it is not.
            EXPECT_EQ(masks[at] & 0xFFFFFF, clear ? 0xFFFFFFu : 0u);
            if (!clear) {
                EXPECT_EQ(colours[at] & 0xFFFFFF, pixel.argb & 0xFFFFFF);
            }
        }
    }
}

// The version record of this program file.
class WindowsVersionRecord : public testing::Test {
protected:
    void SetUp() override {
        wchar_t path[MAX_PATH];
        ASSERT_GT(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
        const DWORD size = GetFileVersionInfoSizeW(path, nullptr);
        ASSERT_GT(size, 0u) << "GetFileVersionInfoSizeW, error " << GetLastError();
        record_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, record_.data()))
            << "GetFileVersionInfoW, error " << GetLastError();
    }

    // The value at `path`, or null with its length 0 when there is none.
    const void* Value(const wchar_t* path, UINT& length) {
        void* value = nullptr;
        length = 0;
        if (!VerQueryValueW(record_.data(), path, &value, &length)) {
            return nullptr;
        }
        return value;
    }

    std::vector<std::uint8_t> record_;
};

TEST_F(WindowsVersionRecord, FixedPartHasTheVersionNumbers) {
    UINT length = 0;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(Value(L"\\", length));
    ASSERT_NE(fixed, nullptr);
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    const DWORD high = static_cast<DWORD>(kVersionMajor) << 16 | kVersionMinor;
    const DWORD low = static_cast<DWORD>(kVersionPatch) << 16 | kVersionBuild;
    EXPECT_EQ(high, 0x00010000u);  // 1.0
    EXPECT_EQ(low, 0x00000000u);   // .0.0
    EXPECT_EQ(fixed->dwFileVersionMS, high);
    EXPECT_EQ(fixed->dwFileVersionLS, low);
    EXPECT_EQ(fixed->dwProductVersionMS, high);
    EXPECT_EQ(fixed->dwProductVersionLS, low);
    EXPECT_EQ(fixed->dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST_F(WindowsVersionRecord, TranslationIsJapaneseUnicode) {
    UINT length = 0;
    const auto* translation =
        static_cast<const WORD*>(Value(L"\\VarFileInfo\\Translation", length));
    ASSERT_NE(translation, nullptr);
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0411);
    EXPECT_EQ(translation[1], 1200);
}

TEST_F(WindowsVersionRecord, TextsAreThoseOfTheVersionHeader) {
    struct Case {
        const wchar_t* name;
        const char16_t* text;
    };
    const Case cases[] = {
        {L"Comments", kComments},
        {L"FileDescription", kFileDescription},
        {L"FileVersion", kFileVersionText},
        {L"InternalName", kInternalName},
        {L"LegalCopyright", kLegalCopyright},
        {L"OriginalFilename", kOriginalFilename},
        {L"ProductName", kProductName},
        {L"ProductVersion", kProductVersionText},
    };
    for (const Case& c : cases) {
        const std::wstring path = std::wstring(L"\\StringFileInfo\\041104b0\\") + c.name;
        UINT length = 0;
        const auto* text = static_cast<const wchar_t*>(Value(path.c_str(), length));
        ASSERT_NE(text, nullptr) << "no " << c.name;
        // The length counts the terminating zero.
        EXPECT_EQ(Text(text), std::u16string_view(c.text));
        EXPECT_EQ(length, std::u16string_view(c.text).size() + 1);
    }
}

}  // namespace
