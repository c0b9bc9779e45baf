// Files, directories and file times on Windows.
#include <windows.h>

#include <cwchar>
#include <new>
#include <string>

#include "platform/Platform.h"
#include "platform/win32/Win32Text.h"

namespace platform {
namespace {

HANDLE handleOf(FileHandle file) {
    return reinterpret_cast<HANDLE>(file.handle);
}

void storeError(std::uint32_t* error) {
    if (error) *error = GetLastError();
}

bool isDotEntry(const wchar_t* name) {
    return std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0;
}

struct ListState {
    HANDLE find = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW data;
    bool started = false;
    std::wstring pattern;
};

}  // namespace

FileHandle openFile(const char* path, unsigned mode, std::uint32_t* error) {
    FileHandle file;
    if (!path || !(mode & (kOpenRead | kOpenWrite))) {
        if (error) *error = ERROR_INVALID_PARAMETER;
        return file;
    }
    DWORD access = 0, share = 0;
    if (mode & kOpenRead) {
        access |= GENERIC_READ;
        share |= FILE_SHARE_READ;
    }
    if (mode & kOpenWrite) {
        access |= GENERIC_WRITE;
        share |= FILE_SHARE_WRITE;
    }
    const DWORD creation = (mode & kOpenWrite) ? OPEN_ALWAYS : OPEN_EXISTING;
    HANDLE handle = CreateFileW(win32::toWide(path).c_str(), access, share, nullptr, creation,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        storeError(error);
        return file;
    }
    file.handle = reinterpret_cast<std::intptr_t>(handle);
    return file;
}

void closeFile(FileHandle& file) {
    if (!file.valid()) return;
    CloseHandle(handleOf(file));
    file.handle = 0;
}

std::int64_t readFile(FileHandle file, void* buffer, std::size_t n, std::uint32_t* error) {
    if (!file.valid()) {
        if (error) *error = ERROR_INVALID_HANDLE;
        return -1;
    }
    std::size_t total = 0;
    auto* bytes = static_cast<char*>(buffer);
    while (total < n) {
        const DWORD ask = static_cast<DWORD>(n - total > 0x40000000u ? 0x40000000u : n - total);
        DWORD got = 0;
        if (!ReadFile(handleOf(file), bytes + total, ask, &got, nullptr)) {
            storeError(error);
            return total ? static_cast<std::int64_t>(total) : -1;
        }
        if (got == 0) break;
        total += got;
    }
    return static_cast<std::int64_t>(total);
}

std::int64_t writeFile(FileHandle file, const void* buffer, std::size_t n, std::uint32_t* error) {
    if (!file.valid()) {
        if (error) *error = ERROR_INVALID_HANDLE;
        return -1;
    }
    std::size_t total = 0;
    const auto* bytes = static_cast<const char*>(buffer);
    while (total < n) {
        const DWORD ask = static_cast<DWORD>(n - total > 0x40000000u ? 0x40000000u : n - total);
        DWORD put = 0;
        if (!WriteFile(handleOf(file), bytes + total, ask, &put, nullptr)) {
            storeError(error);
            return -1;
        }
        total += put;
    }
    return static_cast<std::int64_t>(total);
}

std::int64_t seekFile(FileHandle file, std::int64_t offset, int whence, std::uint32_t* error) {
    static constexpr DWORD kMethod[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
    if (!file.valid() || whence < 0 || whence > 2) {
        if (error) *error = file.valid() ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE;
        return -1;
    }
    LARGE_INTEGER distance, position;
    distance.QuadPart = offset;
    if (!SetFilePointerEx(handleOf(file), distance, &position, kMethod[whence])) {
        storeError(error);
        return -1;
    }
    return position.QuadPart;
}

std::int64_t fileSize(FileHandle file) {
    LARGE_INTEGER size;
    if (!file.valid() || !GetFileSizeEx(handleOf(file), &size)) return -1;
    return size.QuadPart;
}

bool truncateFile(FileHandle file, std::uint32_t* error) {
    if (file.valid() && SetEndOfFile(handleOf(file))) return true;
    storeError(error);
    return false;
}

bool pathExists(const char* path) {
    return path && *path &&
           GetFileAttributesW(win32::toWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool isDirectory(const char* path) {
    if (!path || !*path) return false;
    const DWORD attributes = GetFileAttributesW(win32::toWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool createDirectory(const char* path) {
    return path && CreateDirectoryW(win32::toWide(path).c_str(), nullptr);
}

bool deleteFile(const char* path) {
    return path && DeleteFileW(win32::toWide(path).c_str());
}

std::uint64_t fileModificationTime(const char* path) {
    if (!path || !*path) return 0;
    HANDLE handle = CreateFileW(win32::toWide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return 0;
    FILETIME written;
    const bool known = GetFileTime(handle, nullptr, nullptr, &written);
    CloseHandle(handle);
    if (!known) return 0;
    const std::uint64_t ticks =
        (static_cast<std::uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
    return ticks / 10000000u;
}

DirectoryLister::DirectoryLister(const char* directory) {
    std::wstring pattern = win32::toWide(directory);
    if (pattern.empty()) return;
    auto* state = new (std::nothrow) ListState;
    if (!state) return;
    if (pattern.back() != L'\\') pattern += L'\\';
    state->pattern = pattern + L'*';
    state_ = state;
}

DirectoryLister::~DirectoryLister() {
    auto* state = static_cast<ListState*>(state_);
    if (!state) return;
    if (state->find != INVALID_HANDLE_VALUE) FindClose(state->find);
    delete state;
}

bool DirectoryLister::next(char* name, std::size_t capacity, bool* isDir) {
    auto* state = static_cast<ListState*>(state_);
    if (!state || !name || capacity == 0) return false;
    for (;;) {
        if (!state->started) {
            state->started = true;
            state->find = FindFirstFileW(state->pattern.c_str(), &state->data);
            if (state->find == INVALID_HANDLE_VALUE) return false;
        } else if (state->find == INVALID_HANDLE_VALUE ||
                   !FindNextFileW(state->find, &state->data)) {
            return false;
        }
        const WIN32_FIND_DATAW& entry = state->data;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) || isDotEntry(entry.cFileName)) {
            continue;
        }
        win32::copyCut(win32::toUtf8(entry.cFileName), name, capacity);
        if (isDir) *isDir = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        return true;
    }
}

bool fileSystemRoot(int index, char* out, std::size_t capacity) {
    constexpr DWORD kUnits = 2048;
    wchar_t drives[kUnits];
    const DWORD length = GetLogicalDriveStringsW(kUnits, drives);
    if (index < 0 || length == 0 || length >= kUnits) return false;
    const wchar_t* root = drives;
    for (int i = 0; i < index && *root; ++i) root += std::wcslen(root) + 1;
    return *root && win32::copyWhole(win32::toUtf8(root), out, capacity);
}

bool isAbsolutePath(const char* path) {
    if (!path) return false;
    if (path[0] == '\\' && path[1] == '\\') return true;
    const char drive = path[0];
    const bool letter = (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z');
    return letter && path[1] == ':' && path[2] == '\\';
}

}  // namespace platform
