// The property matrix file: one line per instrument index (100 lines), ten numbers each with six
// decimals, separated by single spaces, lines ended by CR LF. A line without an instrument starts
// with 2.0.
#pragma once

#include <string>
#include <vector>

#include "Features.h"

namespace makelib {

inline constexpr int kPropertyRows = 100;

std::string propertyTableText(const std::vector<Features>& rows);

}  // namespace makelib
