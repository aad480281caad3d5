#include "mesh/random.h"

namespace {

std::uint32_t state = 1;  // an unseeded C runtime behaves as if seeded with 1

}  // namespace

void randomSeed(std::uint32_t seed) { state = seed; }

int randomNext() {
    state = state * 214013u + 2531011u;  // unsigned: wraps modulo 2^32
    return static_cast<int>((state >> 16) & 0x7FFFu);
}

std::uint32_t randomState() { return state; }
