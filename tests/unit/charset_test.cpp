// Shift_JIS and EUC-JP to and from UTF-8: the charset names, the characters
// each charset has more than one code for, the bytes that are kept as they
// are and the characters that become "?". The whole code space is compared
// with independent converters by charset_reference_test.py and, under Wine,
// by the Windows reference test.
#include "common/charset.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct Label {
    const char* text;
    std::optional<Charset> charset;
};

const Label kLabels[] = {
    {"Shift_JIS", Charset::shift_jis}, {"shift-jis", Charset::shift_jis}, {"SJIS", Charset::shift_jis},
    {"cp932", Charset::shift_jis},     {"MS932", Charset::shift_jis},     {"Windows-31J", Charset::shift_jis},
    {"WINDOWS_31J", Charset::shift_jis}, {"x-sjis", Charset::shift_jis},  {"EUC-JP", Charset::euc_jp},
    {"euc_jp", Charset::euc_jp},       {"UTF-8", Charset::utf8},          {"utf8", Charset::utf8},
    {"", std::nullopt},                {"ISO-2022-JP", std::nullopt},     {"Shift_JIS ", std::nullopt},
    {"sjis2", std::nullopt},
};

TEST(Charset, NamesAreReadWithoutCaseDashesOrUnderscores) {
    for (const Label& label : kLabels) EXPECT_EQ(charset_named(label.text), label.charset) << label.text;
}

// A kept byte as the commands see it: U+DC00 plus the byte.
std::string kept(unsigned char byte) {
    const unsigned code_point = 0xDC00 + byte;
    return {static_cast<char>(0xE0 | (code_point >> 12)), static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)),
            static_cast<char>(0x80 | (code_point & 0x3F))};
}

// `back`: the bytes the UTF-8 text is written as again, where it differs:
// a character with two codes comes back with the one Windows writes.
struct Decoded {
    Charset charset;
    std::string bytes;
    std::string utf8;
    const char* back = nullptr;
};

const Decoded kDecoded[] = {
    {Charset::shift_jis, "\x82\xA0\x95\x5C\x83\x5C", "あ表ソ"},       // 0x5C as a second byte
    {Charset::shift_jis, "a\xB1\xDF", "aｱﾟ"},
    {Charset::shift_jis, "\x87\x90\x81\xE0", "≒≒", "\x81\xE0\x81\xE0"},  // NEC row 13, JIS X 0208
    {Charset::shift_jis, "\xED\x40\xFA\x5C", "纊纊", "\xFA\x5C\xFA\x5C"},  // NEC's and IBM's codes
    {Charset::shift_jis, "\xF0\x40\xF9\xFC", "\xEE\x80\x80\xEE\x9D\x97"},  // user-defined: U+E000, U+E757
    {Charset::shift_jis, "\x80\xA0\xFD", "\xC2\x80\xEF\xA3\xB0\xEF\xA3\xB1"},  // as Windows reads them
    {Charset::shift_jis, "\x81", kept(0x81)},                          // cut short
    {Charset::shift_jis, "\x81\x20", kept(0x81) + " "},                // a second byte out of range
    {Charset::shift_jis, "\x81\x7F", kept(0x81) + "\x7F"},
    {Charset::shift_jis, "\x85\x40", kept(0x85) + "@"},                // no character: ASCII read again
    {Charset::shift_jis, "\x85\x82\xA0", kept(0x85) + kept(0x82) + "\xEF\xA3\xB0"},
    {Charset::euc_jp, "\xA4\xA2\x8E\xB1\x8F\xB0\xA1", "あｱ丂"},
    {Charset::euc_jp, "\x8F\xAB\xB1\x5C", "é\\"},
    {Charset::euc_jp, "\x8F\xA1", kept(0x8F) + kept(0xA1)},
    {Charset::euc_jp, "\x8E\xE0", kept(0x8E) + kept(0xE0)},           // no half-width katakana there
    {Charset::euc_jp, "\xA4" "a", kept(0xA4) + "a"},
    {Charset::euc_jp, "\xFF\xA0", kept(0xFF) + kept(0xA0)},
    {Charset::utf8, "\x82\xA0", "\x82\xA0"},
};

TEST(Charset, DecodesCharactersAndKeepsEveryOtherByte) {
    for (const Decoded& row : kDecoded) {
        EXPECT_EQ(to_utf8(row.bytes, row.charset), row.utf8) << row.bytes;
        EXPECT_EQ(from_utf8(row.utf8, row.charset), row.back ? row.back : row.bytes) << row.bytes;
    }
}

struct Encoded {
    Charset charset;
    std::string utf8;
    std::string bytes;
};

const Encoded kEncoded[] = {
    {Charset::shift_jis, "ⅰⅠ№", "\xFA\x40\x87\x54\x87\x82"},         // the codes Windows writes
    {Charset::shift_jis, "¥‾", "??"},                                 // no look-alikes: not \ or ~
    {Charset::shift_jis, "¢£¬‖−〜～", "??????\x81\x60"},             // Windows' best fits among them
    {Charset::shift_jis, "😀é", "??"},
    {Charset::shift_jis, "\xE3\x81", "??"},                           // a character cut short
    {Charset::shift_jis, "\xC0\xAF\xED\xA0\x80", "???"},              // overlong; a high surrogate is one
    {Charset::shift_jis, kept(0x81) + kept(0xFF), "\x81\xFF"},
    {Charset::euc_jp, "あｱ丂é", "\xA4\xA2\x8E\xB1\x8F\xB0\xA1\x8F\xAB\xB1"},
    {Charset::euc_jp, "〜～¥", "\xA1\xC1\x8F\xA2\xB7?"},
};

TEST(Charset, EncodesWithoutLookAlikes) {
    for (const Encoded& row : kEncoded) EXPECT_EQ(from_utf8(row.utf8, row.charset), row.bytes) << row.utf8;
}

}  // namespace
