// The one printf-style formatter behind every message (CString::Format).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "framework/core/string.h"

namespace {

template <typename... Args>
std::string F(const char16_t* format, const Args&... args) {
    CString s;
    s.Format(format, args...);
    return s.ToUtf8();
}

TEST(Format, Text) {
    const CString folder = CString::FromUtf8("/media/カード");
    EXPECT_EQ(F(u"%s", folder), "/media/カード");
    EXPECT_EQ(F(u"%s", u"abc"), "abc");
    EXPECT_EQ(F(u"[%s]", u""), "[]");
    EXPECT_EQ(F(u"%s/%s", u"a", u"b"), "a/b");
    EXPECT_EQ(F(u"%s", static_cast<const char16_t*>(nullptr)), "(null)");
    EXPECT_EQ(F(u"plain text, no directive"), "plain text, no directive");
    EXPECT_EQ(F(u""), "");
}

TEST(Format, PiecePathsAsTheSplitNamesThem) {
    const CString folder = CString::FromUtf8("/mnt/card1");
    EXPECT_EQ(F(u"%s/temp%03d", folder, 1), "/mnt/card1/temp001");
    EXPECT_EQ(F(u"%s/temp%03d", folder, 10), "/mnt/card1/temp010");
    EXPECT_EQ(F(u"%03d", 0), "000");
    EXPECT_EQ(F(u"%03d", 999), "999");
    EXPECT_EQ(F(u"%03d", 1234), "1234");
    EXPECT_EQ(F(u"%03d", -5), "-05");
}

TEST(Format, DecimalTakesTheLow32Bits) {
    EXPECT_EQ(F(u"%d", 0), "0");
    EXPECT_EQ(F(u"%d", 42), "42");
    EXPECT_EQ(F(u"%d", -42), "-42");
    EXPECT_EQ(F(u"%d", INT32_MAX), "2147483647");
    EXPECT_EQ(F(u"%d", INT32_MIN), "-2147483648");
    EXPECT_EQ(F(u"%d", std::int64_t{5'000'000'000}), "705032704");
    EXPECT_EQ(F(u"%d", std::int64_t{0x1FFFFFFFF}), "-1");
    EXPECT_EQ(F(u"%d", std::int64_t{4294967296}), "0");
    EXPECT_EQ(F(u"%d", 4294967295u), "-1");
    EXPECT_EQ(F(u"%i", 7), "7");
    EXPECT_EQ(F(u"%u", -1), "4294967295");
    EXPECT_EQ(F(u"%u", std::int64_t{5'000'000'000}), "705032704");
    EXPECT_EQ(F(u"%ld", 12), "12");
}

TEST(Format, I64dTakesAll64Bits) {
    EXPECT_EQ(F(u"%I64d", std::int64_t{5'000'000'000}), "5000000000");
    EXPECT_EQ(F(u"%I64d", std::int64_t{107'374'182'400}), "107374182400");  // 100 GiB
    EXPECT_EQ(F(u"%I64d", std::int64_t{-5'000'000'000}), "-5000000000");
    EXPECT_EQ(F(u"%I64d", std::int64_t{-1}), "-1");
    EXPECT_EQ(F(u"%I64d", INT64_MAX), "9223372036854775807");
    EXPECT_EQ(F(u"%I64d", INT64_MIN), "-9223372036854775808");
    EXPECT_EQ(F(u"%I64d", 0), "0");
    EXPECT_EQ(F(u"%I64u", std::int64_t{-1}), "18446744073709551615");
    EXPECT_EQ(F(u"%lld", std::int64_t{-5'000'000'000}), "-5000000000");
    EXPECT_EQ(F(u"%I64dM", std::int64_t{95'367}), "95367M");
    EXPECT_EQ(F(u"%12I64d|", std::int64_t{5'000'000'000}), "  5000000000|");
}

TEST(Format, Percent) {
    EXPECT_EQ(F(u"%%"), "%");
    EXPECT_EQ(F(u"%d%%", 33), "33%");
    EXPECT_EQ(F(u"100%%"), "100%");
    EXPECT_EQ(F(u"%%d", 5), "%d");  // the %% takes no argument
    EXPECT_EQ(F(u"a%"), "a%");      // a lone % at the end stays
}

TEST(Format, WidthAndFlags) {
    EXPECT_EQ(F(u"%5d|", 42), "   42|");
    EXPECT_EQ(F(u"%-5d|", 42), "42   |");
    EXPECT_EQ(F(u"%05d", 42), "00042");
    EXPECT_EQ(F(u"%05d", -42), "-0042");
    EXPECT_EQ(F(u"%+d", 42), "+42");
    EXPECT_EQ(F(u"%+d", -42), "-42");
    EXPECT_EQ(F(u"% d", 42), " 42");
    EXPECT_EQ(F(u"%-05d|", 42), "42   |");  // left alignment wins over zeros
    EXPECT_EQ(F(u"%1d", 12345), "12345");   // a width never cuts
    EXPECT_EQ(F(u"%.3d", 7), "007");
    EXPECT_EQ(F(u"%6s|", u"ab"), "    ab|");
    EXPECT_EQ(F(u"%-6s|", u"ab"), "ab    |");
    EXPECT_EQ(F(u"%.2s", u"abcdef"), "ab");
    EXPECT_EQ(F(u"%x %X", 255, 255), "ff FF");
    EXPECT_EQ(F(u"%08X", 0xBEEF), "0000BEEF");
    EXPECT_EQ(F(u"%c", static_cast<int>(u'ｱ')), "ｱ");
}

TEST(Format, MixedLikeTheProgressLine) {
    EXPECT_EQ(
        F(u"%d%%  (%I64dM/%I64dM ) 処理速度：%dMB/s", 33, std::int64_t{1}, std::int64_t{3}, 2),
        "33%  (1M/3M ) 処理速度：2MB/s");
}

TEST(Format, ADirectiveWithoutAnArgumentIsShownAsWritten) {
    EXPECT_EQ(F(u"%d"), "%d");
    EXPECT_EQ(F(u"%s"), "%s");
    EXPECT_EQ(F(u"%03d"), "%03d");
    EXPECT_EQ(F(u"%I64d"), "%I64d");
    EXPECT_EQ(F(u"%-5s|"), "%-5s|");
    EXPECT_EQ(F(u"row %d of %d", 3), "row 3 of %d");
}

TEST(Format, ADirectiveWithTheWrongKindOfArgumentIsShownAsWritten) {
    EXPECT_EQ(F(u"%s", 42), "%s");
    EXPECT_EQ(F(u"%d", u"text"), "%d");
    EXPECT_EQ(F(u"%I64d", u"text"), "%I64d");
    EXPECT_EQ(F(u"%c", u"text"), "%c");
    EXPECT_EQ(F(u"[%5s]", 7), "[%5s]");
}

TEST(Format, AnUnknownConversionIsShownAsWritten) {
    EXPECT_EQ(F(u"%q", 1), "%q");
    EXPECT_EQ(F(u"%f", 1), "%f");
}

TEST(Format, ArgumentsBeyondTheDirectivesAreIgnored) {
    EXPECT_EQ(F(u"%d", 1, 2, 3), "1");
    EXPECT_EQ(F(u"none", 1), "none");
}

}  // namespace
