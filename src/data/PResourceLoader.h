// The background thread that loads wanted resources and frees released ones.
//
// Woken through an auto-reset event, it makes one pass over the resource table per wake-up
// (PResourceTable::loaderPass; a wake-up during a pass leads to one more pass); every 100 ms it
// also looks for frees that the audio thread asked for without waking it
// (PResourceTable::releaseQuietly). It runs at the lowest priority.
#pragma once

#include <atomic>

#include "data/FCondition.h"
#include "data/FThread.h"

class PResourceTable;

class PResourceLoader : public FThread {
public:
    PResourceLoader(PResourceTable& table, FCondition& wake) : table_(table), wake_(wake) {}
    ~PResourceLoader() override;

    // Asks the thread to end and waits until it has (after the file it may be reading).
    void stop();

protected:
    int run() override;

private:
    PResourceTable& table_;
    FCondition& wake_;
    std::atomic<bool> quit_{false};
};
