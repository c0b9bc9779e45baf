#include "platform/ProfileText.h"

namespace platform::profile {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    a = trim(a);
    b = trim(b);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    }
    return true;
}

// One line of the text, classified.
struct Line {
    enum Kind { kOther, kSection, kEntry } kind = kOther;
    std::string_view name;   // section or key name
    std::string_view value;  // the entry's value, trimmed and unquoted
    std::size_t begin = 0;   // offsets of the line in the text, end after its line feed
    std::size_t end = 0;
};

// Reads the line that starts at `offset`.
Line lineAt(std::string_view text, std::size_t offset) {
    Line line;
    line.begin = offset;
    std::size_t feed = text.find('\n', offset);
    line.end = feed == std::string_view::npos ? text.size() : feed + 1;
    std::string_view content =
        trim(text.substr(offset, line.end - offset - (feed == text.npos ? 0 : 1)));
    if (content.empty() || content.front() == ';') return line;
    if (content.front() == '[') {
        std::size_t close = content.find(']');
        if (close == std::string_view::npos) return line;
        line.kind = Line::kSection;
        line.name = trim(content.substr(1, close - 1));
        return line;
    }
    std::size_t equals = content.find('=');
    if (equals == std::string_view::npos) return line;
    line.kind = Line::kEntry;
    line.name = trim(content.substr(0, equals));
    std::string_view value = trim(content.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    line.value = value;
    return line;
}

// Where a key was found, or where it could be added.
struct Place {
    bool sectionFound = false;
    bool keyFound = false;
    Line entry;                  // the key's line when found
    std::size_t sectionEnd = 0;  // end of the header or last entry line of a matching section
};

Place locate(std::string_view text, std::string_view section, std::string_view key) {
    Place place;
    bool inSection = false;
    for (std::size_t offset = 0; offset < text.size();) {
        Line line = lineAt(text, offset);
        offset = line.end;
        if (line.kind == Line::kSection) {
            bool match = sameName(line.name, section);
            if (match && !place.sectionFound) {
                place.sectionFound = true;
                place.sectionEnd = line.end;
            }
            inSection = match;
        } else if (inSection && line.kind == Line::kEntry) {
            if (sameName(line.name, key)) {
                place.keyFound = true;
                place.entry = line;
                return place;
            }
            if (place.sectionEnd <= line.begin) place.sectionEnd = line.end;
        }
    }
    return place;
}

}  // namespace

bool findValue(std::string_view text, std::string_view section, std::string_view key,
               std::string_view* value) {
    Place place = locate(text, section, key);
    if (place.keyFound && value) *value = place.entry.value;
    return place.keyFound;
}

int parseInt(std::string_view value) {
    value = trim(value);
    bool negative = false;
    if (!value.empty() && (value.front() == '-' || value.front() == '+')) {
        negative = value.front() == '-';
        value.remove_prefix(1);
    }
    unsigned result = 0;
    for (char c : value) {
        if (c < '0' || c > '9') break;
        result = result * 10u + static_cast<unsigned>(c - '0');
    }
    return static_cast<int>(negative ? 0u - result : result);
}

std::string withValue(std::string_view text, std::string_view section, std::string_view key,
                      std::string_view value) {
    const std::string entry = std::string(trim(key)) + "=" + std::string(value);
    Place place = locate(text, section, key);
    std::string out;
    if (place.keyFound) {
        out.append(text.substr(0, place.entry.begin)).append(entry).append("\r\n");
        out.append(text.substr(place.entry.end));
        return out;
    }
    if (place.sectionFound) {
        std::string_view before = text.substr(0, place.sectionEnd);
        out.append(before);
        if (!before.empty() && before.back() != '\n') out.append("\r\n");
        out.append(entry).append("\r\n").append(text.substr(place.sectionEnd));
        return out;
    }
    out.append(text);
    if (!out.empty() && out.back() != '\n') out.append("\r\n");
    out.append("[").append(trim(section)).append("]\r\n").append(entry).append("\r\n");
    return out;
}

}  // namespace platform::profile
