// Number <-> text conversions that give the same bytes on every build,
// whatever the platform's C library would print or accept.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The C conversion "%.<precision>f". Infinities and not-a-number values are
// spelled "inf", "-inf" and "nan" (the sign of a not-a-number is dropped).
// The precision is not negative.
std::string format_fixed(double value, int precision);

// "%f" (six decimals) with trailing zeros and then a final "." removed.
std::string format_fixed_trimmed(double value);

enum class Notation { fixed, scientific, general };

// One floating-point conversion: "%f", "%e" or "%g" with a precision, in
// upper case for "%E" and "%G", with "#" as the alternate form.
struct FloatFormat {
    Notation notation = Notation::fixed;
    int precision = 6;        // not negative
    bool upper_case = false;  // "E" for the exponent, "INF" and "NAN"
    bool alternate = false;   // always a point; general keeps trailing zeros
};

// The C conversion described by `format`. The exponent has at least two
// digits ("1.5e+00"). Infinities and not-a-number values are spelled "inf",
// "-inf" and "nan", or "INF", "-INF" and "NAN" in upper case. The text is
// about `precision` bytes long, so the caller bounds the precision.
std::string format_float(double value, const FloatFormat& format);

enum class Radix { octal = 8, decimal = 10, hexadecimal = 16 };

// Digits of `value` in the radix, without prefix; hexadecimal digits in
// upper case when asked.
std::string format_unsigned(uint32_t value, Radix radix, bool upper_case);

// The C library's strtoul in base 10 with a 32-bit unsigned long: leading
// white space, one optional sign, decimal digits up to the first other byte.
// No digits gives 0; a magnitude above 4294967295 gives 4294967295; a "-"
// negates modulo 2^32.
uint32_t parse_unsigned(std::string_view text);

// The C library's strtod: leading white space, one optional sign, then
// "inf"/"infinity"/"nan"/"nan(...)" in any case, a hexadecimal number
// "0x<digits>[.<digits>][p<exponent>]", or a decimal number with an optional
// point and exponent. Too large gives an infinity, too small zero; no digits
// gives 0. The digits are converted with std::from_chars, so every build
// reads the same value.
double parse_double(std::string_view text);
