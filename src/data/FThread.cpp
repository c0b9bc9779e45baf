#include "data/FThread.h"

int FThread::entry(void* self) {
    return static_cast<FThread*>(self)->run();
}

bool FThread::start() {
    started_ = true;
    if (!thread_.start(&FThread::entry, this)) return false;
    thread_.setPriority(priority_);
    return true;
}

bool FThread::setPriority(int priority) {
    if (priority < 0 || priority > 3) return false;
    priority_ = priority;
    if (thread_.running()) thread_.setPriority(priority);
    return true;
}

bool FThread::wait(std::uint32_t ms) {
    if (!started_ || !thread_.running()) return true;
    return thread_.join(ms);
}
