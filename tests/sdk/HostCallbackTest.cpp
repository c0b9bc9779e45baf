// The host-callback wrappers send the right opcodes and arguments and read the answers right.
#include <gtest/gtest.h>

#include <vector>

#include "FakeEffect.h"

namespace {

struct Call {
    AEffect* effect;
    std::int32_t opcode, index;
    std::intptr_t value;
    void* ptr;
    float opt;
};
std::vector<Call> calls;
VstTimeInfo timeInfo{};

std::intptr_t recordingHost(AEffect* effect, std::int32_t opcode, std::int32_t index,
                            std::intptr_t value, void* ptr, float opt) {
    calls.push_back({effect, opcode, index, value, ptr, opt});
    switch (opcode) {
        case audioMasterVersion:
            return 2400;
        case audioMasterGetTime:
            return reinterpret_cast<std::intptr_t>(&timeInfo);
        case audioMasterCanDo:
            return std::strcmp(static_cast<char*>(ptr), "supplyIdle") == 0 ? 1 : -1;
        default:
            return 1;
    }
}

TEST(HostCallback, WrappersSendTheirOpcodes) {
    calls.clear();
    FakeEffect effect(recordingHost);
    EXPECT_EQ(effect.getMasterVersion(), 2400);
    EXPECT_EQ(effect.getTimeInfo(kVstTempoValid), &timeInfo);
    EXPECT_EQ(calls.back().opcode, audioMasterGetTime);
    EXPECT_EQ(calls.back().value, kVstTempoValid);
    EXPECT_EQ(effect.canHostDo("supplyIdle"), 1);
    EXPECT_EQ(effect.canHostDo("sizeWindow"), -1);
    EXPECT_TRUE(effect.wantEvents());
    EXPECT_EQ(calls.back().opcode, audioMasterWantMidi);
    EXPECT_EQ(calls.back().value, 1);
    EXPECT_TRUE(effect.needIdle());
    EXPECT_EQ(calls.back().opcode, audioMasterNeedIdle);
    EXPECT_TRUE(effect.updateDisplay());
    EXPECT_EQ(calls.back().opcode, audioMasterUpdateDisplay);
    EXPECT_TRUE(effect.beginEdit(9));
    EXPECT_EQ(calls.back().opcode, audioMasterBeginEdit);
    EXPECT_EQ(calls.back().index, 9);
    EXPECT_TRUE(effect.endEdit(9));
    EXPECT_EQ(calls.back().opcode, audioMasterEndEdit);
    for (const Call& call : calls) EXPECT_EQ(call.effect, effect.getAeffect());
}

TEST(HostCallback, AutomationSetsAndReports) {
    calls.clear();
    FakeEffect effect(recordingHost);
    effect.setParameterAutomated(6, 0.75f);
    EXPECT_EQ(effect.lastCall, "setParameter");
    EXPECT_EQ(effect.lastIndex, 6);
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back().opcode, audioMasterAutomate);
    EXPECT_EQ(calls.back().index, 6);
    EXPECT_EQ(calls.back().opt, 0.75f);
}

TEST(HostCallback, NoHostAnswersNothing) {
    FakeEffect effect(nullptr);
    EXPECT_EQ(effect.getMasterVersion(), 0);
    EXPECT_EQ(effect.getTimeInfo(kVstTempoValid), nullptr);
    EXPECT_EQ(effect.canHostDo("supplyIdle"), 0);
    EXPECT_EQ(effect.getDirectory(), nullptr);
    effect.setParameterAutomated(1, 0.5f);  // still sets the value
    EXPECT_EQ(effect.lastFloat, 0.5f);
}

}  // namespace
