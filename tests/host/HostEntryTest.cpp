// What a host sees when it loads the module: the entry, the record and every dispatcher answer.
#include <cstring>
#include <utility>

#include "LoadedPlugin.h"
#include "platform/Platform.h"

namespace {

using HostEntry = LoadedPlugin;

// What the host relies on to talk to an instrument: the record's shape and flags (without the
// chunk flag a host never saves the programs), MIDI events taken, texts it cannot parse refused,
// output pins only where there are outputs.
TEST_F(HostEntry, AnswersWhatTheHostReliesOn) {
    const AEffect* e = host->effect();
    EXPECT_EQ(e->flags,
              effFlagsHasEditor | effFlagsIsSynth | effFlagsCanReplacing | effFlagsProgramChunks);
    EXPECT_EQ(std::pair(e->numInputs, e->numOutputs), std::pair(0, 2));
    EXPECT_EQ(std::pair(e->numPrograms, e->numParams), std::pair(8, 108));
    EXPECT_EQ(host->canDo("receiveVstEvents"), 1);
    EXPECT_EQ(host->canDo("receiveVstMidiEvent"), 1);
    EXPECT_EQ(host->canDo("receiveVstTimeInfo"), -1);
    EXPECT_EQ(host->canDo(""), -1);
    VstEvents none{};
    EXPECT_EQ(host->dispatch(effProcessEvents, 0, 0, &none), 1);
    char text[64] = "0.5";
    EXPECT_EQ(host->dispatch(effString2Parameter, 3, 0, text), 0);
    VstPinProperties pin{};
    EXPECT_EQ(host->dispatch(effGetOutputProperties, 1, 0, &pin), 1);
    EXPECT_EQ(pin.flags, kVstPinIsActive | kVstPinIsStereo);
    for (int bad : {2, -1}) EXPECT_EQ(host->dispatch(effGetOutputProperties, bad, 0, &pin), 0);
    EXPECT_EQ(host->dispatch(effGetInputProperties, 0, 0, &pin), 0);
}

TEST_F(HostEntry, AsksTheHostWhatItNeeds) {
    EXPECT_GE(host->callCount(audioMasterVersion), 2);  // the entry and the object both ask
    EXPECT_GE(host->callCount(audioMasterCanDo), 1);    // "supplyIdle"
    EXPECT_GE(host->callCount(audioMasterNeedIdle), 1);
    EXPECT_GE(host->callCount(audioMasterWantMidi), 1);  // on resume
}

TEST(HostEntryPoints, MainIsTheSameEntryAndVersionZeroRefuses) {
    ModuleCopy module;
    char reason[256] = {};
    void* library = platform::loadLibrary(module.path().c_str(), reason, sizeof reason);
    ASSERT_NE(library, nullptr) << reason;
    using Entry = AEffect* (*)(audioMasterCallback);
    auto entry = reinterpret_cast<Entry>(platform::librarySymbol(library, "VSTPluginMain"));
    auto legacy = reinterpret_cast<Entry>(platform::librarySymbol(library, "main"));
    ASSERT_NE(entry, nullptr);
    ASSERT_NE(legacy, nullptr);

    static std::intptr_t version = 0;
    audioMasterCallback callback = [](AEffect*, std::int32_t opcode, std::int32_t, std::intptr_t,
                                      void*, float) -> std::intptr_t {
        return opcode == audioMasterVersion ? version : 0;
    };
    EXPECT_EQ(entry(callback), nullptr);  // a host answering version 0
    EXPECT_EQ(legacy(callback), nullptr);
    EXPECT_EQ(entry(nullptr), nullptr);
    version = 2400;
    for (Entry e : {entry, legacy}) {
        AEffect* effect = e(callback);
        ASSERT_NE(effect, nullptr);
        EXPECT_EQ(effect->uniqueID, 0x52532D31);
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0);
    }
    platform::unloadLibrary(library);
}

}  // namespace
