// The plug-in record as a host reaches it: the dispatcher and the other C entry points, for the
// effect's own operations and for its editor.
#include <gtest/gtest.h>

#include <cstdint>

#include "FakeEffect.h"

namespace {

constexpr std::intptr_t kNone = -99;

struct Dispatcher : ::testing::Test {
    int destroyed = 0, editorsDestroyed = 0;
    FakeEffect* effect = new FakeEffect(nullptr, &destroyed);
    AEffect* record = effect->getAeffect();

    std::intptr_t call(std::int32_t opcode, std::int32_t index = 0, std::intptr_t value = 0,
                       void* ptr = nullptr, float opt = 0) {
        return record->dispatcher(record, opcode, index, value, ptr, opt);
    }
    FakeEditor* install() {
        auto* editor = new FakeEditor(effect, &editorsDestroyed);
        effect->setEditor(editor);
        return editor;
    }
    void TearDown() override {
        if (!destroyed) call(effClose);
    }
};

// Calls whose effect the tests of the built module see through its entry (open, program
// selection, parameter names, chunks, canDo) are not repeated here.
TEST_F(Dispatcher, OpcodesReachTheirOperationsWithTheirArguments) {
    // A host call, the operation it reaches ("" for none), what that was given, and the answer.
    struct Case {
        std::int32_t opcode, index;
        std::intptr_t value;
        float opt;
        const char* reached;
        std::intptr_t first, second, answer;
    };
    const Case cases[] = {
        {effSetProgram, 0, (std::intptr_t(1) << 32) + 2, 0, "setProgram", -1, kNone, 0},
        {effSetBlockSize, 0, 256, 0, "setBlockSize", 256, kNone, 0},
        {effMainsChanged, 0, 1, 0, "resume", kNone, kNone, 0},
        {effMainsChanged, 0, 0, 0, "suspend", kNone, kNone, 0},
        // The program is the index argument, the category the value.
        {effGetProgramNameIndexed, 2, 5, 0, "getProgramNameIndexed", 2, 5, 1},
        {effVendorSpecific, 11, 12, 0, "vendorSpecific", 11, 12, 5},
        // A negative size, or one past 32 bits, is refused before reaching the plug-in.
        {effSetChunk, 1, -1, 0, "", kNone, kNone, 0},
        {effSetChunk, 1, std::intptr_t(1) << 40, 0, "", kNone, kNone, 0},
        {effGetVstVersion, 0, 0, 0, "", kNone, kNone, 2400},
        {effGetPlugCategory, 0, 0, 0, "", kNone, kNone, kPlugCategUnknown},
    };
    for (const Case& c : cases) {
        effect->note("");
        alignas(void*) char scratch[64] = "yes";
        EXPECT_EQ(call(c.opcode, c.index, c.value, scratch, c.opt), c.answer) << c.opcode;
        EXPECT_EQ(effect->call, c.reached) << c.opcode;
        EXPECT_EQ(effect->first, c.first) << c.opcode;
        EXPECT_EQ(effect->second, c.second) << c.opcode;
    }
    call(effSetSampleRate, 0, 0, nullptr, 96000.0f);
    EXPECT_EQ(effect->number, 96000.0f);
    effect->isSynth(true);
    EXPECT_EQ(call(effGetPlugCategory), kPlugCategSynth);
    VstEvents list{};
    list.numEvents = 1;
    EXPECT_EQ(call(effProcessEvents, 0, 0, &list), 1);
}

TEST_F(Dispatcher, NullPointersAndUnknownOpcodesAnswerZero) {
    // Calls given no pointer reach nothing.
    effect->note("");
    for (std::int32_t opcode :
         {effSetProgramName, effGetProgramName, effGetParamLabel, effGetParamDisplay,
          effGetParamName, effGetChunk, effSetChunk, effProcessEvents, effString2Parameter,
          effGetProgramNameIndexed, effGetInputProperties, effGetOutputProperties, effGetEffectName,
          effGetVendorString, effGetProductString, effCanDo, effEditGetRect})
        EXPECT_EQ(call(opcode, 0, 1, nullptr), 0) << "opcode " << opcode;
    EXPECT_EQ(effect->call, "");
    // Nor do editor calls while there is no editor, and unknown opcodes.
    for (std::int32_t opcode : std::initializer_list<std::int32_t>{
             effEditOpen, effEditClose, effEditIdle, effEditKeyDown, effEditKeyUp,
             effSetEditKnobMode, 9999, -1, 16, 17, 18, 20, 21, 31, 32, 36, 70})
        EXPECT_EQ(call(opcode, 1, 1, nullptr, 1.0f), 0) << "opcode " << opcode;
    EXPECT_EQ(call(effVendorSpecific, vstFourCC("stCA"), vstFourCC("Whee"), nullptr, 1.0f), 0);
    EXPECT_EQ(record->dispatcher(nullptr, effGetVstVersion, 0, 0, nullptr, 0), 0);
}

TEST_F(Dispatcher, ParameterAndProcessEntries) {
    record->setParameter(record, 4, 0.25f);
    EXPECT_EQ(effect->first, 4);
    EXPECT_EQ(effect->number, 0.25f);
    EXPECT_EQ(record->getParameter(record, 2), 1.0f);

    float left[8], right[8];
    float* outputs[2] = {left, right};
    record->processReplacing(record, nullptr, outputs, 8);
    EXPECT_EQ(effect->first, 8);
    // Blocks of no frames and missing outputs never reach the plug-in.
    effect->note("");
    record->processReplacing(record, nullptr, outputs, 0);
    record->processReplacing(record, nullptr, outputs, -5);
    record->processReplacing(record, nullptr, nullptr, 8);
    record->process(record, nullptr, nullptr, 8);
    EXPECT_EQ(effect->call, "");

    // Exceptions stop at the record; the object survives and still closes cleanly.
    effect->throwOnCall = true;
    char text[16] = {};
    EXPECT_EQ(call(effGetProgramName, 0, 0, text), 0);
    void* block = nullptr;
    EXPECT_EQ(call(effGetChunk, 1, 0, &block), 0);
    record->setParameter(record, 1, 0.5f);
    EXPECT_EQ(record->getParameter(record, 3), 0.0f);
    record->processReplacing(record, nullptr, outputs, 4);
    effect->throwOnCall = false;
    EXPECT_EQ(record->getParameter(record, 3), 1.5f);
}

TEST_F(Dispatcher, EditorOpcodesReachTheEditor) {
    FakeEditor* editor = install();
    ERect* rect = nullptr;
    EXPECT_EQ(call(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_EQ(rect, &editor->rect);

    int window = 42;
    EXPECT_EQ(call(effEditOpen, 0, 0, &window), 1);
    EXPECT_TRUE(editor->isOpen());
    EXPECT_EQ(editor->getParentWindow(), &window);
    call(effEditIdle);
    EXPECT_EQ(editor->call, "idle");
    call(effEditClose);
    EXPECT_FALSE(editor->isOpen());

    EXPECT_EQ(call(effEditKeyDown, 'q', 3, nullptr, 8.0f), 1);
    EXPECT_EQ(editor->key.character, 'q');
    EXPECT_EQ(editor->key.virt, 3);
    EXPECT_EQ(editor->key.modifier, 8);
    EXPECT_EQ(call(effEditKeyUp, 'r', 0, nullptr, -3.0f), 0);  // the editor declined it
    EXPECT_EQ(editor->call, "keyUp");
    EXPECT_EQ(editor->key.modifier, 0);  // an impossible modifier value is dropped

    EXPECT_EQ(call(effSetEditKnobMode, 0, 2), 1);
    EXPECT_EQ(editor->knobMode, 2);

    // The wheel's vendor call needs both codes; one of them alone is some other vendor call.
    EXPECT_EQ(call(effVendorSpecific, vstFourCC("stCA"), vstFourCC("Whee"), nullptr, -2.5f), 1);
    EXPECT_EQ(editor->wheel, -2.5f);
    editor->wheel = 0;
    EXPECT_EQ(call(effVendorSpecific, vstFourCC("stCA"), 0, nullptr, 1.0f), 5);
    EXPECT_EQ(editor->wheel, 0.0f);
}

TEST_F(Dispatcher, EffectOwnsItsEditorAndCloseDestroysBoth) {
    install();
    EXPECT_NE(record->flags & effFlagsHasEditor, 0);
    install();  // replacing deletes the previous editor
    EXPECT_EQ(editorsDestroyed, 1);
    effect->setEditor(nullptr);
    EXPECT_EQ(editorsDestroyed, 2);
    EXPECT_EQ(record->flags & effFlagsHasEditor, 0);
    install();
    EXPECT_EQ(call(effClose), 0);
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(editorsDestroyed, 3);
}

}  // namespace
