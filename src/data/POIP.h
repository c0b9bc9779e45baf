// One instrument of the library and its key zones.
#pragma once

#include <cstddef>
#include <cstdint>

#include "data/TArray.h"

class PResource;

// One key zone: the highest key it covers, a transposition handed to the player, and the three
// raw resources (never null in a zone of the pool).
struct PZone {
    std::int32_t limit;
    std::int32_t transpose;
    PResource* base;
    PResource* top;
    PResource* filter;
};

struct POIP {
    static constexpr std::size_t kTextSize = 128;
    enum Flag : std::uint32_t {
        kMissingFile = 1,  // one of its raw files is missing
        kPlaceholder = 2,  // stands for an instrument that is not in the library
    };

    char name[kTextSize];
    char category[kTextSize];
    TArray<PZone> zones;  // in ascending order of limit
    std::uint32_t flags = 0;

    POIP(const char* name, const char* category);

    // The first zone whose limit is at or above the key, or the last zone; null without zones.
    const PZone* zoneForKey(int key) const;
};

// Copies text into a 128-byte field, cut to 127 bytes.
void copyText(char* field, const char* text);
