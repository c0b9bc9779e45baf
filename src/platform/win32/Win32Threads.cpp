// Threads, events, critical sections and time on Windows.
#include <windows.h>

#include <new>

#include "platform/Platform.h"

namespace platform {
namespace {

// What a new thread needs; the thread itself frees it.
struct Launch {
    Thread::Entry entry;
    void* argument;
};

DWORD WINAPI threadMain(void* raw) {
    Launch launch = *static_cast<Launch*>(raw);
    delete static_cast<Launch*>(raw);
    return static_cast<DWORD>(launch.entry(launch.argument));
}

}  // namespace

std::uint32_t tickCount() {
    return GetTickCount();
}

double threadCpuSeconds() {
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return 0.0;
    auto ticks = [](const FILETIME& t) {
        return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) * 1e-7;  // 100 ns units
}

void sleepMs(std::uint32_t ms) {
    Sleep(ms);
}

Thread::~Thread() {
    if (state_) CloseHandle(static_cast<HANDLE>(state_));
}

bool Thread::start(Entry entry, void* argument) {
    if (state_ || !entry) return false;
    auto* launch = new (std::nothrow) Launch{entry, argument};
    if (!launch) return false;
    HANDLE handle = CreateThread(nullptr, 0, threadMain, launch, 0, nullptr);
    if (!handle) {
        delete launch;
        return false;
    }
    state_ = handle;
    return true;
}

bool Thread::setPriority(int priority) {
    static constexpr int kPriorities[] = {THREAD_PRIORITY_LOWEST, THREAD_PRIORITY_NORMAL,
                                          THREAD_PRIORITY_HIGHEST, THREAD_PRIORITY_TIME_CRITICAL};
    if (!state_ || priority < 0 || priority > 3) return false;
    return SetThreadPriority(static_cast<HANDLE>(state_), kPriorities[priority]);
}

bool Thread::join(std::uint32_t timeoutMs) {
    if (!state_) return true;
    if (WaitForSingleObject(static_cast<HANDLE>(state_), timeoutMs) != WAIT_OBJECT_0) return false;
    CloseHandle(static_cast<HANDLE>(state_));
    state_ = nullptr;
    return true;
}

Event::Event() {
    state_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
}

Event::~Event() {
    if (state_) CloseHandle(static_cast<HANDLE>(state_));
}

void Event::signal() {
    if (state_) SetEvent(static_cast<HANDLE>(state_));
}

void Event::wait() {
    waitFor(INFINITE);
}

bool Event::waitFor(std::uint32_t timeoutMs) {
    return state_ && WaitForSingleObject(static_cast<HANDLE>(state_), timeoutMs) == WAIT_OBJECT_0;
}

Mutex::Mutex() {
    auto* section = new (std::nothrow) CRITICAL_SECTION;
    if (!section) return;
    InitializeCriticalSection(section);
    state_ = section;
}

Mutex::~Mutex() {
    if (!state_) return;
    DeleteCriticalSection(static_cast<CRITICAL_SECTION*>(state_));
    delete static_cast<CRITICAL_SECTION*>(state_);
}

void Mutex::lock() {
    if (state_) EnterCriticalSection(static_cast<CRITICAL_SECTION*>(state_));
}

void Mutex::unlock() {
    if (state_) LeaveCriticalSection(static_cast<CRITICAL_SECTION*>(state_));
}

}  // namespace platform
