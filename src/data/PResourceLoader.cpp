#include "data/PResourceLoader.h"

#include "data/PResourceTable.h"
#include "data/VstPlugObject.h"
#include "platform/Platform.h"

namespace {

constexpr int kWorkBeforePause = 10;

}  // namespace

PResourceLoader::~PResourceLoader() {
    stop();
}

void PResourceLoader::stop() {
    quit_.store(true);
    wake_.signal();
    wait(kInfinite);
}

int PResourceLoader::run() {
    for (;;) {
        const bool woken = wake_.wait(PResourceTable::kQuietReleaseMs);
        if (quit_.load()) return 0;
        if (woken || table_.takeQuietRelease()) pass();
    }
}

void PResourceLoader::pass() {
    int work = 0;
    for (PResource* r = table_.first(); r; r = r->next()) {
        if (quit_.load()) return;
        const std::uint32_t flags = r->flags();
        if ((flags & PResource::kWanted) && !(flags & PResource::kAttempted)) {
            if (VstPlugObject::allocationFailed()) return;
            if (table_.load(r)) ++work;
        } else if (flags & PResource::kReleaseRequested) {
            if (table_.unload(r)) ++work;
        }
        if (work >= kWorkBeforePause) {
            platform::sleepMs(1);
            work = 0;
        }
    }
}
