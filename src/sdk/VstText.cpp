#include "sdk/VstText.h"

#include <charconv>
#include <cstring>

void vstCopyText(char* dest, const char* text, std::size_t maxChars) {
    std::size_t n = text ? strnlen(text, maxChars) : 0;
    if (n) std::memcpy(dest, text, n);
    dest[n] = 0;
}

void floatToText(float value, char* text, std::size_t maxChars) {
    // Enough for any float in fixed notation with six decimals.
    char buffer[64];
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer - 1, value, std::chars_format::fixed, 6);
    std::size_t n = result.ec == std::errc() ? static_cast<std::size_t>(result.ptr - buffer) : 0;
    buffer[n] = 0;
    vstCopyText(text, buffer, maxChars);
}
