// The floating-point evaluator: priorities, number operands read as atof
// reads them, "%f" results trimmed, and the failures.
#include "common/calc_float.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
    std::string expression;
    const char* result;  // nullptr: the evaluation fails
};

TEST(CalcFloatExpression, Results) {
    const Case cases[] = {
        {"1+2", "3"},          {"10/4", "2.5"},        {"1/8", "0.125"},      {"1/3", "0.333333"},
        {"2/3", "0.666667"},   {"0.1+0.2", "0.3"},     {"100", "100"},        {"1.50", "1.5"},
        {"007", "7"},          {".5+.5", "1"},         {"5.", "5"},           {".", "0"},
        {"0", "0"},            {"0-5", "-5"},          {"1000000", "1000000"}, {"0.0000001", "0"},
        {"-0.0000001", "-0"},  {"-0", "-0"},           {"-2.5*2", "-5"},      {"--1", "1"},
        {"!0", "1"},           {"!2.5", "0"},          {"1+2>2", "1"},        {"3>2", "1"},
        {"0.1+0.2==0.3", "0"}, {"1!=1", "0"},          {"１．５＋１", "2.5"}, {"1 + 2", "3"},
        {"(1+2)*3", "9"},      {"2*3-1", "5"},         {"1<2&&0", "0"},       {"0||0.5", "1"},
        {"1<=1", "1"},         {"2>=3", "0"},          {"３×４÷８", "1.5"},
        {"0.0000006", "0.000001"},
        {"(((((1)))))", "1"},  {"1e5", nullptr},
    };
    for (const Case& c : cases) {
        std::string text = c.expression;
        const bool evaluated = calc_float_expression(text);
        EXPECT_EQ(evaluated, c.result != nullptr) << c.expression;
        if (evaluated && c.result != nullptr) {
            EXPECT_EQ(text, c.result) << c.expression;
        }
    }
}

TEST(CalcFloatExpression, NonFiniteValuesAreSpelledTheSameEverywhere) {
    const Case cases[] = {
        {"1/0", "inf"},  {"-1/0", "-inf"}, {"0/0", "nan"}, {"1/0-1/0", "nan"},
        {"1/0>1", "inf"}, {"(1/0)>1", "1"},  {"0/0==0/0", "0"}, {"0/0!=0/0", "1"}, {"0/0<1", "0"},
        {"1" + std::string(400, '0'), "inf"},
        {"0." + std::string(400, '0') + "1", "0"},
        {"0." + std::string(400, '0') + "1<1", "1"},
    };
    for (const Case& c : cases) {
        std::string text = c.expression;
        ASSERT_TRUE(calc_float_expression(text)) << c.expression;
        EXPECT_EQ(text, c.result) << c.expression;
    }
}

TEST(CalcFloatExpression, LargeValuesKeepAllIntegerDigits) {
    std::string text = "1" + std::string(300, '0');
    ASSERT_TRUE(calc_float_expression(text));
    EXPECT_EQ(text.size(), 301u);
    EXPECT_EQ(text.substr(0, 5), "10000");
}

TEST(CalcFloatExpression, Failures) {
    const std::string expressions[] = {
        "",    " ",     "1+",   "-",     "*2",   "5%3",   "2^3",  "1e5", "abc", "1,5",
        "1.2.3", "1..2", "(1",  "1)",    "()",   "1=1",   "1~2",  "1&2", "1|2", "(1)(2)",
        "1!2",  "x",    std::string(257, '(') + "1" + std::string(257, ')'),
        std::string(100000, '('),
    };
    for (const std::string& expression : expressions) {
        std::string text = expression;
        EXPECT_FALSE(calc_float_expression(text)) << expression;
    }
    std::string deep = std::string(256, '(') + "1" + std::string(256, ')');
    EXPECT_TRUE(calc_float_expression(deep));
}

TEST(CalcFloatExpression, FailureLeavesTheNormalisedText) {
    std::string text = "１ ＋";
    EXPECT_FALSE(calc_float_expression(text));
    EXPECT_EQ(text, "1+");
}

}  // namespace
