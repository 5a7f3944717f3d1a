// The module's generator is MT19937 as published: its outputs from the
// reference seed, and choice's pick r mod n.
#include <gtest/gtest.h>

#include <cstdint>

#include "tavo/commands.h"
#include "tavo/random.h"

namespace {

TEST(Random, FollowsThePublishedSequence) {
    seed_generator(5489);
    // The published 32-bit outputs shifted right by one.
    EXPECT_EQ(next_random31(), static_cast<int32_t>(3499211612u >> 1));
    EXPECT_EQ(next_random31(), static_cast<int32_t>(581869302u >> 1));
    EXPECT_EQ(next_random31(), static_cast<int32_t>(3890346734u >> 1));
    for (int n = 4; n < 10000; ++n) next_random31();
    EXPECT_EQ(next_random31(), static_cast<int32_t>(4123659995u >> 1));
}

TEST(Random, ChoicePicksTheDrawModuloTheCount) {
    seed_generator(12345);
    int32_t draws[50];
    for (int32_t& draw : draws) draw = next_random31();
    seed_generator(12345);
    for (const int32_t draw : draws) {
        ArgumentList arguments = {"a", "b", "c"};
        ValueList values;
        const CommandResult result = command_choice(arguments, values);
        EXPECT_EQ(result.status, 200);
        EXPECT_EQ(result.text, arguments[static_cast<std::size_t>(draw % 3)]);
    }
}

TEST(Random, EveryCallDrawsOnceEvenWithOneArgument) {
    seed_generator(7);
    next_random31();
    const int32_t second = next_random31();
    seed_generator(7);
    ArgumentList single = {""};
    ValueList values;
    EXPECT_EQ(command_choice(single, values).text, "");
    ArgumentList two = {"x", "y"};
    EXPECT_EQ(command_choice(two, values).text, second % 2 == 0 ? "x" : "y");
}

}  // namespace
