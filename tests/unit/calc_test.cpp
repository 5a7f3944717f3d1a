// The integer/text evaluator: priorities, text operands, the caller's text
// kept as written, and the limits that keep bad input from exhausting the
// stack or memory.
#include "common/calc.h"

#include <gtest/gtest.h>

#include "repeat_text.h"

#include <string>

namespace {

struct Case {
    std::string expression;
    bool evaluates;
    std::string result;  // the caller's text afterwards
};

void check(const Case& c) {
    std::string text = c.expression;
    EXPECT_EQ(calc_expression(text), c.evaluates) << c.expression;
    EXPECT_EQ(text, c.evaluates ? c.result : c.expression) << c.expression;
}

const Case kFails{"", false, ""};

Case fails(std::string expression) { return {std::move(expression), false, ""}; }

TEST(CalcExpression, ArithmeticAndPriorities) {
    const Case cases[] = {
        {"1+2*3", true, "7"},      {"(1+2)*3", true, "9"},    {"7/2", true, "3"},
        {"-7/2", true, "-3"},      {"-7%3", true, "-1"},      {"7%-3", true, "1"},
        {"1+2<3", true, "2"},      {"2*3>5", true, "0"},      {"1<2==1", true, "1"},
        {"10-4-3", true, "3"},     {"2<=2", true, "1"},       {"3>=4", true, "0"},
        {"1==1&&0||1", true, "1"}, {"1||0&&0", true, "1"},    {"3&&0", true, "0"},
        {"0||5", true, "1"},       {"1!=2", true, "1"},       {"1==01", true, "0"},
    };
    for (const Case& c : cases) check(c);
}

TEST(CalcExpression, PrefixOperators) {
    const Case cases[] = {
        {"--5", true, "5"}, {"1+--5", true, "6"}, {"!!7", true, "1"}, {"-(-3)", true, "3"},
        {"+-5", true, "-5"}, {"!0", true, "1"},   {"+007", true, "007"}, {"-0", true, "0"},
        {"!-1", true, "0"}, {"-2*-3", true, "6"},
    };
    for (const Case& c : cases) check(c);
}

TEST(CalcExpression, NormalisationAndTheCallersSpelling) {
    const Case cases[] = {
        {"１＋２", true, "3"},     {"1 + 2", true, "3"},    {"５", true, "５"},
        {" 5", true, " 5"},       {"1 2", true, "1 2"},    {"（１２）", true, "12"},
        {"３×４÷２", true, "6"},  {"１\t＝＝　１", true, "1"}, {"0", true, "0"},
        {"007", true, "007"},     {"abc＝～a", true, "0"}, {"abc！～a", true, "0"},
        {"99999999999", true, "99999999999"},
    };
    for (const Case& c : cases) check(c);
}

TEST(CalcExpression, TextOperands) {
    const Case cases[] = {
        {"abc", true, "abc"},       {"2^3", true, "2^3"},     {"1=1", true, "1=1"},
        {"2(3)", true, "2(3)"},     {"abc+def", true, "abcdef"}, {"ab*3", true, "ababab"},
        {"ab*0", true, ""},         {"ab*-2", true, ""},      {"abcabc-b", true, "acac"},
        {"foo-bar", true, "foo"},   {"1.5+1", true, "1.51"},  {"abc<de", true, "0"},
        {"ab<cde", true, "1"},      {"10<abc", true, "1"},    {"abc==abc", true, "1"},
        {"abc=~a", true, "0"},      {"abc!~a", true, "0"},    {"(abc+1)", true, "abc1"},
        {"あい+う", true, "あいう"}, {"12x+1", true, "12x1"},  {"1+)", true, "1)"},
        {"ab*2*2", true, "abababab"},
    };
    for (const Case& c : cases) check(c);
}

TEST(CalcExpression, Failures) {
    const char* const expressions[] = {
        "",      "   ",     "\t　",   "1+",      "-",     "*2",     "1+*2",   "1!2",
        "(1)(2)", "(1",     "1)",     "()",      "(abc)", "(abc+d)", "(1+abc)", "3*abc",
        "-abc",  "1&&abc",  "a!b",    "ab*cd",   "a/2",   "a%2",    "4/b",    "!x",
    };
    for (const char* expression : expressions) check(fails(expression));
}

TEST(CalcExpression, DivisionFaultsFail) {
    const Case cases[] = {
        fails("1/0"), fails("1%0"), fails("(0-2147483647-1)/-1"), fails("(0-2147483647-1)%-1"),
        {"(0-2147483647-1)/1", true, "-2147483648"}, {"-7/-7", true, "1"},
    };
    for (const Case& c : cases) check(c);
}

TEST(CalcExpression, IntegersWrapInArithmeticAndSaturateInConversion) {
    const Case cases[] = {
        {"2147483647+1", true, "-2147483648"}, {"65536*65536", true, "0"},
        {"-(0-2147483647-1)", true, "-2147483648"},
        {"99999999999+0", true, "2147483647"}, {"-99999999999-0", true, "-2147483647"},
        {"(0-99999999999)-2", true, "2147483647"}, {"2147483648-2147483647", true, "0"},
        {"-2147483649/1", true, "-2147483647"},
    };
    for (const Case& c : cases) check(c);
}

TEST(CalcExpression, NestingIsLimited) {
    check({repeat("(", 256) + "1+1" + repeat(")", 256), true, "2"});
    check({repeat("-(", 200) + "7" + repeat(")", 200), true, "7"});
    check(fails(repeat("(", 257) + "1" + repeat(")", 257)));
    check(fails(repeat("(", 100000)));
    check(fails(repeat("(", 100000) + "1" + repeat(")", 100000)));
}

TEST(CalcExpression, LongPrefixRunsApplyFromTheInnermost) {
    check({repeat("-", 3000000) + "1", true, "1"});
    check({repeat("-", 2999999) + "1", true, "-1"});
    check({repeat("!-", 100000) + "0", true, "0"});
    check(fails(repeat("-", 3000000) + "a"));
}

TEST(CalcExpression, TextWorkIsLimited) {
    // 16 MiB written, 32 MiB read and written per removal and 16 MiB read
    // by the comparison: six removals fit in 256 MiB, seven do not.
    check({"a*16777216" + repeat("-b", 6) + "==b", true, "0"});
    check(fails("a*16777216" + repeat("-b", 7) + "==b"));
    // Equality reads both texts: 16 MiB written and read again per group.
    check({"(b==a*16777216)" + repeat("+(b==a*16777216)", 6), true, "0"});
    check(fails("(b==a*16777216)" + repeat("+(b==a*16777216)", 7)));
    // Integer arithmetic reads no text.
    check({repeat("1+", 100000) + "1", true, "100001"});
}

TEST(CalcExpression, TextSizeIsLimited) {
    check(fails("ab*2000000000"));
    check(fails("ab*2147483647"));
    check(fails("a*16777217"));
    std::string text = "a*16777216";
    ASSERT_TRUE(calc_expression(text));
    EXPECT_EQ(text.size(), 16777216u);
    check(fails("a*16777216+b"));
    // Each text within its limit, but too many held at once.
    check({"a*16000000==(a*16000000==(a*16000000==(a*16000000==1)))", true, "0"});
    check(fails("a*16000000==(a*16000000==(a*16000000==(a*16000000==(a*16000000==1))))"));
}

TEST(CalcExpression, LongConcatenationChainStaysLinear) {
    std::string text = repeat("ab+", 200000) + "c";
    ASSERT_TRUE(calc_expression(text));
    EXPECT_EQ(text, repeat("ab", 200000) + "c");
    // A long left text made almost only of digits is not scanned again for
    // every "+".
    text = repeat("1", 1000000) + "x" + repeat("+1", 200000);
    ASSERT_TRUE(calc_expression(text));
    EXPECT_EQ(text, repeat("1", 1000000) + "x" + repeat("1", 200000));
}

TEST(CalcExpression, ConcatenationKnowsWhenItMakesAnInteger) {
    const Case cases[] = {
        {"ab*0+5+1", true, "6"}, {"ab*0+-5*-1", true, "5"}, {"5+ab*0+1", true, "6"},
        {"x5-x+1", true, "6"},   {"ab*0+ab*0+1", true, "1"},
    };
    for (const Case& c : cases) check(c);
}

TEST(CalcExpression, CutShortLastCharacterEndsTheTextOperand) {
    const Case cases[] = {
        {"a\xE3", true, "a\xE3"}, {"1+a\xE3\x81", true, "1a\xE3\x81"}, {"\xF0", true, "\xF0"},
        {"a\xE3+", true, "a\xE3+"},     // "+" is inside the cut-short character
        {"1+\xE3)", true, "1\xE3)"},   // and so is ")"
        fails("(1+\xE3)"),
    };
    for (const Case& c : cases) check(c);
}

TEST(ToPostfix, OrdersByPriority) {
    TokenList tokens = {{"1", kOperandPriority}, {"+", 60}, {"-!", kPrefixPriority},
                              {"2", kOperandPriority}, {"<", 80}, {"3", kOperandPriority}};
    std::string order;
    to_postfix(tokens);
    for (const Token& token : tokens) order.append(token.text).append(" ");
    EXPECT_EQ(order, "1 2 -! 3 < + Guard ");
}

}  // namespace
