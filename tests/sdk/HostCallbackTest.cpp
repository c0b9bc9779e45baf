// The host-callback wrappers send the right opcodes and arguments and read the answers right.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "FakeEffect.h"

namespace {

struct Call {
    AEffect* effect;
    std::int32_t opcode, index;
    std::intptr_t value;
    float opt;
};
std::vector<Call> calls;
VstTimeInfo timeInfo{};

std::intptr_t recordingHost(AEffect* effect, std::int32_t opcode, std::int32_t index,
                            std::intptr_t value, void* ptr, float opt) {
    calls.push_back({effect, opcode, index, value, opt});
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

TEST(HostCallback, WrappersSendTheirOpcodesAndAnswerNothingWithoutAHost) {
    // A wrapper, the one host call it makes, and the answer it reads from the recording host.
    struct Case {
        std::function<std::intptr_t(FakeEffect&)> wrapper;
        std::int32_t opcode, index;
        std::intptr_t value, answer;
    };
    const Case cases[] = {
        {[](FakeEffect& e) { return std::intptr_t(e.getTimeInfo(kVstTempoValid)); },
         audioMasterGetTime, 0, kVstTempoValid, std::intptr_t(&timeInfo)},
        {[](FakeEffect& e) { return e.canHostDo("supplyIdle"); }, audioMasterCanDo, 0, 0, 1},
        {[](FakeEffect& e) { return e.canHostDo("sizeWindow"); }, audioMasterCanDo, 0, 0, -1},
        {[](FakeEffect& e) { return e.updateDisplay(); }, audioMasterUpdateDisplay, 0, 0, 1},
        {[](FakeEffect& e) { return e.beginEdit(9); }, audioMasterBeginEdit, 9, 0, 1},
        {[](FakeEffect& e) { return e.endEdit(9); }, audioMasterEndEdit, 9, 0, 1},
    };
    FakeEffect effect(recordingHost), hostless(nullptr);
    for (const Case& c : cases) {
        calls.clear();
        EXPECT_EQ(c.wrapper(effect), c.answer) << c.opcode;
        ASSERT_EQ(calls.size(), 1u) << c.opcode;
        EXPECT_EQ(calls[0].effect, effect.getAeffect());
        EXPECT_EQ(calls[0].opcode, c.opcode);
        EXPECT_EQ(calls[0].index, c.index) << c.opcode;
        EXPECT_EQ(calls[0].value, c.value) << c.opcode;
        EXPECT_EQ(c.wrapper(hostless), 0) << c.opcode;
    }
    EXPECT_EQ(hostless.getDirectory(), nullptr);
}

TEST(HostCallback, AutomationSetsAndReports) {
    FakeEffect effect(recordingHost), hostless(nullptr);
    calls.clear();
    effect.setParameterAutomated(6, 0.75f);
    EXPECT_EQ(effect.call, "setParameter");
    EXPECT_EQ(effect.first, 6);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].opcode, audioMasterAutomate);
    EXPECT_EQ(calls[0].index, 6);
    EXPECT_EQ(calls[0].opt, 0.75f);
    hostless.setParameterAutomated(1, 0.5f);  // still sets the value
    EXPECT_EQ(hostless.number, 0.5f);
}

}  // namespace
