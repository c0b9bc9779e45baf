// Private-profile settings on Windows: the system's own functions.
#include <windows.h>

#include "platform/Platform.h"

namespace platform {

std::size_t readProfileString(const char* file, const char* section, const char* key,
                              const char* defaultValue, char* out, std::size_t capacity) {
    if (!out || capacity == 0) return 0;
    if (!defaultValue) defaultValue = "";
    // Without a file, section or key the system would list names instead of reading a value.
    if (!file || !section || !key) {
        lstrcpynA(out, defaultValue,
                  static_cast<int>(capacity > 0x7FFFFFFF ? 0x7FFFFFFF : capacity));
        return lstrlenA(out);
    }
    const DWORD size = static_cast<DWORD>(capacity > 0xFFFFFFFFu ? 0xFFFFFFFFu : capacity);
    return GetPrivateProfileStringA(section, key, defaultValue, out, size, file);
}

int readProfileInt(const char* file, const char* section, const char* key, int defaultValue) {
    if (!file || !section || !key) return defaultValue;
    return static_cast<int>(GetPrivateProfileIntA(section, key, defaultValue, file));
}

bool writeProfileString(const char* file, const char* section, const char* key, const char* value) {
    return file && section && key && value && WritePrivateProfileStringA(section, key, value, file);
}

}  // namespace platform
