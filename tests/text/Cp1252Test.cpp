#include "text/Cp1252.h"

#include <gtest/gtest.h>

#include <set>

namespace kitloom::test {
namespace {

TEST(Cp1252Test, EveryByteComesBackFromItsUtf8AsItself)
{
    std::set<std::string> spellings;
    for (int value = 0; value < 256; ++value) {
        const std::string byte(1, static_cast<char>(value));
        const std::string utf8 = cp1252ToUtf8(byte);
        EXPECT_EQ(utf8ToCp1252(utf8), byte) << "byte " << value;
        spellings.insert(utf8);
    }
    EXPECT_EQ(spellings.size(), 256u);  // no two bytes read as one character

    EXPECT_EQ(cp1252ToUtf8("M\xDCNC.fsh"), "M\u00DCNC.fsh");
    EXPECT_EQ(utf8ToCp1252("\u00C5ngstr\u00F6m_\u00FF.fsh"), "\xC5ngstr\xF6m_\xFF.fsh");
}

TEST(Cp1252Test, TheBlockThatIsNotLatin1ReadsAsWindowsReadsIt)
{
    EXPECT_EQ(cp1252ToUtf8("\x80"), "\u20AC");                                          // €
    EXPECT_EQ(cp1252ToUtf8("\x8A\x8E\x9A\x9E\x9F"), "\u0160\u017D\u0161\u017E\u0178");  // Š Ž š ž Ÿ
    EXPECT_EQ(cp1252ToUtf8("\x85\x96\x99"), "\u2026\u2013\u2122");                      // … – ™
    // The five undefined bytes: U+0081 and so on, two bytes of UTF-8 each.
    EXPECT_EQ(cp1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");

    EXPECT_EQ(utf8ToCp1252("\u017Dilina.fsh"), "\x8Eilina.fsh");
    // U+0080 is a control character whose byte 1252 gave to the euro sign.
    EXPECT_EQ(utf8ToCp1252("\xC2\x80"), std::nullopt);
}

TEST(Cp1252Test, RefusesWhatIsNotUtf8OrHasNo1252Byte)
{
    EXPECT_EQ(utf8ToCp1252(""), "");
    for (const char* broken : {
             "M\xDCNC.fsh",          // 1252 itself: a lead byte followed by a letter
             "\x80",                 // a continuation byte alone
             "ab\xC3",               // cut off at the end
             "\xC0\xAF",             // overlong '/'
             "\xE0\x80\xAF",         // overlong '/', three bytes
             "\xED\xA0\x80",         // a surrogate
             "\xF4\x90\x80\x80",     // past U+10FFFF
             "\xF8\x88\x80\x80\x80"  // five bytes
         }) {
        EXPECT_EQ(utf8ToCp1252(broken), std::nullopt) << cp1252ToUtf8(broken);
    }
    EXPECT_EQ(utf8ToCp1252("\u0418\u0432\u0430\u043D.fsh"), std::nullopt);  // Иван
    EXPECT_EQ(utf8ToCp1252("\u0150rs.fsh"), std::nullopt);                  // Ő: Latin-2, not 1252
    EXPECT_EQ(utf8ToCp1252("kit\U0001F3C0.fsh"), std::nullopt);             // a basketball

    EXPECT_TRUE(isAscii("toABCD_num.fsh\x7F"));
    EXPECT_TRUE(isAscii(""));
    EXPECT_FALSE(isAscii("M\xDCNC.fsh"));
    EXPECT_FALSE(isAscii("\x80"));
}

}  // namespace
}  // namespace kitloom::test
