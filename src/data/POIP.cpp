#include "data/POIP.h"

#include <cstring>

void copyText(char* field, const char* text) {
    std::strncpy(field, text ? text : "", POIP::kTextSize - 1);
    field[POIP::kTextSize - 1] = 0;
}

POIP::POIP(const char* name_, const char* category_) {
    copyText(name, name_);
    copyText(category, category_);
}

const PZone* POIP::zoneForKey(int key) const {
    for (const PZone& zone : zones) {
        if (zone.limit >= key) return &zone;
    }
    return zones.count() > 0 ? &zones[zones.count() - 1] : nullptr;
}
