#include "common/charset.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "common/charset_tables.h"

namespace {

using charset_tables::DecodeTable;
using charset_tables::EncodeTable;

// The first of the lone surrogates that stand for kept bytes: U+DC00 + byte.
constexpr uint32_t kKeptByteBase = 0xDC00;

// The label with its letters in lower case and without "-" and "_".
std::string folded_label(std::string_view label) {
    std::string folded;
    for (const char c : label) {
        if (c == '-' || c == '_') continue;
        folded += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return folded;
}

// Writes the UTF-8 form of a code point below U+10000 at `out`; returns the
// position after it.
inline char* put_code_point(uint32_t code_point, char* out) {
    if (code_point < 0x80) {
        *out++ = static_cast<char>(code_point);
    } else if (code_point < 0x800) {
        *out++ = static_cast<char>(0xC0 | (code_point >> 6));
        *out++ = static_cast<char>(0x80 | (code_point & 0x3F));
    } else {
        *out++ = static_cast<char>(0xE0 | (code_point >> 12));
        *out++ = static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (code_point & 0x3F));
    }
    return out;
}

inline char* put_kept_byte(unsigned char byte, char* out) {
    return put_code_point(kKeptByteBase + byte, out);
}

const DecodeTable& decode_table(Charset charset) {
    return charset == Charset::shift_jis ? charset_tables::kShiftJisDecode
                                         : charset_tables::kEucJpDecode;
}

const EncodeTable& encode_table(Charset charset) {
    return charset == Charset::shift_jis ? charset_tables::kShiftJisEncode
                                         : charset_tables::kEucJpEncode;
}

// Decodes one character or kept byte at `in` (before `end`, not ASCII) and
// writes its UTF-8 form at `out`; `in` and `out` move past what was read and
// written.
void decode_one(const DecodeTable& table, const unsigned char*& in, const unsigned char* end,
                char*& out) {
    const unsigned char lead = *in;
    const uint16_t single = table.single[lead];
    if (single != charset_tables::kNoCodePoint) {
        out = put_code_point(single, out);
        ++in;
        return;
    }
    const auto in_trail_range = [&](unsigned char byte) {
        return static_cast<unsigned>(byte - table.first_trail) < table.trail_count;
    };
    const std::size_t left = static_cast<std::size_t>(end - in);
    const uint8_t row = table.row_of_lead[lead];
    if (row != charset_tables::kNoRow && left >= 2 && in_trail_range(in[1])) {
        const uint16_t code_point = table.double_codes[row * table.trail_count + (in[1] - table.first_trail)];
        if (code_point != 0) {
            out = put_code_point(code_point, out);
            in += 2;
            return;
        }
        // A code the charset leaves empty: both bytes are kept, unless the
        // second is ASCII, which is read again as a character of its own.
        if (in[1] >= 0x80) {
            out = put_kept_byte(in[1], put_kept_byte(lead, out));
            in += 2;
            return;
        }
    } else if (lead == table.triple_lead && left >= 3 && in_trail_range(in[1]) &&
               in_trail_range(in[2])) {
        const uint16_t code_point =
            table.triple_codes[(in[1] - table.first_trail) * table.trail_count + (in[2] - table.first_trail)];
        if (code_point != 0) {
            out = put_code_point(code_point, out);
        } else {
            out = put_kept_byte(in[2], put_kept_byte(in[1], put_kept_byte(lead, out)));
        }
        in += 3;
        return;
    }
    out = put_kept_byte(lead, out);
    ++in;
}

// The code of a code point (see EncodeTable); 0 when there is none.
inline uint16_t code_of(const EncodeTable& table, uint32_t code_point) {
    if (code_point > 0xFFFF) return 0;
    return table.pages[table.page_of_high[code_point >> 8]][code_point & 0xFF];
}

// Writes the bytes of a code (see EncodeTable) at `out`; returns the position after them.
inline char* put_code(uint16_t code, char* out) {
    if (code < 0x100) {
        *out++ = static_cast<char>(code);
    } else if (code < 0x8000) {  // JIS X 0212 in EUC-JP
        *out++ = static_cast<char>(0x8F);
        *out++ = static_cast<char>((code >> 8) | 0x80);
        *out++ = static_cast<char>((code & 0xFF) | 0x80);
    } else {
        *out++ = static_cast<char>(code >> 8);
        *out++ = static_cast<char>(code & 0xFF);
    }
    return out;
}

// Reads the UTF-8 character at `in` (before `end`, not ASCII): its code point
// and length, or a length of 0 when the bytes there are not a character.
// Lone surrogates are read like any other code point.
inline uint32_t read_code_point(const unsigned char* in, const unsigned char* end, std::size_t& length) {
    static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const unsigned char lead = *in;
    length = lead >= 0xF0 ? (lead <= 0xF4 ? 4 : 0) : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || static_cast<std::size_t>(end - in) < length) {
        length = 0;
        return 0;
    }
    uint32_t code_point = lead & (0x7Fu >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((in[k] & 0xC0) != 0x80) {
            length = 0;
            return 0;
        }
        code_point = (code_point << 6) | (in[k] & 0x3Fu);
    }
    if (code_point < kSmallest[length] || code_point > 0x10FFFF) length = 0;
    return code_point;
}

// The length of the run of ASCII bytes at `in`, eight at a time where it can.
inline std::size_t ascii_run(const unsigned char* in, const unsigned char* end) {
    const unsigned char* at = in;
    while (end - at >= 8) {
        uint64_t word;
        std::memcpy(&word, at, sizeof word);
        if ((word & 0x8080808080808080u) != 0) break;
        at += 8;
    }
    while (at < end && *at < 0x80) ++at;
    return static_cast<std::size_t>(at - in);
}

}  // namespace

std::optional<Charset> charset_named(std::string_view label) {
    const std::string folded = folded_label(label);
    for (const char* name : {"shiftjis", "sjis", "cp932", "ms932", "windows31j", "xsjis"}) {
        if (folded == name) return Charset::shift_jis;
    }
    if (folded == "eucjp") return Charset::euc_jp;
    if (folded == "utf8") return Charset::utf8;
    return std::nullopt;
}

std::string to_utf8(std::string_view bytes, Charset charset) {
    if (charset == Charset::utf8) return std::string(bytes);
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = in + bytes.size();
    // A byte becomes at most three: the text is written into room for that
    // and cut to what was written.
    std::size_t high_bytes = 0;
    for (const auto* at = in; at < end; ++at) high_bytes += *at >> 7;
    std::string text(bytes.size() + 2 * high_bytes, '\0');
    char* out = &text[0];
    const DecodeTable& table = decode_table(charset);
    while (in < end) {
        const std::size_t run = ascii_run(in, end);
        if (run > 0) {
            out = std::copy(in, in + run, out);
            in += run;
            continue;
        }
        decode_one(table, in, end, out);
    }
    text.resize(static_cast<std::size_t>(out - text.data()));
    return text;
}

std::string from_utf8(std::string_view text, Charset charset) {
    if (charset == Charset::utf8) return std::string(text);
    const auto* in = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = in + text.size();
    // A character takes at most as many bytes as in UTF-8, but for the
    // letters of JIS X 0212 in EUC-JP: two bytes in UTF-8, three there.
    std::string bytes(charset == Charset::euc_jp ? text.size() + text.size() / 2 : text.size(), '\0');
    char* out = &bytes[0];
    const EncodeTable& table = encode_table(charset);
    while (in < end) {
        const std::size_t run = ascii_run(in, end);
        if (run > 0) {
            out = std::copy(in, in + run, out);
            in += run;
            continue;
        }
        std::size_t length = 0;
        const uint32_t code_point = read_code_point(in, end, length);
        if (length == 0) {
            *out++ = '?';
            ++in;
            continue;
        }
        in += length;
        if (code_point >= kKeptByteBase + 0x80 && code_point <= kKeptByteBase + 0xFF) {
            *out++ = static_cast<char>(code_point - kKeptByteBase);
            continue;
        }
        const uint16_t code = code_of(table, code_point);
        out = code == 0 ? (*out = '?', out + 1) : put_code(code, out);
    }
    bytes.resize(static_cast<std::size_t>(out - bytes.data()));
    return bytes;
}
