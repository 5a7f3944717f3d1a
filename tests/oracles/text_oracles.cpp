#include "text_oracles.h"

#include <climits>
#include <cstdlib>
#include <algorithm>
#include <iterator>

#include "tavo/width_conversion.h"

namespace {

// Character length from the lead byte, written out again here so that the
// definitions do not lean on the code under test.
std::size_t lead_length(char lead) {
    const auto byte = static_cast<unsigned char>(lead);
    if (byte >= 0xC2 && byte <= 0xDF) return 2;
    if (byte >= 0xE0 && byte <= 0xEF) return 3;
    if (byte >= 0xF0 && byte <= 0xF4) return 4;
    return 1;
}

struct PairList {
    WidthClass width_class;
    const WidthPair* pairs;
    std::size_t count;
};

const PairList kPasses[] = {
    {WidthClass::Alphabet, kAlphabetPairs, std::size(kAlphabetPairs)},
    {WidthClass::Digit, kDigitPairs, std::size(kDigitPairs)},
    {WidthClass::Symbol, kSymbolPairs, std::size(kSymbolPairs)},
    {WidthClass::Kana, kKanaVoicedPairs, std::size(kKanaVoicedPairs)},
    {WidthClass::Kana, kKanaPlainPairs, std::size(kKanaPlainPairs)},
};

}  // namespace

std::vector<std::size_t> reference_occurrences(std::string_view text, std::string_view search) {
    std::vector<std::size_t> found;
    if (text.empty() || search.empty()) return found;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text.substr(pos, search.size()) == search) {
            found.push_back(pos);
            pos += search.size();
        } else {
            pos += lead_length(text[pos]);
        }
    }
    return found;
}

std::size_t reference_first_byte_match(std::string_view text, std::string_view search) {
    for (std::size_t pos = 0; pos + search.size() <= text.size(); ++pos) {
        if (text.substr(pos, search.size()) == search) return pos;
    }
    return std::string_view::npos;
}

std::string reference_replace(std::string_view text, std::string_view search,
                              std::string_view replacement) {
    std::string result;
    std::size_t copied = 0;
    for (const std::size_t pos : reference_occurrences(text, search)) {
        result.append(text.substr(copied, pos - copied)).append(replacement);
        copied = pos + search.size();
    }
    return result.append(text.substr(copied));
}

namespace {

// The characters of a text in order, the last one cut short at its end.
std::vector<std::string_view> characters(std::string_view text) {
    std::vector<std::string_view> found;
    for (std::size_t pos = 0; pos < text.size(); pos += lead_length(text[pos])) {
        found.push_back(text.substr(pos, lead_length(text[pos])));
    }
    return found;
}

}  // namespace

int32_t reference_length(std::string_view text) {
    return static_cast<int32_t>(characters(text).size());
}

std::vector<std::string> reference_split(std::string_view text, std::string_view delimiters,
                                         int32_t limit) {
    const std::vector<std::string_view> delimiter_characters = characters(delimiters);
    const auto is_delimiter = [&](std::string_view character) {
        return std::find(delimiter_characters.begin(), delimiter_characters.end(), character) !=
               delimiter_characters.end();
    };
    std::vector<std::string> pieces;
    if (limit == 1) return {std::string(text)};
    std::size_t field_start = 0;
    std::size_t pos = 0;
    for (const std::string_view character : characters(text)) {
        const std::size_t next = pos + character.size();
        if (is_delimiter(character)) {
            if (pos > field_start) {
                pieces.emplace_back(text.substr(field_start, pos - field_start));
                if (limit > 0 && pieces.size() + 1 >= static_cast<std::size_t>(limit)) {
                    field_start = next;
                    break;
                }
            }
            field_start = next;
        }
        pos = next;
    }
    if (text.size() > field_start) pieces.emplace_back(text.substr(field_start));
    return pieces;
}

int32_t reference_parse_int(std::string_view text) {
    static const char* const kFullWidth[] = {
        "０", "１", "２", "３", "４", "５", "６", "７", "８", "９", "Ａ", "Ｂ", "Ｃ", "Ｄ", "Ｅ", "Ｆ",
        "Ｇ", "Ｈ", "Ｉ", "Ｊ", "Ｋ", "Ｌ", "Ｍ", "Ｎ", "Ｏ", "Ｐ", "Ｑ", "Ｒ", "Ｓ", "Ｔ", "Ｕ", "Ｖ",
        "Ｗ", "Ｘ", "Ｙ", "Ｚ", "ａ", "ｂ", "ｃ", "ｄ", "ｅ", "ｆ", "ｇ", "ｈ", "ｉ", "ｊ", "ｋ", "ｌ",
        "ｍ", "ｎ", "ｏ", "ｐ", "ｑ", "ｒ", "ｓ", "ｔ", "ｕ", "ｖ", "ｗ", "ｘ", "ｙ", "ｚ", "－", "＋"};
    static const char kAscii[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz-+";
    std::string converted(text);
    for (int i = 0; i < 64; ++i) converted = reference_replace(converted, kFullWidth[i], {&kAscii[i], 1});
    const long long value = std::strtoll(converted.c_str(), nullptr, 10);
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

std::string width_by_passes(std::string text, uint32_t mask, bool to_full_width) {
    for (const PairList& list : kPasses) {
        if ((static_cast<uint32_t>(list.width_class) & mask) == 0) continue;
        for (std::size_t i = 0; i < list.count; ++i) {
            const WidthPair& pair = list.pairs[i];
            text = to_full_width ? reference_replace(text, pair.half, pair.full)
                                 : reference_replace(text, pair.full, pair.half);
        }
    }
    return text;
}

std::string kana_by_walk(std::string text, bool to_katakana) {
    for (std::size_t pos = 0; pos < text.size(); pos += lead_length(text[pos])) {
        for (const KanaPair& pair : kKanaPairs) {
            const std::string_view source = to_katakana ? pair.hiragana : pair.katakana;
            const std::string_view target = to_katakana ? pair.katakana : pair.hiragana;
            if (text.size() - pos >= 3 && text.compare(pos, 3, source) == 0) {
                text.replace(pos, 3, target);
                break;
            }
        }
    }
    return text;
}
