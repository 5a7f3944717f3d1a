// The one-scan width and kana conversions against their definition: ordered
// passes, each pair replacing every occurrence of its source form that starts
// on a character boundary (the slow definitions in tests/oracles), on
// generated texts that mix every table's forms with marks without a base,
// ASCII, stray bytes and characters cut short.
#include "tavo/width_conversion.h"

#include "oracles/text_oracles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string hex(std::string_view text) {
    std::string out;
    char buffer[4];
    for (const char c : text) {
        std::snprintf(buffer, sizeof buffer, "%02X ", static_cast<unsigned char>(c));
        out += buffer;
    }
    return out;
}

// Pieces that generated texts are made of, in groups so that rare kinds of
// piece turn up as often as common ones.
std::vector<std::vector<std::string>> piece_groups() {
    std::vector<std::string> forms;
    std::vector<std::string> partials;
    const auto add_form = [&](std::string_view form) {
        forms.emplace_back(form);
        if (form.size() > 1) {
            partials.emplace_back(form.substr(0, form.size() - 1));  // cut short
            partials.emplace_back(form.substr(1));                   // without its lead
            partials.emplace_back(form.substr(0, 1));
        }
    };
    const auto add_pairs = [&](const auto& pairs) {
        for (const WidthPair& pair : pairs) {
            add_form(pair.full);
            add_form(pair.half);
        }
    };
    add_pairs(kAlphabetPairs);
    add_pairs(kDigitPairs);
    add_pairs(kSymbolPairs);
    add_pairs(kKanaVoicedPairs);
    add_pairs(kKanaPlainPairs);
    for (const KanaPair& pair : kKanaPairs) {
        add_form(pair.hiragana);
        add_form(pair.katakana);
    }
    std::vector<std::string> ascii;
    for (char c = 0x20; c < 0x7F; ++c) ascii.emplace_back(1, c);
    ascii.emplace_back("\t");
    const std::vector<std::string> marks = {"ﾞ", "ﾟ", "ﾞﾞ", "ｳﾞ", "ﾜﾞ", "ｶﾟ", "ﾊﾟﾞ"};
    const std::vector<std::string> stray = {
        "\x80",     "\xBF",     "\xC0",         "\xC1",         "\xC3",    "\xE3",
        "\xEF",     "\xF0",     "\xF4",         "\xF5",         "\xFF",    "\xE3\x82",
        "\xEF\xBD", "\xEF\xBE", "\xF0\x9F\x98", "\xE0\x80\x81", "\xC1\x81"};
    const std::vector<std::string> untouched = {"漢", "字", "ゔ", "ゝ", "ゞ", "ヴ", "ヵ",
                                                "ヶ", "ヽ", "ヾ", "゛", "゜", "＂", "＇",
                                                "／", "＼", "｀", "ｰ",  "😀",  "é"};
    return {forms, partials, ascii, marks, stray, untouched};
}

// A copy of a text in a buffer of exactly its size, so that a read past the
// end is caught by the address sanitizer (a std::string keeps a zero byte
// there).
struct ExactBuffer {
    explicit ExactBuffer(const std::string& text)
        : bytes(new char[text.size()]), size(text.size()) {
        text.copy(bytes.get(), size);
    }
    std::string_view view() const { return {bytes.get(), size}; }
    std::unique_ptr<char[]> bytes;
    std::size_t size;
};

std::string generated_text(std::mt19937& random,
                           const std::vector<std::vector<std::string>>& groups) {
    std::string text;
    const int pieces = static_cast<int>(random() % 24);
    for (int i = 0; i < pieces; ++i) {
        const std::vector<std::string>& group = groups[random() % groups.size()];
        text += group[random() % group.size()];
    }
    return text;
}

TEST(WidthConversion, OneScanEqualsOrderedPassesForEveryMask) {
    const auto groups = piece_groups();
    std::mt19937 random(20240607);
    for (uint32_t classes = 0; classes < 16; ++classes) {
        // Bits above the four classes are ignored.
        for (const uint32_t mask : {classes, classes | 0xFFF0u}) {
            for (int round = 0; round < 700; ++round) {
                const std::string text = generated_text(random, groups);
                const ExactBuffer exact(text);
                ASSERT_EQ(to_half_width(exact.view(), mask), width_by_passes(text, mask, false))
                    << "mask " << mask << " text " << hex(text);
                ASSERT_EQ(to_full_width(exact.view(), mask), width_by_passes(text, mask, true))
                    << "mask " << mask << " text " << hex(text);
            }
        }
    }
}

TEST(WidthConversion, OneScanKanaEqualsCharacterWalk) {
    const auto groups = piece_groups();
    std::mt19937 random(7);
    for (int round = 0; round < 20000; ++round) {
        const std::string text = generated_text(random, groups);
        const ExactBuffer exact(text);
        ASSERT_EQ(to_katakana(exact.view()), kana_by_walk(text, true)) << hex(text);
        ASSERT_EQ(to_hiragana(exact.view()), kana_by_walk(text, false)) << hex(text);
    }
}

TEST(WidthConversion, PairTablesHaveTheirSizesAndCodePoints) {
    EXPECT_EQ(std::size(kAlphabetPairs), 52u);
    EXPECT_EQ(std::size(kDigitPairs), 10u);
    EXPECT_EQ(std::size(kSymbolPairs), 40u);
    EXPECT_EQ(std::size(kKanaVoicedPairs), 25u);
    EXPECT_EQ(std::size(kKanaPlainPairs), 57u);
    ASSERT_EQ(std::size(kKanaPairs), 83u);
    // Ａ (EF BC A1) to Ｚ, ａ (EF BD 81) to ｚ, ０ (EF BC 90) to ９.
    for (int i = 0; i < 26; ++i) {
        EXPECT_EQ(kAlphabetPairs[i].full, std::string("\xEF\xBC") + static_cast<char>(0xA1 + i));
        EXPECT_EQ(kAlphabetPairs[i].half, std::string(1, static_cast<char>('A' + i)));
        EXPECT_EQ(kAlphabetPairs[26 + i].full,
                  std::string("\xEF\xBD") + static_cast<char>(0x81 + i));
        EXPECT_EQ(kAlphabetPairs[26 + i].half, std::string(1, static_cast<char>('a' + i)));
    }
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(kDigitPairs[i].full, std::string("\xEF\xBC") + static_cast<char>(0x90 + i));
        EXPECT_EQ(kDigitPairs[i].half, std::string(1, static_cast<char>('0' + i)));
    }
    // ぁ U+3041 to ん U+3093, each with the katakana 0x60 higher.
    const auto code_point = [](std::string_view c) {
        return (c[0] & 0x0F) << 12 | (c[1] & 0x3F) << 6 | (c[2] & 0x3F);
    };
    for (int i = 0; i < 83; ++i) {
        ASSERT_EQ(kKanaPairs[i].hiragana.size(), 3u);
        ASSERT_EQ(kKanaPairs[i].katakana.size(), 3u);
        EXPECT_EQ(code_point(kKanaPairs[i].hiragana), 0x3041 + i);
        EXPECT_EQ(code_point(kKanaPairs[i].katakana), 0x30A1 + i);
    }
}

constexpr uint32_t kAlphabet = static_cast<uint32_t>(WidthClass::Alphabet);
constexpr uint32_t kDigit = static_cast<uint32_t>(WidthClass::Digit);
constexpr uint32_t kSymbol = static_cast<uint32_t>(WidthClass::Symbol);
constexpr uint32_t kKana = static_cast<uint32_t>(WidthClass::Kana);

struct Example {
    uint32_t mask;
    std::string_view input;
    std::string_view output;
};

TEST(WidthConversion, HalfWidthExamples) {
    const Example examples[] = {
        {kEveryWidthClass, "ＡＢＣ１２３！", "ABC123!"},
        {kDigit, "カタカナ", "カタカナ"},
        {kSymbol, "カタカナ", "カタカナ"},
        {kEveryWidthClass, "ガッコウ、", "ｶﾞｯｺｳ,"},
        {kKana, "ガッコウ、", "ｶﾞｯｺｳ､"},
        {kKana | kAlphabet, "。Ｘ", "｡X"},
        {kEveryWidthClass, "パ", "ﾊﾟ"},
        {kEveryWidthClass, "ヴ", "ヴ"},
        {kKana, "ー・", "ー・"},
        {kSymbol, "ー・", "-･"},
        {kEveryWidthClass, "　（１＋２）×３÷４", " (1+2)*3/4"},
        {kEveryWidthClass, "”’‘￥", "\"'`\\"},
        {kAlphabet, "Ａ１！", "A１！"},
        {0, "ＡＢＣ", "ＡＢＣ"},
        {kEveryWidthClass, "ゔゝゞヴヵヶヽヾ゛゜＂＇／＼｀", "ゔゝゞヴヵヶヽヾ゛゜＂＇／＼｀"},
        {kEveryWidthClass, "", ""},
        // A stray lead byte swallows the next bytes as one character: Ａ is
        // not on a boundary, Ｂ is.
        {kEveryWidthClass, "\xE3ＡＢ", "\xE3ＡB"},
        // A last character cut short stays.
        {kEveryWidthClass, "Ａ\xEF\xBC", "A\xEF\xBC"},
    };
    for (const Example& example : examples) {
        EXPECT_EQ(to_half_width(example.input, example.mask), example.output)
            << example.input << " mask " << example.mask;
    }
}

TEST(WidthConversion, FullWidthExamples) {
    const Example examples[] = {
        {kEveryWidthClass, "ｶﾞｷﾞｸﾞ", "ガギグ"},
        {kEveryWidthClass, "ﾊﾟﾋﾟﾊﾞ", "パピバ"},
        {kEveryWidthClass, "ｳﾞ", "ウﾞ"},
        {kEveryWidthClass, "ﾞｶ", "ﾞカ"},
        {kEveryWidthClass, "a-b,c.d", "ａーｂ、ｃ。ｄ"},
        {kEveryWidthClass, "1+1=2", "１＋１＝２"},
        {kEveryWidthClass, "x/y*z", "ｘ÷ｙ＊ｚ"},
        {kEveryWidthClass, "[ ]", "「　」"},
        {kEveryWidthClass, "\\\"'`･", "￥”’‘・"},
        {kKana, "､｡ｶﾞ,", "、。ガ,"},
        {kSymbol, "ｶﾞ･", "ｶﾞ・"},
        {kDigit, "a1", "a１"},
        {0, "abc", "abc"},
        {kEveryWidthClass, "ｶ\xEF\xBE", "カ\xEF\xBE"},
    };
    for (const Example& example : examples) {
        EXPECT_EQ(to_full_width(example.input, example.mask), example.output)
            << example.input << " mask " << example.mask;
    }
}

TEST(WidthConversion, KanaExamples) {
    EXPECT_EQ(to_katakana("ひらがなとカタカナ"), "ヒラガナトカタカナ");
    EXPECT_EQ(to_hiragana("ヒラガナトカタカナ"), "ひらがなとかたかな");
    EXPECT_EQ(to_katakana("ぁゐゑゎんabc"), "ァヰヱヮンabc");
    EXPECT_EQ(to_katakana("ゔ"), "ゔ");
    EXPECT_EQ(to_hiragana("ヴヶー"), "ヴヶー");
    EXPECT_EQ(to_hiragana("ｶﾀｶﾅ"), "ｶﾀｶﾅ");
    EXPECT_EQ(to_katakana("あ\xE3\x81"), "ア\xE3\x81");
}

}  // namespace
