// The text helpers, and the fast occurrence scan and one-pass parse_int
// against their step-by-step definitions over generated texts.
#include "common/stltool.h"
#include "oracles/text_oracles.h"
#include "repeat_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {


// --- character stepping ----------------------------------------------------

TEST(Utf8, CharLengthFromLeadByte) {
    const struct {
        unsigned char lead;
        int length;
    } cases[] = {{0x00, 1}, {0x7F, 1}, {0x80, 1}, {0xBF, 1}, {0xC0, 1}, {0xC1, 1}, {0xC2, 2},
                 {0xDF, 2}, {0xE0, 3}, {0xEF, 3}, {0xF0, 4}, {0xF4, 4}, {0xF5, 1}, {0xFF, 1}};
    for (const auto& c : cases) EXPECT_EQ(utf8_char_length(c.lead), c.length) << int{c.lead};
}

TEST(Utf8, LengthCountsCharactersAndCutShortEnds) {
    const struct {
        const char* text;
        int32_t length;
    } cases[] = {{"", 0},         {"aあ", 2},        {"😀", 1},         {"\x80", 1},
                 {"\xC0", 1},     {"\xF5", 1},       {"\xE3\x81", 1},   {"a\xF0\x9F\x98", 2},
                 {"\xE3" "ab", 1}};
    for (const auto& c : cases) EXPECT_EQ(utf8_length(c.text), c.length) << c.text;
}

TEST(Utf8, LengthCountsStepsOverGeneratedTexts) {
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::string text = random_text(random, round % 50);
        if (round % 3 == 0) text.insert(round % (text.size() + 1), std::string(round % 40, 'x'));
        int32_t steps = 0;
        for (std::size_t pos = 0; pos < text.size(); pos += utf8_step(text, pos)) ++steps;
        ASSERT_EQ(utf8_length(text), steps) << testing::PrintToString(text);
    }
}

// Long texts of well-formed characters with a rare odd byte, so that most
// chunks are counted whole and the odd ones are walked, with characters
// across every chunk border.
TEST(Utf8, LengthOfLongTextsMatchesTheWalk) {
    static const char* const kWellFormed[] = {"a", " ", "é", "あ", "漢", "😀", "ｱ", "１"};
    static const char* const kOdd[] = {"\x80", "\xC0", "\xC1",     "\xF5",
                                       "\xFF", "\xE3", "\xF0\x9F", "\xC3"};
    std::mt19937 random(20261209);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const std::size_t size = 64 + random() % 600;
        while (text.size() < size) {
            const std::size_t kinds = 1 + round % std::size(kWellFormed);
            text += random() % 200 == 0 ? kOdd[random() % std::size(kOdd)]
                                        : kWellFormed[random() % kinds];
        }
        ASSERT_EQ(utf8_length(text), reference_length(text)) << testing::PrintToString(text);
    }
}

TEST(Utf8, StepStopsAtTheEnd) {
    EXPECT_EQ(utf8_step("a\xE3\x81", 1), 2u);
    EXPECT_EQ(utf8_step("aあ", 1), 3u);
    EXPECT_EQ(utf8_step("a", 1), 0u);
}

TEST(Utf8, AdvanceGivesPositionOrNone) {
    const std::string text = "aあ😀";  // 1 + 3 + 4 bytes
    const struct {
        int32_t n;
        std::optional<std::size_t> pos;
    } cases[] = {{-5, 0}, {0, 0},           {1, 1},
                 {2, 4},  {3, 8},           {4, std::nullopt},
                 {INT32_MAX, std::nullopt}};
    for (const auto& c : cases) EXPECT_EQ(utf8_advance(text, c.n), c.pos) << c.n;
    EXPECT_EQ(utf8_advance("\xF0\x9F", 1), std::optional<std::size_t>(2));
    EXPECT_EQ(utf8_advance("\xF0\x9F", 2), std::nullopt);
}

TEST(Utf8, TakeCharCopiesOneCharacterAndNeverPastTheEnd) {
    const std::string text = "aあ\xE3\x81";
    std::size_t cursor = 0;
    EXPECT_EQ(take_char(text, cursor), "a");
    EXPECT_EQ(take_char(text, cursor), "あ");
    EXPECT_EQ(take_char(text, cursor), "\xE3\x81");
    EXPECT_EQ(cursor, text.size());
    EXPECT_EQ(take_char(text, cursor), "");
    EXPECT_EQ(cursor, text.size());
}

// --- occurrence scan -------------------------------------------------------

struct ScanCase {
    const char* text;
    const char* search;
    const char* replacement;
    int32_t count;
    const char* replaced;
};

TEST(OccurrenceScan, CountReplaceAndErase) {
    const ScanCase cases[] = {
        {"ああ", "あ", "a", 2, "aa"},
        {"aaaa", "aa", "b", 2, "bb"},
        {"aaa", "aa", "b", 1, "ba"},
        {"aba", "a", "aa", 2, "aabaa"},
        {"abcabc", "b", "", 2, "acac"},
        {"abc", "", "X", 0, "abc"},
        {"", "a", "X", 0, ""},
        {"abc", "abcd", "X", 0, "abc"},
        {"abc", "abc", "", 1, ""},
        // Only character boundaries count: the "a" inside the cut-short lead's
        // reach is skipped, the one after it is found.
        {"\xE3" "aa" "a", "a", "b", 1, "\xE3" "aab"},
        {"\xE3\x81\x82\x82", "\x82", "x", 1, "\xE3\x81\x82x"},
        {"\xF0" "abc" "\xF0", "\xF0", "", 2, "abc"},
        {"x\xE3\x81", "\x81", "y", 0, "x\xE3\x81"},
        {"いろはにほへと", "に", "ニ", 1, "いろはニほへと"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " / " + c.search);
        EXPECT_EQ(count_occurrences(c.text, c.search), c.count);
        std::string replaced = c.text;
        EXPECT_EQ(replace_all(replaced, c.search, c.replacement), c.count);
        EXPECT_EQ(replaced, c.replaced);
        std::string erased = c.text;
        EXPECT_EQ(erase_all(erased, c.search), c.count);
        EXPECT_EQ(erased, reference_replace(c.text, c.search, ""));
    }
}

TEST(OccurrenceScan, NoMatchLeavesTheBufferAlone) {
    std::string text = "ひらがなとカタカナ";
    const char* before = text.data();
    EXPECT_EQ(replace_all(text, "漢", "x"), 0);
    EXPECT_EQ(erase_all(text, "漢"), 0);
    EXPECT_EQ(text.data(), before);
}

TEST(OccurrenceScan, MatchesTheStepByStepScanOnGeneratedTexts) {
    std::mt19937 random(20240601);
    for (int round = 0; round < 20000; ++round) {
        const std::string text = random_text(random, round % 40);
        std::string search = random_text(random, 1 + round % 3);
        if (round % 5 == 0) search = search.substr(search.size() - 1);  // a single byte
        const auto expected = reference_occurrences(text, search);
        ASSERT_EQ(count_occurrences(text, search), static_cast<int32_t>(expected.size()))
            << testing::PrintToString(text) << " / " << testing::PrintToString(search);
        std::string replaced = text;
        replace_all(replaced, search, "<>");
        ASSERT_EQ(replaced, reference_replace(text, search, "<>"))
            << testing::PrintToString(text) << " / " << testing::PrintToString(search);
    }
}

TEST(OccurrenceScan, LongTextEndingCutShort) {
    std::string text;
    for (int i = 0; i < 10000; ++i) text += "日本語とASCII ";
    text += "\xE6\x97";  // cut short
    EXPECT_EQ(count_occurrences(text, "語"), 10000);
    EXPECT_EQ(count_occurrences(text, "\xE6\x97"), 10001);
    std::string erased = text;
    EXPECT_EQ(erase_all(erased, "ASCII "), 10000);
    EXPECT_EQ(erased.size(), text.size() - 60000);
}

TEST(OccurrenceScan, ManyOccurrencesWithStrayLeadBytes) {
    std::string text;
    for (int i = 0; i < 30000; ++i) text += "a\xE3" "ab";  // the second "a" is inside a character
    for (const char* replacement : {"<>", "", "b"}) {
        std::string replaced = text;
        EXPECT_EQ(replace_all(replaced, "a", replacement), 30000);
        EXPECT_EQ(replaced, reference_replace(text, "a", replacement));
    }
}

// Texts of one unit repeated, searched for the unit repeated and then cut
// or followed by another piece: the inputs on which comparing at every
// candidate costs text length times search length, and on which the scans
// switch to their linear search.
TEST(OccurrenceScan, RepeatedAndPeriodicTextsMatchTheDefinitions) {
    std::mt19937 random(20261209);
    for (int round = 0; round < 300; ++round) {
        const std::string unit = random_text(random, 1 + round % 4);
        const std::string text = repeat(unit, 6000 / unit.size() + round % 7) + random_text(random, round % 3);
        std::string search = repeat(unit, 16 + round % 40);
        if (round % 3 == 0) search += random_text(random, 1);
        if (round % 3 == 1) search.pop_back();
        if (round % 5 == 0) search = search.substr(round % unit.size());
        SCOPED_TRACE(testing::PrintToString(unit) + " / " + std::to_string(search.size()));

        const auto expected = reference_occurrences(text, search);
        ASSERT_EQ(count_occurrences(text, search), static_cast<int32_t>(expected.size()));
        std::string replaced = text;
        replace_all(replaced, search, "<>");
        ASSERT_TRUE(replaced == reference_replace(text, search, "<>"));
        std::string erased = text;
        erase_all(erased, search);
        ASSERT_TRUE(erased == reference_replace(text, search, ""));
        replaced = text;
        const std::size_t first = reference_first_byte_match(text, search);
        ASSERT_EQ(replace_once(replaced, search, "<>"), first != std::string::npos);
        if (first != std::string::npos) {
            ASSERT_TRUE(replaced == text.substr(0, first) + "<>" + text.substr(first + search.size()));
        }
    }
}

TEST(OccurrenceScan, LongSearchInALongRepeatedText) {
    // Comparing half a million bytes at each of a million positions would
    // take many seconds.
    const std::string text = repeat("a", 1000000);
    const std::string search = repeat("a", 500000) + "b";
    EXPECT_EQ(count_occurrences(text, search), 0);
    std::string changed = text;
    EXPECT_EQ(replace_all(changed, search, "x"), 0);
    EXPECT_FALSE(replace_once(changed, search, "x"));
    EXPECT_FALSE(erase_once(changed, search));
    EXPECT_EQ(count_occurrences(text + "b", search), 1);
    EXPECT_TRUE(erase_once(changed = text + "b", search));
    EXPECT_EQ(changed.size(), 500000u);
}

// --- first-occurrence helpers and small tests --------------------------------

TEST(FirstOccurrence, ReplaceOnceAndEraseOnceSearchByBytes) {
    const struct {
        const char* text;
        const char* search;
        const char* replacement;
        bool found;
        const char* replaced;
        const char* erased;
    } cases[] = {
        {"abc", "", "X", true, "Xabc", "abc"},
        {"abcabc", "b", "X", true, "aXcabc", "acabc"},
        {"abc", "d", "X", false, "abc", "abc"},
        {"\xE3" "ab", "a", "X", true, "\xE3" "Xb", "\xE3" "b"},  // not aligned to characters
        {"", "", "X", true, "X", ""},
    };
    for (const auto& c : cases) {
        std::string replaced = c.text;
        EXPECT_EQ(replace_once(replaced, c.search, c.replacement), c.found);
        EXPECT_EQ(replaced, c.replaced);
        std::string erased = c.text;
        EXPECT_EQ(erase_once(erased, c.search), c.found);
        EXPECT_EQ(erased, c.erased);
    }
}

TEST(SmallTests, EndsWith) {
    EXPECT_TRUE(ends_with("abc", ""));
    EXPECT_TRUE(ends_with("", ""));
    EXPECT_TRUE(ends_with("abc", "bc"));
    EXPECT_FALSE(ends_with("bc", "abc"));
    EXPECT_FALSE(ends_with("abc", "b"));
}

TEST(SmallTests, IsIntegerText) {
    const struct {
        const char* text;
        bool integer;
    } cases[] = {{"-12", true}, {"0", true},   {"007", true}, {"+12", false}, {"1.0", false},
                 {"", false},   {"-", false},  {"１２", false}, {"--1", false}, {" 1", false}};
    for (const auto& c : cases) EXPECT_EQ(is_integer_text(c.text), c.integer) << c.text;
}

TEST(SmallTests, IsLetterText) {
    const struct {
        const char* text;
        bool letters;
    } cases[] = {{"", true},       {"Ａｂc", true},  {"ＡＺａｚ", true}, {"a1", false},
                 {"ａ ", false},   {"１", false},    {"\xEF\xBC", false}, {"a\xEF", false},
                 {"\xEF\xBC\xBB", false}, {"\xEF\xBD\x80", false}};
    for (const auto& c : cases) EXPECT_EQ(is_letter_text(c.text), c.letters) << c.text;
}

// --- numbers ---------------------------------------------------------------

TEST(Numbers, AsciiForFullWidth) {
    const struct {
        const char* text;
        std::size_t pos;
        char ascii;
    } cases[] = {
        {"０", 0, '0'}, {"９", 0, '9'},  {"Ａ", 0, 'A'}, {"Ｚ", 0, 'Z'},   {"ａ", 0, 'a'},
        {"ｚ", 0, 'z'}, {"－", 0, '-'},  {"＋", 0, '+'}, {"x１", 1, '1'},  {"！", 0, 0},
        {"＠", 0, 0},   {"［", 0, 0},    {"｀", 0, 0},   {"｛", 0, 0},     {"\xEF\xBC", 0, 0},
        {"1", 0, 0},    {"１", 1, 0},    {"１", 3, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ascii_for_full_width(c.text, c.pos), c.ascii) << c.text << " at " << c.pos;
    }
}

TEST(Numbers, ParseInt) {
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {"１２", 12},          {"－３", -3},          {"12abc", 12},         {"abc", 0},
        {" 7", 7},             {"　7", 0},            {"－１２ｘ", -12},     {"+5", 5},
        {"", 0},               {"\t\n\v\f\r 9", 9},   {"+-1", 0},            {"-", 0},
        {"2147483647", INT32_MAX},                    {"2147483648", INT32_MAX},
        {"-2147483648", INT32_MIN},                   {"-2147483649", INT32_MIN},
        {"99999999999999999999999", INT32_MAX},       {"－９９９９９９９９９９９", INT32_MIN},
        {"1+1", 1},            {"０ｘ１", 0},          {"1\xE3", 1},          {"1\xEF\xBC", 1},
    };
    for (const auto& c : cases) EXPECT_EQ(parse_int(c.text), c.value) << c.text;
}

TEST(Numbers, ParseIntMatchesThePassByPassDefinition) {
    std::mt19937 random(7);
    for (int round = 0; round < 20000; ++round) {
        const std::string text = random_text(random, round % 12);
        ASSERT_EQ(parse_int(text), reference_parse_int(text)) << testing::PrintToString(text);
    }
}

TEST(Numbers, ParseDecimalReadsTheRawText) {
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {{"123", 123},         {"-45x", -45},       {"１２", 0},
                 {" +8", 8},           {"2147483648", INT32_MAX}, {"-99999999999", INT32_MIN}};
    for (const auto& c : cases) EXPECT_EQ(parse_decimal(c.text), c.value) << c.text;
}

}  // namespace
