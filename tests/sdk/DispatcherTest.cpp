// The dispatcher as a host reaches it: through the record's C function pointers.
#include <gtest/gtest.h>

#include <cstdint>

#include "FakeEffect.h"

namespace {

struct Dispatcher : ::testing::Test {
    FakeEffect* effect = new FakeEffect(nullptr, &destroyed);
    AEffect* record = effect->getAeffect();
    int destroyed = 0;

    std::intptr_t call(std::int32_t opcode, std::int32_t index = 0, std::intptr_t value = 0,
                       void* ptr = nullptr, float opt = 0) {
        return record->dispatcher(record, opcode, index, value, ptr, opt);
    }
    void TearDown() override {
        if (!destroyed) call(effClose);
    }
};

TEST_F(Dispatcher, OpcodesReachTheirOperations) {
    call(effOpen);
    EXPECT_EQ(effect->lastCall, "open");
    call(effSetProgram, 0, 3);
    EXPECT_EQ(effect->lastIndex, 3);
    call(effSetSampleRate, 0, 0, nullptr, 96000.0f);
    EXPECT_EQ(effect->lastFloat, 96000.0f);
    call(effSetBlockSize, 0, 256);
    EXPECT_EQ(effect->lastIndex, 256);
    call(effMainsChanged, 0, 1);
    EXPECT_EQ(effect->lastCall, "resume");
    call(effMainsChanged, 0, 0);
    EXPECT_EQ(effect->lastCall, "suspend");

    char text[64] = {};
    call(effGetParamName, 7, 0, text);
    EXPECT_EQ(effect->lastIndex, 7);
    EXPECT_STREQ(text, "N");
    EXPECT_EQ(call(effGetProgramNameIndexed, 2, 5, text), 1);
    EXPECT_EQ(effect->lastIndex, 2);  // the program is the index argument
    EXPECT_EQ(effect->lastValue, 5);  // the category is the value argument

    char yes[] = "yes", no[] = "no";
    EXPECT_EQ(call(effCanDo, 0, 0, yes), 1);
    EXPECT_EQ(call(effCanDo, 0, 0, no), -1);
    EXPECT_EQ(call(effGetVstVersion), 2400);
    EXPECT_EQ(call(effGetNumProgramCategories), 1);
    EXPECT_EQ(call(effGetPlugCategory), kPlugCategUnknown);
    effect->isSynth(true);
    EXPECT_EQ(call(effGetPlugCategory), kPlugCategSynth);
    EXPECT_EQ(call(effVendorSpecific, 11, 12), 5);
    EXPECT_EQ(effect->lastIndex, 11);
    EXPECT_EQ(effect->lastValue, 12);
}

TEST_F(Dispatcher, ChunkCallsCarryTheirArguments) {
    void* block = nullptr;
    EXPECT_EQ(call(effGetChunk, 1, 0, &block), 17);
    EXPECT_TRUE(effect->lastFlag);
    EXPECT_EQ(block, effect);
    call(effGetChunk, 0, 0, &block);
    EXPECT_FALSE(effect->lastFlag);

    char data[8] = {};
    EXPECT_EQ(call(effSetChunk, 0, 8, data), 1);
    EXPECT_EQ(effect->lastIndex, 8);
    EXPECT_FALSE(effect->lastFlag);
    // A negative size or one past 32 bits is refused before reaching the plug-in.
    effect->lastCall.clear();
    EXPECT_EQ(call(effSetChunk, 1, -1, data), 0);
    EXPECT_EQ(call(effSetChunk, 1, std::intptr_t(1) << 40, data), 0);
    EXPECT_EQ(effect->lastCall, "");
}

TEST_F(Dispatcher, NullPointersAndUnknownOpcodesAnswerZero) {
    effect->lastCall.clear();
    for (std::int32_t opcode :
         {effSetProgramName, effGetProgramName, effGetParamLabel, effGetParamDisplay,
          effGetParamName, effGetChunk, effSetChunk, effProcessEvents, effString2Parameter,
          effGetProgramNameIndexed, effGetInputProperties, effGetOutputProperties, effGetEffectName,
          effGetVendorString, effGetProductString, effCanDo, effEditGetRect})
        EXPECT_EQ(call(opcode, 0, 1, nullptr), 0) << "opcode " << opcode;
    EXPECT_EQ(effect->lastCall, "");
    for (std::int32_t opcode : {9999, -1, 16, 17, 18, 20, 21, 31, 32, 36, 70, 100})
        EXPECT_EQ(call(opcode, 1, 1, nullptr, 1.0f), 0) << "opcode " << opcode;
    EXPECT_EQ(record->dispatcher(nullptr, effGetVstVersion, 0, 0, nullptr, 0), 0);
}

TEST_F(Dispatcher, HugeProgramValueDoesNotWrapIntoARange) {
    call(effSetProgram, 0, (std::intptr_t(1) << 32) + 2);
    EXPECT_EQ(effect->lastIndex, -1);
}

TEST_F(Dispatcher, CloseDestroysTheObject) {
    EXPECT_EQ(call(effClose), 0);
    EXPECT_EQ(destroyed, 1);
}

TEST_F(Dispatcher, ExceptionsStopAtTheRecord) {
    effect->throwOnCall = true;
    char text[16] = {};
    EXPECT_EQ(call(effGetProgramName, 0, 0, text), 0);
    void* block = nullptr;
    EXPECT_EQ(call(effGetChunk, 1, 0, &block), 0);
    record->setParameter(record, 1, 0.5f);
    EXPECT_EQ(record->getParameter(record, 3), 0.0f);
    float left[4], right[4];
    float* outputs[2] = {left, right};
    record->processReplacing(record, nullptr, outputs, 4);
    // The object survives and still closes cleanly.
    effect->throwOnCall = false;
    EXPECT_EQ(record->getParameter(record, 3), 1.5f);
}

TEST_F(Dispatcher, ParameterAndProcessEntries) {
    record->setParameter(record, 4, 0.25f);
    EXPECT_EQ(effect->lastIndex, 4);
    EXPECT_EQ(effect->lastFloat, 0.25f);
    EXPECT_EQ(record->getParameter(record, 2), 1.0f);

    float left[8], right[8];
    float* outputs[2] = {left, right};
    record->processReplacing(record, nullptr, outputs, 8);
    EXPECT_EQ(effect->lastIndex, 8);
    // Blocks of no frames and missing outputs never reach the plug-in.
    effect->lastCall.clear();
    record->processReplacing(record, nullptr, outputs, 0);
    record->processReplacing(record, nullptr, outputs, -5);
    record->processReplacing(record, nullptr, nullptr, 8);
    record->process(record, nullptr, nullptr, 8);
    EXPECT_EQ(effect->lastCall, "");
}

TEST_F(Dispatcher, EventListsArePassedOn) {
    VstMidiEvent midi{};
    midi.type = kVstMidiType;
    VstEvents list{};
    list.numEvents = 1;
    list.events[0] = reinterpret_cast<VstEvent*>(&midi);
    EXPECT_EQ(call(effProcessEvents, 0, 0, &list), 1);
}

}  // namespace
