// Files, directories and file times on POSIX systems.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Platform.h"

namespace platform {
namespace {

// Seconds between 1 January 1601 and 1 January 1970.
constexpr std::uint64_t kUnixEpochIn1601Seconds = 11644473600ull;

// The handle stores the descriptor plus one, so that descriptor 0 is still a valid handle.
int descriptorOf(FileHandle file) {
    return static_cast<int>(file.handle - 1);
}

void storeError(std::uint32_t* error) {
    if (error) *error = static_cast<std::uint32_t>(errno);
}

}  // namespace

FileHandle openFile(const char* path, unsigned mode, std::uint32_t* error) {
    FileHandle file;
    if (!path || !(mode & (kOpenRead | kOpenWrite))) {
        if (error) *error = EINVAL;
        return file;
    }
    int flags = O_CLOEXEC;
    if ((mode & kOpenRead) && (mode & kOpenWrite)) {
        flags |= O_RDWR | O_CREAT;
    } else if (mode & kOpenWrite) {
        flags |= O_WRONLY | O_CREAT;
    } else {
        flags |= O_RDONLY;
    }
    int fd = ::open(path, flags, 0644);
    if (fd < 0) {
        storeError(error);
        return file;
    }
    // A directory is not a file here, as on Windows.
    struct stat info;
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        if (error) *error = EISDIR;
        ::close(fd);
        return file;
    }
    file.handle = static_cast<std::intptr_t>(fd) + 1;
    return file;
}

void closeFile(FileHandle& file) {
    if (!file.valid()) return;
    ::close(descriptorOf(file));
    file.handle = 0;
}

std::int64_t readFile(FileHandle file, void* buffer, std::size_t n, std::uint32_t* error) {
    if (!file.valid()) {
        if (error) *error = EBADF;
        return -1;
    }
    std::size_t total = 0;
    auto* bytes = static_cast<char*>(buffer);
    while (total < n) {
        ssize_t got = ::read(descriptorOf(file), bytes + total, n - total);
        if (got < 0) {
            if (errno == EINTR) continue;
            storeError(error);
            return total ? static_cast<std::int64_t>(total) : -1;
        }
        if (got == 0) break;
        total += static_cast<std::size_t>(got);
    }
    return static_cast<std::int64_t>(total);
}

std::int64_t writeFile(FileHandle file, const void* buffer, std::size_t n, std::uint32_t* error) {
    if (!file.valid()) {
        if (error) *error = EBADF;
        return -1;
    }
    std::size_t total = 0;
    const auto* bytes = static_cast<const char*>(buffer);
    while (total < n) {
        ssize_t put = ::write(descriptorOf(file), bytes + total, n - total);
        if (put < 0) {
            if (errno == EINTR) continue;
            storeError(error);
            return -1;
        }
        total += static_cast<std::size_t>(put);
    }
    return static_cast<std::int64_t>(total);
}

std::int64_t seekFile(FileHandle file, std::int64_t offset, int whence, std::uint32_t* error) {
    static constexpr int kWhence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (!file.valid() || whence < 0 || whence > 2) {
        if (error) *error = file.valid() ? EINVAL : EBADF;
        return -1;
    }
    off_t position = ::lseek(descriptorOf(file), static_cast<off_t>(offset), kWhence[whence]);
    if (position < 0) {
        storeError(error);
        return -1;
    }
    return static_cast<std::int64_t>(position);
}

std::int64_t fileSize(FileHandle file) {
    struct stat info;
    if (!file.valid() || ::fstat(descriptorOf(file), &info) != 0) return -1;
    return static_cast<std::int64_t>(info.st_size);
}

bool truncateFile(FileHandle file, std::uint32_t* error) {
    std::int64_t position = seekFile(file, 0, 1, error);
    if (position < 0) return false;
    if (::ftruncate(descriptorOf(file), static_cast<off_t>(position)) != 0) {
        storeError(error);
        return false;
    }
    return true;
}

bool pathExists(const char* path) {
    struct stat info;
    return path && *path && ::stat(path, &info) == 0;
}

bool isDirectory(const char* path) {
    struct stat info;
    return path && *path && ::stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

bool createDirectory(const char* path) {
    return path && ::mkdir(path, 0755) == 0;
}

bool deleteFile(const char* path) {
    return path && ::unlink(path) == 0;
}

std::uint64_t fileModificationTime(const char* path) {
    struct stat info;
    if (!path || !*path || ::stat(path, &info) != 0) return 0;
    return static_cast<std::uint64_t>(info.st_mtime) + kUnixEpochIn1601Seconds;
}

DirectoryLister::DirectoryLister(const char* directory) {
    if (directory && *directory) state_ = ::opendir(directory);
}

DirectoryLister::~DirectoryLister() {
    if (state_) ::closedir(static_cast<DIR*>(state_));
}

bool DirectoryLister::next(char* name, std::size_t capacity, bool* isDir) {
    if (!state_ || !name || capacity == 0) return false;
    DIR* dir = static_cast<DIR*>(state_);
    while (const dirent* entry = ::readdir(dir)) {
        // Names that begin with a dot are hidden here; this also drops "." and "..".
        if (entry->d_name[0] == '.') continue;
        bool directory = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat info;
            directory =
                ::fstatat(::dirfd(dir), entry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
        }
        std::size_t length = std::strlen(entry->d_name);
        if (length >= capacity) length = capacity - 1;
        std::memcpy(name, entry->d_name, length);
        name[length] = '\0';
        if (isDir) *isDir = directory;
        return true;
    }
    return false;
}

bool fileSystemRoot(int index, char* out, std::size_t capacity) {
    if (index != 0 || !out || capacity < 2) return false;
    out[0] = '/';
    out[1] = '\0';
    return true;
}

bool isAbsolutePath(const char* path) {
    return path && path[0] == '/';
}

}  // namespace platform
