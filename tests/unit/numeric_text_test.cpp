#include "common/numeric_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct FloatCase {
    double value;
    Notation notation;
    int precision;
    bool upper_case;
    bool alternate;
    const char* expected;
};

constexpr Notation F = Notation::fixed;
constexpr Notation E = Notation::scientific;
constexpr Notation G = Notation::general;

const FloatCase kFloatCases[] = {
    {3.14159, F, 2, false, false, "3.14"},
    {2.5, F, 0, false, false, "2"},
    {3.0, F, 0, false, true, "3."},
    {-0.0, F, 1, false, false, "-0.0"},
    {1e20, F, 0, false, false, "100000000000000000000"},
    {0.1, F, 20, false, false, "0.10000000000000000555"},
    {1.5, E, 2, false, false, "1.50e+00"},
    {12345.678, E, 3, false, false, "1.235e+04"},
    {9.9999e9, E, 2, false, false, "1.00e+10"},
    {1e-300, E, 1, false, false, "1.0e-300"},
    {1e100, E, 6, false, false, "1.000000e+100"},
    {0.0, E, 0, false, false, "0e+00"},
    {0.0, E, 0, false, true, "0.e+00"},
    {-1.5, E, 1, true, false, "-1.5E+00"},
    {0.0001, G, 6, false, false, "0.0001"},
    {0.00001, G, 6, false, false, "1e-05"},
    {123456.0, G, 6, false, false, "123456"},
    {1234567.0, G, 6, false, false, "1.23457e+06"},
    {1e6, G, 6, true, false, "1E+06"},
    {123.456, G, 4, false, false, "123.5"},
    {0.000123456, G, 3, false, false, "0.000123"},
    {9.9999, G, 2, false, false, "10"},
    {1.5, G, 0, false, false, "2"},
    {0.0, G, 6, false, false, "0"},
    {-0.0, G, 6, false, false, "-0"},
    {0.0, G, 6, false, true, "0.00000"},
    {1.5, G, 6, false, true, "1.50000"},
    {3.0, G, 1, false, true, "3."},
    {1e10, G, 1, false, true, "1.e+10"},
    {kInfinity, F, 6, false, false, "inf"},
    {-kInfinity, E, 6, false, false, "-inf"},
    {-kInfinity, E, 6, true, false, "-INF"},
    {kInfinity, G, 6, true, true, "INF"},
    {kNaN, G, 6, true, false, "NAN"},
    {-kNaN, F, 6, false, false, "nan"},
};

TEST(NumericTextTest, FormatsFloatsAsC) {
    for (const FloatCase& c : kFloatCases) {
        FloatFormat format;
        format.notation = c.notation;
        format.precision = c.precision;
        format.upper_case = c.upper_case;
        format.alternate = c.alternate;
        EXPECT_EQ(format_float(c.value, format), c.expected)
            << c.value << " notation " << static_cast<int>(c.notation) << " precision "
            << c.precision;
    }
}

TEST(NumericTextTest, FormatFixedMatchesFixedNotation) {
    EXPECT_EQ(format_fixed(2.0 / 3.0, 6), "0.666667");
    EXPECT_EQ(format_fixed(-kInfinity, 6), "-inf");
    EXPECT_EQ(format_fixed(1e308, 4096).size(), 309u + 1u + 4096u);
}

TEST(NumericTextTest, FormatsUnsignedInEveryRadix) {
    EXPECT_EQ(format_unsigned(0, Radix::octal, false), "0");
    EXPECT_EQ(format_unsigned(8, Radix::octal, false), "10");
    EXPECT_EQ(format_unsigned(255, Radix::hexadecimal, false), "ff");
    EXPECT_EQ(format_unsigned(255, Radix::hexadecimal, true), "FF");
    EXPECT_EQ(format_unsigned(4294967295u, Radix::decimal, false), "4294967295");
    EXPECT_EQ(format_unsigned(4294967295u, Radix::octal, false), "37777777777");
}

struct UnsignedCase {
    const char* text;
    uint32_t expected;
};

const UnsignedCase kUnsignedCases[] = {
    {"", 0},
    {"42", 42},
    {" \t\n\v\f\r42", 42},
    {"+7", 7},
    {"-1", 4294967295u},
    {"-4294967295", 1},
    {"4294967295", 4294967295u},
    {"4294967296", 4294967295u},
    {"-4294967296", 4294967295u},
    {"99999999999999999999999999", 4294967295u},
    {"12abc", 12},
    {"abc", 0},
    {"0x10", 0},
    {"- 1", 0},
    {"--1", 0},
    {"1 2", 1},
    {"\xEF", 0},
};

TEST(NumericTextTest, ParsesUnsignedAsStrtoul) {
    for (const UnsignedCase& c : kUnsignedCases)
        EXPECT_EQ(parse_unsigned(c.text), c.expected) << '"' << c.text << '"';
}

struct DoubleCase {
    std::string text;
    double expected;
};

const DoubleCase kDoubleCases[] = {
    {"", 0.0},
    {"abc", 0.0},
    {"3.14", 3.14},
    {" \t-2.5e3", -2500.0},
    {"+1.5", 1.5},
    {".5", 0.5},
    {"5.", 5.0},
    {"1e", 1.0},
    {"1e+", 1.0},
    {"1E-2x", 0.01},
    {"1.2.3", 1.2},
    {"0x1.8p1", 3.0},
    {"0X10", 16.0},
    {"0x.8", 0.5},
    {"0x1P", 1.0},
    {"-0x1p-2", -0.25},
    {"0x", 0.0},
    {"0xg", 0.0},
    {"inf", kInfinity},
    {"-Infinity", -kInfinity},
    {"INFx", kInfinity},
    {"in", 0.0},
    {"1e999", kInfinity},
    {"-1e999", -kInfinity},
    {"1e-999", 0.0},
    {"1e99999999999999999999", kInfinity},
    {"1e-99999999999999999999", 0.0},
    {"0e99999999999999999999", 0.0},
    {"0x1p99999", kInfinity},
    {"0x1p-99999", 0.0},
    {"0x1.fffffffffffff8p1023", kInfinity},
    {"1" + std::string(400, '0'), kInfinity},
    {"0." + std::string(400, '0') + "1e400", 0.1},
    {"5e-324", 4.9406564584124654e-324},
    {"42", 42.0},
    {" -007", -7.0},
    {"123456789012345", 123456789012345.0},
    {"1234567890123456", 1234567890123456.0},
    {"9007199254740993", 9007199254740992.0},
    {"99999999999999999", 1e17},
};

TEST(NumericTextTest, ParsesDoubleAsStrtod) {
    for (const DoubleCase& c : kDoubleCases)
        EXPECT_EQ(parse_double(c.text), c.expected) << '"' << c.text << '"';
}

TEST(NumericTextTest, ParsesNotANumberInAnyCase) {
    EXPECT_TRUE(std::isnan(parse_double("nan")));
    EXPECT_TRUE(std::isnan(parse_double(" -NaN(123)")));
    EXPECT_TRUE(std::isnan(parse_double("nanx")));
}

TEST(NumericTextTest, KeepsTheSignOfZeroOnlyWithDigits) {
    EXPECT_TRUE(std::signbit(parse_double("-0")));
    EXPECT_FALSE(std::signbit(parse_double("-abc")));
    EXPECT_FALSE(std::signbit(parse_double("-")));
}

// Plain digit strings take a shorter path; they must read as strtod reads them.
TEST(NumericTextTest, ParsesDigitStringsAsStrtod) {
    std::mt19937 random(20261209);
    for (int round = 0; round < 20000; ++round) {
        std::string text = round % 3 == 0 ? " " : "";
        if (round % 5 == 0) text += round % 2 ? "-" : "+";
        const int digits = 1 + round % 20;
        for (int i = 0; i < digits; ++i) text += static_cast<char>('0' + random() % 10);
        const double value = parse_double(text);
        const double expected = std::strtod(text.c_str(), nullptr);
        ASSERT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << text;  // the sign of zero too
    }
}

// format_fixed_trimmed takes the shortest form where it is sure to agree with
// the defined pass: "%f", then trailing zeros and a final "." removed.
TEST(NumericTextTest, FixedTrimmedMatchesTheDefinedPass) {
    const auto defined = [](double value) {
        std::string text = format_fixed(value, 6);
        while (!text.empty() && text.back() == '0') text.pop_back();
        if (!text.empty() && text.back() == '.') text.pop_back();
        return text;
    };
    std::vector<double> values = {0.0,           -0.0,          2.5,
                                  0.1 + 0.2,     1.0 / 3,       -1.0 / 3,
                                  1e-6,          1e-7,          5e-7,
                                  4.9999999e-7,  5.0000001e-7,  1.0000005,
                                  2.0000015,     4294967295.5,  4294967296.0,
                                  -4294967296.0, 4294967296.25, 8589934592.25,
                                  1e15,          1e300,         123456.789,
                                  kInfinity,     -kInfinity,    kNaN,
                                  4.9406564584124654e-324,      -5.02231794620358e-166};
    std::mt19937_64 random(20261209);
    for (int round = 0; round < 200000; ++round) {
        switch (round % 4) {
            case 0: {  // any bit pattern
                const uint64_t bits = random();
                double value;
                std::memcpy(&value, &bits, sizeof value);
                values.push_back(value);
                break;
            }
            case 1: {  // a few decimals, the form script values take
                const auto units = static_cast<int64_t>(random() % 2000000001) - 1000000000;
                const auto decimals = static_cast<double>(random() % 9);
                values.push_back(static_cast<double>(units) / std::pow(10.0, decimals));
                break;
            }
            case 2: {  // next to a rounding tie of the sixth decimal
                const double tie = static_cast<double>(random() % 100000000) / 1e6 + 5e-7;
                values.push_back(std::nextafter(tie, round % 8 < 4 ? 0.0 : 1e300));
                break;
            }
            default:  // around the bound of the shorter path
                values.push_back(std::ldexp(1.0 + static_cast<double>(random() % 1000) / 1000,
                                            30 + static_cast<int>(random() % 5)));
                break;
        }
    }
    for (const double value : values) {
        ASSERT_EQ(format_fixed_trimmed(value), defined(value)) << std::hexfloat << value;
    }
}

}  // namespace
