// The Shift_JIS (Windows code page 932) and EUC-JP tables, generated into
// charset_tables.cpp by scripts/gen-charset-tables. Every code point in them
// is below U+10000. They read bytes; the encoding is made from them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace charset_tables {

struct DecodeTable {
    // The code point of each byte read alone; kNoCodePoint for a lead byte or
    // a byte that is not a character by itself.
    const uint16_t* single;
    // The row of each lead byte in `double_codes`; kNoRow for other bytes.
    const uint8_t* row_of_lead;
    // The second bytes a row covers: first_trail .. first_trail + trail_count - 1.
    uint8_t first_trail;
    uint8_t trail_count;
    // The code point of each lead and second byte; 0 where there is none.
    const uint16_t* double_codes;
    // A lead byte of three-byte codes (0 for none), and the code point of
    // each pair of bytes that may follow it, both in the trail range above
    // (trail_count by trail_count); 0 where there is none.
    uint8_t triple_lead;
    const uint16_t* triple_codes;
    // The two-byte codes, in increasing order, of characters that have
    // another code, the one their text is written with.
    const uint16_t* second_codes;
    std::size_t second_code_count;
};

constexpr uint16_t kNoCodePoint = 0xFFFF;
constexpr uint8_t kNoRow = 0xFF;

extern const DecodeTable kShiftJisDecode;
extern const DecodeTable kEucJpDecode;

}  // namespace charset_tables
