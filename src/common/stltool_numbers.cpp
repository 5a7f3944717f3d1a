// Reading texts as numbers and letters: the full-width digits, letters and
// signs, the atoi-like integer parse and the integer and letter tests.
#include <cstdint>
#include <string_view>

#include "common/stltool.h"

namespace {

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
