#include "data/PResourceLoader.h"

#include "data/PResourceTable.h"

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
        if (woken || table_.takeQuietRelease()) table_.loaderPass(quit_);
    }
}
