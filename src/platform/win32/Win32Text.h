// Texts crossing the Win32 boundary. Inside Quor every text, paths included, is UTF-8; the
// system's wide functions take and give UTF-16. The 8-bit ("ANSI") functions would read the
// bytes in the system's code page and lose every name outside it, so they are not used.
#pragma once

#include <cstddef>
#include <string>

namespace platform::win32 {

// The UTF-16 form of a UTF-8 text; a null text gives the empty text.
std::wstring toWide(const char* text);
// The UTF-8 form of a zero-terminated UTF-16 text.
std::string toUtf8(const wchar_t* text);

// Copies a UTF-8 text into out, zero-terminated; false (nothing copied) when it does not fit.
bool copyWhole(const std::string& text, char* out, std::size_t capacity);
// Copies as much of a UTF-8 text as fits into capacity - 1 bytes, zero-terminated; answers the
// bytes copied.
std::size_t copyCut(const std::string& text, char* out, std::size_t capacity);

}  // namespace platform::win32
