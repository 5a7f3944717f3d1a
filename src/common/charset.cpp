#include "common/charset.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "common/charset_tables.h"
#include "common/stltool.h"

namespace {

using charset_tables::DecodeTable;

// The first of the lone surrogates that stand for kept bytes: U+DC00 + byte.
constexpr uint32_t kKeptByteBase = 0xDC00;

// The UTF-8 form of a code point below U+10000, written as four bytes at
// once: the form, padded, and its length in the last byte.
struct Utf8Form {
    unsigned char bytes[3];
    unsigned char length;
};
static_assert(sizeof(Utf8Form) == 4, "a form is written as four bytes");

Utf8Form utf8_form(uint32_t code_point) {
    if (code_point < 0x80) return {{static_cast<unsigned char>(code_point), 0, 0}, 1};
    if (code_point < 0x800) {
        return {{static_cast<unsigned char>(0xC0 | (code_point >> 6)),
                 static_cast<unsigned char>(0x80 | (code_point & 0x3F)), 0},
                2};
    }
    return {{static_cast<unsigned char>(0xE0 | (code_point >> 12)),
             static_cast<unsigned char>(0x80 | ((code_point >> 6) & 0x3F)),
             static_cast<unsigned char>(0x80 | (code_point & 0x3F))},
            3};
}

// Writes a form at `out`, which has room for four bytes; returns the
// position after the form.
inline char* put_form(const Utf8Form& form, char* out) {
    std::memcpy(out, &form, sizeof form);
    return out + form.length;
}

inline char* put_code_point(uint32_t code_point, char* out) { return put_form(utf8_form(code_point), out); }

inline char* put_kept_byte(unsigned char byte, char* out) {
    return put_code_point(kKeptByteBase + byte, out);
}

// The generated tables spread out so that each two-byte code is one load
// away, and the encoding made from them: built for a charset when it is
// first used.
struct FlatTables {
    // The UTF-8 form of each lead and second byte; length 0 where they are
    // not a two-byte character.
    Utf8Form pair_forms[0x10000];
    // The code each code point below U+10000 is written with; 0 where there
    // is none. A code below 0x100 is one byte, any other two bytes, high byte
    // first; in EUC-JP a code below 0x8000 stands for the three bytes 8F and
    // its two bytes with their high bits set (JIS X 0212).
    uint16_t codes[0x10000];

    explicit FlatTables(const DecodeTable& table) : pair_forms(), codes() {
        for (unsigned byte = 0x80; byte < 0x100; ++byte) {
            const uint16_t code_point = table.single[byte];
            if (code_point != charset_tables::kNoCodePoint) codes[code_point] = static_cast<uint16_t>(byte);
        }
        const uint16_t* const seconds_end = table.second_codes + table.second_code_count;
        for (unsigned lead = 0; lead < 0x100; ++lead) {
            const uint8_t row = table.row_of_lead[lead];
            if (row == charset_tables::kNoRow) continue;
            for (unsigned column = 0; column < table.trail_count; ++column) {
                const uint16_t code_point = table.double_codes[row * table.trail_count + column];
                if (code_point == 0) continue;
                const auto code = static_cast<uint16_t>(lead << 8 | (table.first_trail + column));
                pair_forms[code] = utf8_form(code_point);
                if (!std::binary_search(table.second_codes, seconds_end, code)) codes[code_point] = code;
            }
        }
        if (table.triple_codes == nullptr) return;
        for (unsigned second = 0; second < table.trail_count; ++second) {
            for (unsigned third = 0; third < table.trail_count; ++third) {
                const uint16_t code_point = table.triple_codes[second * table.trail_count + third];
                if (code_point == 0) continue;
                const unsigned code = (table.first_trail + second) << 8 | (table.first_trail + third);
                codes[code_point] = static_cast<uint16_t>(code & 0x7F7F);
            }
        }
    }
};

struct CharsetTables {
    const DecodeTable& decode;
    const FlatTables& flat;
};

CharsetTables tables_of(Charset charset) {
    if (charset == Charset::shift_jis) {
        static const FlatTables flat(charset_tables::kShiftJisDecode);
        return {charset_tables::kShiftJisDecode, flat};
    }
    static const FlatTables flat(charset_tables::kEucJpDecode);
    return {charset_tables::kEucJpDecode, flat};
}

// Reads what is not ASCII and not a two-byte character at `in` (before
// `end`): a character of one or three bytes, or bytes that are kept. `in` and
// `out` move past what was read and written.
void decode_other(const DecodeTable& table, const unsigned char*& in, const unsigned char* end, char*& out) {
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
    if (table.row_of_lead[lead] != charset_tables::kNoRow) {
        // A code the charset leaves empty: both bytes are kept, unless the
        // second is ASCII (or cannot follow a lead), which is read again.
        if (left >= 2 && in_trail_range(in[1]) && in[1] >= 0x80) {
            out = put_kept_byte(in[1], put_kept_byte(lead, out));
            in += 2;
            return;
        }
    } else if (lead == table.triple_lead && left >= 3 && in_trail_range(in[1]) && in_trail_range(in[2])) {
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

// Writes the bytes of a code (see FlatTables::codes) at `out`; returns the
// position after them.
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

// Writes what is not ASCII and not a two-byte code of a three-byte character
// at `in` (before `end`): a kept byte, a code of another length, or "?". `in`
// and `out` move past what was read and written.
void encode_other(const uint16_t* codes, const unsigned char*& in, const unsigned char* end, char*& out) {
    std::size_t length = 0;
    const char32_t code_point = read_code_point(
        std::string_view(reinterpret_cast<const char*>(in), static_cast<std::size_t>(end - in)), 0, length);
    if (length == 0) {
        *out++ = '?';
        ++in;
        return;
    }
    in += length;
    if (code_point >= kKeptByteBase + 0x80 && code_point <= kKeptByteBase + 0xFF) {
        *out++ = static_cast<char>(code_point - kKeptByteBase);
        return;
    }
    const uint16_t code = code_point < 0x10000 ? codes[code_point] : 0;
    if (code == 0) {
        *out++ = '?';
    } else {
        out = put_code(code, out);
    }
}

// Copies the run of ASCII bytes at `in` to `out`, eight at a time where it
// can; both move past it.
inline void copy_ascii_run(const unsigned char*& in, const unsigned char* end, char*& out) {
    while (end - in >= 8) {
        uint64_t word;
        std::memcpy(&word, in, sizeof word);
        if ((word & 0x8080808080808080u) != 0) break;
        std::memcpy(out, &word, sizeof word);
        in += 8;
        out += 8;
    }
    while (in < end && *in < 0x80) *out++ = static_cast<char>(*in++);
}

}  // namespace

std::optional<Charset> charset_named(std::string_view label) {
    if (label == "UTF-8") return Charset::utf8;  // the usual label, known at once
    // The label with its letters in lower case and without "-" and "_"; the
    // names are short, and a longer label names none of them.
    char folded[16];
    std::size_t length = 0;
    for (const char c : label) {
        if (c == '-' || c == '_') continue;
        if (length == sizeof folded) return std::nullopt;
        folded[length++] = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    const std::string_view name(folded, length);
    if (name == "utf8") return Charset::utf8;
    for (const std::string_view shift_jis : {"shiftjis", "sjis", "cp932", "ms932", "windows31j", "xsjis"}) {
        if (name == shift_jis) return Charset::shift_jis;
    }
    if (name == "eucjp") return Charset::euc_jp;
    return std::nullopt;
}

std::string to_utf8(std::string_view bytes, Charset charset) {
    if (charset == Charset::utf8) return std::string(bytes);
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = in + bytes.size();
    // A byte becomes at most three: the text is written into room for that
    // (and for the padding of the last form) and cut to what was written. A
    // text of ASCII alone stays as it is.
    std::size_t high_bytes = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) high_bytes += in[i] >> 7;
    if (high_bytes == 0) return std::string(bytes);
    std::string text(bytes.size() + 2 * high_bytes + 1, '\0');
    char* out = &text[0];
    const CharsetTables tables = tables_of(charset);
    const Utf8Form* const pair_forms = tables.flat.pair_forms;
    while (in < end) {
        if (*in < 0x80) {
            copy_ascii_run(in, end, out);
            continue;
        }
        // Two-byte characters, most of a Japanese text, in a loop of their own.
        while (end - in >= 2) {
            const Utf8Form& form = pair_forms[in[0] << 8 | in[1]];
            if (form.length == 0) break;
            out = put_form(form, out);
            in += 2;
        }
        if (in < end && *in >= 0x80) decode_other(tables.decode, in, end, out);
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
    const uint16_t* const codes = tables_of(charset).flat.codes;
    while (in < end) {
        if (*in < 0x80) {
            copy_ascii_run(in, end, out);
            continue;
        }
        // Three-byte characters with a two-byte code, most of a Japanese
        // text, in a loop of their own.
        while (end - in >= 3 && (in[0] & 0xF0) == 0xE0 && (in[1] & 0xC0) == 0x80 && (in[2] & 0xC0) == 0x80) {
            const uint32_t code_point = (in[0] & 0x0Fu) << 12 | (in[1] & 0x3Fu) << 6 | (in[2] & 0x3Fu);
            const uint16_t code = codes[code_point];
            // Overlong forms, one-byte codes and JIS X 0212 go the long way.
            if (code < 0x8000 || code_point < 0x800) break;
            out[0] = static_cast<char>(code >> 8);
            out[1] = static_cast<char>(code & 0xFF);
            out += 2;
            in += 3;
        }
        if (in < end && *in >= 0x80) encode_other(codes, in, end, out);
    }
    bytes.resize(static_cast<std::size_t>(out - bytes.data()));
    return bytes;
}
