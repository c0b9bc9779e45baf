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
    std::atomic<bool> started{false}, done{false};
    std::atomic<int> strangeValues{0};
    std::thread audio([&] {
        do {
            program.editPreset().setValue(7, 0.5f);
            float v = program.editPreset().value(4);  // preset 0 holds 0.8, preset 1 0.25
            if (v != 0.25f && v != 0.8f) ++strangeValues;
            started = true;
        } while (!done.load());
    });
    while (!started.load()) std::this_thread::yield();
    for (int round = 0; round < 2000; ++round) program.selectPreset(round % 2, false);
    done = true;
    audio.join();
    EXPECT_EQ(strangeValues.load(), 0);
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
