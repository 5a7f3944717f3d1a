// Text commands on extreme numbers and on large texts. A quadratic handler
// would not finish the large cases within the test time limit.
#include "tavo/commands.h"

#include <gtest/gtest.h>

#include "oracles/text_oracles.h"
#include "repeat_text.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

struct Outcome {
    CommandResult result;
    ValueList values;
};

Outcome run(CommandHandler handler, ArgumentList arguments) {
    Outcome outcome{{0, std::string()}, {}};
    outcome.result = handler(arguments, outcome.values);
    return outcome;
}

struct SubstrCase {
    const char* start;
    const char* count;
    int32_t status;
    const char* text;
};

TEST(TextCommands, SubstrStartAndCountExtremesDoNotOverflow) {
    const SubstrCase cases[] = {
        {"1", "2147483647", 200, "bcde"},
        {"2147483647", "2147483647", 204, ""},
        {"2147483647", "-2147483647", 200, "abcde"},
        {"-2147483648", "2147483647", 200, "abcde"},
        {"-2147483648", "-1", 200, "a"},
        {"4", "-2147483647", 200, "abcde"},
        {"4", "-2147483648", 204, ""},
        {"99999999999", "1", 204, ""},           // start saturates at 2147483647
        {"4", "-99999999999", 204, ""},          // count saturates at -2147483648
        {"-99999999999", "99999999999", 200, "abcde"},
    };
    for (const SubstrCase& c : cases) {
        const Outcome outcome = run(command_substr, {"abcde", c.start, c.count});
        EXPECT_EQ(outcome.result.status, c.status) << c.start << ", " << c.count;
        EXPECT_EQ(outcome.result.text, c.text) << c.start << ", " << c.count;
    }
}

TEST(TextCommands, SubstrOnSixteenMebibytes) {
    const std::string text = repeat("aあ😀", 2 << 20);  // 16 MiB, 3 characters per unit
    const Outcome tail = run(command_substr, {text, "1", "2147483647"});
    EXPECT_TRUE(tail.result.text == text.substr(1));
    const Outcome last = run(command_substr, {text, "-1"});
    EXPECT_EQ(last.result.text, "😀");
    const Outcome middle = run(command_substr, {text, "3000000", "-3"});
    EXPECT_EQ(middle.result.text, "aあ😀");
}

TEST(TextCommands, ReverseOnSixteenMebibytes) {
    const std::size_t units = 2 << 20;  // 16 MiB
    const Outcome reversed = run(command_reverse, {repeat("aあ😀", units) + "\xE3\x81"});
    // Compared as a whole without printing 16 MiB on failure.
    EXPECT_TRUE(reversed.result.text == "\xE3\x81" + repeat("😀あa", units));
}

TEST(TextCommands, SplitOneMillionDelimiters) {
    const std::string delimiters = repeat(",", 1000000);
    const Outcome nothing = run(command_split, {delimiters, ","});
    EXPECT_EQ(nothing.result.text, "0");
    EXPECT_TRUE(nothing.values.empty());

    const Outcome pieces = run(command_split, {repeat("ab,", 1000000), ","});
    EXPECT_EQ(pieces.result.text, "1000000");
    ASSERT_EQ(pieces.values.size(), 1000000u);
    EXPECT_EQ(pieces.values.back(), "ab");

    const Outcome rest = run(command_split, {"x" + delimiters + "y", ",", "2"});
    ASSERT_EQ(rest.values.size(), 2u);
    EXPECT_TRUE(rest.values[1] == delimiters.substr(1) + "y");
}

TEST(TextCommands, SplitCharactersOfALargeText) {
    const Outcome pieces = run(command_split, {repeat("あ", 1000000)});
    EXPECT_EQ(pieces.result.text, "1000000");
    ASSERT_EQ(pieces.values.size(), 1000000u);
    EXPECT_EQ(pieces.values.front(), "あ");
}

// The split walk skips to the bytes that delimiters start with; its pieces
// must be those of the walk over every character, also where stray and
// cut-short bytes hide a delimiter byte inside a character.
TEST(TextCommands, SplitMatchesTheCharacterWalkOnGeneratedTexts) {
    std::mt19937 random(20261209);
    for (int round = 0; round < 20000; ++round) {
        const std::string text = random_text(random, round % 40);
        const std::string delimiters = random_text(random, 1 + round % 3);
        const int32_t limit = round % 4 == 0 ? static_cast<int32_t>(round / 4 % 5) : 0;
        SCOPED_TRACE(testing::PrintToString(text) + " / " + testing::PrintToString(delimiters) +
                     " / " + std::to_string(limit));
        const Outcome outcome = run(command_split, {text, delimiters, std::to_string(limit)});
        const std::vector<std::string> expected = reference_split(text, delimiters, limit);
        ASSERT_EQ(outcome.result.text, std::to_string(expected.size()));
        ASSERT_TRUE(std::equal(outcome.values.begin(), outcome.values.end(), expected.begin(),
                               expected.end()));
    }
}

TEST(TextCommands, ResultsPastTheLimitAreRefusedBeforeTheyAreBuilt) {
    // 20,000 matches of a 20,000-byte replacement would make 400 MB.
    const Outcome replaced = run(command_replace, {repeat("a", 20000), "a", repeat("b", 20000)});
    EXPECT_EQ(replaced.result.status, 500);
    EXPECT_EQ(replaced.result.text, "");

    // The bound says "maybe too large"; the one real match keeps it small.
    const Outcome one = run(command_replace, {"a" + repeat("x", 30000), "a", repeat("b", 20000)});
    EXPECT_EQ(one.result.status, 200);
    EXPECT_EQ(one.result.text.size(), 50000u);

    // 30,000 items joined by a 10,000-byte separator would make 300 MB.
    ArgumentList arguments(30001);
    arguments[0] = repeat("-", 10000);
    ValueList values;
    EXPECT_EQ(command_join(arguments, values).status, 500);
}

}  // namespace
