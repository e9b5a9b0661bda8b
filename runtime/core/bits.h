// Bit operations on 32-bit integers. Pure; any thread.
#pragma once

#include <cstdint>

// v with bit (b mod 32) set when flag is non-zero, cleared otherwise.
std::int32_t SetBit(std::int32_t v, std::int32_t b, std::int32_t flag);
