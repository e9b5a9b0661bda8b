#include "runtime/core/bits.h"

std::int32_t SetBit(std::int32_t v, std::int32_t b, std::int32_t flag) {
    // Work unsigned so that bit 31 and negative values shift without overflow;
    // b & 31 is b mod 32 for negative b as well.
    const std::uint32_t mask = std::uint32_t(1) << (b & 31);
    const std::uint32_t bits = static_cast<std::uint32_t>(v);
    return static_cast<std::int32_t>(flag ? (bits | mask) : (bits & ~mask));
}
