// Finding the occurrences of a search text, for the counting, replacing and
// erasing helpers of the stltool unit: a memchr scan anchored on a rare byte
// of the search text, with a Knuth-Morris-Pratt fallback. Only the unit's
// implementation files include it; callers include stltool.h.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>
#include <vector>

#include "common/stltool_steps.h"

namespace stltool_internal {

constexpr std::size_t kNotFound = std::string_view::npos;

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

inline constexpr CommonnessTable kCommonness = make_commonness_table();

// The anchor is one of the first bytes of the search text.
constexpr std::size_t kAnchorWindow = 16;

// The least common of the first bytes of the search text.
inline std::size_t pick_anchor(std::string_view search) {
    std::size_t anchor = 0;
    for (std::size_t i = 1; i < search.size() && i < kAnchorWindow; ++i) {
        if (kCommonness.commonness[static_cast<unsigned char>(search[i])] <
            kCommonness.commonness[static_cast<unsigned char>(search[anchor])]) {
            anchor = i;
        }
    }
    return anchor;
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

}  // namespace stltool_internal
