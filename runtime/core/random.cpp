// MT19937 generator behind "randseed" and Random.
#include "runtime/core/random.h"

#include <cstdlib>

namespace {

constexpr int kStateWords = 624;
constexpr int kShift = 397;
constexpr std::uint32_t kMatrixA = 0x9908B0DFu;
constexpr std::uint32_t kUpperMask = 0x80000000u;
constexpr std::uint32_t kLowerMask = 0x7FFFFFFFu;
constexpr std::uint32_t kDefaultSeed = 4357u;

std::uint32_t State[kStateWords];
// Index of the next word to hand out; past the end means the state must be
// regenerated, and the extra value marks a generator that was never seeded.
int NextIndex = kStateWords + 1;

// One full twist of the state, as published with the generator.
void RegenerateState() {
    for (int k = 0; k < kStateWords; ++k) {
        std::uint32_t y = (State[k] & kUpperMask) | (State[(k + 1) % kStateWords] & kLowerMask);
        State[k] = State[(k + kShift) % kStateWords] ^ (y >> 1) ^ ((y & 1u) ? kMatrixA : 0u);
    }
    NextIndex = 0;
}

} // namespace

void SeedRandom(std::uint32_t seed) {
    // Two steps of the 69069 congruential generator per word: the high half of
    // the first value and the high half of the second one.
    for (int i = 0; i < kStateWords; ++i) {
        State[i] = seed & 0xFFFF0000u;
        seed = 69069u * seed + 1u;
        State[i] |= seed >> 16;
        seed = 69069u * seed + 1u;
    }
    NextIndex = kStateWords;
}

std::uint32_t NextRandomWord() {
    if (NextIndex > kStateWords)
        SeedRandom(kDefaultSeed);
    if (NextIndex == kStateWords)
        RegenerateState();
    std::uint32_t y = State[NextIndex++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

std::int32_t Random(std::int32_t n) {
    if (n == 0)
        return 0;
    // The output read as a signed number; the remainder takes the dividend's
    // sign. Done in 64 bits so that n = -1 with the output 0x80000000 cannot
    // overflow the division.
    std::int64_t word = static_cast<std::int32_t>(NextRandomWord());
    std::int64_t rest = word % static_cast<std::int64_t>(n);
    return static_cast<std::int32_t>(std::llabs(rest));
}
