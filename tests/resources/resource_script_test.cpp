// The Windows resource script: how texts are quoted, and that the script holds
// the icon, the strings and the version record with their exact texts.
#include "resources/resource_script.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "resources/resources.h"
#include "resources/version_info.h"

namespace {

TEST(RcStringLiteral, QuotesAndEscapes) {
    const struct {
        const char16_t* text;
        const char* literal;
    } cases[] = {
        {u"say \"hi\"", "\"say \"\"hi\"\"\""},
        {u"C:\\pieces\\", "\"C:\\\\pieces\\\\\""},
        {u"a\nb\tc", "\"a\\nb\\tc\""},
        {u"\u3000\uFF71\u60C5", "\"\xE3\x80\x80\xEF\xBD\xB1\xE6\x83\x85\""},  // UTF-8 as it is
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RcStringLiteral(c.text), c.literal);
    }
    EXPECT_THROW(RcStringLiteral(u"bell\a"), std::invalid_argument);
}

TEST(ResourceScript, HoldsTheIconStringsAndVersionRecord) {
    const std::string script =
        ResourceScript(kStringTable, kAppIcon.id, "tesserak.ico", "tesserak.manifest");
    // The resource compiler reads UTF-8 only when told so before any text.
    EXPECT_EQ(script.find("#pragma code_page(65001)\n"), script.find('#'));
    const std::string lines[] = {
        "LANGUAGE 0x11, 0x1",
        "128 ICON \"tesserak.ico\"",
        "    101, " + RcStringLiteral(kStringTable.entries[0].text),
        "FILEVERSION 1, 0, 0, 0",
        "PRODUCTVERSION 1, 0, 0, 0",
        "FILEOS 0x4",
        "FILETYPE 0x1",
        "        BLOCK \"041104b0\"",
        "            VALUE \"Comments\", " + RcStringLiteral(kComments),
        "            VALUE \"FileDescription\", " + RcStringLiteral(kFileDescription),
        "            VALUE \"LegalCopyright\", \"Copyright (c) 2026 The Tesserak authors\"",
        "            VALUE \"LegalTrademarks\", \"\"",
        "            VALUE \"PrivateBuild\", \"\"",
        "            VALUE \"SpecialBuild\", \"\"",
        "            VALUE \"OriginalFilename\", \"tesserak.exe\"",
        "            VALUE \"ProductName\", " + RcStringLiteral(kProductName),
        "        VALUE \"Translation\", 0x411, 1200",
        "1 24 \"tesserak.manifest\"",
    };
    for (const std::string& line : lines) {
        EXPECT_NE(script.find("\n" + line + "\n"), std::string::npos) << line << " in\n" << script;
    }
}

}  // namespace
