#include "engine/VoiceNodePool.h"

VoiceNodePool::VoiceNodePool() {
    for (int32_t i = kChained - 1; i >= 0; --i) {
        records_[i].inUse = true;
        giveBack(&records_[i]);
    }
}

VoiceNode* VoiceNodePool::take() {
    VoiceNode* node = freeHead_;
    if (!node) return nullptr;
    freeHead_ = node->next;
    node->next = node->prev = nullptr;
    node->inUse = true;
    --freeCount_;
    return node;
}

void VoiceNodePool::giveBack(VoiceNode* node) {
    if (!node || !node->inUse) return;
    node->voice = nullptr;
    node->stolen = false;
    node->inUse = false;
    node->prev = nullptr;
    node->next = freeHead_;
    freeHead_ = node;
    ++freeCount_;
}
