#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "core/PControllerMap.h"
#include "core/PProgram.h"
#include "platform/TempFolder.h"

// The audio thread reads the edit preset while the user-interface thread selects presets and a
// MIDI controller writes values; every access must be free of data races.
TEST(CoreThreads, EditPresetIsSharedWithoutRaces) {
    PProgram program;
    program.preset(1)->setValue(4, 0.25f);
    std::atomic<bool> done{false};
    std::thread audio([&] {
        float sum = 0;
        while (!done.load()) {
            program.editPreset().setValue(7, 0.5f);
            for (int i = 0; i < kNumParams; ++i) sum += program.editPreset().value(i);
            sum += float(program.editPreset().selectedInstrument(0));
        }
        EXPECT_GT(sum, 0.0f);
    });
    for (int round = 0; round < 2000; ++round) program.selectPreset(round % 2, false);
    done = true;
    audio.join();
    EXPECT_FLOAT_EQ(program.editPreset().value(4), 0.25f);
}

// Two plug-in instances initialising at once load the map once, from one of the folders.
TEST(CoreThreads, ControllerMapLoadsOnce) {
    TempFolder first, second;
    first.write(PControllerMap::kFileName, "3:Pan\r\n");
    second.write(PControllerMap::kFileName, "3:Voices\r\n");
    PControllerMap::reset();
    std::thread other([&] { PControllerMap::loadOnce(second.path().c_str()); });
    PControllerMap::loadOnce(first.path().c_str());
    int seen = PControllerMap::lookup(3);
    other.join();
    const int mapped = PControllerMap::lookup(3);
    EXPECT_TRUE(mapped == 86 || mapped == 85) << mapped;
    EXPECT_EQ(seen, mapped);  // the first loadOnce to return sees the finished map
    PControllerMap::reset();
}
