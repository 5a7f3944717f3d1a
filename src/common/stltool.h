// String helpers shared by the command handlers and the expression
// evaluators. Texts are byte strings expected to hold UTF-8; nothing is
// validated. A character's length comes from its first byte alone, and a
// last character cut short (its lead byte announcing more bytes than remain)
// ends at the end of the text: no helper reads or copies past the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// 1, 2, 3 or 4 from the first byte: C2-DF 2, E0-EF 3, F0-F4 4, else 1.
constexpr int utf8_char_length(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 1;
}

// Length of the character starting at `pos`, cut short at the end of the text.
// Inline: the character-aware commands call it once per character.
inline std::size_t utf8_step(std::string_view text, std::size_t pos) {
    if (pos >= text.size()) return 0;
    const auto length = static_cast<std::size_t>(utf8_char_length(static_cast<unsigned char>(text[pos])));
    const std::size_t remaining = text.size() - pos;
    return length < remaining ? length : remaining;
}

// The code point of the character starting at `pos`, its length in bytes
// put in `length`; a length of 0 when the bytes there are not a well-formed
// character: a stray or missing continuation byte, a sequence cut short, an
// overlong form or a value above U+10FFFF. Encoded surrogates are read like
// any other code point.
inline char32_t read_code_point(std::string_view text, std::size_t pos, std::size_t& length) {
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const auto lead = static_cast<unsigned char>(text[pos]);
    length = static_cast<std::size_t>(utf8_char_length(lead));
    if (length == 1 && lead >= 0x80) length = 0;
    if (length <= 1) return lead;
    if (text.size() - pos < length) {
        length = 0;
        return 0;
    }
    char32_t code_point = lead & (0x7Fu >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[pos + k]);
        if ((next & 0xC0) != 0x80) {
            length = 0;
            return 0;
        }
        code_point = (code_point << 6) | (next & 0x3Fu);
    }
    if (code_point < kSmallest[length] || code_point > 0x10FFFF) length = 0;
    return code_point;
}

// Number of characters.
int32_t utf8_length(std::string_view text);

// The first character boundary at or after `target`, given the boundary
// `boundary` (at most `target`): `target` itself when no character that could
// start in the three bytes before it reaches past it, as in every valid
// UTF-8 text; otherwise found by stepping from `boundary`.
std::size_t boundary_at_or_after(std::string_view text, std::size_t boundary, std::size_t target);

// Byte position after n characters (the start for n <= 0), or nullopt when
// the text ends first. Advancing by exactly the length gives the end.
std::optional<std::size_t> utf8_advance(std::string_view text, int32_t n);

// The character at `cursor` as a new text; the cursor moves past it. At the
// end of the text: the empty text, the cursor stays.
std::string take_char(std::string_view text, std::size_t& cursor);

// Character-aligned occurrence scan: leftmost first, non-overlapping,
// matches start only on character boundaries. Empty text or empty search: 0.
// replace_all and erase_all return the number of occurrences replaced; the
// replacement is not searched again, and a text without occurrences is left
// untouched (nothing is allocated).
int32_t count_occurrences(std::string_view text, std::string_view search);
int32_t replace_all(std::string& text, std::string_view search, std::string_view replacement);
int32_t erase_all(std::string& text, std::string_view search);

// Plain byte search for the first occurrence; an empty search matches at 0.
bool replace_once(std::string& text, std::string_view search, std::string_view replacement);
bool erase_once(std::string& text, std::string_view search);

bool ends_with(std::string_view text, std::string_view suffix);

// The C library's isspace in the "C" locale: space, \t, \n, \v, \f and \r.
constexpr bool is_c_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

constexpr bool is_ascii_digit(char c) { return c >= '0' && c <= '9'; }

// A-Z to a-z; every other byte as it is.
constexpr char ascii_lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// An optional single "-" followed by one or more ASCII digits.
bool is_integer_text(std::string_view text);

// Every character is A-Z, a-z or their full-width forms; the empty text passes.
bool is_letter_text(std::string_view text);

// The full-width digits, Latin letters, "－" and "＋" (three bytes each):
// the ASCII character that the one starting at `pos` (at most the text's size)
// stands for, or 0 when no such form starts there.
char ascii_for_full_width(std::string_view text, std::size_t pos);

// The C library's atoi over the text with the full-width forms above read as
// their ASCII characters: leading white space, one optional sign, decimal
// digits up to the first other byte. Values outside the signed 32-bit range
// saturate at its ends.
int32_t parse_int(std::string_view text);

// atoi over the text as it stands (no full-width conversion), with the same
// saturation as parse_int.
int32_t parse_decimal(std::string_view text);
