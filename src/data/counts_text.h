#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/compute_spaces.h"

namespace orbitograph {

// The counts of one computation as the command prints them and the Python
// module keys them, in this order.
inline constexpr const char* kCountKeys[] = {"start_points", "attractors", "infinity", "zero", "T", "O", "M", "H"};

std::array<std::int64_t, std::size(kCountKeys)> CountValues(const ListCounts& c);

// The --counts line: one JSON object with every key in order.
std::string CountsJson(const ListCounts& c);

}  // namespace orbitograph
