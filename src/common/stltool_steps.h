// Stepping over UTF-8 characters for the string helpers' inner loops: the
// character length by table, and the walk to the next boundary. Shared by the
// implementation files of the stltool unit only; callers include stltool.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

#include "common/stltool.h"

namespace stltool_internal {

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

inline constexpr LengthTable kLengths = make_length_table();

inline std::size_t char_length_at(const char* data, std::size_t pos) {
    return kLengths.length[static_cast<unsigned char>(data[pos])];
}

// The first character boundary at or after `target`, stepping from the
// boundary `boundary`.
inline std::size_t step_until(const char* data, std::size_t boundary, std::size_t target) {
    while (boundary < target) boundary += char_length_at(data, boundary);
    return boundary;
}

// A count as the helpers return it: saturated at the largest int32_t.
inline int32_t clamp_count(std::size_t count) {
    constexpr auto kMax = static_cast<std::size_t>(std::numeric_limits<int32_t>::max());
    return static_cast<int32_t>(count < kMax ? count : kMax);
}

}  // namespace stltool_internal
