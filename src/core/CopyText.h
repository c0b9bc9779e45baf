// Bounded copy of an 8-bit text into a fixed buffer, always terminated.
#pragma once

#include <cstddef>
#include <cstring>

// Copies at most capacity - 1 characters of text (null counts as empty) and terminates dest.
inline void copyText(char* dest, std::size_t capacity, const char* text) {
    if (capacity == 0) return;
    std::size_t n = text ? strnlen(text, capacity - 1) : 0;
    std::memcpy(dest, text ? text : "", n);
    dest[n] = 0;
}
