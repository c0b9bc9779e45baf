// The module, libraries, well-known folders, messages and the shell on Windows.
// windows.h comes first: the shell headers build on its types.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "platform/Platform.h"

namespace platform {
namespace {

DWORD capped(std::size_t capacity) {
    return static_cast<DWORD>(capacity > 0x7FFFFFFF ? 0x7FFFFFFF : capacity);
}

bool copyWhole(const char* text, char* out, std::size_t capacity) {
    const std::size_t length = std::strlen(text);
    if (!out || length >= capacity) return false;
    std::memcpy(out, text, length + 1);
    return true;
}

// The program the shell associates with files named like `sampleName`, found through an empty
// file of that name made for the question in the temporary folder.
bool associatedProgram(const char* sampleName, char* program) {
    char sample[MAX_PATH];
    if (!tempDirectory(sample, sizeof sample) ||
        std::strlen(sample) + std::strlen(sampleName) >= sizeof sample) {
        return false;
    }
    std::strcat(sample, sampleName);
    HANDLE file = CreateFileA(sample, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    program[0] = '\0';
    const auto found = reinterpret_cast<INT_PTR>(FindExecutableA(sample, nullptr, program));
    DeleteFileA(sample);
    return found > 32 && program[0] != '\0';
}

bool launched(HINSTANCE result) {
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace

bool fullPath(const char* path, char* out, std::size_t capacity) {
    if (!path || !out || capacity == 0) return false;
    const DWORD length = GetFullPathNameA(path, capped(capacity), out, nullptr);
    return length > 0 && length < capacity;
}

bool tempDirectory(char* out, std::size_t capacity) {
    if (!out || capacity == 0) return false;
    const DWORD length = GetTempPathA(capped(capacity), out);
    return length > 0 && length < capacity;
}

bool userConfigDirectory(char* out, std::size_t capacity) {
    char folder[MAX_PATH];
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, folder)) ||
        std::strlen(folder) + 6 >= sizeof folder) {
        return false;
    }
    std::strcat(folder, "\\Quor");
    if (!isDirectory(folder) && !createDirectory(folder)) return false;
    std::strcat(folder, "\\");
    return copyWhole(folder, out, capacity);
}

bool modulePath(char* out, std::size_t capacity) {
    HMODULE module = nullptr;
    if (!out || capacity == 0 ||
        !GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCSTR>(&modulePath), &module)) {
        return false;
    }
    const DWORD length = GetModuleFileNameA(module, out, capped(capacity));
    return length > 0 && length < capacity;
}

void* loadLibrary(const char* path, char* errorText, std::size_t capacity) {
    HMODULE library = path ? LoadLibraryA(path) : nullptr;
    if (!library && errorText && capacity > 0) {
        const DWORD code = path ? GetLastError() : ERROR_INVALID_PARAMETER;
        const DWORD length =
            FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           code, 0, errorText, capped(capacity), nullptr);
        if (length == 0) std::snprintf(errorText, capacity, "error %lu", code);
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
    MessageBoxA(nullptr, text ? text : "", title ? title : "Error",
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
    char sampleName[MAX_PATH];
    std::snprintf(sampleName, sizeof sampleName, "Temp%s", extension ? extension : "");
    char program[MAX_PATH];
    if (!associatedProgram(sampleName, program)) return false;
    // The short form of the path has no blanks, so it passes as one argument.
    char shortPath[MAX_PATH];
    const DWORD length = GetShortPathNameA(path, shortPath, sizeof shortPath);
    const char* argument = length > 0 && length < sizeof shortPath ? shortPath : path;
    return launched(ShellExecuteA(nullptr, nullptr, program, argument, nullptr, SW_SHOWNORMAL));
}

bool openAddress(const char* address) {
    if (!address || !*address) return false;
    char program[MAX_PATH];
    if (!associatedProgram("Temphtm.htm", program)) return false;
    return launched(ShellExecuteA(nullptr, "open", program, address, nullptr, SW_SHOWNORMAL));
}

}  // namespace platform
