#include "sdk/AEffGUIEditor.h"

#include "sdk/AudioEffect.h"

AEffGUIEditor::AEffGUIEditor(AudioEffect* effect) : AEffEditor(effect) {}

AEffGUIEditor::~AEffGUIEditor() {
    AEffGUIEditor::close();
}

void AEffGUIEditor::setRect(short left, short top, short right, short bottom) {
    rect_.left = left;
    rect_.top = top;
    rect_.right = right;
    rect_.bottom = bottom;
}

CRect AEffGUIEditor::frameRect() const {
    return CRect(rect_.left, rect_.top, rect_.right, rect_.bottom);
}

bool AEffGUIEditor::getRect(ERect** rect) {
    if (!rect) return false;
    *rect = &rect_;
    return true;
}

bool AEffGUIEditor::open(void* parentWindow) {
    AEffEditor::open(parentWindow);
    return true;
}

void AEffGUIEditor::close() {
    if (frame_) {
        CFrame* frame = frame_;
        frame_ = nullptr;
        frame->forget();
    }
    AEffEditor::close();
}

void AEffGUIEditor::idle() {
    if (frame_) frame_->idle();
}

bool AEffGUIEditor::onKeyDown(VstKeyCode& key) {
    return frame_ && frame_->onKeyDown(key) != -1;
}

bool AEffGUIEditor::onKeyUp(VstKeyCode& key) {
    return frame_ && frame_->onKeyUp(key) != -1;
}

bool AEffGUIEditor::onWheel(float distance) {
    return frame_ && frame_->onMouseWheel(frame_->getCurrentMouseLocation(), distance);
}

bool AEffGUIEditor::setKnobMode(int mode) {
    if (mode < kCircularMode || mode > kLinearMode) return false;
    knobMode_ = mode;
    return true;
}

void AEffGUIEditor::beginEdit(long tag) {
    if (effect_ && tag >= 0) effect_->beginEdit(std::int32_t(tag));
}

void AEffGUIEditor::endEdit(long tag) {
    if (effect_ && tag >= 0) effect_->endEdit(std::int32_t(tag));
}

void AEffGUIEditor::doIdleStuff() {
    if (frame_) frame_->idle();
}

void AEffGUIEditor::timerIdle() {
    if (inTimerIdle_) return;
    inTimerIdle_ = true;
    idle();
    inTimerIdle_ = false;
}
