// A recursive critical section. Scope holds it for the lifetime of a block.
#pragma once

#include "platform/Platform.h"

class FLock {
public:
    FLock() = default;
    FLock(const FLock&) = delete;
    FLock& operator=(const FLock&) = delete;

    void lock() { mutex_.lock(); }
    void unlock() { mutex_.unlock(); }

    class Scope {
    public:
        explicit Scope(FLock& lock) : lock_(lock) { lock_.lock(); }
        ~Scope() { lock_.unlock(); }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        FLock& lock_;
    };

private:
    platform::Mutex mutex_;
};
