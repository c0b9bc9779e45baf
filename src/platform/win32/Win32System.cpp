// The module, libraries, well-known folders, messages and the shell on Windows.
// windows.h comes first: the shell headers build on its types.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/Platform.h"
#include "platform/win32/Win32Text.h"

namespace platform {
namespace {

using win32::copyWhole;
using win32::toUtf8;
using win32::toWide;

// The text a wide call puts into a buffer it is given: `fill(buffer, units)` answers the length
// written, 0 on failure, or (when the buffer is too small) the size it needs or the whole buffer.
// Empty on failure.
template <typename Fill>
std::wstring filledBuffer(Fill fill) {
    constexpr std::size_t kMostUnits = 32768;  // the longest path the system knows
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        if (buffer.size() >= kMostUnits) return {};
        buffer.resize(std::max<std::size_t>(length, 2 * buffer.size()));
    }
}

std::wstring tempFolder() {
    return filledBuffer([](wchar_t* buffer, DWORD units) { return GetTempPathW(units, buffer); });
}

// The program the shell associates with files named like `sampleName`, found through an empty
// file of that name made for the question in the temporary folder.
bool associatedProgram(const wchar_t* sampleName, wchar_t (&program)[MAX_PATH]) {
    const std::wstring folder = tempFolder();
    if (folder.empty()) return false;
    const std::wstring sample = folder + sampleName;
    HANDLE file = CreateFileW(sample.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    program[0] = L'\0';
    const auto found = reinterpret_cast<INT_PTR>(FindExecutableW(sample.c_str(), nullptr, program));
    DeleteFileW(sample.c_str());
    return found > 32 && program[0] != L'\0';
}

bool launched(HINSTANCE result) {
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace

bool fullPath(const char* path, char* out, std::size_t capacity) {
    if (!path || !*path) return false;
    const std::wstring wide = toWide(path);
    const std::wstring full = filledBuffer([&](wchar_t* buffer, DWORD units) {
        return GetFullPathNameW(wide.c_str(), units, buffer, nullptr);
    });
    return !full.empty() && copyWhole(toUtf8(full.c_str()), out, capacity);
}

bool tempDirectory(char* out, std::size_t capacity) {
    const std::wstring folder = tempFolder();
    return !folder.empty() && copyWhole(toUtf8(folder.c_str()), out, capacity);
}

bool userConfigDirectory(char* out, std::size_t capacity) {
    wchar_t appData[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, appData))) {
        return false;
    }
    const std::string folder = toUtf8(appData) + "\\Quor";
    if (!isDirectory(folder.c_str()) && !createDirectory(folder.c_str())) return false;
    return copyWhole(folder + "\\", out, capacity);
}

bool modulePath(char* out, std::size_t capacity) {
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCWSTR>(&modulePath), &module)) {
        return false;
    }
    const std::wstring path = filledBuffer(
        [&](wchar_t* buffer, DWORD units) { return GetModuleFileNameW(module, buffer, units); });
    return !path.empty() && copyWhole(toUtf8(path.c_str()), out, capacity);
}

void* loadLibrary(const char* path, char* errorText, std::size_t capacity) {
    HMODULE library = path ? LoadLibraryW(toWide(path).c_str()) : nullptr;
    if (!library && errorText && capacity > 0) {
        const DWORD code = path ? GetLastError() : ERROR_INVALID_PARAMETER;
        wchar_t reason[512];
        if (FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           code, 0, reason, 512, nullptr) > 0) {
            win32::copyCut(toUtf8(reason), errorText, capacity);
        } else {
            std::snprintf(errorText, capacity, "error %lu", code);
        }
    }
    return reinterpret_cast<void*>(library);
}

void* librarySymbol(void* library, const char* name) {
    if (!library || !name) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void unloadLibrary(void* library) {
    if (library) FreeLibrary(static_cast<HMODULE>(library));
}

void showMessage(const char* text, const char* title) {
    MessageBoxW(nullptr, toWide(text).c_str(), toWide(title ? title : "Error").c_str(),
                MB_TASKMODAL | MB_ICONEXCLAMATION);
}

bool logFilePath(char* out, std::size_t capacity) {
    if (out && capacity > 0) out[0] = '\0';
    return false;
}

bool openDocument(const char* path) {
    if (!path || !*path) return false;
    // The viewer is the program associated with the document's extension.
    const char* name = std::strrchr(path, '\\');
    const char* extension = std::strrchr(name ? name : path, '.');
    const std::wstring sampleName = L"Temp" + toWide(extension);
    wchar_t program[MAX_PATH];
    if (!associatedProgram(sampleName.c_str(), program)) return false;
    // The short form of the path has no blanks, so it passes as one argument.
    const std::wstring document = toWide(path);
    const std::wstring shortPath = filledBuffer([&](wchar_t* buffer, DWORD units) {
        return GetShortPathNameW(document.c_str(), buffer, units);
    });
    const std::wstring& argument = shortPath.empty() ? document : shortPath;
    return launched(
        ShellExecuteW(nullptr, nullptr, program, argument.c_str(), nullptr, SW_SHOWNORMAL));
}

bool openAddress(const char* address) {
    if (!address || !*address) return false;
    wchar_t program[MAX_PATH];
    if (!associatedProgram(L"Temphtm.htm", program)) return false;
    return launched(
        ShellExecuteW(nullptr, L"open", program, toWide(address).c_str(), nullptr, SW_SHOWNORMAL));
}

}  // namespace platform
