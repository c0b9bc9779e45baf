#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/PPreset.h"
#include "core/PSlotCommands.h"
#include "data/PPropertyMatrix.h"
#include "engine/EngineRandom.h"
#include "platform/TempFolder.h"

namespace {

constexpr std::int32_t kEmpty = PPreset::kEmptySlot;

std::vector<std::int32_t> slots(const PPreset& preset, int first, int last) {
    std::vector<std::int32_t> out;
    for (int s = first; s <= last; ++s) out.push_back(preset.slot(s));
    return out;
}

void numberSlots(PPreset& preset, int offset) {
    for (int s = 0; s < PPreset::kSlotCount; ++s) preset.setSlot(s, s + offset);
}

// A 100-row property file: column 0 is the row number + 10, column 6 the row number modulo 3,
// column 1 marks row 11; every other column is 0.
std::string propertyFile() {
    std::string text;
    for (int r = 0; r < 100; ++r) {
        for (int c = 0; c < 10; ++c) {
            int v = c == 0 ? r + 10 : c == 6 ? r % 3 : (c == 1 && r == 11) ? 1 : 0;
            text += std::to_string(v) + (c < 9 ? " " : "\r\n");
        }
    }
    return text;
}

}  // namespace

TEST(SlotCommands, EmptyGatherAndCopy) {
    PPreset preset;
    numberSlots(preset, 40);
    preset.setIcon(0, 4);
    preset.setIcon(1, 7);
    preset.setIcon(2, 4);
    ASSERT_TRUE(runSlotCommand(preset, 0, nullptr));
    for (int s = 0; s < PPreset::kSlotCount; ++s) {
        EXPECT_EQ(preset.slot(s), s == 4 || s == 7 ? s + 40 : kEmpty) << s;
    }

    preset.setIcon(2, 33);  // a selection outside the slots plays nothing
    ASSERT_TRUE(runSlotCommand(preset, 1, nullptr));
    EXPECT_EQ(slots(preset, 0, 2), (std::vector<std::int32_t>{44, 47, kEmpty}));
    for (int layer = 0; layer < 3; ++layer) EXPECT_EQ(preset.icon(layer), layer);

    numberSlots(preset, 0);
    ASSERT_TRUE(runSlotCommand(preset, 7, nullptr));
    for (int s = 3; s <= 14; ++s) EXPECT_EQ(preset.slot(s), s + 12);
    EXPECT_EQ(preset.slot(2), 2);
    EXPECT_EQ(preset.slot(15), 15);
    EXPECT_EQ(preset.slot(32), 32);

    EXPECT_FALSE(runSlotCommand(preset, 10, nullptr));
    EXPECT_FALSE(runSlotCommand(preset, -1, nullptr));
}

TEST(SlotCommands, ClipboardFillsOnlyEmptySlots) {
    PPreset source, target;
    numberSlots(source, 50);
    ASSERT_TRUE(runSlotCommand(source, 8, nullptr));
    numberSlots(source, 0);  // later changes do not reach the clipboard
    for (int s = 0; s < PPreset::kSlotCount; ++s) target.setSlot(s, s % 2 ? kEmpty : 1);
    ASSERT_TRUE(runSlotCommand(target, 9, nullptr));
    for (int s = 0; s < PPreset::kSlotCount; ++s) EXPECT_EQ(target.slot(s), s % 2 ? s + 50 : 1);
}

TEST(SlotCommands, RandomInstrumentsInTheFirstThreeSlots) {
    engineRandSeed(1234);
    float draws[3];
    for (float& d : draws) d = float(engineRand());
    engineRandSeed(1234);

    PPreset preset;
    preset.setIcon(0, 9);
    ASSERT_TRUE(runSlotCommand(preset, 2, nullptr));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(preset.slot(i), std::int32_t(draws[i] / 32767.0f * 97.0f));
        EXPECT_EQ(preset.icon(i), i);
    }
    for (int s = 3; s < PPreset::kSlotCount; ++s) EXPECT_EQ(preset.slot(s), kEmpty);
}

TEST(SlotCommands, PropertySearchesAroundTheBaseInstrument) {
    TempFolder folder;
    const std::string path = folder.write("quor_prop1.prn", propertyFile());
    PPropertyMatrix matrix;
    ASSERT_EQ(matrix.load(path.c_str(), 100, 10), 0);

    PPreset preset;
    numberSlots(preset, 60);
    preset.setIcon(0, 5);
    preset.setSlot(5, 10);  // the Base layer plays instrument 10
    EXPECT_FALSE(runSlotCommand(preset, 4, nullptr));
    EXPECT_EQ(preset.slot(15), 75);

    // Nearest by column 0 (weight 0.5) and column 1 (weight 1.0): row 11 drops back.
    ASSERT_TRUE(runSlotCommand(preset, 4, &matrix));
    EXPECT_EQ(slots(preset, 15, 23), (std::vector<std::int32_t>{9, 8, 12, 7, 11, 13, 6, 14, 5}));
    EXPECT_EQ(slots(preset, 24, 32),
              (std::vector<std::int32_t>{84, 85, 86, 87, 88, 89, 90, 91, 92}));

    // The same search with the weights 0.1 and 0.1: row 11 ties with rows 8 and 12.
    ASSERT_TRUE(runSlotCommand(preset, 6, &matrix));
    EXPECT_EQ(slots(preset, 15, 23), (std::vector<std::int32_t>{9, 8, 11, 12, 7, 13, 6, 14, 5}));

    // Farthest: rows 99 and 98 are no instruments of a slot, and 97 is the empty slot.
    ASSERT_TRUE(runSlotCommand(preset, 5, &matrix));
    EXPECT_EQ(slots(preset, 15, 23),
              (std::vector<std::int32_t>{kEmpty, kEmpty, kEmpty, 96, 95, 94, 93, 92, 91}));

    // Equal in column 6: the rows r with r % 3 == 1 other than the Base row, in order.
    ASSERT_TRUE(runSlotCommand(preset, 3, &matrix));
    std::vector<std::int32_t> equal;
    for (int r = 1; equal.size() < 18; r += 3) {
        if (r != 10) equal.push_back(r);
    }
    EXPECT_EQ(slots(preset, 15, 32), equal);
    EXPECT_EQ(preset.slot(14), 74);

    // Without a Base instrument the matrix is not asked (its distances would be stale).
    preset.setSlot(5, kEmpty);
    EXPECT_FALSE(runSlotCommand(preset, 4, &matrix));
    EXPECT_EQ(slots(preset, 15, 32), equal);

    // A matrix of six rows answers at most six; the other result slots become empty.
    PPropertyMatrix small;
    ASSERT_EQ(small.load(path.c_str(), 6, 10), 0);
    preset.setSlot(5, 1);
    ASSERT_TRUE(runSlotCommand(preset, 3, &small));
    EXPECT_EQ(slots(preset, 15, 16), (std::vector<std::int32_t>{4, kEmpty}));
    EXPECT_EQ(slots(preset, 21, 32), std::vector<std::int32_t>(12, kEmpty));
}
