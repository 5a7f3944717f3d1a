#include "common/numeric_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

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

}  // namespace
