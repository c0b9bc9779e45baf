// The module, libraries, well-known folders, messages and the desktop on POSIX systems.
#include <dlfcn.h>
#include <pthread.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/Platform.h"

extern char** environ;

namespace platform {
namespace {

// Copies text into out when it fits whole.
bool copyWhole(const char* text, char* out, std::size_t capacity) {
    const std::size_t length = std::strlen(text);
    if (!out || length >= capacity) return false;
    std::memcpy(out, text, length + 1);
    return true;
}

// Creates every missing folder of an absolute path.
bool createFolders(char* path) {
    for (char* slash = std::strchr(path + 1, '/'); slash; slash = std::strchr(slash + 1, '/')) {
        *slash = '\0';
        const bool present = isDirectory(path) || createDirectory(path);
        *slash = '/';
        if (!present) return false;
    }
    return isDirectory(path) || createDirectory(path);
}

void* reapChild(void* pid) {
    waitpid(static_cast<pid_t>(reinterpret_cast<std::intptr_t>(pid)), nullptr, 0);
    return nullptr;
}

// Starts xdg-open with one argument, without a shell; its end is collected in the background.
bool launchDesktopOpener(const char* argument) {
    if (!argument || !*argument) return false;
    char program[] = "xdg-open";
    char* arguments[] = {program, const_cast<char*>(argument), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, program, nullptr, nullptr, arguments, environ) != 0) return false;
    pthread_t reaper;
    if (pthread_create(&reaper, nullptr, reapChild,
                       reinterpret_cast<void*>(static_cast<std::intptr_t>(pid))) == 0) {
        pthread_detach(reaper);
    } else {
        waitpid(pid, nullptr, 0);
    }
    return true;
}

}  // namespace

bool fullPath(const char* path, char* out, std::size_t capacity) {
    if (!path || !out || capacity == 0) return false;
    char joined[4096];
    if (path[0] == '/') {
        if (!copyWhole(path, joined, sizeof joined)) return false;
    } else {
        char current[4096];
        if (!getcwd(current, sizeof current)) return false;
        int length = std::snprintf(joined, sizeof joined, "%s/%s", current, path);
        if (length < 0 || static_cast<std::size_t>(length) >= sizeof joined) return false;
    }
    // Rebuild part by part, dropping empty and "." parts and undoing ".." (the root's parent
    // is the root, as with the system's own resolution).
    char result[4096];
    std::size_t used = 0;
    char* rest = nullptr;
    for (char* part = strtok_r(joined, "/", &rest); part; part = strtok_r(nullptr, "/", &rest)) {
        if (std::strcmp(part, ".") == 0) continue;
        if (std::strcmp(part, "..") == 0) {
            while (used > 0 && result[used - 1] != '/') --used;
            if (used > 0) --used;
            continue;
        }
        const std::size_t length = std::strlen(part);
        if (used + 1 + length >= sizeof result) return false;
        result[used++] = '/';
        std::memcpy(result + used, part, length);
        used += length;
    }
    if (used == 0) result[used++] = '/';
    const std::size_t total = std::strlen(path);
    if (total > 1 && path[total - 1] == '/' && result[used - 1] != '/') result[used++] = '/';
    result[used] = '\0';
    return copyWhole(result, out, capacity);
}

bool tempDirectory(char* out, std::size_t capacity) {
    const char* base = std::getenv("TMPDIR");
    if (!base || base[0] != '/') base = "/tmp";
    const std::size_t length = std::strlen(base);
    const bool slash = base[length - 1] == '/';
    if (!out || length + (slash ? 0 : 1) >= capacity) return false;
    std::snprintf(out, capacity, "%s%s", base, slash ? "" : "/");
    return true;
}

bool userConfigDirectory(char* out, std::size_t capacity) {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    const bool useConfig = config && config[0] == '/';
    if (!useConfig && !(home && home[0] == '/')) return false;
    const char* base = useConfig ? config : home;
    std::size_t baseLength = std::strlen(base);
    while (baseLength > 1 && base[baseLength - 1] == '/') --baseLength;
    char folder[4096];
    const int length = std::snprintf(folder, sizeof folder, "%.*s%s", static_cast<int>(baseLength),
                                     base, useConfig ? "/Quor" : "/.config/Quor");
    if (length < 0 || static_cast<std::size_t>(length) + 1 >= sizeof folder) return false;
    if (!createFolders(folder)) return false;
    std::strcat(folder, "/");
    return copyWhole(folder, out, capacity);
}

bool modulePath(char* out, std::size_t capacity) {
    Dl_info info;
    char resolved[4096];
    if (dladdr(reinterpret_cast<void*>(&modulePath), &info) && info.dli_fname &&
        std::strchr(info.dli_fname, '/')) {
        return fullPath(info.dli_fname, out, capacity);
    }
    // Code linked into the program itself: the program's file.
    ssize_t length = readlink("/proc/self/exe", resolved, sizeof resolved - 1);
    if (length <= 0) return false;
    resolved[length] = '\0';
    return copyWhole(resolved, out, capacity);
}

void* loadLibrary(const char* path, char* errorText, std::size_t capacity) {
    void* library = path ? dlopen(path, RTLD_NOW | RTLD_LOCAL) : nullptr;
    if (!library && errorText && capacity > 0) {
        const char* reason = path ? dlerror() : "no library path";
        std::snprintf(errorText, capacity, "%s", reason ? reason : "unknown error");
    }
    return library;
}

void* librarySymbol(void* library, const char* name) {
    return library && name ? dlsym(library, name) : nullptr;
}

void unloadLibrary(void* library) {
    if (library) dlclose(library);
}

bool logFilePath(char* out, std::size_t capacity) {
    char folder[4096];
    if (!userConfigDirectory(folder, sizeof folder)) return false;
    if (std::strlen(folder) + std::strlen("quor.log") >= sizeof folder) return false;
    std::strcat(folder, "quor.log");
    return copyWhole(folder, out, capacity);
}

void showMessage(const char* text, const char* title) {
    if (!text) text = "";
    if (!title) title = "Error";
    std::fprintf(stderr, "%s: %s\n", title, text);
    char log[4096];
    if (!logFilePath(log, sizeof log)) return;
    if (std::FILE* file = std::fopen(log, "a")) {
        std::fprintf(file, "%s: %s\n", title, text);
        std::fclose(file);
    }
}

bool openDocument(const char* path) {
    return launchDesktopOpener(path);
}

bool openAddress(const char* address) {
    return launchDesktopOpener(address);
}

}  // namespace platform
