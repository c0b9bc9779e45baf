// Private-profile settings on Windows: the system's own functions, in their wide forms.
#include <windows.h>

#include <string>

#include "platform/Platform.h"
#include "platform/win32/Win32Text.h"

namespace platform {
namespace {

using win32::toWide;

// The system writes a settings file it creates in the 8-bit code page, losing every character
// outside it; a file that begins with the UTF-16 byte-order mark stays UTF-16.
bool makeUnicodeFile(const char* file) {
    if (pathExists(file)) return true;
    FileHandle handle = openFile(file, kOpenWrite, nullptr);
    const bool made = writeFile(handle, "\xFF\xFE", 2, nullptr) == 2;
    closeFile(handle);
    return made;
}

}  // namespace

std::size_t readProfileString(const char* file, const char* section, const char* key,
                              const char* defaultValue, char* out, std::size_t capacity) {
    if (!out || capacity == 0) return 0;
    if (!defaultValue) defaultValue = "";
    // Without a file, section or key the system would list names instead of reading a value.
    if (!file || !section || !key) return win32::copyCut(defaultValue, out, capacity);
    // Each UTF-16 unit is at least one UTF-8 byte, so `capacity` units hold all that can fit.
    std::wstring value(capacity > 0xFFFFFFFFu ? 0xFFFFFFFFu : capacity, L'\0');
    GetPrivateProfileStringW(toWide(section).c_str(), toWide(key).c_str(),
                             toWide(defaultValue).c_str(), value.data(),
                             static_cast<DWORD>(value.size()), toWide(file).c_str());
    return win32::copyCut(win32::toUtf8(value.c_str()), out, capacity);
}

int readProfileInt(const char* file, const char* section, const char* key, int defaultValue) {
    if (!file || !section || !key) return defaultValue;
    return static_cast<int>(GetPrivateProfileIntW(toWide(section).c_str(), toWide(key).c_str(),
                                                  defaultValue, toWide(file).c_str()));
}

bool writeProfileString(const char* file, const char* section, const char* key, const char* value) {
    return file && section && key && value && makeUnicodeFile(file) &&
           WritePrivateProfileStringW(toWide(section).c_str(), toWide(key).c_str(),
                                      toWide(value).c_str(), toWide(file).c_str());
}

}  // namespace platform
