#include "editor/ValueTexts.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine/EnvelopeCurve.h"

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t';
}

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// `text` is `unit` (any case) followed by nothing but spaces.
bool isUnit(const char* text, const char* unit) {
    if (!unit) return false;
    while (*unit && lower(*text) == lower(*unit)) ++text, ++unit;
    if (*unit) return false;
    while (isSpace(*text)) ++text;
    return *text == 0;
}

// `number` with `decimals` decimals and `suffix` appended.
void writeFixed(char* text, double number, int decimals, const char* suffix) {
    char* end = text + kValueTextCapacity - 1;
    auto result = std::to_chars(text, end, number, std::chars_format::fixed, decimals);
    std::snprintf(result.ptr, std::size_t(end - result.ptr) + 1, "%s", suffix);
}

int percent(float value) {
    return int(std::trunc(100.0f * value + 0.5f));
}

float unitClamp(double v) {
    return float(std::clamp(v, 0.0, 1.0));
}

// Milliseconds typed as "ms", plain or as seconds.
bool readMilliseconds(const char* text, double& ms) {
    if (readNumber(text, ms, "ms")) return true;
    if (!readNumber(text, ms, "s")) return false;
    ms *= 1000.0;
    return true;
}

}  // namespace

bool readNumber(const char* text, double& number, const char* unit) {
    if (!text) return false;
    while (isSpace(*text)) ++text;
    char digits[kValueTextCapacity];
    int length = 0;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    for (; *text && length < kValueTextCapacity - 1; ++text, ++length) {
        const char c = *text == ',' ? '.' : *text;
        if (!((c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' ||
              ((c == '-' || c == '+') && length > 0 && lower(digits[length - 1]) == 'e')))
            break;
        digits[length] = c;
    }
    double parsed = 0;
    auto result = std::from_chars(digits, digits + length, parsed, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != digits + length) return false;
    while (isSpace(*text)) ++text;
    if (*text && !isUnit(text, unit)) return false;
    number = negative ? -parsed : parsed;
    return true;
}

void timeText(float value, char* text, void*) {
    const double ms = 20.0 + 1980.0 * double(value) * double(value);
    if (ms < 1000.0)
        writeFixed(text, ms, 0, " ms");
    else
        writeFixed(text, ms / 1000.0, 2, " s");
}

bool timeFromText(const char* text, float& value, void*) {
    double ms = 0;
    if (!readMilliseconds(text, ms)) return false;
    value = float(std::sqrt(std::clamp((ms - 20.0) / 1980.0, 0.0, 1.0)));
    return true;
}

void rateText(float value, char* text, void*) {
    writeFixed(text, 0.001 + 4.999 * double(value) * double(value), 3, "Hz");
}

bool rateFromText(const char* text, float& value, void*) {
    double hz = 0;
    if (!readNumber(text, hz, "Hz")) return false;
    value = float(std::sqrt(std::clamp((hz - 0.001) / 4.999, 0.0, 1.0)));
    return true;
}

void mixText(float value, char* text, void* userData) {
    if (value < 0.005f)
        std::snprintf(text, kValueTextCapacity, "Dry");
    else if (value > 0.95f)
        std::snprintf(text, kValueTextCapacity, "Wet");
    else
        percentText(value, text, userData);
}

void percentText(float value, char* text, void*) {
    std::snprintf(text, kValueTextCapacity, "%d%%", percent(value));
}

void balanceText(float value, char* text, void*) {
    const int p = int(std::trunc(200.0f * value + 0.5f));
    if (p == 100)
        std::snprintf(text, kValueTextCapacity, "<C>");
    else if (p < 100)
        std::snprintf(text, kValueTextCapacity, "L%d", 100 - p);
    else
        std::snprintf(text, kValueTextCapacity, "R%d", p - 100);
}

bool balanceFromText(const char* text, float& value, void*) {
    if (!text) return false;
    while (isSpace(*text)) ++text;
    double n = 0;
    if (isUnit(text, "c") || isUnit(text, "<c>") || (readNumber(text, n) && n == 0)) {
        value = 0.5f;
        return true;
    }
    const char side = lower(*text);
    if ((side != 'l' && side != 'r') || !readNumber(text + 1, n)) return false;
    value = unitClamp(0.5 + (side == 'r' ? n : -n) / 200.0);
    return true;
}

void lfoDelayText(float value, char* text, void* userData) {
    const auto* decay = static_cast<const float*>(userData);
    const double ms = value == 0.0f ? 0.0 : double(envelopeTimeMs(decay, value));
    if (ms < 100.0)
        writeFixed(text, ms, 0, "ms");
    else if (ms < 1000.0)
        writeFixed(text, ms, 0, "");
    else
        writeFixed(text, ms / 1000.0, 0, "s");
}

bool lfoDelayFromText(const char* text, float& value, void* userData) {
    double ms = 0;
    if (!readMilliseconds(text, ms)) return false;
    const auto* decay = static_cast<const float*>(userData);
    if (ms <= 0.0) {
        value = 0.0f;
        return true;
    }
    // The rate whose time is nearest: the first at or above, or the one before it.
    const float above = envelopeParamFromMs(decay, float(ms));
    const float below = float(std::max(std::lround(above * 100.0f) - 1, 0L)) * 0.01f;
    const bool nearer = ms - double(envelopeTimeMs(decay, below)) <
                        double(envelopeTimeMs(decay, above)) - ms;
    value = nearer ? below : above;
    return true;
}

void envelopeTimeText(float value, char* text, void* userData) {
    const double ms = envelopeTimeMs(static_cast<const float*>(userData), value);
    if (ms < 10.0)
        writeFixed(text, ms, 2, "ms");
    else if (ms < 100.0)
        writeFixed(text, ms, 1, "ms");
    else if (ms < 1000.0)
        writeFixed(text, ms, 0, "ms");
    else
        writeFixed(text, ms / 1000.0, 2, "s");
}

bool envelopeTimeFromText(const char* text, float& value, void* userData) {
    double ms = 0;
    if (!readMilliseconds(text, ms) || !(ms > 0.0)) return false;
    const auto* decay = static_cast<const float*>(userData);
    const float v = envelopeParamFromMs(decay, float(ms));
    // envelopeParamFromMs answers 1 also for times beyond the longest one.
    if (v >= 1.0f && ms > double(envelopeTimeMs(decay, 1.0f)) * 1.00001) return false;
    value = v;
    return true;
}

void envelopeLevelText(float value, char* text, void*) {
    if (!(value > 0.0f))
        std::snprintf(text, kValueTextCapacity, "-oo");
    else
        writeFixed(text, 20.0 * std::log10(double(value)), 1, "dB");
}

bool envelopeLevelFromText(const char* text, float& value, void*) {
    if (!text) return false;
    while (isSpace(*text)) ++text;
    if (isUnit(text, "-oo")) {
        value = 0.0f;
        return true;
    }
    double db = 0;
    if (!readNumber(text, db, "dB")) return false;
    const double level = std::pow(10.0, db / 20.0);
    if (!(level <= 1.0 + 1e-9)) return false;
    value = unitClamp(level);
    return true;
}

void integerText(float value, char* text, int min, int max, const char* unit) {
    const int n = int(std::trunc(value * float(max - min) + 0.5f)) + min;
    if (unit && *unit)
        std::snprintf(text, kValueTextCapacity, "%d %s", n, unit);
    else
        std::snprintf(text, kValueTextCapacity, "%d", n);
}

bool integerFromText(const char* text, float& value, int min, int max, const char* unit) {
    double number = 0;
    if (!readNumber(text, number, unit) || max == min) return false;
    const double n = std::clamp(std::round(number), double(std::min(min, max)),
                                double(std::max(min, max)));
    value = float((n - min) / double(max - min));
    return true;
}
