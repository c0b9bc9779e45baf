// What a host sees when it loads the module: the entry, the record and every dispatcher answer.
#include <cstring>

#include "LoadedPlugin.h"
#include "platform/Platform.h"

namespace {

using HostEntry = LoadedPlugin;

TEST_F(HostEntry, RecordProperties) {
    const AEffect* e = host->effect();
    EXPECT_EQ(e->magic, vstFourCC("VstP"));
    EXPECT_EQ(e->uniqueID, 0x52532D31);  // "RS-1"
    EXPECT_EQ(e->numPrograms, 8);
    EXPECT_EQ(e->numParams, 108);
    EXPECT_EQ(e->numInputs, 0);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->flags,
              effFlagsHasEditor | effFlagsIsSynth | effFlagsCanReplacing | effFlagsProgramChunks);
    EXPECT_EQ(e->version, 1);
    EXPECT_NE(e->processReplacing, nullptr);
    EXPECT_NE(e->process, nullptr);
}

TEST_F(HostEntry, AnswersOfTheOperationTable) {
    EXPECT_EQ(host->effectName(), "Quor");
    EXPECT_EQ(host->productString(), "Quor");
    EXPECT_EQ(host->vendorString(), "Orin");
    EXPECT_EQ(host->vendorVersion(), 2400);
    EXPECT_EQ(host->dispatch(effGetVstVersion), 2400);
    EXPECT_EQ(host->plugCategory(), 2);
    for (int i : {0, 57, 107, 108, -1}) EXPECT_EQ(host->dispatch(effCanBeAutomated, i), 1) << i;
    char text[64] = "0.5";
    EXPECT_EQ(host->dispatch(effString2Parameter, 3, 0, text), 0);
    EXPECT_EQ(host->dispatch(effGetNumProgramCategories), 1);
    EXPECT_EQ(host->dispatch(effGetTailSize), 0);
    EXPECT_EQ(host->dispatch(effKeysRequired), 0);
    EXPECT_EQ(host->dispatch(effGetNumMidiInputChannels), 0);
    EXPECT_EQ(host->dispatch(effGetNumMidiOutputChannels), 0);
    EXPECT_EQ(host->dispatch(effIdle), 1);
    EXPECT_EQ(host->dispatch(effCopyProgram, 1), 0);
    EXPECT_EQ(host->dispatch(effGetSpeakerArrangement, 0, 0, text), 0);
    EXPECT_EQ(host->dispatch(effSetSpeakerArrangement, 0, 0, text), 0);
    EXPECT_EQ(host->dispatch(effGetParameterProperties, 0, 0, text), 0);
    EXPECT_EQ(host->dispatch(effGetVu), 0);
    EXPECT_EQ(host->dispatch(effIdentify), 0);
    EXPECT_EQ(host->dispatch(effGetProgram), 0);

    EXPECT_EQ(host->canDo("receiveVstEvents"), 1);
    EXPECT_EQ(host->canDo("receiveVstMidiEvent"), 1);
    EXPECT_EQ(host->canDo("receiveVstTimeInfo"), -1);
    EXPECT_EQ(host->canDo(""), -1);

    VstEvents none{};
    EXPECT_EQ(host->dispatch(effProcessEvents, 0, 0, &none), 1);
}

TEST_F(HostEntry, PinProperties) {
    for (int i = 0; i < 2; ++i) {
        VstPinProperties pin{};
        EXPECT_EQ(host->dispatch(effGetOutputProperties, i, 0, &pin), 1);
        EXPECT_STREQ(pin.label, i == 0 ? "Quor 1" : "Quor 2");
        EXPECT_EQ(pin.flags, kVstPinIsActive | kVstPinIsStereo);
    }
    VstPinProperties pin{};
    EXPECT_EQ(host->dispatch(effGetOutputProperties, 2, 0, &pin), 0);
    EXPECT_EQ(host->dispatch(effGetOutputProperties, -1, 0, &pin), 0);
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
