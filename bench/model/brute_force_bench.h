#pragma once

#include <cstdint>

namespace orbitograph::bench {

// Registers the brute-force cases, for every instruction set the processor
// supports: BruteForce/<set>/threads:1 (with the ceiling measured beside it)
// and BruteForce/<set>/threads:<cores>.
void RegisterBruteForce();

}  // namespace orbitograph::bench
