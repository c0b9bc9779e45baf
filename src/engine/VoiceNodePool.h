// The records of the sounding-voice list: 66 records, 64 of them threaded on a free chain.
#pragma once

#include <cstdint>

class Voice;

struct VoiceNode {
    Voice* voice = nullptr;
    VoiceNode* next = nullptr;
    VoiceNode* prev = nullptr;
    bool stolen = false;
    bool inUse = false;
};

class VoiceNodePool {
public:
    static constexpr int32_t kRecords = 66;
    static constexpr int32_t kChained = 64;

    VoiceNodePool();
    // The first record of the free chain, or null when none is left.
    VoiceNode* take();
    // Puts a taken record back at the front of the free chain; any other record is ignored.
    void giveBack(VoiceNode* node);
    int32_t freeCount() const { return freeCount_; }

private:
    VoiceNode records_[kRecords];
    VoiceNode* freeHead_ = nullptr;
    int32_t freeCount_ = 0;
};
