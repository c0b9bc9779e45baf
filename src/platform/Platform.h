// Operating-system services used by the rest of Quor. One interface, one implementation per
// platform (src/platform/posix, src/platform/win32); no other folder includes system headers.
//
// Texts, paths and names included, are UTF-8 whatever the system's code page, so folders with
// any name work; Windows gets them in UTF-16 through its wide functions. Each platform has its
// own separator (kPathSeparator); code above this layer builds paths with it and never assumes a
// particular one.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

#if defined(_WIN32)
inline constexpr char kPathSeparator = '\\';
// The root that a folder text without a drive or volume is placed under.
inline constexpr const char* kDefaultRoot = "c:\\";
#else
inline constexpr char kPathSeparator = '/';
inline constexpr const char* kDefaultRoot = "/";
#endif

// ---- Files ------------------------------------------------------------------------------------

// An open file; invalid when `handle` is 0. Owned by whoever opened it.
struct FileHandle {
    std::intptr_t handle = 0;
    bool valid() const { return handle != 0; }
};

enum OpenMode : unsigned {
    kOpenRead = 1,   // read access; the file must exist unless kOpenWrite is also given
    kOpenWrite = 2,  // write access; opened or created, never truncated
};

// Opens `path`; on failure returns an invalid handle and stores the system error code in *error.
FileHandle openFile(const char* path, unsigned mode, std::uint32_t* error);
void closeFile(FileHandle& file);
// Reads up to n bytes; answers the count read, or -1 on failure (error code in *error).
std::int64_t readFile(FileHandle file, void* buffer, std::size_t n, std::uint32_t* error);
// Writes n bytes; answers the count written, or -1 on failure (error code in *error).
std::int64_t writeFile(FileHandle file, const void* buffer, std::size_t n, std::uint32_t* error);
// whence: 0 from the start, 1 from the current position, 2 from the end. Answers the new
// position, or -1 on failure.
std::int64_t seekFile(FileHandle file, std::int64_t offset, int whence, std::uint32_t* error);
std::int64_t fileSize(FileHandle file);
// Makes the current position the end of the file.
bool truncateFile(FileHandle file, std::uint32_t* error);

bool pathExists(const char* path);
bool isDirectory(const char* path);
bool createDirectory(const char* path);
bool deleteFile(const char* path);
// Last-write time in whole seconds since 1 January 1601; 0 when the file can't be examined.
std::uint64_t fileModificationTime(const char* path);

// Lists a directory. Entries "." and ".." and hidden entries (the hidden attribute on Windows, a
// leading dot elsewhere) are never delivered.
class DirectoryLister {
public:
    explicit DirectoryLister(const char* directory);
    ~DirectoryLister();
    DirectoryLister(const DirectoryLister&) = delete;
    DirectoryLister& operator=(const DirectoryLister&) = delete;
    // Fills name (the entry's name only, NUL-terminated, cut to capacity) and isDir; false at the
    // end.
    bool next(char* name, std::size_t capacity, bool* isDir);

private:
    void* state_ = nullptr;
};

// Roots of the file system ("C:\" ... on Windows, "/" elsewhere): the index-th, false past the end.
bool fileSystemRoot(int index, char* out, std::size_t capacity);

// True when `path` is absolute on this platform.
bool isAbsolutePath(const char* path);
// Resolves `path` (absolute, or relative to the current directory) into a normalised absolute
// path without "." or ".." parts. False when it does not fit.
bool fullPath(const char* path, char* out, std::size_t capacity);
// The folder for temporary files, with a trailing separator.
bool tempDirectory(char* out, std::size_t capacity);
// The user's configuration folder for Quor (created when absent), with a trailing separator.
bool userConfigDirectory(char* out, std::size_t capacity);

// ---- The module --------------------------------------------------------------------------------

// Full path of the library (or program) that contains this code. False when it does not fit.
bool modulePath(char* out, std::size_t capacity);

// Loads a shared library (.so / .dll) by path; null on failure, with the system's reason in
// errorText when given.
void* loadLibrary(const char* path, char* errorText, std::size_t capacity);
void* librarySymbol(void* library, const char* name);
void unloadLibrary(void* library);

// ---- Settings with private-profile semantics ----------------------------------------------------
// An ini file of "[Section]" headers and "key=value" lines; sections and keys match ignoring letter
// case, values lose the blanks around them and one pair of enclosing quotes; a missing file,
// section or key yields the default. Numbers are read the same whatever the process locale.
// Give full file paths (Windows looks for a bare file name in its own folder). Windows reads a file
// in UTF-16 when it begins with the UTF-16 byte-order mark, otherwise in its 8-bit code page;
// elsewhere files are UTF-8.

// Copies the value (or the default) into out, cut to capacity - 1 bytes; answers the length copied.
std::size_t readProfileString(const char* file, const char* section, const char* key,
                              const char* defaultValue, char* out, std::size_t capacity);
// A decimal integer (the leading digits of the value, after an optional sign); the default when
// the key is absent or its value empty, 0 when the value does not begin with a number.
int readProfileInt(const char* file, const char* section, const char* key, int defaultValue);
// Sets or adds one key, keeping the rest of the file. False when the file can't be written. On
// Windows a file it creates is UTF-16, so that every character is kept.
bool writeProfileString(const char* file, const char* section, const char* key, const char* value);

// ---- Time ---------------------------------------------------------------------------------------

// Milliseconds from an arbitrary start; wraps around after 2^32 ms like the system tick counter.
std::uint32_t tickCount();
void sleepMs(std::uint32_t ms);
// Processor time the calling thread has used, in seconds (for measurements on a shared machine).
double threadCpuSeconds();

// ---- Threads and synchronisation ----------------------------------------------------------------

// A thread running `entry(argument)`. Priorities: 0 lowest, 1 normal, 2 highest, 3 time-critical.
class Thread {
public:
    using Entry = int (*)(void* argument);
    Thread() = default;
    ~Thread();  // detaches a thread still running; call join() first
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // False when this object already runs a thread or none could be made.
    bool start(Entry entry, void* argument);
    // Best effort: false when the system refused (raising a priority usually needs privileges
    // outside Windows), when no thread runs, or for a priority outside 0..3.
    bool setPriority(int priority);
    bool running() const { return state_ != nullptr; }
    // Waits for the thread's end; timeoutMs 0xFFFFFFFF waits for ever. False on time-out (the
    // thread keeps running and may be joined again); true at once when no thread was started.
    bool join(std::uint32_t timeoutMs);

private:
    void* state_ = nullptr;
};

// An auto-reset event: signal() wakes one wait(); a signal with nobody waiting is kept until the
// next wait().
class Event {
public:
    Event();
    ~Event();
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;
    void signal();
    void wait();
    // False when the time ran out first.
    bool waitFor(std::uint32_t timeoutMs);

private:
    void* state_ = nullptr;
};

// A recursive mutual-exclusion lock.
class Mutex {
public:
    Mutex();
    ~Mutex();
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;
    void lock();
    void unlock();

private:
    void* state_ = nullptr;
};

// ---- Memory and processor -----------------------------------------------------------------------

// Available virtual address space in bytes (what a large allocation may still get).
std::uint64_t availableMemory();
// Page-granular memory for large growing blocks; null on failure.
void* allocatePages(std::size_t bytes);
void freePages(void* block, std::size_t bytes);

struct CpuFeatures {
    bool fpu = false;
    bool sse2 = false;
    bool avx2 = false;  // the instructions and the system's saving of the 256-bit registers
};
CpuFeatures cpuFeatures();

// While it lives, the calling thread's floating-point unit flushes subnormal results to zero and
// treats subnormal inputs as zero; the thread's previous mode comes back when it ends. A no-op on
// processors without such a mode.
class ScopedFlushDenormals {
public:
    ScopedFlushDenormals();
    ~ScopedFlushDenormals();
    ScopedFlushDenormals(const ScopedFlushDenormals&) = delete;
    ScopedFlushDenormals& operator=(const ScopedFlushDenormals&) = delete;

private:
    unsigned saved_ = 0;
};

// ---- The person in front of the screen ----------------------------------------------------------

// Shows a message where a person can see it: a task-modal box on Windows; on Linux, where a modal
// box would block the host, the standard error stream plus a log file in the user's configuration
// folder (see logFilePath()).
void showMessage(const char* text, const char* title);
// The log file showMessage appends to on platforms without a message box; empty text elsewhere.
bool logFilePath(char* out, std::size_t capacity);
// Opens a document (for example a PDF manual) with the viewer the desktop associates with it.
bool openDocument(const char* path);
// Opens a web address in the desktop's browser.
bool openAddress(const char* address);

}  // namespace platform
