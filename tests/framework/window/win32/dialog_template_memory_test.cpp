// The in-memory dialog template, read back field by field by a reader of its
// own: the header, the font, every item on its DWORD boundary with its class
// atom, id, style, rectangle and text, and an icon's resource ordinal.
#include "framework/window/win32/dialog_template_memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

const char* const kNoImage[] = {nullptr};
const IconResource kIcon = {128, kNoImage, kNoImage};

constexpr std::uint32_t kEditStyle =
    WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;

const DialogItemTemplate kItems[] = {
    {DialogItemClass::button, IDOK, u"OK", 10, 20, 50, 14,
     WS_CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON},
    {DialogItemClass::edit, 1000, u"", 7, 34, 417, 14, kEditStyle},
    {DialogItemClass::staticText, IDC_STATIC, u"", 11, 17, 20, 20, WS_CHILD | WS_VISIBLE | SS_ICON,
     &kIcon},
    {DialogItemClass::staticText, 1001, u"一行目\r\n二行目", 12, 95, 73, 10,
     WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT},
    {DialogItemClass::button, 1002, u"分割する", 169, 7, 75, 16,
     WS_CHILD | WS_VISIBLE | WS_GROUP | BS_AUTORADIOBUTTON},
};

const DialogTemplate kTemplate = {
    u"テスト",
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
    WS_EX_APPWINDOW,
    3,
    4,
    443,
    355,
    9,
    u"ＭＳ Ｐゴシック",
    kItems,
    static_cast<int>(sizeof(kItems) / sizeof(kItems[0])),
};

// Reads the template's little-endian fields in order.
class Reader {
public:
    explicit Reader(const std::vector<std::uint8_t>& bytes) : m_bytes(bytes) {}

    std::uint8_t Byte() { return m_bytes.at(m_at++); }
    std::uint16_t Word() {
        const std::uint16_t low = Byte();
        return static_cast<std::uint16_t>(low | (Byte() << 8));
    }
    std::uint32_t Dword() {
        const std::uint32_t low = Word();
        return low | (static_cast<std::uint32_t>(Word()) << 16);
    }
    std::int16_t Short() { return static_cast<std::int16_t>(Word()); }
    std::u16string Text() {
        std::u16string text;
        for (std::uint16_t unit = Word(); unit != 0; unit = Word()) {
            text += static_cast<char16_t>(unit);
        }
        return text;
    }
    // Skips the padding to the next DWORD boundary, which must be zeros.
    void Align() {
        while (m_at % 4 != 0) {
            EXPECT_EQ(Byte(), 0) << "padding at " << m_at - 1;
        }
    }
    std::size_t At() const { return m_at; }

private:
    const std::vector<std::uint8_t>& m_bytes;
    std::size_t m_at = 0;
};

// Reads the header and font, leaving the reader at the end of the face.
void SkipHeader(Reader& reader) {
    for (int i = 0; i < 2; ++i) {
        reader.Word();  // version, signature
    }
    for (int i = 0; i < 3; ++i) {
        reader.Dword();  // help id, extended style, style
    }
    for (int i = 0; i < 7; ++i) {
        reader.Word();  // count, rectangle, menu, class
    }
    reader.Text();   // title
    reader.Dword();  // point size, weight
    reader.Word();   // italic, character set
    reader.Text();   // face
}

TEST(DialogTemplateMemoryTest, HeaderHoldsTheTemplatesStyleSizeTitleAndFont) {
    const DialogTemplateMemory memory(kTemplate);
    Reader reader(memory.Bytes());
    EXPECT_EQ(reader.Word(), 1);       // version
    EXPECT_EQ(reader.Word(), 0xFFFF);  // the extended form
    EXPECT_EQ(reader.Dword(), 0u);     // help id
    EXPECT_EQ(reader.Dword(), static_cast<std::uint32_t>(WS_EX_APPWINDOW));
    EXPECT_EQ(reader.Dword(), static_cast<std::uint32_t>(WS_POPUP | WS_VISIBLE | WS_CAPTION |
                                                         WS_SYSMENU | DS_MODALFRAME | DS_SETFONT));
    EXPECT_EQ(reader.Word(), 5);  // items
    EXPECT_EQ(reader.Short(), 3);
    EXPECT_EQ(reader.Short(), 4);
    EXPECT_EQ(reader.Short(), 443);
    EXPECT_EQ(reader.Short(), 355);
    EXPECT_EQ(reader.Word(), 0);  // no menu
    EXPECT_EQ(reader.Word(), 0);  // the dialog manager's class
    EXPECT_EQ(reader.Text(), u"テスト");
    EXPECT_EQ(reader.Word(), 9);  // points
    EXPECT_EQ(reader.Word(), FW_NORMAL);
    EXPECT_EQ(reader.Byte(), 0);  // not italic
    EXPECT_EQ(reader.Byte(), SHIFTJIS_CHARSET);
    EXPECT_EQ(reader.Text(), u"ＭＳ Ｐゴシック");
}

TEST(DialogTemplateMemoryTest, StartsOnADwordBoundary) {
    const DialogTemplateMemory memory(kTemplate);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(memory.Get()) % 4, 0u);
    EXPECT_EQ(static_cast<const void*>(memory.Get()),
              static_cast<const void*>(memory.Bytes().data()));
}

TEST(DialogTemplateMemoryTest, EveryItemOnADwordBoundaryWithClassIdStyleRectangleAndText) {
    const DialogTemplateMemory memory(kTemplate);
    Reader reader(memory.Bytes());
    SkipHeader(reader);
    const std::uint16_t atoms[] = {0x0080, 0x0081, 0x0082, 0x0082, 0x0080};
    for (int i = 0; i < kTemplate.itemCount; ++i) {
        SCOPED_TRACE(i);
        const DialogItemTemplate& expected = kItems[i];
        reader.Align();
        EXPECT_EQ(reader.At() % 4, 0u);
        EXPECT_EQ(reader.Dword(), 0u);  // help id
        EXPECT_EQ(reader.Dword(), 0u);  // extended style
        EXPECT_EQ(reader.Dword(), expected.style);
        EXPECT_EQ(reader.Short(), expected.x);
        EXPECT_EQ(reader.Short(), expected.y);
        EXPECT_EQ(reader.Short(), expected.cx);
        EXPECT_EQ(reader.Short(), expected.cy);
        EXPECT_EQ(reader.Dword(), static_cast<std::uint32_t>(expected.id));
        EXPECT_EQ(reader.Word(), 0xFFFF);
        EXPECT_EQ(reader.Word(), atoms[i]);
        if (expected.icon != nullptr) {
            EXPECT_EQ(reader.Word(), 0xFFFF);  // a resource ordinal
            EXPECT_EQ(reader.Word(), 128);
        } else {
            EXPECT_EQ(reader.Text(), std::u16string(expected.text));
        }
        EXPECT_EQ(reader.Word(), 0);  // no creation data
    }
    EXPECT_EQ(reader.At(), memory.Bytes().size());
}

TEST(DialogTemplateMemoryTest, TheStaticIdIsAllOnesAsADword) {
    const DialogTemplateMemory memory(kTemplate);
    // The third item (the icon) is IDC_STATIC; its id follows its fixed fields.
    Reader reader(memory.Bytes());
    SkipHeader(reader);
    for (int i = 0; i < 2; ++i) {
        reader.Align();
        for (int field = 0; field < 3; ++field) {
            reader.Dword();
        }
        for (int field = 0; field < 4; ++field) {
            reader.Short();
        }
        reader.Dword();
        reader.Word();
        reader.Word();
        reader.Text();
        reader.Word();
    }
    reader.Align();
    for (int field = 0; field < 3; ++field) {
        reader.Dword();
    }
    for (int field = 0; field < 4; ++field) {
        reader.Short();
    }
    EXPECT_EQ(reader.Dword(), 0xFFFFFFFFu);
}

TEST(DialogTemplateMemoryTest, AFaceWithoutDsSetFontStillSetsIt) {
    DialogTemplate noFlag = kTemplate;
    noFlag.style = WS_POPUP | WS_CAPTION;
    noFlag.pointSize = 0;
    noFlag.itemCount = 0;
    const DialogTemplateMemory memory(noFlag);
    Reader reader(memory.Bytes());
    reader.Word();
    reader.Word();
    reader.Dword();
    reader.Dword();
    EXPECT_EQ(reader.Dword(), static_cast<std::uint32_t>(WS_POPUP | WS_CAPTION | DS_SETFONT));
    EXPECT_EQ(reader.Word(), 0);  // items
    for (int i = 0; i < 6; ++i) {
        reader.Word();
    }
    EXPECT_EQ(reader.Text(), u"テスト");
    EXPECT_EQ(reader.Word(), 9);  // the default point size
}

}  // namespace
