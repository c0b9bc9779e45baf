#include "PoolDescription.h"

#include <charconv>

namespace makelib {
namespace {

std::string number(int value) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

}  // namespace

std::string escapeXml(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string poolDescriptionXml(const std::vector<InstrumentEntry>& instruments) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<oip-pool>\r\n";
    for (const InstrumentEntry& instrument : instruments) {
        xml += "  <oip name=\"" + escapeXml(instrument.name) + "\" category=\"" +
               escapeXml(instrument.category) + "\">\r\n";
        for (const ZoneEntry& zone : instrument.zones) {
            xml += "    <zone limit=\"" + number(zone.limit) + "\" transpose=\"" +
                   number(zone.transpose) + "\" rn=\"" + number(zone.rawNumber) + "\"/>\r\n";
        }
        xml += "  </oip>\r\n";
    }
    xml += "</oip-pool>\r\n";
    return xml;
}

}  // namespace makelib
