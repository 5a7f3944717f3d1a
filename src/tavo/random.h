// The module-wide MT19937 generator behind `choice`. Unseeded, it starts
// from the published default seed 5489.
#pragma once

#include <cstdint>

// The published initialisation from one 32-bit word.
void seed_generator(uint32_t seed);

// The next tempered 32-bit output shifted right by one: 0 to 2147483647.
int32_t next_random31();
