// The list of sounding voices, newest first, over the records of a VoiceNodePool. Voices
// register when they start and unregister when they stop; with no record left a voice plays
// unregistered. Audio thread only.
#pragma once

#include <cstdint>

#include "engine/VoiceNodePool.h"

class SoundingVoiceList {
public:
    SoundingVoiceList(VoiceNodePool& pool, int32_t limit) : pool_(pool), limit_(limit) {}
    SoundingVoiceList(const SoundingVoiceList&) = delete;
    SoundingVoiceList& operator=(const SoundingVoiceList&) = delete;

    // Answers the voice's record, or null when none is free (the voice then plays unregistered).
    VoiceNode* add(Voice* voice);
    // Unlinks a record that add() answered and returns it to the pool; null is ignored.
    void remove(VoiceNode* node);

    VoiceNode* head() const { return head_; }
    VoiceNode* tail() const { return tail_; }
    int32_t count() const { return count_; }
    int32_t limit() const { return limit_; }

private:
    VoiceNodePool& pool_;
    VoiceNode* head_ = nullptr;
    VoiceNode* tail_ = nullptr;
    int32_t limit_;
    int32_t count_ = 0;
};
