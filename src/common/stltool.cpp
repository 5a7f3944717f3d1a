#include "common/stltool.h"

#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr std::size_t kNotFound = std::string_view::npos;

struct LengthTable {
    unsigned char length[256];
};

constexpr LengthTable make_length_table() {
    LengthTable table{};
    for (int byte = 0; byte < 256; ++byte) {
        table.length[byte] = static_cast<unsigned char>(utf8_char_length(static_cast<unsigned char>(byte)));
    }
    return table;
}

constexpr LengthTable kLengths = make_length_table();

inline std::size_t char_length_at(const char* data, std::size_t pos) {
    return kLengths.length[static_cast<unsigned char>(data[pos])];
}

// Roughly how often each byte turns up in mixed Japanese and English text,
// higher for more often. The scan looks for the least common byte of the
// search text first, and for its first byte when nothing is clearly rarer.
struct CommonnessTable {
    unsigned char commonness[256];
};

constexpr CommonnessTable make_commonness_table() {
    // English letters, most frequent first.
    constexpr char kLetters[] = "etaoinshrdlcumwfgypbvkjxqz";
    CommonnessTable table{};
    for (int byte = 0; byte < 256; ++byte) {
        unsigned char commonness = 1;
        if (byte < 0x80) commonness = 3;                    // capitals, digits, punctuation
        if (byte >= 0x84 && byte <= 0xBF) commonness = 5;   // continuation bytes
        if (byte >= 0xE4 && byte <= 0xE9) commonness = 10;  // lead of common ideographs
        if (byte >= 0x80 && byte <= 0x83) commonness = 40;  // second byte of kana, punctuation
        if (byte == ' ') commonness = 40;
        if (byte == 0xE3) commonness = 100;                 // lead of kana and CJK punctuation
        table.commonness[byte] = commonness;
    }
    for (int rank = 0; rank < 26; ++rank) {
        table.commonness[static_cast<unsigned char>(kLetters[rank])] =
            static_cast<unsigned char>(30 - rank);
    }
    return table;
}

constexpr CommonnessTable kCommonness = make_commonness_table();

// The anchor is one of the first bytes of the search text.
constexpr std::size_t kAnchorWindow = 16;

// The least common of the first bytes of the search text.
std::size_t pick_anchor(std::string_view search) {
    std::size_t anchor = 0;
    for (std::size_t i = 1; i < search.size() && i < kAnchorWindow; ++i) {
        if (kCommonness.commonness[static_cast<unsigned char>(search[i])] <
            kCommonness.commonness[static_cast<unsigned char>(search[anchor])]) {
            anchor = i;
        }
    }
    return anchor;
}

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

// The first character boundary at or after `target`, stepping from the
// boundary `boundary`.
std::size_t step_until(const char* data, std::size_t boundary, std::size_t target) {
    while (boundary < target) boundary += char_length_at(data, boundary);
    return boundary;
}

// What a memchr candidate costs the fast scan beyond the bytes it compares.
constexpr std::size_t kCandidateCost = 8;

// Finds the occurrences of one search text (not empty) in one text, in
// increasing positions. The fast scan lets memchr skip to the next place
// where a rare byte of the search text stands, and compares there; the
// character structure is only worked out around a match. On a text where
// such places are dense (one repeated byte, periodic texts) comparing at
// every one of them would cost text length times search length, so once the
// fast scan has spent about twice the text's length it hands over to the
// Knuth-Morris-Pratt scan, linear in text and search length whatever they
// hold. Both give exactly the matches of comparing at every position.
class Finder {
public:
    // `aligned`: matches only at character boundaries; otherwise at any byte.
    Finder(std::string_view text, std::string_view search, bool aligned)
        : text_(text),
          search_(search),
          aligned_(aligned),
          anchor_(pick_anchor(search)),
          allowance_(2 * text.size() + 4096) {}

    // The first match at or after `pos` (a character boundary when aligned),
    // or kNotFound.
    std::size_t find(std::size_t pos) {
        if (search_.size() > text_.size()) return kNotFound;
        return failure_.empty() ? find_fast(pos) : find_linear(pos);
    }

private:
    std::size_t find_fast(std::size_t pos) {
        const std::size_t length = search_.size();
        const std::size_t last_start = text_.size() - length;
        const char* data = text_.data();
        const char anchor_byte = search_[anchor_];
        std::size_t from = pos;
        while (from <= last_start) {
            if (spent_ > allowance_) {
                build_failure_table();
                return find_linear(pos);
            }
            const void* hit = std::memchr(data + from + anchor_, anchor_byte, last_start - from + 1);
            if (hit == nullptr) return kNotFound;
            const std::size_t start =
                static_cast<std::size_t>(static_cast<const char*>(hit) - data) - anchor_;
            spent_ += kCandidateCost;
            if (data[start] != search_[0]) {
                from = start + 1;
                continue;
            }
            spent_ += length;
            if (std::memcmp(data + start, search_.data(), length) != 0) {
                from = start + 1;
                continue;
            }
            if (!aligned_) return start;
            pos = boundary_at_or_after(text_, pos, start);
            if (pos == start) return start;
            from = pos;
        }
        return kNotFound;
    }

    // failure_[i]: the length of the longest proper border of the first
    // i + 1 bytes of the search text.
    void build_failure_table() {
        failure_.assign(search_.size(), 0);
        std::size_t border = 0;
        for (std::size_t i = 1; i < search_.size(); ++i) {
            while (border > 0 && search_[i] != search_[border]) border = failure_[border - 1];
            if (search_[i] == search_[border]) ++border;
            failure_[i] = border;
        }
    }

    // A match that does not start on a boundary is passed over like a
    // mismatch, so later (also overlapping) matches are still found.
    std::size_t find_linear(std::size_t pos) {
        const std::size_t length = search_.size();
        const char* data = text_.data();
        std::size_t boundary = pos;
        std::size_t matched = 0;
        for (std::size_t i = pos; i < text_.size(); ++i) {
            while (matched > 0 && data[i] != search_[matched]) matched = failure_[matched - 1];
            if (data[i] == search_[matched]) ++matched;
            if (matched < length) continue;
            const std::size_t start = i + 1 - length;
            if (!aligned_) return start;
            boundary = step_until(data, boundary, start);
            if (boundary == start) return start;
            matched = failure_[length - 1];
        }
        return kNotFound;
    }

    std::string_view text_;
    std::string_view search_;
    bool aligned_;
    std::size_t anchor_;
    std::size_t allowance_;
    std::size_t spent_ = 0;
    std::vector<std::size_t> failure_;
};

std::size_t count_all(std::string_view text, std::string_view search) {
    Finder finder(text, search, true);
    std::size_t count = 0;
    std::size_t pos = 0;
    while ((pos = finder.find(pos)) != kNotFound) {
        ++count;
        pos += search.size();
    }
    return count;
}

// Replacement no longer than the search text: one pass in the text's own
// buffer. Every write lands before the scan position, so the scan only ever
// reads bytes that are still as they were.
std::size_t replace_shrinking(std::string& text, std::string_view search,
                              std::string_view replacement) {
    const std::size_t length = search.size();
    char* data = &text[0];
    const std::string_view original(data, text.size());
    Finder finder(original, search, true);
    std::size_t pos = finder.find(0);
    if (pos == kNotFound) return 0;
    std::size_t count = 0;
    std::size_t written = pos;  // end of the result so far
    std::size_t copied = pos;   // end of the original bytes taken so far
    while (pos != kNotFound) {
        if (written != copied) std::memmove(data + written, data + copied, pos - copied);
        written += pos - copied;
        replacement.copy(data + written, replacement.size());
        written += replacement.size();
        copied = pos + length;
        ++count;
        pos = finder.find(copied);
    }
    std::memmove(data + written, data + copied, text.size() - copied);
    text.resize(written + text.size() - copied);
    return count;
}

// Most occurrences whose positions the counting pass of replace_growing
// keeps, so that building the result need not scan that part again.
constexpr std::size_t kKeptPositions = 16384;

// Longer replacement: count first, then build the result in one buffer of
// exactly the final size.
std::size_t replace_growing(std::string& text, std::string_view search,
                            std::string_view replacement) {
    const std::size_t length = search.size();
    std::vector<std::size_t> kept;
    std::size_t count = 0;
    Finder counter(text, search, true);
    for (std::size_t pos = counter.find(0); pos != kNotFound; pos = counter.find(pos + length)) {
        if (kept.size() < kKeptPositions) kept.push_back(pos);
        ++count;
    }
    if (count == 0) return 0;

    std::string result;
    result.reserve(text.size() + count * (replacement.size() - length));
    std::size_t copied = 0;
    const auto take = [&](std::size_t pos) {
        result.append(text, copied, pos - copied);
        result.append(replacement);
        copied = pos + length;
    };
    for (const std::size_t pos : kept) take(pos);
    if (count > kept.size()) {
        Finder builder(text, search, true);
        for (std::size_t pos = builder.find(copied); pos != kNotFound;
             pos = builder.find(pos + length)) {
            take(pos);
        }
    }
    result.append(text, copied, std::string::npos);
    text.swap(result);
    return count;
}

int32_t clamp_count(std::size_t count) {
    constexpr auto kMax = static_cast<std::size_t>(std::numeric_limits<int32_t>::max());
    return static_cast<int32_t>(count < kMax ? count : kMax);
}

// Reads a text the way the C library's atoi does, one byte at a time, with
// the full-width forms of ascii_for_full_width optionally decoded on the way.
class DecimalReader {
public:
    DecimalReader(std::string_view text, bool full_width) : text_(text), full_width_(full_width) {}

    // The next byte as atoi sees it, or 0 at the end of the text.
    char peek() {
        if (pos_ >= text_.size()) return 0;
        if (full_width_) {
            if (const char ascii = ascii_for_full_width(text_, pos_)) {
                width_ = 3;
                return ascii;
            }
        }
        // Any other byte is taken alone: a byte that starts a longer
        // character is not one atoi goes past.
        width_ = 1;
        return text_[pos_];
    }

    void advance() { pos_ += width_; }

private:
    std::string_view text_;
    bool full_width_;
    std::size_t pos_ = 0;
    std::size_t width_ = 1;
};

// atoi with values outside the signed 32-bit range saturated.
int32_t read_decimal(DecimalReader reader) {
    while (is_c_space(reader.peek())) reader.advance();
    bool negative = false;
    const char sign = reader.peek();
    if (sign == '+' || sign == '-') {
        negative = sign == '-';
        reader.advance();
    }
    constexpr int64_t kBeyondRange = int64_t{1} << 31;
    int64_t magnitude = 0;
    for (char c = reader.peek(); is_ascii_digit(c); c = reader.peek()) {
        if (magnitude < kBeyondRange) magnitude = magnitude * 10 + (c - '0');
        reader.advance();
    }
    if (magnitude > kBeyondRange) magnitude = kBeyondRange;
    if (negative) return static_cast<int32_t>(-magnitude);
    return static_cast<int32_t>(magnitude < kBeyondRange ? magnitude : kBeyondRange - 1);
}

}  // namespace

// The full-width form U+FF01..U+FF5E is EF BC 81..BF, EF BD 80..9E.
char ascii_for_full_width(std::string_view text, std::size_t pos) {
    if (text.size() - pos < 3 || static_cast<unsigned char>(text[pos]) != 0xEF) return 0;
    const auto second = static_cast<unsigned char>(text[pos + 1]);
    const auto third = static_cast<unsigned char>(text[pos + 2]);
    if (second == 0xBC) {
        if (third >= 0x90 && third <= 0x99) return static_cast<char>('0' + (third - 0x90));
        if (third >= 0xA1 && third <= 0xBA) return static_cast<char>('A' + (third - 0xA1));
        if (third == 0x8D) return '-';
        if (third == 0x8B) return '+';
    } else if (second == 0xBD) {
        if (third >= 0x81 && third <= 0x9A) return static_cast<char>('a' + (third - 0x81));
    }
    return 0;
}

namespace {

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

int32_t count_occurrences(std::string_view text, std::string_view search) {
    if (text.empty() || search.empty()) return 0;
    return clamp_count(count_all(text, search));
}

int32_t replace_all(std::string& text, std::string_view search, std::string_view replacement) {
    if (text.empty() || search.empty()) return 0;
    const std::size_t count = replacement.size() <= search.size()
                                  ? replace_shrinking(text, search, replacement)
                                  : replace_growing(text, search, replacement);
    return clamp_count(count);
}

int32_t erase_all(std::string& text, std::string_view search) {
    return replace_all(text, search, std::string_view());
}

bool replace_once(std::string& text, std::string_view search, std::string_view replacement) {
    const std::size_t pos = search.empty() ? 0 : Finder(text, search, false).find(0);
    if (pos == kNotFound) return false;
    text.replace(pos, search.size(), replacement);
    return true;
}

bool erase_once(std::string& text, std::string_view search) {
    return replace_once(text, search, std::string_view());
}

bool ends_with(std::string_view text, std::string_view suffix) {
    return suffix.size() <= text.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool is_integer_text(std::string_view text) {
    if (!text.empty() && text.front() == '-') text.remove_prefix(1);
    if (text.empty()) return false;
    for (const char c : text) {
        if (!is_ascii_digit(c)) return false;
    }
    return true;
}

bool is_letter_text(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char c = text[pos];
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
            ++pos;
            continue;
        }
        const char ascii = ascii_for_full_width(text, pos);
        if (!((ascii >= 'A' && ascii <= 'Z') || (ascii >= 'a' && ascii <= 'z'))) return false;
        pos += 3;
    }
    return true;
}

namespace {

// A text of one to nine ASCII digits, the usual numeric argument, read
// directly; -1 for any other text.
int32_t plain_digits(std::string_view text) {
    if (text.empty() || text.size() > 9) return -1;
    int32_t value = 0;
    for (const char c : text) {
        if (!is_ascii_digit(c)) return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

int32_t parse_int(std::string_view text) {
    const int32_t plain = plain_digits(text);
    return plain >= 0 ? plain : read_decimal(DecimalReader(text, true));
}

int32_t parse_decimal(std::string_view text) {
    const int32_t plain = plain_digits(text);
    return plain >= 0 ? plain : read_decimal(DecimalReader(text, false));
}
