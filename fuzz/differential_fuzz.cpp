// The fast text paths against their literal definitions; any difference is a
// crash. The first byte picks the check (and the class mask of the width
// conversions); the rest is the text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "common/numeric_text.h"
#include "common/stltool.h"
#include "oracles/text_oracles.h"
#include "tavo/commands.h"
#include "tavo/width_conversion.h"

namespace {

void require(bool same) {
    if (!same) __builtin_trap();
}

void check_width(std::string_view text, uint32_t mask) {
    require(to_half_width(text, mask) == width_by_passes(std::string(text), mask, false));
    require(to_full_width(text, mask) == width_by_passes(std::string(text), mask, true));
}

void check_kana(std::string_view text) {
    require(to_katakana(text) == kana_by_walk(std::string(text), true));
    require(to_hiragana(text) == kana_by_walk(std::string(text), false));
}

void check_search(std::string_view text, std::string_view search, std::string_view replacement) {
    const auto expected = reference_occurrences(text, search);
    require(count_occurrences(text, search) == static_cast<int32_t>(expected.size()));
    std::string replaced(text);
    require(replace_all(replaced, search, replacement) == static_cast<int32_t>(expected.size()));
    require(replaced == reference_replace(text, search, replacement));
    std::string erased(text);
    require(erase_all(erased, search) == static_cast<int32_t>(expected.size()));
    require(erased == reference_replace(text, search, ""));
    const std::size_t first = reference_first_byte_match(text, search);
    std::string once(text);
    require(replace_once(once, search, replacement) == (first != std::string_view::npos));
    if (first != std::string_view::npos) {
        require(once == std::string(text.substr(0, first)) + std::string(replacement) +
                            std::string(text.substr(first + search.size())));
    }
}

// The search text follows the first zero byte of the input.
void check_occurrences(std::string_view input, std::string_view replacement) {
    const std::size_t zero = input.find('\0');
    const std::string_view text = input.substr(0, zero);
    const std::string_view search = zero == std::string_view::npos ? "" : input.substr(zero + 1);
    check_search(text, search, replacement);
}

// A unit (up to the first zero byte, at most 32 bytes) repeated into a text
// of about a thousand bytes, searched for the unit repeated `repeats` times and
// followed by the rest of the input (at most 32 bytes): the texts on which
// the scans give up comparing at every candidate for their linear search.
void check_periodic(std::string_view input, unsigned repeats) {
    constexpr std::size_t kLongestPiece = 32;
    const std::size_t zero = input.find('\0');
    const std::string_view unit = input.substr(0, std::min(zero, kLongestPiece));
    if (unit.empty()) return;
    const std::string_view tail =
        zero == std::string_view::npos ? "" : input.substr(zero + 1, kLongestPiece);
    std::string text;
    while (text.size() < 1024) text.append(unit);
    std::string search;
    for (unsigned i = 0; i < repeats; ++i) search.append(unit);
    search.append(tail);
    check_search(text, search, "<>");
    check_search(text + std::string(tail), search, "");
}

// split against its character walk: the delimiters follow the first zero
// byte of the input, the limit comes from the selector.
void check_split(std::string_view input, int32_t limit) {
    const std::size_t zero = input.find('\0');
    if (zero == std::string_view::npos || zero + 1 == input.size()) return;
    const std::string_view text = input.substr(0, zero);
    const std::string_view delimiters = input.substr(zero + 1);
    ArgumentList arguments{std::string(text), std::string(delimiters), std::to_string(limit)};
    ValueList values;
    const CommandResult result = command_split(arguments, values);
    const std::vector<std::string> expected = reference_split(text, delimiters, limit);
    require(result.text == std::to_string(expected.size()));
    require(std::equal(values.begin(), values.end(), expected.begin(), expected.end()));
}

// format_fixed_trimmed against "%f" trimmed, for the double in the first
// eight bytes; parse_double against strtod on the text when it is digits.
void check_numbers(std::string_view text) {
    if (text.size() >= sizeof(double)) {
        double value;
        std::memcpy(&value, text.data(), sizeof value);
        std::string expected = format_fixed(value, 6);
        while (!expected.empty() && expected.back() == '0') expected.pop_back();
        if (!expected.empty() && expected.back() == '.') expected.pop_back();
        require(format_fixed_trimmed(value) == expected);
    }
    if (!text.empty() && std::all_of(text.begin(), text.end(), is_ascii_digit)) {
        const double value = parse_double(text);
        const double expected = std::strtod(std::string(text).c_str(), nullptr);
        require(std::memcmp(&value, &expected, sizeof value) == 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const unsigned selector = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    switch (selector % 8) {
        case 0: check_width(text, (selector >> 3) | ((selector & 4) ? 0xFFF0u : 0u)); break;
        case 1: check_kana(text); break;
        case 2: require(parse_int(text) == reference_parse_int(text)); break;
        case 3: check_occurrences(text, "<>"); break;
        case 5: check_periodic(text, 1 + selector / 6 % 8); break;
        case 6:
            require(utf8_length(text) == reference_length(text));
            check_split(text, static_cast<int32_t>(selector / 7 % 4));
            break;
        case 7: check_numbers(text); break;
        default: check_occurrences(text, (selector & 8) ? "\xE3\x81" : "x"); break;
    }
    return 0;
}
