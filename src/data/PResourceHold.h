// A voice's hold on up to four raw resources (base, top, and the two filter tables).
// hold() takes references on the new set before dropping the old one, so a resource present in
// both never reaches zero references in between. Take the hold before reading any data.
// Safe on the audio thread: references are atomic and dropping the last one never wakes the
// loader directly (it notices within PResourceTable::kQuietReleaseMs).
#pragma once

class PResource;

class PResourceHold {
public:
    static constexpr int kCount = 4;

    PResourceHold() = default;
    ~PResourceHold() { drop(); }
    PResourceHold(const PResourceHold&) = delete;
    PResourceHold& operator=(const PResourceHold&) = delete;

    // Adds a reference to each present resource of the new set, then releases the old set.
    void hold(PResource* base, PResource* top, PResource* filterA, PResource* filterB);
    // Releases each present resource and empties all four.
    void drop();
    PResource* get(int i) const { return i >= 0 && i < kCount ? resources_[i] : nullptr; }

private:
    PResource* resources_[kCount] = {};
};
