#include "tavo/commands.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

struct SprintfCase {
    std::vector<std::string> arguments;  // the template, then the values
    std::string expected;
};

CommandResult run_sprintf(const std::vector<std::string>& arguments, ValueList& values) {
    ArgumentList list(arguments.begin(), arguments.end());
    return command_sprintf(list, values);
}

void expect_cases(const std::vector<SprintfCase>& cases) {
    for (const SprintfCase& c : cases) {
        ValueList values;
        const CommandResult result = run_sprintf(c.arguments, values);
        EXPECT_EQ(result.status, kStatusOk) << c.arguments.front();
        EXPECT_EQ(result.text, c.expected) << c.arguments.front();
        EXPECT_TRUE(values.empty());
    }
}

TEST(SprintfTest, WithoutArgumentsIsTooFew) {
    ValueList values;
    const CommandResult result = run_sprintf({}, values);
    EXPECT_EQ(result.status, kStatusBadRequest);
    EXPECT_EQ(result.text, kTooFewArguments);
}

TEST(SprintfTest, EdgeCaseTable) {
    expect_cases({
        {{"abc"}, "abc"},
        {{""}, ""},
        {{"%d", "４２"}, "42"},
        {{"%5d", "42"}, "   42"},
        {{"%-5d", "42"}, "42   "},
        {{"%05d", "-42"}, "-0042"},
        {{"%+d", "42"}, "+42"},
        {{"% d", "42"}, "42"},
        {{"% 5d", "-42"}, "-  42"},
        {{"%x", "255"}, "ff"},
        {{"%#X", "255"}, "0XFF"},
        {{"%#o", "8"}, "010"},
        {{"%.1f", "３．１４"}, "3.1"},
        {{"%f", "abc"}, "0.000000"},
        {{"%c", "65"}, "A"},
        {{"%s", "ＡＢＣ"}, "ABC"},
        {{"%d%d", "1"}, "1%d"},
        {{"%%", "1"}, "%"},
        {{"%y", "1"}, "y"},
        {{"%5s", "あ"}, "  あ"},
    });
}

TEST(SprintfTest, LastAdjustmentFlagWinsAndFillStays) {
    expect_cases({
        {{"%-05d", "42"}, "00042"},
        {{"%0-5d", "42"}, "42000"},
        {{"% -5d", "42"}, "42   "},
        {{"%0 5d", "-42"}, "-  42"},
        {{"% 05d", "-42"}, "-0042"},
        {{"%+05d", "42"}, "+0042"},
        {{"%+d", "0"}, "+0"},
        {{"%+d", "-5"}, "-5"},
        {{"%d", "-2147483648"}, "-2147483648"},
        {{"%.3d", "5"}, "5"},
    });
}

TEST(SprintfTest, UnsignedConversionsReadDecimalAndWriteTheirBase) {
    expect_cases({
        {{"%#08x", "255"}, "0x0000ff"},
        {{"%#-8x", "255"}, "0xff    "},
        {{"%#8X", "255"}, "    0XFF"},
        {{"% #8o", "8"}, "     010"},
        {{"%#x", "0"}, "0"},
        {{"%#o", "0"}, "0"},
        {{"%#u", "7"}, "7"},
        {{"%+u", "5"}, "5"},
        {{"%+o", "8"}, "10"},
        {{"%+x", "255"}, "ff"},
        {{"%+X", "255"}, "FF"},
        {{"%u", "-1"}, "4294967295"},
        {{"%x", "-1"}, "ffffffff"},
        {{"%u", "4294967296"}, "4294967295"},
        {{"%x", "0x10"}, "0"},
        {{"%u", "　１２"}, "12"},
    });
}

TEST(SprintfTest, FloatingConversions) {
    expect_cases({
        {{"%e", "1.5"}, "1.500000e+00"},
        {{"%E", "1.5"}, "1.500000E+00"},
        {{"%e", "1e100"}, "1.000000e+100"},
        {{"%.0e", "12345"}, "1e+04"},
        {{"%#.0e", "12345"}, "1.e+04"},
        {{"%g", "1.5"}, "1.5"},
        {{"%g", "100000"}, "100000"},
        {{"%g", "1000000"}, "1e+06"},
        {{"%G", "1e-10"}, "1E-10"},
        {{"%.0g", "123"}, "1e+02"},
        {{"%#g", "1.5"}, "1.50000"},
        {{"%#.0f", "3"}, "3."},
        {{"%.f", "2.7"}, "3"},
        {{"%+.2f", "3.14159"}, "+3.14"},
        {{"%08.2f", "-3.14159"}, "-0003.14"},
        {{"%+08.2f", "3.14159"}, "+0003.14"},
        {{"%-8.2f|", "3.14159"}, "3.14    |"},
        {{"%010.3e", "1234.56"}, "01.235e+03"},
        {{"%f", "0x1p-1"}, "0.500000"},
        {{"%f", "-"}, "0.000000"},
    });
}

TEST(SprintfTest, InfinityAndNotANumberArePaddedWithSpaces) {
    expect_cases({
        {{"%f", "inf"}, "inf"},
        {{"%f", "-inf"}, "-inf"},
        {{"%f", "ＩＮＦ"}, "inf"},
        {{"%e", "1e999"}, "inf"},
        {{"%E", "-1e999"}, "-INF"},
        {{"%G", "nan"}, "NAN"},
        {{"%g", "-NaN"}, "nan"},
        {{"%+f", "inf"}, "+inf"},
        {{"%+e", "nan"}, "+nan"},
        {{"%08f", "-inf"}, "    -inf"},
        {{"% 8f", "-inf"}, "    -inf"},
        {{"%0-8f|", "inf"}, "inf     |"},
        {{"%-08f|", "inf"}, "     inf|"},
    });
}

TEST(SprintfTest, TextAndCharacterConversions) {
    expect_cases({
        {{"%-5s|", "ab"}, "ab   |"},
        {{"%05s", "ab"}, "000ab"},
        {{"%.1s", "abc"}, "abc"},
        {{"%s", "ガ"}, "ｶﾞ"},
        {{"%S", "１"}, "1"},
        {{"%c", "0"}, std::string(1, '\0')},
        {{"a%cb", "0"}, std::string("a\0b", 3)},
        {{"%c", "321"}, "A"},
        {{"%c", "-191"}, "A"},
        {{"%3c", "66"}, "  B"},
        {{"%C", "９７"}, "a"},
    });
}

TEST(SprintfTest, UnknownConversionsUseUpTheirValue) {
    expect_cases({
        {{"a%nb", "1"}, "ab"},
        {{"%p", "1"}, ""},
        {{"%ld", "5"}, "ld"},
        {{"%hd|%d", "5", "6"}, "hd|6"},
        {{"%%d", "1", "2"}, "%d"},
        {{"%5.2.f", "1"}, ".f"},
        {{"%*d", "1"}, "1"},
        {{"%*5d", "1"}, "5d"},
        {{"%.*f", "1"}, "*f"},
        {{"%あ", "1"}, "あ"},
    });
}

TEST(SprintfTest, MissingAndSurplusValues) {
    expect_cases({
        {{"%d %d", "1"}, "1 %d"},
        {{"100%"}, "100%"},
        {{"%s"}, "%s"},
        {{"%d", "1", "2"}, "1"},
        {{"%d", ""}, "0"},
        {{"%s|", ""}, "|"},
    });
}

TEST(SprintfTest, TemplateEndingInsideASpecificationEndsTheOutput) {
    expect_cases({
        {{"ab%", "1"}, "ab"},
        {{"ab%-05", "1"}, "ab"},
        {{"ab%5.", "1"}, "ab"},
        {{"%d%", "1", "2"}, "1"},
    });
}

TEST(SprintfTest, CutShortCharactersStayInside) {
    expect_cases({
        {{"a\xE3\x81"}, "a\xE3\x81"},
        {{"%d\xE3", "1"}, "1\xE3"},
        {{"%\xE3\x81", "1"}, "\xE3\x81"},
        {{"%s", "\xE3\x81"}, "\xE3\x81"},
        {{"%5s", "\xF0"}, "    \xF0"},
    });
}

TEST(SprintfTest, WidthAndPrecisionAreClamped) {
    const std::vector<std::pair<std::vector<std::string>, std::size_t>> cases = {
        {{"%2000000000d", "1"}, 4096},
        {{"%99999999999999999999d", "1"}, 4096},
        {{"%.999999999f", "1"}, 2 + 4096},
        {{"%.5000e", "1"}, 2 + 4096 + 4},
        {{"%5000.5000g", "1"}, 4096},
    };
    for (const auto& [arguments, size] : cases) {
        ValueList values;
        EXPECT_EQ(run_sprintf(arguments, values).text.size(), size) << arguments.front();
    }
}

// 65,534 conversions 4,096 wide and 8,192 other bytes make exactly 256 MiB,
// the largest answer. One more byte and the result is refused, decided
// before anything is built.
TEST(SprintfTest, ResultsPastTheLimitAreRefused) {
    std::vector<std::string> arguments(65535, "1");
    std::string conversions;
    for (int n = 0; n < 65534; ++n) conversions += "%4096d";
    arguments[0] = std::string(8193, 'x') + conversions;
    ValueList values;
    const CommandResult refused = run_sprintf(arguments, values);
    EXPECT_EQ(refused.status, 500);
    EXPECT_EQ(refused.text, "");

    // The bound is passed, so the template is run to count: a few wide
    // conversions and many values left over make a small result.
    arguments[0] = std::string(8192, 'x') + "%4096d%4096d";
    EXPECT_EQ(run_sprintf(arguments, values).text.size(), 8192u + 2 * 4096);
}

}  // namespace
