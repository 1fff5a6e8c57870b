// The Windows resource script: how texts are quoted, and that the script
// holds the icon, every string and the version record with their exact texts.
#include "resources/resource_script.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "resources/resources.h"
#include "resources/version_info.h"

namespace {

struct LiteralCase {
    const char16_t* text;
    const char* literal;
};

const LiteralCase kLiterals[] = {
    {u"", "\"\""},
    {u"plain", "\"plain\""},
    {u"say \"hi\"", "\"say \"\"hi\"\"\""},
    {u"C:\\pieces\\", "\"C:\\\\pieces\\\\\""},
    {u"a\nb\tc\r", "\"a\\nb\\tc\\r\""},
    {u"(&A)...", "\"(&A)...\""},
    // UTF-8 as it is: the ideographic blank, half-width katakana, a kanji.
    {u"\u3000\uFF71\u60C5", "\"\xE3\x80\x80\xEF\xBD\xB1\xE6\x83\x85\""},
    {u"\U0001F600", "\"\xF0\x9F\x98\x80\""},
};

TEST(RcStringLiteral, QuotesAndEscapes) {
    for (const LiteralCase& c : kLiterals) {
        EXPECT_EQ(RcStringLiteral(c.text), c.literal);
    }
}

TEST(RcStringLiteral, RefusesWhatNoScriptCarries) {
    struct Case {
        std::u16string text;
        const char* message;
    };
    const Case cases[] = {
        {u"bell\a", "writing an rc string: the control character 0x07 has no escape"},
        {u"del\x7F", "writing an rc string: the control character 0x7f has no escape"},
        {std::u16string(1, u'\xD800'), "writing an rc string: a lone surrogate has no UTF-8 form"},
    };
    for (const Case& c : cases) {
        try {
            RcStringLiteral(c.text);
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const std::invalid_argument& error) {
            EXPECT_EQ(std::string(error.what()), c.message);
        }
    }
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& line) {
    for (const std::string& candidate : lines) {
        if (candidate == line) {
            return true;
        }
    }
    return false;
}

TEST(ResourceScript, HoldsTheIconStringsAndVersionRecord) {
    const std::string script = ResourceScript(kStringTable, kAppIcon.id, "tesserak.ico");
    const std::vector<std::string> lines = Lines(script);
    // The resource compiler reads UTF-8 only when told so before any text.
    EXPECT_EQ(script.find("#pragma code_page(65001)\n"), script.find('#'));

    const std::vector<std::string> expected = {
        "LANGUAGE 0x11, 0x1",
        "128 ICON \"tesserak.ico\"",
        "STRINGTABLE",
        // IDS_ABOUT_MENU, "Tesserak のﾊﾞｰｼﾞｮﾝ情報(&A)..."
        "    101, \"Tesserak \xE3\x81\xAE\xEF\xBE\x8A\xEF\xBE\x9E\xEF\xBD\xB0\xEF\xBD\xBC\xEF\xBE"
        "\x9E\xEF\xBD\xAE\xEF\xBE\x9D\xE6\x83\x85\xE5\xA0\xB1(&A)...\"",
        "1 VERSIONINFO",
        "FILEVERSION 1, 0, 0, 0",
        "PRODUCTVERSION 1, 0, 0, 0",
        "FILEFLAGSMASK 0x3F",
        "FILEOS 0x40004",
        "FILETYPE 0x1",
        "        BLOCK \"041104b0\"",
        "            VALUE \"Comments\", " + RcStringLiteral(kComments),
        "            VALUE \"FileDescription\", " + RcStringLiteral(kFileDescription),
        "            VALUE \"FileVersion\", \"1, 0, 0, 0\"",
        "            VALUE \"InternalName\", \"Tesserak\"",
        "            VALUE \"LegalCopyright\", \"Copyright (c) 2026 The Tesserak authors\"",
        "            VALUE \"OriginalFilename\", \"tesserak.exe\"",
        "            VALUE \"ProductName\", " + RcStringLiteral(kProductName),
        "            VALUE \"ProductVersion\", \"1, 0, 0, 0\"",
        "        VALUE \"Translation\", 0x411, 1200",
    };
    for (const std::string& line : expected) {
        EXPECT_TRUE(HasLine(lines, line)) << line << "\n--- in ---\n" << script;
    }
}

TEST(ResourceScript, WritesEveryStringOfTheTable) {
    const StringResource entries[] = {{7, u"first"}, {9, u"\"second\""}, {300, u"third\\"}};
    const StringTable table = {entries, 3};
    const std::string script = ResourceScript(table, 5, "x.ico");
    EXPECT_NE(script.find("STRINGTABLE\nBEGIN\n"
                          "    7, \"first\"\n"
                          "    9, \"\"\"second\"\"\"\n"
                          "    300, \"third\\\\\"\n"
                          "END\n"),
              std::string::npos)
        << script;
    EXPECT_NE(script.find("\n5 ICON \"x.ico\"\n"), std::string::npos) << script;
}

TEST(ResourceScript, NamesTheStringItCannotWrite) {
    const StringResource entries[] = {{7, u"fine"}, {42, u"tab\ttab\x01"}};
    const StringTable table = {entries, 2};
    try {
        ResourceScript(table, 5, "x.ico");
        ADD_FAILURE() << "no error";
    } catch (const std::invalid_argument& error) {
        EXPECT_EQ(std::string(error.what()),
                  "writing string 42: writing an rc string: the control character 0x01 has no "
                  "escape");
    }
}

}  // namespace
