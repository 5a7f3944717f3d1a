// sprintf: printf-style formatting of the values after a template. Every
// conversion is rendered by the module's own number formatting, so every
// build writes the same bytes.
#include "common/numeric_text.h"
#include "common/stltool.h"
#include "tavo/commands.h"
#include "tavo/width_conversion.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace {

// Width and precision above this are taken as this, so that a template cannot
// demand an unbounded field.
constexpr int kFieldLimit = 4096;

enum class Adjustment { right, left, internal };

// The format state of one conversion; each starts from these defaults.
struct ConversionState {
    Adjustment adjustment = Adjustment::right;
    char fill = ' ';
    bool show_plus = false;
    bool alternate = false;
    int width = 0;
    int precision = 6;
};

// Applies one flag character; false when the character is not a flag. The
// last of "-", "0" and " " sets the adjustment; only "0" and " " set the fill.
bool apply_flag(char c, ConversionState& state) {
    switch (c) {
        case '-':
            state.adjustment = Adjustment::left;
            return true;
        case '+':
            state.show_plus = true;
            return true;
        case '0':
        case ' ':
            state.fill = c;
            state.adjustment = Adjustment::internal;
            return true;
        case '#':
            state.alternate = true;
            return true;
        default:
            return false;
    }
}

// A run of ASCII digits as a decimal number, clamped at kFieldLimit; 0 when
// there are none. `pos` moves past the run.
int read_field_number(std::string_view text, std::size_t& pos) {
    int number = 0;
    for (; pos < text.size() && is_ascii_digit(text[pos]); ++pos) {
        number = number * 10 + (text[pos] - '0');
        if (number > kFieldLimit) number = kFieldLimit;
    }
    return number;
}

// Pads prefix and body to the field width (in bytes). Under internal
// adjustment the fill goes between them; with an empty prefix that is the
// same as right adjustment.
std::string pad(const ConversionState& state, std::string_view prefix, std::string_view body) {
    std::string text;
    const std::size_t length = prefix.size() + body.size();
    const auto width = static_cast<std::size_t>(state.width);
    const std::size_t fill_length = width > length ? width - length : 0;
    text.reserve(length + fill_length);
    if (state.adjustment == Adjustment::right) text.append(fill_length, state.fill);
    text.append(prefix);
    if (state.adjustment == Adjustment::internal) text.append(fill_length, state.fill);
    text.append(body);
    if (state.adjustment == Adjustment::left) text.append(fill_length, state.fill);
    return text;
}

std::string render_signed(const ConversionState& state, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    const uint32_t magnitude = value < 0 ? 0u - bits : bits;
    const std::string_view sign = value < 0 ? "-" : state.show_plus ? "+" : "";
    return pad(state, sign, format_unsigned(magnitude, Radix::decimal, false));
}

// Unsigned values never get a plus sign. The octal "0" of the alternate form
// is part of the digits; "0x" and "0X" come before an internal fill.
std::string render_unsigned(const ConversionState& state, uint32_t value, Radix radix,
                            bool upper_case) {
    std::string digits = format_unsigned(value, radix, upper_case);
    std::string_view prefix;
    if (state.alternate && value != 0) {
        if (radix == Radix::octal) digits.insert(0, 1, '0');
        if (radix == Radix::hexadecimal) prefix = upper_case ? "0X" : "0x";
    }
    return pad(state, prefix, digits);
}

// Infinities and not-a-number values are padded with spaces and keep their
// sign next to the letters, as C does.
std::string render_float(const ConversionState& state, double value, Notation notation,
                         bool upper_case) {
    FloatFormat format;
    format.notation = notation;
    format.precision = state.precision;
    format.upper_case = upper_case;
    format.alternate = state.alternate;
    const std::string text = format_float(value, format);
    const bool negative = text.front() == '-';
    const std::string_view sign = negative ? "-" : state.show_plus ? "+" : "";
    const std::string_view body = std::string_view(text).substr(negative ? 1 : 0);
    if (std::isfinite(value)) return pad(state, sign, body);
    ConversionState spaced = state;
    spaced.fill = ' ';
    return pad(spaced, "", std::string(sign).append(body));
}

// Renders `value` under the conversion character `conversion` and appends it
// to the output; false when the character is not a conversion.
bool append_conversion(char conversion, const ConversionState& state, const std::string& value,
                       std::string& output) {
    switch (conversion) {
        case 'd':
        case 'i':
            output += render_signed(state, parse_int(value));
            return true;
        case 'c':
        case 'C':
            output += pad(state, "", std::string(1, static_cast<char>(parse_int(value) & 0xFF)));
            return true;
        case 'u':
            output += render_unsigned(state, parse_unsigned(value), Radix::decimal, false);
            return true;
        case 'o':
            output += render_unsigned(state, parse_unsigned(value), Radix::octal, false);
            return true;
        case 'x':
            output += render_unsigned(state, parse_unsigned(value), Radix::hexadecimal, false);
            return true;
        case 'X':
            output += render_unsigned(state, parse_unsigned(value), Radix::hexadecimal, true);
            return true;
        case 'f':
            output += render_float(state, parse_double(value), Notation::fixed, false);
            return true;
        case 'e':
            output += render_float(state, parse_double(value), Notation::scientific, false);
            return true;
        case 'E':
            output += render_float(state, parse_double(value), Notation::scientific, true);
            return true;
        case 'g':
            output += render_float(state, parse_double(value), Notation::general, false);
            return true;
        case 'G':
            output += render_float(state, parse_double(value), Notation::general, true);
            return true;
        case 's':
        case 'S':
            output += pad(state, "", value);
            return true;
        case 'n':
        case 'p':
            return true;
        default:
            return false;
    }
}

// Reads the conversion specification that starts after a "%" at `pos` and
// appends the rendering of `value`. A character that is not a conversion is
// copied as text instead. Gives the position after the conversion
// specification; a template that ends inside one ends there.
std::size_t append_specification(std::string_view format, std::size_t pos,
                                 const std::string& raw_value, std::string& output) {
    const std::string value = to_half_width(raw_value, kEveryWidthClass);

    ConversionState state;
    while (pos < format.size() && apply_flag(format[pos], state)) ++pos;
    if (pos < format.size() && format[pos] == '*') {
        ++pos;
    } else {
        state.width = read_field_number(format, pos);
    }
    if (pos < format.size() && format[pos] == '.') {
        ++pos;
        state.precision = read_field_number(format, pos);
    }
    if (pos == format.size()) return pos;
    if (append_conversion(format[pos], state, value, output)) return pos + 1;
    const std::size_t length = utf8_step(format, pos);
    output.append(format, pos, length);
    return pos + length;
}

// Runs the template (the first argument) over the values after it and
// appends the result to `output`. When `counting`, the output is dropped
// piece by piece and only its length is kept. Returns the result's length.
uint64_t format_template(const ArgumentList& arguments, std::string& output, bool counting) {
    const std::string& format = arguments[0];
    std::size_t next_value = 1;
    uint64_t counted = 0;
    std::size_t pos = 0;
    while (pos < format.size()) {
        if (format[pos] == '%' && next_value < arguments.size()) {
            pos = append_specification(format, pos + 1, arguments[next_value++], output);
        } else {
            const std::size_t length = utf8_step(format, pos);
            output.append(format, pos, length);
            pos += length;
        }
        if (counting) {
            counted += output.size();
            output.clear();
        }
    }
    return counting ? counted : output.size();
}

// More than the result can be long: every value is used by at most one
// conversion, which is at most the field limit wide, or as long as the
// value's text (which the width conversion at most doubles) or a number
// written with the largest precision.
uint64_t result_bound(const ArgumentList& arguments) {
    uint64_t bound = arguments[0].size();
    for (std::size_t value = 1; value < arguments.size(); ++value) {
        bound += 2 * uint64_t{arguments[value].size()} + 2 * kFieldLimit;
    }
    return bound;
}

}  // namespace

CommandResult command_sprintf(ArgumentList& arguments, ValueList&) {
    if (arguments.empty()) return bad_request(kTooFewArguments);
    // Results past the limit are refused before they are built; only when
    // the bound says they might be is the template run once to count.
    if (result_bound(arguments) > kMaxResultBytes) {
        std::string piece;
        if (format_template(arguments, piece, true) > kMaxResultBytes) return result_too_large();
    }
    std::string output;
    output.reserve(arguments[0].size());
    format_template(arguments, output, false);
    return ok(std::move(output));
}
