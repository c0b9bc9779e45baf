#include "engine/SoundingVoiceList.h"

VoiceNode* SoundingVoiceList::add(Voice* voice) {
    if (count_ >= limit_) return nullptr;
    VoiceNode* node = pool_.take();
    if (!node) return nullptr;
    node->voice = voice;
    node->next = head_;
    if (head_)
        head_->prev = node;
    else
        tail_ = node;
    head_ = node;
    ++count_;
    return node;
}

void SoundingVoiceList::remove(VoiceNode* node) {
    if (!node || !node->inUse) return;
    if (node->prev)
        node->prev->next = node->next;
    else
        head_ = node->next;
    if (node->next)
        node->next->prev = node->prev;
    else
        tail_ = node->prev;
    --count_;
    pool_.giveBack(node);
}
