#include "core/PSlotCommands.h"

#include <cstdint>
#include <mutex>

#include "core/PPreset.h"
#include "data/PPropertyMatrix.h"
#include "engine/EngineRandom.h"

namespace {

constexpr int kSlots = PPreset::kSlotCount;
constexpr std::int32_t kEmpty = PPreset::kEmptySlot;
constexpr int kColumns = 10;
constexpr int kFirstResultSlot = 15;
// Random draws and search results are taken from the instruments 0..96; a random draw of 97 and a
// result outside these leave the slot empty.
constexpr std::int32_t kChoosable = 97;

// The slot clipboard, shared by every plug-in instance in the process; starts empty.
struct SlotClipboard {
    std::mutex lock;
    std::int32_t slots[kSlots];
    SlotClipboard() {
        for (std::int32_t& s : slots) s = kEmpty;
    }
};

SlotClipboard& slotClipboard() {
    static SlotClipboard instance;
    return instance;
}

enum class Search { kEqual, kNearest, kFarthest };

struct SearchCommand {
    Search search;
    int count;
    float weights[kColumns];
};

constexpr SearchCommand kSearches[] = {
    {Search::kEqual, 18, {0, 0, 0, 0, 0, 0, 1.0f, 0, 0, 0}},
    {Search::kNearest, 9, {0.5f, 1.0f, 0.5f, 0.2f, 0.2f, 1.0f, 0, 0, 0, 0}},
    {Search::kFarthest, 9, {0.5f, 1.0f, 0.5f, 0.2f, 0.2f, 1.0f, 0, 0, 0, 0}},
    {Search::kNearest, 9, {0.1f, 0.1f, 0.2f, 0.1f, 0.1f, 1.0f, 0, 0, 0, 0}},
};

void emptyUnselected(PPreset& preset) {
    for (int s = 0; s < kSlots; ++s) {
        bool selected = false;
        for (int layer = 0; layer < PPreset::kIconCount; ++layer) {
            selected = selected || preset.icon(layer) == s;
        }
        if (!selected) preset.setSlot(s, kEmpty);
    }
}

void selectFirstThree(PPreset& preset, const std::int32_t (&instruments)[PPreset::kIconCount]) {
    for (int layer = 0; layer < PPreset::kIconCount; ++layer) {
        preset.setSlot(layer, instruments[layer]);
        preset.setIcon(layer, layer);
    }
}

void gatherSelected(PPreset& preset) {
    std::int32_t instruments[PPreset::kIconCount];
    for (int layer = 0; layer < PPreset::kIconCount; ++layer) {
        instruments[layer] = preset.selectedInstrument(layer);
    }
    selectFirstThree(preset, instruments);
}

void chooseRandom(PPreset& preset) {
    for (int s = 0; s < kSlots; ++s) preset.setSlot(s, kEmpty);
    std::int32_t instruments[PPreset::kIconCount];
    for (std::int32_t& instrument : instruments) {
        // Single precision; the largest draw gives 97, an empty slot.
        float scaled = static_cast<float>(engineRand()) / float(kEngineRandMax) * float(kChoosable);
        instrument = static_cast<std::int32_t>(scaled);
        if (instrument >= kChoosable) instrument = kEmpty;
    }
    selectFirstThree(preset, instruments);
}

// False (and nothing changes) when the Base layer plays no instrument that the matrix describes:
// the distances would then still be those of an earlier search.
bool searchMatrix(PPreset& preset, const SearchCommand& command, PPropertyMatrix& matrix) {
    const std::int32_t base = preset.selectedInstrument(0);
    if (base < 0 || base >= matrix.rows()) return false;
    std::int32_t results[kSlots - kFirstResultSlot];
    for (std::int32_t& r : results) r = -1;  // a search may answer fewer rows than asked
    matrix.computeDistances(base, command.weights);
    switch (command.search) {
        case Search::kEqual:
            matrix.equal(results, command.count);
            break;
        case Search::kNearest:
            matrix.nearest(results, command.count);
            break;
        case Search::kFarthest:
            matrix.farthest(results, command.count);
            break;
    }
    for (int i = 0; i < command.count; ++i) {
        bool valid = results[i] >= 0 && results[i] < kChoosable;
        preset.setSlot(kFirstResultSlot + i, valid ? results[i] : kEmpty);
    }
    return true;
}

void copyResultsForward(PPreset& preset) {
    for (int i = 0; i < 12; ++i) preset.setSlot(3 + i, preset.slot(kFirstResultSlot + i));
}

void copySlots(const PPreset& preset) {
    SlotClipboard& board = slotClipboard();
    std::lock_guard<std::mutex> guard(board.lock);
    for (int s = 0; s < kSlots; ++s) board.slots[s] = preset.slot(s);
}

void fillEmptySlots(PPreset& preset) {
    SlotClipboard& board = slotClipboard();
    std::lock_guard<std::mutex> guard(board.lock);
    for (int s = 0; s < kSlots; ++s) {
        if (preset.slot(s) == kEmpty) preset.setSlot(s, board.slots[s]);
    }
}

}  // namespace

bool runSlotCommand(PPreset& preset, int command, PPropertyMatrix* matrix) {
    switch (command) {
        case 0:
            emptyUnselected(preset);
            return true;
        case 1:
            gatherSelected(preset);
            return true;
        case 2:
            chooseRandom(preset);
            return true;
        case 3:
        case 4:
        case 5:
        case 6:
            return matrix && searchMatrix(preset, kSearches[command - 3], *matrix);
        case 7:
            copyResultsForward(preset);
            return true;
        case 8:
            copySlots(preset);
            return true;
        case 9:
            fillEmptySlots(preset);
            return true;
        default:
            return false;
    }
}
