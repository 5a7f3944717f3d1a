// UTF-8 to UTF-16 and back: the test that decides whether a path goes to the
// system's UTF-16 or ANSI functions, and the names that come back.
#include "common/utf16.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct WellFormed {
    const char* utf8;
    std::u16string utf16;
};

const WellFormed kWellFormed[] = {
    {"", u""},
    {"img\\*", u"img\\*"},
    {"\x7F", u"\x7F"},
    {"\xC2\x80", u"\x0080"},                  // smallest two-byte form
    {"\xDF\xBF", u"\x07FF"},
    {"\xE0\xA0\x80", u"\x0800"},              // smallest three-byte form
    {"\xED\x9F\xBF", u"\xD7FF"},              // just below the surrogates
    {"\xEE\x80\x80", u"\xE000"},              // just above them
    {"\xEF\xBF\xBD", u"\xFFFD"},
    {"\xEF\xBF\xBF", u"\xFFFF"},
    {"\xF0\x90\x80\x80", u"\U00010000"},      // smallest four-byte form: a surrogate pair
    {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},      // largest value
    {"C:\\絵\\写真.png", u"C:\\絵\\写真.png"},
    {"ぽれむ😀", u"ぽれむ😀"},
};

TEST(Utf16, WellFormedUtf8ConvertsAndComesBack) {
    for (const WellFormed& text : kWellFormed) {
        const auto wide = utf16_from_utf8(text.utf8);
        ASSERT_TRUE(wide.has_value()) << text.utf8;
        EXPECT_EQ(*wide, text.utf16) << text.utf8;
        EXPECT_EQ(utf8_from_utf16(text.utf16), text.utf8);
    }
}

TEST(Utf16, EmbeddedZeroIsKept) {
    EXPECT_EQ(utf16_from_utf8(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}

// Bytes a legacy caller sends in its ANSI code page, and every other way a
// text can fail to be UTF-8.
const char* const kMalformed[] = {
    "\x8E\xCA\x90\x5E.png",         // 写真.png in code page 932
    "\x8A\x47",                     // 絵 in code page 932
    "caf\xE9",                      // café in code page 1252
    "\x80",                         // continuation byte without a lead
    "a\xBF",
    "\xC0\x80",                     // overlong forms
    "\xC1\xBF",
    "\xE0\x9F\xBF",
    "\xF0\x8F\xBF\xBF",
    "\xED\xA0\x80",                 // encoded surrogates
    "\xED\xBF\xBF",
    "\xF4\x90\x80\x80",             // above U+10FFFF
    "\xF5\x80\x80\x80",
    "\xFF",
    "\xE3\x81",                     // cut short at the end
    "\xE3\x81" "a",                 // cut short by an ASCII byte
    "\xF0\x9F\x98",
    "\xC3" "\xC3\xA9",              // a lead where a continuation should be
};

TEST(Utf16, MalformedUtf8IsRefused) {
    for (const char* text : kMalformed) EXPECT_FALSE(utf16_from_utf8(text).has_value()) << text;
}

TEST(Utf16, UnpairedSurrogatesBecomeReplacementCharacters) {
    const struct {
        std::u16string utf16;
        const char* utf8;
    } cases[] = {
        {std::u16string(1, char16_t(0xD800)), "\xEF\xBF\xBD"},
        {std::u16string(1, char16_t(0xDC00)), "\xEF\xBF\xBD"},
        {std::u16string{char16_t(0xD83D), u'a'}, "\xEF\xBF\xBD" "a"},
        {std::u16string{char16_t(0xDE00), char16_t(0xD83D)}, "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {std::u16string{char16_t(0xD83D), char16_t(0xD83D), char16_t(0xDE00)}, "\xEF\xBF\xBD\xF0\x9F\x98\x80"},
    };
    for (const auto& text : cases) EXPECT_EQ(utf8_from_utf16(text.utf16), text.utf8) << text.utf8;
}

}  // namespace
