// The plug-in object's 33 instrument slots on top of the pool: each slot holds references to the
// resources of the instrument it names, so that they stay loaded while a preset uses them.
// Changed on the host's user-interface thread; get() may be read from any thread.
#pragma once

#include <atomic>
#include <cstdint>

struct POIP;

class PResourceHolder {
public:
    static constexpr int kSlots = 33;

    PResourceHolder() = default;
    ~PResourceHolder() { releaseAll(); }
    PResourceHolder(const PResourceHolder&) = delete;
    PResourceHolder& operator=(const PResourceHolder&) = delete;

    // Points the slot at the pool's instrument `index` (none for an index without instrument):
    // nothing happens when it is already there; otherwise the old instrument is released and the
    // new one acquired. Answers true when the slot changed. Slots outside 0..32 are ignored.
    bool set(int slot, int index);
    // set() for the 33 slots in order.
    void setAll(const std::int32_t* indices);
    // A preset becomes active: the slots take its 33 instruments, all of them are asked to load in
    // the background, and the instruments of the three selected slots (Base, Top, Filter; a
    // selection outside 0..32 selects none) are loaded at once on this thread.
    void activate(const std::int32_t* slotIndices, const std::int32_t* selections);
    // Releases every held instrument and empties the slots.
    void releaseAll();
    POIP* get(int slot) const;

private:
    std::atomic<POIP*> slots_[kSlots] = {};
};
