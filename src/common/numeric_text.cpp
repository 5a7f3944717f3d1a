#include "common/numeric_text.h"

#include "common/stltool.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace {

// Spelling of the values that have no digits.
std::string non_finite_text(double value, bool upper_case) {
    if (std::isnan(value)) return upper_case ? "NAN" : "nan";
    if (value < 0) return upper_case ? "-INF" : "-inf";
    return upper_case ? "INF" : "inf";
}

// std::to_chars of a finite value into a text of exactly the written length.
std::string chars_text(double value, std::chars_format format, int precision) {
    // At most 309 integer digits, a sign, a point, an exponent and the fraction.
    const std::size_t room = 330 + static_cast<std::size_t>(precision);
    // The usual precisions are written on the stack first, so that a short
    // text is never allocated at full room.
    char small[400];
    if (room <= sizeof small) {
        const auto result = std::to_chars(small, small + room, value, format, precision);
        return std::string(small, result.ptr);
    }
    std::string text(room, '\0');
    auto result = std::to_chars(text.data(), text.data() + text.size(), value, format, precision);
    text.resize(static_cast<std::size_t>(result.ptr - text.data()));
    return text;
}

// End of the digits before the exponent: the position of "e", or the end.
std::size_t mantissa_end(const std::string& text) {
    std::size_t end = text.find('e');
    return end == std::string::npos ? text.size() : end;
}

// The decimal exponent that std::to_chars writes as "e", a sign and digits.
int written_exponent(const std::string& text) {
    const std::size_t sign = mantissa_end(text) + 1;
    int exponent = 0;
    for (std::size_t pos = sign + 1; pos < text.size(); ++pos)
        exponent = exponent * 10 + (text[pos] - '0');
    return text[sign] == '-' ? -exponent : exponent;
}

// The "#" form: a point even when no digit follows it.
void ensure_point(std::string& text) {
    const std::size_t end = mantissa_end(text);
    if (text.find('.') >= end) text.insert(end, 1, '.');
}

// "%g" without "#": trailing zeros of the fraction go, and so does a bare point.
void drop_trailing_zeros(std::string& text) {
    const std::size_t end = mantissa_end(text);
    if (text.find('.') >= end) return;
    std::size_t kept = end;
    while (text[kept - 1] == '0') --kept;
    if (text[kept - 1] == '.') --kept;
    text.erase(kept, end - kept);
}

// C's "%g": scientific when the exponent is below -4 or not below the number
// of significant digits, fixed otherwise.
std::string general_text(double value, int precision, bool alternate) {
    const int significant = precision == 0 ? 1 : precision;
    std::string text = chars_text(value, std::chars_format::scientific, significant - 1);
    const int exponent = written_exponent(text);
    if (exponent >= -4 && exponent < significant)
        text = chars_text(value, std::chars_format::fixed, significant - 1 - exponent);
    if (alternate) {
        ensure_point(text);
    } else {
        drop_trailing_zeros(text);
    }
    return text;
}

bool is_hex_digit(char c) {
    return is_ascii_digit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Whether `text` starts with the lower-case `word` in any case.
bool starts_with_word(std::string_view text, std::string_view word) {
    if (text.size() < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (ascii_lower(text[i]) != word[i]) return false;
    }
    return true;
}

// White space and one optional sign at the start of a number; gives the
// position after them.
std::size_t skip_space_and_sign(std::string_view text, bool& negative) {
    std::size_t pos = 0;
    while (pos < text.size() && is_c_space(text[pos])) ++pos;
    negative = pos < text.size() && text[pos] == '-';
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) ++pos;
    return pos;
}

// A floating-point number without sign or radix prefix, as found at the start
// of a text: "<digits>[.<digits>][<marker>[sign]<decimal digits>]".
struct ScannedNumber {
    std::size_t length;  // bytes that belong to the number
    int64_t order;       // rough power of two or ten of its leading digit
};

// The exponent is read with saturation; no value needs more than this.
constexpr int64_t kExponentLimit = 1000000000;

// Scans decimal digits (hexadecimal ones with `hexadecimal`) and the
// exponent introduced by "e" (by "p"). No digits before the exponent: nothing.
std::optional<ScannedNumber> scan_number(std::string_view text, bool hexadecimal) {
    auto is_mantissa_digit = [hexadecimal](char c) {
        return hexadecimal ? is_hex_digit(c) : is_ascii_digit(c);
    };
    std::size_t pos = 0;
    int64_t digit_count = 0;
    int64_t integer_digits = 0;
    std::optional<int64_t> first_significant;
    bool after_point = false;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '.' && !after_point) {
            after_point = true;
            continue;
        }
        if (!is_mantissa_digit(c)) break;
        if (c != '0' && !first_significant) first_significant = digit_count;
        ++digit_count;
        if (!after_point) ++integer_digits;
    }
    if (digit_count == 0) return std::nullopt;

    int64_t exponent = 0;
    const char marker = hexadecimal ? 'p' : 'e';
    if (pos < text.size() && ascii_lower(text[pos]) == marker) {
        std::size_t exponent_pos = pos + 1;
        const bool negative =
            exponent_pos < text.size() && text[exponent_pos] == '-';
        if (exponent_pos < text.size() && (text[exponent_pos] == '-' || text[exponent_pos] == '+'))
            ++exponent_pos;
        if (exponent_pos < text.size() && is_ascii_digit(text[exponent_pos])) {
            for (; exponent_pos < text.size() && is_ascii_digit(text[exponent_pos]);
                 ++exponent_pos) {
                if (exponent < kExponentLimit) exponent = exponent * 10 + (text[exponent_pos] - '0');
            }
            if (negative) exponent = -exponent;
            pos = exponent_pos;
        }
    }
    const int64_t digit_order = integer_digits - 1 - first_significant.value_or(0);
    return ScannedNumber{pos, digit_order * (hexadecimal ? 4 : 1) + exponent};
}

// The value of a scanned number. std::from_chars leaves the value alone when
// it is out of range; then the order tells an overflow from an underflow.
double convert_scanned(std::string_view text, const ScannedNumber& number,
                       std::chars_format format) {
    double value = 0.0;
    auto result = std::from_chars(text.data(), text.data() + number.length, value, format);
    if (result.ec == std::errc::result_out_of_range)
        return number.order > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return value;
}

// The unsigned part of a strtod number; nullopt when it has no digits.
std::optional<double> parse_magnitude(std::string_view text) {
    if (starts_with_word(text, "inf")) return std::numeric_limits<double>::infinity();
    if (starts_with_word(text, "nan")) return std::numeric_limits<double>::quiet_NaN();
    if (starts_with_word(text, "0x")) {
        std::string_view digits = text.substr(2);
        if (auto number = scan_number(digits, true))
            return convert_scanned(digits, *number, std::chars_format::hex);
    }
    if (auto number = scan_number(text, false))
        return convert_scanned(text, *number, std::chars_format::general);
    return std::nullopt;
}

}  // namespace

std::string format_fixed(double value, int precision) {
    FloatFormat format;
    format.precision = precision;
    return format_float(value, format);
}

std::string format_fixed_trimmed(double value) {
    // "%f" rounds the exact value to the nearest whole number N of
    // millionths. Below 2^32 the product with 10^6 stays below 2^52, where
    // every N + 1/2 is a double; rounding to a double keeps order, so the
    // exact product lies strictly within 1/2 of N exactly when the rounded
    // one does. The text is then written from N's digits; a product whose
    // double is a tie, and larger values, take the defined pass.
    constexpr double kMillion = 1e6;
    constexpr double kExactBelow = 4294967296.0;  // 2^32
    if (std::fabs(value) < kExactBelow) {
        const double scaled = value * kMillion;
        const double nearest = std::nearbyint(scaled);
        if (std::fabs(scaled - nearest) < 0.5) {
            const auto millionths = static_cast<uint64_t>(std::fabs(nearest));
            std::string text = std::signbit(value) ? "-" : "";
            text += std::to_string(millionths / 1000000);
            uint64_t fraction = millionths % 1000000;
            if (fraction != 0) {
                char digits[] = ".000000";
                for (std::size_t at = 6; at > 0; --at, fraction /= 10) {
                    digits[at] = static_cast<char>('0' + fraction % 10);
                }
                std::size_t end = 7;
                while (digits[end - 1] == '0') --end;
                text.append(digits, end);
            }
            return text;
        }
    }
    std::string text = format_fixed(value, 6);
    while (!text.empty() && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text;
}

std::string format_float(double value, const FloatFormat& format) {
    if (!std::isfinite(value)) return non_finite_text(value, format.upper_case);
    std::string text;
    switch (format.notation) {
        case Notation::fixed:
            text = chars_text(value, std::chars_format::fixed, format.precision);
            if (format.alternate) ensure_point(text);
            break;
        case Notation::scientific:
            text = chars_text(value, std::chars_format::scientific, format.precision);
            if (format.alternate) ensure_point(text);
            break;
        case Notation::general:
            text = general_text(value, format.precision, format.alternate);
            break;
    }
    if (format.upper_case) {
        const std::size_t exponent_mark = text.find('e');
        if (exponent_mark != std::string::npos) text[exponent_mark] = 'E';
    }
    return text;
}

std::string format_unsigned(uint32_t value, Radix radix, bool upper_case) {
    char digits[32];
    auto result = std::to_chars(digits, digits + sizeof digits, value, static_cast<int>(radix));
    std::string text(digits, result.ptr);
    if (upper_case) {
        for (char& c : text) {
            if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

uint32_t parse_unsigned(std::string_view text) {
    bool negative = false;
    std::size_t pos = skip_space_and_sign(text, negative);
    constexpr uint64_t kMaximum = std::numeric_limits<uint32_t>::max();
    uint64_t magnitude = 0;
    for (; pos < text.size() && is_ascii_digit(text[pos]); ++pos) {
        magnitude = magnitude * 10 + static_cast<uint64_t>(text[pos] - '0');
        if (magnitude > kMaximum) return static_cast<uint32_t>(kMaximum);
    }
    const auto value = static_cast<uint32_t>(magnitude);
    return negative ? 0u - value : value;
}

double parse_double(std::string_view text) {
    bool negative = false;
    const std::size_t pos = skip_space_and_sign(text, negative);
    // A rest of up to 15 decimal digits and nothing else is an integer that
    // a double holds exactly: the value from_chars would give.
    constexpr std::size_t kExactDigits = 15;
    const std::string_view rest = text.substr(pos);
    if (!rest.empty() && rest.size() <= kExactDigits &&
        std::all_of(rest.begin(), rest.end(), is_ascii_digit)) {
        int64_t magnitude = 0;
        for (const char digit : rest) magnitude = magnitude * 10 + (digit - '0');
        const auto value = static_cast<double>(magnitude);
        return negative ? -value : value;
    }
    const std::optional<double> magnitude = parse_magnitude(text.substr(pos));
    if (!magnitude) return 0.0;
    return negative ? -*magnitude : *magnitude;
}
