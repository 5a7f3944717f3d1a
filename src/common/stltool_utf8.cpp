// Stepping over UTF-8 characters: counting them, advancing by a number of
// them, finding the next boundary and taking one off a text.
#include <cstring>
#include <optional>
#include <string>

#include "common/stltool.h"
#include "common/stltool_steps.h"

using stltool_internal::char_length_at;
using stltool_internal::clamp_count;
using stltool_internal::step_until;

namespace {

// True when `target` is certainly reached by stepping from the character
// boundary `boundary` (<= target): no character that could start in the three
// bytes before it reaches past it. Every boundary of valid UTF-8 passes.
bool is_sure_boundary(const char* data, std::size_t boundary, std::size_t target) {
    const std::size_t gap = target - boundary;
    if (gap >= 1 && char_length_at(data, target - 1) > 1) return false;
    if (gap >= 2 && char_length_at(data, target - 2) > 2) return false;
    if (gap >= 3 && char_length_at(data, target - 3) > 3) return false;
    return true;
}

// Bytes counted together by utf8_length: eight words of eight.
constexpr std::size_t kCountChunk = 64;
constexpr std::size_t kWordBytes = 8;
constexpr uint64_t kHighBits = 0x8080808080808080u;
constexpr uint64_t kEachByte = 0x0101010101010101u;

// The eight bytes at `p` as a number, the first byte in the lowest bits.
inline uint64_t load_word(const unsigned char* p) {
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    word = __builtin_bswap64(word);
#endif
    return word;
}

// Counts the characters in the kCountChunk bytes at `chunk`, which start on
// a character boundary, when the chunk is regular: no byte C0, C1 or F5-FF,
// and each byte in it continues a character exactly when a lead byte before
// it in the chunk reaches over it. The walk from the chunk's start then stops
// at exactly the bytes that do not continue a character, so those are
// counted. `next` becomes the offset of the first boundary at or after the
// chunk's end (a character may reach three bytes past it). False, with
// nothing changed, for a chunk that is not regular.
//
// Each byte's flags sit in its top bit; a lead's reach moves up by whole
// bytes into the bytes it covers, across words through the carries.
bool count_regular_chunk(const unsigned char* chunk, std::size_t& count, std::size_t& next) {
    uint64_t carry_2 = 0;  // the previous word's leads of at least 2, 3, 4
    uint64_t carry_3 = 0;  // bytes, moved to the bytes they cover here
    uint64_t carry_4 = 0;
    uint64_t irregular = 0;
    uint64_t continuations = 0;
    for (std::size_t at = 0; at < kCountChunk; at += kWordBytes) {
        const uint64_t word = load_word(chunk + at);
        const uint64_t continues = word & ~(word << 1) & kHighBits;  // 10xxxxxx
        const uint64_t at_least_2 = word & (word << 1) & kHighBits;  // 11xxxxxx
        const uint64_t at_least_3 = at_least_2 & (word << 2);        // 111xxxxx
        const uint64_t at_least_4 = at_least_3 & (word << 3);        // 1111xxxx
        // C0 and C1 (110 0000x) and F5-FF (1111, low half 5 or more) are
        // characters of one byte that look like leads.
        const uint64_t low_bits_set =
            ((word & 0x1E1E1E1E1E1E1E1Eu) + 0x7F7F7F7F7F7F7F7Fu) & kHighBits;
        const uint64_t low_half_5_up =
            ((word & 0x0F0F0F0F0F0F0F0Fu) + 0x0B0B0B0B0B0B0B0Bu) << 3;
        irregular |= (at_least_2 & ~at_least_3 & ~low_bits_set) | (at_least_4 & low_half_5_up);
        const uint64_t covered = (at_least_2 << 8 | carry_2) | (at_least_3 << 16 | carry_3) |
                                 (at_least_4 << 24 | carry_4);
        irregular |= continues ^ covered;
        continuations += ((continues >> 7) * kEachByte) >> 56;
        carry_2 = at_least_2 >> 56;
        carry_3 = at_least_3 >> 48;
        carry_4 = at_least_4 >> 40;
    }
    if (irregular != 0) return false;
    count += kCountChunk - continuations;
    // The bytes past the end that the last character covers, a run from the end.
    const uint64_t beyond = carry_2 | carry_3 | carry_4;
    next = kCountChunk + ((beyond >> 7) & 1) + ((beyond >> 15) & 1) + ((beyond >> 23) & 1);
    return true;
}

}  // namespace

int32_t utf8_length(std::string_view text) {
    const char* data = text.data();
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    std::size_t count = 0;
    std::size_t pos = 0;
    // Whole chunks, with room after each for a character that reaches past
    // its end; a chunk that is not regular is walked character by character.
    while (text.size() - pos >= kCountChunk + 3) {
        std::size_t next = 0;
        if (count_regular_chunk(bytes + pos, count, next)) {
            pos += next;
            continue;
        }
        for (const std::size_t end = pos + kCountChunk; pos < end; ++count) {
            pos += char_length_at(data, pos);
        }
    }
    for (; pos < text.size(); ++count) pos += char_length_at(data, pos);
    return clamp_count(count);
}

std::size_t boundary_at_or_after(std::string_view text, std::size_t boundary, std::size_t target) {
    const char* data = text.data();
    return is_sure_boundary(data, boundary, target) ? target : step_until(data, boundary, target);
}

std::optional<std::size_t> utf8_advance(std::string_view text, int32_t n) {
    std::size_t pos = 0;
    for (int32_t i = 0; i < n; ++i) {
        if (pos >= text.size()) return std::nullopt;
        pos += utf8_step(text, pos);
    }
    return pos;
}

std::string take_char(std::string_view text, std::size_t& cursor) {
    const std::size_t length = utf8_step(text, cursor);
    if (length == 0) return std::string();
    std::string character(text.substr(cursor, length));
    cursor += length;
    return character;
}
