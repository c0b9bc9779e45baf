// Threads, events, locks and time on POSIX systems.
#include <pthread.h>
#include <sched.h>
#include <time.h>

#include <cerrno>
#include <new>

#include "platform/Platform.h"

namespace platform {
namespace {

// What a new thread needs; the thread itself frees it.
struct Launch {
    Thread::Entry entry;
    void* argument;
};

void* threadMain(void* raw) {
    Launch launch = *static_cast<Launch*>(raw);
    delete static_cast<Launch*>(raw);
    return reinterpret_cast<void*>(static_cast<std::intptr_t>(launch.entry(launch.argument)));
}

timespec monotonicNow() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now;
}

timespec later(clockid_t clock, std::uint32_t ms) {
    timespec at;
    clock_gettime(clock, &at);
    at.tv_sec += ms / 1000;
    at.tv_nsec += static_cast<long>(ms % 1000) * 1000000L;
    if (at.tv_nsec >= 1000000000L) {
        at.tv_sec += 1;
        at.tv_nsec -= 1000000000L;
    }
    return at;
}

struct EventState {
    pthread_mutex_t mutex;
    pthread_cond_t condition;
    bool signalled = false;
};

}  // namespace

std::uint32_t tickCount() {
    timespec now = monotonicNow();
    const std::uint64_t ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                             static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);
}

double threadCpuSeconds() {
    timespec used{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &used);
    return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) * 1e-9;
}

void sleepMs(std::uint32_t ms) {
    timespec wanted{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    while (nanosleep(&wanted, &wanted) != 0 && errno == EINTR) {
    }
}

Thread::~Thread() {
    if (state_) {
        pthread_detach(*static_cast<pthread_t*>(state_));
        delete static_cast<pthread_t*>(state_);
    }
}

bool Thread::start(Entry entry, void* argument) {
    if (state_ || !entry) return false;
    auto* handle = new (std::nothrow) pthread_t;
    auto* launch = new (std::nothrow) Launch{entry, argument};
    if (!handle || !launch || pthread_create(handle, nullptr, threadMain, launch) != 0) {
        delete handle;
        delete launch;
        return false;
    }
    state_ = handle;
    return true;
}

bool Thread::setPriority(int priority) {
    if (!state_ || priority < 0 || priority > 3) return false;
    const pthread_t thread = *static_cast<pthread_t*>(state_);
    // Ordinary users may lower a thread to the idle class but rarely raise it; the higher
    // priorities are tried and their refusal is reported, never fatal.
    sched_param parameter{};
    if (priority == 0) return pthread_setschedparam(thread, SCHED_IDLE, &parameter) == 0;
    if (priority == 1) return pthread_setschedparam(thread, SCHED_OTHER, &parameter) == 0;
    const int lowest = sched_get_priority_min(SCHED_RR);
    const int highest = sched_get_priority_max(SCHED_RR);
    parameter.sched_priority = priority == 3 ? highest : (lowest + highest) / 2;
    return pthread_setschedparam(thread, SCHED_RR, &parameter) == 0;
}

bool Thread::join(std::uint32_t timeoutMs) {
    if (!state_) return true;
    auto* handle = static_cast<pthread_t*>(state_);
    int result = 0;
    if (timeoutMs == 0xFFFFFFFFu) {
        result = pthread_join(*handle, nullptr);
    } else {
        const timespec deadline = later(CLOCK_REALTIME, timeoutMs);
        result = pthread_timedjoin_np(*handle, nullptr, &deadline);
    }
    if (result == ETIMEDOUT || result == EBUSY) return false;
    delete handle;
    state_ = nullptr;
    return true;
}

Event::Event() {
    auto* state = new (std::nothrow) EventState;
    if (!state) return;
    pthread_condattr_t attributes;
    pthread_condattr_init(&attributes);
    pthread_condattr_setclock(&attributes, CLOCK_MONOTONIC);
    pthread_mutex_init(&state->mutex, nullptr);
    pthread_cond_init(&state->condition, &attributes);
    pthread_condattr_destroy(&attributes);
    state_ = state;
}

Event::~Event() {
    auto* state = static_cast<EventState*>(state_);
    if (!state) return;
    pthread_cond_destroy(&state->condition);
    pthread_mutex_destroy(&state->mutex);
    delete state;
}

void Event::signal() {
    auto* state = static_cast<EventState*>(state_);
    if (!state) return;
    pthread_mutex_lock(&state->mutex);
    state->signalled = true;
    pthread_cond_signal(&state->condition);
    pthread_mutex_unlock(&state->mutex);
}

void Event::wait() {
    waitFor(0xFFFFFFFFu);
}

bool Event::waitFor(std::uint32_t timeoutMs) {
    auto* state = static_cast<EventState*>(state_);
    if (!state) return false;
    const timespec deadline = later(CLOCK_MONOTONIC, timeoutMs);
    pthread_mutex_lock(&state->mutex);
    int result = 0;
    while (!state->signalled && result != ETIMEDOUT) {
        result = timeoutMs == 0xFFFFFFFFu
                     ? pthread_cond_wait(&state->condition, &state->mutex)
                     : pthread_cond_timedwait(&state->condition, &state->mutex, &deadline);
    }
    const bool signalled = state->signalled;
    state->signalled = false;  // auto-reset: one wait takes the signal
    pthread_mutex_unlock(&state->mutex);
    return signalled;
}

Mutex::Mutex() {
    auto* mutex = new (std::nothrow) pthread_mutex_t;
    if (!mutex) return;
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(mutex, &attributes);
    pthread_mutexattr_destroy(&attributes);
    state_ = mutex;
}

Mutex::~Mutex() {
    if (!state_) return;
    pthread_mutex_destroy(static_cast<pthread_mutex_t*>(state_));
    delete static_cast<pthread_mutex_t*>(state_);
}

void Mutex::lock() {
    if (state_) pthread_mutex_lock(static_cast<pthread_mutex_t*>(state_));
}

void Mutex::unlock() {
    if (state_) pthread_mutex_unlock(static_cast<pthread_mutex_t*>(state_));
}

}  // namespace platform
