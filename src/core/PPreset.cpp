#include "core/PPreset.h"

#include <atomic>
#include <cstring>

#include "core/CopyText.h"
#include "engine/LfoShapes.h"

namespace {

template <typename T>
T relaxedLoad(const T& field) {
    return std::atomic_ref<T>(const_cast<T&>(field)).load(std::memory_order_relaxed);
}

template <typename T>
void relaxedStore(T& field, T value) {
    std::atomic_ref<T>(field).store(value, std::memory_order_relaxed);
}

template <typename T, int N>
void copyRelaxed(T (&to)[N], const T (&from)[N]) {
    for (int i = 0; i < N; ++i) relaxedStore(to[i], relaxedLoad(from[i]));
}

bool inRange(int index, int count) {
    return index >= 0 && index < count;
}

}  // namespace

PPreset::PPreset() {
    for (int i = 0; i < kNumParams; ++i) values_[i] = paramDesc(i)->defaultValue;
    for (int i = 0; i < kSlotCount; ++i) slots_[i] = i;
    for (int i = 0; i < kIconCount; ++i) icons_[i] = 0;
    for (int i = 0; i < kLfoCount; ++i) setLfoShape(i, kShapeSine);
}

PPreset::PPreset(const PPreset& other) {
    copyFrom(other);
}

PPreset& PPreset::operator=(const PPreset& other) {
    if (this != &other) copyFrom(other);
    return *this;
}

PPreset& PPreset::defaultPreset() {
    static PPreset preset;
    return preset;
}

void PPreset::copyFrom(const PPreset& other, bool withName) {
    if (withName) std::memcpy(name_, other.name_, sizeof name_);
    copyRelaxed(values_, other.values_);
    copyRelaxed(slots_, other.slots_);
    copyRelaxed(icons_, other.icons_);
    for (int i = 0; i < kLfoCount; ++i) copyRelaxed(lfoSteps_[i], other.lfoSteps_[i]);
    copyRelaxed(lfoShapes_, other.lfoShapes_);
}

void PPreset::setName(const char* text) {
    copyText(name_, sizeof name_, text);
}

float PPreset::value(int index) const {
    return inRange(index, kNumParams) ? relaxedLoad(values_[index]) : 0.0f;
}

void PPreset::setValue(int index, float v) {
    if (inRange(index, kNumParams)) relaxedStore(values_[index], v);
}

std::int32_t PPreset::slot(int index) const {
    return inRange(index, kSlotCount) ? relaxedLoad(slots_[index]) : 0;
}

void PPreset::setSlot(int index, std::int32_t instrument) {
    if (inRange(index, kSlotCount)) relaxedStore(slots_[index], instrument);
}

std::int32_t PPreset::icon(int layer) const {
    return inRange(layer, kIconCount) ? relaxedLoad(icons_[layer]) : 0;
}

void PPreset::setIcon(int layer, std::int32_t slotIndex) {
    if (inRange(layer, kIconCount)) relaxedStore(icons_[layer], slotIndex);
}

std::uint32_t PPreset::lfoShape(int layer) const {
    return inRange(layer, kLfoCount) ? relaxedLoad(lfoShapes_[layer]) : 0;
}

void PPreset::setLfoShapeCode(int layer, std::uint32_t code) {
    if (inRange(layer, kLfoCount)) relaxedStore(lfoShapes_[layer], code);
}

void PPreset::setLfoShape(int layer, std::uint32_t code) {
    if (!inRange(layer, kLfoCount)) return;
    setLfoShapeCode(layer, code);
    if (code == 0) return;
    std::uint8_t steps[kLfoStepCount];
    for (int s = 0; s < kLfoStepCount; ++s) steps[s] = lfoStep(layer, s);
    lfoStepsFromShape(code, steps);
    for (int s = 0; s < kLfoStepCount; ++s) setLfoStep(layer, s, steps[s]);
}

std::uint8_t PPreset::lfoStep(int layer, int step) const {
    if (!inRange(layer, kLfoCount) || !inRange(step, kLfoStepCount)) return 0;
    return relaxedLoad(lfoSteps_[layer][step]);
}

void PPreset::setLfoStep(int layer, int step, std::uint8_t level) {
    if (inRange(layer, kLfoCount) && inRange(step, kLfoStepCount)) {
        relaxedStore(lfoSteps_[layer][step], level);
    }
}

std::int32_t PPreset::selectedInstrument(int layer) const {
    std::int32_t selected = icon(layer);
    return inRange(selected, kSlotCount) ? slot(selected) : kEmptySlot;
}
