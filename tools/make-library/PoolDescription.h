// The instrument description file: an "oip-pool" with one "oip" per instrument and one "zone"
// per key zone, each zone naming its raw files by number ("rn").
#pragma once

#include <string>
#include <vector>

namespace makelib {

struct ZoneEntry {
    int limit = 127;
    int transpose = 0;
    int rawNumber = 0;
};

struct InstrumentEntry {
    std::string name;
    std::string category;
    std::vector<ZoneEntry> zones;
};

std::string poolDescriptionXml(const std::vector<InstrumentEntry>& instruments);

// Text with the five XML special characters written as entities.
std::string escapeXml(const std::string& text);

}  // namespace makelib
