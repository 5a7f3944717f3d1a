// The slow, literal definitions of the text operations that the module runs
// in one fast pass: the unit tests and the differential fuzz target compare
// the two.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The occurrence scan one character at a time: the positions it matches at.
std::vector<std::size_t> reference_occurrences(std::string_view text, std::string_view search);

// The first byte offset at which the search text occurs, compared at every
// offset; npos when it does not occur. The empty search occurs at 0.
std::size_t reference_first_byte_match(std::string_view text, std::string_view search);

// Every occurrence found by that scan replaced, the replacement not rescanned.
std::string reference_replace(std::string_view text, std::string_view search,
                              std::string_view replacement);

// parse_int as defined: 64 replacement passes, then atoi, saturating at the
// ends of the signed 32-bit range.
int32_t reference_parse_int(std::string_view text);

// The number of characters as the walk from lead byte to lead byte counts
// them, the last one cut short at the end of the text.
int32_t reference_length(std::string_view text);

// split's pieces by a delimiter text (not empty) as defined: a walk from
// character to character, each looked up among the delimiter's characters;
// empty fields skipped; under a positive limit the last piece is the raw
// rest after the delimiter that closed the piece before it.
std::vector<std::string> reference_split(std::string_view text, std::string_view delimiters,
                                         int32_t limit);

// The width conversions as ordered replacement passes (Alphabet, Digit,
// Symbol, Kana voiced, Kana plain), each pair one global pass.
std::string width_by_passes(std::string text, uint32_t mask, bool to_full_width);

// The kana conversion as a character walk overwriting each source kana.
std::string kana_by_walk(std::string text, bool to_katakana);
