// Editor opcodes go to the installed editor; without one they answer 0.
#include <gtest/gtest.h>

#include "FakeEffect.h"

namespace {

struct EditorForwarding : ::testing::Test {
    int effectDestroyed = 0;
    int editorDestroyed = 0;
    FakeEffect* effect = new FakeEffect(nullptr, &effectDestroyed);
    AEffect* record = effect->getAeffect();

    std::intptr_t call(std::int32_t opcode, std::int32_t index = 0, std::intptr_t value = 0,
                       void* ptr = nullptr, float opt = 0) {
        return record->dispatcher(record, opcode, index, value, ptr, opt);
    }
    FakeEditor* install() {
        auto* editor = new FakeEditor(effect, &editorDestroyed);
        effect->setEditor(editor);
        return editor;
    }
    void TearDown() override {
        if (!effectDestroyed) call(effClose);
    }
};

TEST_F(EditorForwarding, WithoutEditorEverythingAnswersZero) {
    ERect* rect = nullptr;
    int window = 0;
    EXPECT_EQ(call(effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(call(effEditOpen, 0, 0, &window), 0);
    EXPECT_EQ(call(effEditClose), 0);
    EXPECT_EQ(call(effEditIdle), 0);
    EXPECT_EQ(call(effEditKeyDown, 'a', 0, nullptr, 0), 0);
    EXPECT_EQ(call(effSetEditKnobMode, 0, 2), 0);
    EXPECT_EQ(call(effVendorSpecific, vstFourCC("stCA"), vstFourCC("Whee"), nullptr, 1.0f), 0);
}

TEST_F(EditorForwarding, SetEditorOwnsTheEditorAndKeepsTheFlagTrue) {
    install();
    EXPECT_NE(record->flags & effFlagsHasEditor, 0);
    install();  // replacing deletes the previous editor
    EXPECT_EQ(editorDestroyed, 1);
    effect->setEditor(nullptr);
    EXPECT_EQ(editorDestroyed, 2);
    EXPECT_EQ(record->flags & effFlagsHasEditor, 0);
    install();
    call(effClose);
    EXPECT_EQ(effectDestroyed, 1);
    EXPECT_EQ(editorDestroyed, 3);  // the effect deletes its editor
}

TEST_F(EditorForwarding, OpcodesReachTheEditor) {
    FakeEditor* editor = install();
    ERect* rect = nullptr;
    EXPECT_EQ(call(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_EQ(rect, &editor->rect);

    int window = 42;
    EXPECT_EQ(call(effEditOpen, 0, 0, &window), 1);
    EXPECT_TRUE(editor->isOpen());
    EXPECT_EQ(editor->getParentWindow(), &window);
    call(effEditIdle);
    EXPECT_EQ(editor->lastCall, "idle");
    call(effEditClose);
    EXPECT_FALSE(editor->isOpen());

    EXPECT_EQ(call(effEditKeyDown, 'q', 3, nullptr, 8.0f), 1);
    EXPECT_EQ(editor->lastKey.character, 'q');
    EXPECT_EQ(editor->lastKey.virt, 3);
    EXPECT_EQ(editor->lastKey.modifier, 8);
    EXPECT_EQ(call(effEditKeyUp, 'r', 0, nullptr, -3.0f), 0);  // the editor declined it
    EXPECT_EQ(editor->lastCall, "keyUp");
    EXPECT_EQ(editor->lastKey.modifier, 0);  // an impossible modifier value is dropped

    EXPECT_EQ(call(effSetEditKnobMode, 0, 2), 1);
    EXPECT_EQ(editor->knobMode, 2);
}

TEST_F(EditorForwarding, WheelVendorCallNeedsBothCodes) {
    FakeEditor* editor = install();
    EXPECT_EQ(call(effVendorSpecific, vstFourCC("stCA"), vstFourCC("Whee"), nullptr, -2.5f), 1);
    EXPECT_EQ(editor->lastWheel, -2.5f);
    editor->lastWheel = 0;
    // Only one of the two codes is some other vendor call.
    EXPECT_EQ(call(effVendorSpecific, vstFourCC("stCA"), 0, nullptr, 1.0f), 5);
    EXPECT_EQ(editor->lastWheel, 0.0f);
}

}  // namespace
