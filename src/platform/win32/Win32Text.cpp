// UTF-8 and UTF-16 conversion for the Win32 calls.
#include "platform/win32/Win32Text.h"

#include <windows.h>

#include <cstring>

namespace platform::win32 {

std::wstring toWide(const char* text) {
    if (!text || !*text) return {};
    const int units = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (units <= 1) return {};
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), units);
    wide.pop_back();  // the terminating zero
    return wide;
}

std::string toUtf8(const wchar_t* text) {
    if (!text || !*text) return {};
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1) return {};
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), bytes, nullptr, nullptr);
    utf8.pop_back();
    return utf8;
}

bool copyWhole(const std::string& text, char* out, std::size_t capacity) {
    if (!out || text.size() >= capacity) return false;
    std::memcpy(out, text.c_str(), text.size() + 1);
    return true;
}

std::size_t copyCut(const std::string& text, char* out, std::size_t capacity) {
    if (!out || capacity == 0) return 0;
    const std::size_t length = text.size() < capacity ? text.size() : capacity - 1;
    std::memcpy(out, text.data(), length);
    out[length] = '\0';
    return length;
}

}  // namespace platform::win32
