#include "data/PResourceHolder.h"

#include "data/PPool.h"

bool PResourceHolder::set(int slot, int index) {
    if (slot < 0 || slot >= kSlots) return false;
    PPool& pool = PPool::shared();
    POIP* instrument = pool.get(index);
    POIP* old = slots_[slot].load();
    if (instrument == old) return false;
    // The new references come first, so resources the two instruments share stay loaded.
    pool.acquire(instrument);
    slots_[slot].store(instrument);
    pool.release(old);
    return true;
}

void PResourceHolder::setAll(const std::int32_t* indices) {
    for (int slot = 0; slot < kSlots; ++slot) set(slot, indices[slot]);
}

void PResourceHolder::activate(const std::int32_t* slotIndices, const std::int32_t* selections) {
    PPool& pool = PPool::shared();
    setAll(slotIndices);
    pool.requestLoad(slotIndices, kSlots);
    for (int layer = 0; layer < 3; ++layer) pool.loadNow(get(selections[layer]));
}

void PResourceHolder::releaseAll() {
    PPool& pool = PPool::shared();
    for (auto& slot : slots_) pool.release(slot.exchange(nullptr));
}

POIP* PResourceHolder::get(int slot) const {
    return slot >= 0 && slot < kSlots ? slots_[slot].load() : nullptr;
}
