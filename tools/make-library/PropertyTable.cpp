#include "PropertyTable.h"

#include <charconv>
#include <cmath>

namespace makelib {
namespace {

// "%.6f" for values in 0..999, written without the C library so the locale plays no part.
std::string fixed6(double value) {
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    return std::string(buffer, result.ptr);
}

}  // namespace

std::string propertyTableText(const std::vector<Features>& rows) {
    std::string text;
    for (int r = 0; r < kPropertyRows; ++r) {
        Features row{};
        if (r < static_cast<int>(rows.size())) {
            row = rows[r];
        } else {
            row[0] = 2.0;  // no instrument: takes part in no search
        }
        for (int c = 0; c < kFeatureCount; ++c) {
            if (c > 0) text += ' ';
            text += fixed6(row[c]);
        }
        text += "\r\n";
    }
    return text;
}

}  // namespace makelib
