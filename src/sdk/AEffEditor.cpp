#include "sdk/AEffEditor.h"

bool AEffEditor::getRect(ERect** rect) {
    if (rect) *rect = nullptr;
    return false;
}

bool AEffEditor::open(void* parentWindow) {
    parentWindow_ = parentWindow;
    return parentWindow != nullptr;
}

void AEffEditor::close() {
    parentWindow_ = nullptr;
}

bool AEffEditor::isOpen() {
    return parentWindow_ != nullptr;
}

bool AEffEditor::onKeyDown(VstKeyCode&) {
    return false;
}

bool AEffEditor::onKeyUp(VstKeyCode&) {
    return false;
}

bool AEffEditor::onWheel(float) {
    return false;
}

bool AEffEditor::setKnobMode(int) {
    return false;
}

void AEffEditor::setParameter(std::int32_t, float) {}
