#pragma once

#include <cstdint>

namespace orbitograph::test {

// A small reproducible generator (splitmix64), so that drawn parameter sets
// and start points do not depend on the standard library's distributions.
struct Draw {
    std::uint64_t state;
    std::uint64_t Bits() {
        std::uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    double Between(double lo, double hi) { return lo + (hi - lo) * static_cast<double>(Bits() >> 11) * 0x1p-53; }
    int Int(int lo, int hi) { return lo + static_cast<int>(Bits() % static_cast<std::uint64_t>(hi - lo + 1)); }
    bool Chance(double p) { return Between(0.0, 1.0) < p; }
    double Sign() { return Chance(0.5) ? -1.0 : 1.0; }
};

}  // namespace orbitograph::test
