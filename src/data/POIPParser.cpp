#include "data/POIPParser.h"

#include <cstdint>
#include <cstring>

#include "data/PPool.h"
#include "data/PResourceTable.h"

namespace {

const char* attribute(const char* key, int count, const char* const* names,
                      const char* const* values) {
    for (int i = 0; i < count; ++i) {
        if (std::strcmp(names[i], key) == 0) return values[i];
    }
    return nullptr;
}

// A decimal integer read like "%d": leading white space, an optional sign, digits. Values beyond
// 32 bits are cut to the nearest 32-bit value. False when there are no digits.
bool parseInt(const char* text, std::int32_t* value) {
    if (!text) return false;
    while (*text == ' ' || *text == '\t' || *text == '\n' || *text == '\r') ++text;
    const bool negative = *text == '-';
    if (*text == '+' || *text == '-') ++text;
    std::int64_t magnitude = 0;
    const char* digits = text;
    for (; *text >= '0' && *text <= '9'; ++text) {
        magnitude = magnitude * 10 + (*text - '0');
        if (magnitude > INT32_MAX) magnitude = INT32_MAX + std::int64_t{1};
    }
    if (text == digits) return false;
    const std::int64_t signedValue = negative ? -magnitude : magnitude;
    *value = static_cast<std::int32_t>(signedValue > INT32_MAX ? INT32_MAX : signedValue);
    return true;
}

std::int32_t intAttribute(const char* key, int count, const char* const* names,
                          const char* const* values) {
    std::int32_t value = 0;
    parseInt(attribute(key, count, names, values), &value);
    return value;
}

// A raw file name must be a plain name inside the raw folder: no folders, no way out of it.
bool isPlainFileName(const char* name) {
    if (!name || !*name || std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
        return false;
    return std::strpbrk(name, "/\\:") == nullptr;
}

}  // namespace

POIPParser::POIPParser(const char* text, std::size_t length, PPool& pool, PResourceTable& table)
    : FxmlParser(text, length), pool_(pool), table_(table) {}

bool POIPParser::onCharData(const char*) {
    return true;
}

bool POIPParser::onStartElement(const char* name, bool isEmpty, int count, const char* const* names,
                                const char* const* values) {
    const State before = state_;
    bool accepted = false;
    if (state_ == State::Outside && std::strcmp(name, "oip-pool") == 0) {
        state_ = State::InPool;
        accepted = true;
    } else if (state_ == State::InPool && std::strcmp(name, "oip") == 0) {
        accepted = addInstrument(count, names, values);
        if (accepted) state_ = State::InInstrument;
    } else if (state_ == State::InInstrument && instrument_ && std::strcmp(name, "zone") == 0) {
        accepted = addZone(count, names, values);
        if (accepted) state_ = State::InZone;
    }
    if (!accepted) return false;
    const bool ok = isEmpty || parse(name);
    state_ = before;
    return ok;
}

bool POIPParser::addInstrument(int count, const char* const* names, const char* const* values) {
    const int index = pool_.addInstrument(attribute("name", count, names, values),
                                          attribute("category", count, names, values));
    instrument_ = pool_.get(index);
    return instrument_ != nullptr;
}

bool POIPParser::addZone(int count, const char* const* names, const char* const* values) {
    PZone zone{};
    zone.limit = intAttribute("limit", count, names, values);
    zone.transpose = intAttribute("transpose", count, names, values);
    const char* rn = attribute("rn", count, names, values);
    if (rn) {
        std::int32_t n = 0;
        if (!parseInt(rn, &n) || n < 0) return false;
        table_.createNumbered(zone, n);
    } else {
        const char* base = attribute("base", count, names, values);
        const char* top = attribute("top", count, names, values);
        const char* filter = attribute("filter", count, names, values);
        if (!isPlainFileName(base) || !isPlainFileName(top) || !isPlainFileName(filter))
            return false;
        zone.base = table_.findOrCreate(base, true);
        zone.top = table_.findOrCreate(top, true);
        zone.filter = table_.findOrCreate(filter, true, true);
    }
    // A zone joins the instrument only complete, so that every zone of the pool can be played.
    // A file can't serve both as samples and as filter: its checks and its reading differ.
    if (!zone.base || !zone.top || !zone.filter) return false;
    if (zone.base->isFilter() || zone.top->isFilter() || !zone.filter->isFilter()) return false;
    PZone* added = instrument_->zones.add();
    if (!added) return false;
    *added = zone;
    return true;
}
