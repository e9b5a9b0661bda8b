// The runtime's random generator: MT19937 with the classic 1998 seeding routine.
// The state is process-wide and unlocked; only the script thread uses it.
#pragma once

#include <cstdint>

// Fills the 624 state words from seed; the next draw regenerates the state.
// Script thread only.
void SeedRandom(std::uint32_t seed);
// The next tempered 32-bit output. A draw before any seeding seeds with 4357
// first. Script thread only.
std::uint32_t NextRandomWord();
// A number 0 <= r < |n| taken from the next output; 0 for n = 0 (no draw then).
// Script thread only.
std::int32_t Random(std::int32_t n);
