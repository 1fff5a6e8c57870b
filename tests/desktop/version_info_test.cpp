// The version texts as the program sees them: the generated constants carry
// the texts of the version record exactly, down to the ideographic blank and
// the half-width katakana.
#include <gtest/gtest.h>

#include <string_view>

#include "resources/version_info.h"

namespace {

using Text = std::u16string_view;

TEST(VersionInfo, AboutLineIsNameAndShortVersion) {
    EXPECT_EQ(Text(kVersionAboutLine), Text(u"Tesserak Version 1.0"));
    EXPECT_EQ(Text(kShortVersion), Text(u"1.0"));
    EXPECT_EQ(Text(kAppName), Text(u"Tesserak"));
    // The name of the installed desktop entry, less ".desktop".
    EXPECT_EQ(Text(kAppId), Text(u"io.github.tesserak.Tesserak"));
}

// Written as code points here, so that a blank or a katakana of the wrong
// width cannot pass: "ファイルを分割して保存するツール", "ファイル分割ツール　Tesserak"
// (U+3000 before the name), "Tesserak ｱﾌﾟﾘｹｰｼｮﾝ" (half-width forms).
TEST(VersionInfo, RecordTexts) {
    EXPECT_EQ(Text(kComments), Text(u"\u30D5\u30A1\u30A4\u30EB\u3092\u5206\u5272\u3057\u3066"
                                    u"\u4FDD\u5B58\u3059\u308B\u30C4\u30FC\u30EB"));
    EXPECT_EQ(Text(kFileDescription),
              Text(u"\u30D5\u30A1\u30A4\u30EB\u5206\u5272\u30C4\u30FC\u30EB\u3000Tesserak"));
    EXPECT_EQ(Text(kProductName), Text(u"Tesserak \uFF71\uFF8C\uFF9F\uFF98\uFF79\uFF70\uFF7C"
                                       u"\uFF6E\uFF9D"));
    EXPECT_EQ(Text(kInternalName), Text(u"Tesserak"));
    EXPECT_EQ(Text(kFileVersionText), Text(u"1, 0, 0, 0"));
    EXPECT_EQ(Text(kProductVersionText), Text(u"1, 0, 0, 0"));
    EXPECT_EQ(Text(kOriginalFilename), Text(u"tesserak.exe"));
    // The licence's own line.
    EXPECT_EQ(Text(kLegalCopyright), Text(u"Copyright (c) 2026 The Tesserak authors"));
}

TEST(VersionInfo, Numbers) {
    EXPECT_EQ(Text(kVersionText), Text(u"1.0.0.0"));
    EXPECT_EQ(kVersionMajor, 1);
    EXPECT_EQ(kVersionMinor, 0);
    EXPECT_EQ(kVersionPatch, 0);
    EXPECT_EQ(kVersionBuild, 0);
}

// The constants are usable where constants are required.
static_assert(kVersionAboutLine[0] == u'T');
static_assert(kVersionMajor == 1);

}  // namespace
