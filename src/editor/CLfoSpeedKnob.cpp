#include "editor/CLfoSpeedKnob.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine/TempoNoteValues.h"

namespace {
// Values tried when a typed note value is looked up: fine enough that every note of any mapping
// over 18 or 19 steps covers several of them.
constexpr int kSearchSteps = 18 * 17 * 4;

bool sameIgnoringCase(const char* name, const char* text, std::size_t length) {
    if (std::strlen(name) != length) return false;
    for (std::size_t i = 0; i < length; ++i) {
        if (std::tolower(static_cast<unsigned char>(name[i])) !=
            std::tolower(static_cast<unsigned char>(text[i])))
            return false;
    }
    return true;
}
}  // namespace

CLfoSpeedKnob::CLfoSpeedKnob(const CPoint& centre, const CRect& textRect,
                             CControlListener* listener, long tag, CBitmap* strip, int imageCount,
                             CBitmap* background, bool extended)
    : CKnobEdit(centre, textRect, listener, tag, strip, imageCount, background),
      extended_(extended) {}

void CLfoSpeedKnob::setSynced(bool synced) {
    if (synced == synced_) return;
    synced_ = synced;
    invalid();
}

void CLfoSpeedKnob::setExtended(bool extended) {
    extended_ = extended;
    invalid();
}

void CLfoSpeedKnob::setNoteOf(NoteOf noteOf) {
    noteOf_ = noteOf;
    invalid();
}

const NoteValue& CLfoSpeedKnob::noteAt(float value) const {
    if (noteOf_) return noteOf_(value);
    if (!extended_) return kNoteValues[noteValueIndex(value)];
    const int i = int(std::trunc(std::clamp(value, 0.0f, 1.0f) * 18.0f + 0.5f));
    return i == 0 ? kTwoBars : kNoteValues[i - 1];
}

void CLfoSpeedKnob::valueText(char* text) const {
    if (!synced_) return CKnobEdit::valueText(text);
    std::snprintf(text, kValueTextCapacity, "%s", noteAt(getValue()).name);
}

bool CLfoSpeedKnob::readText(const char* text, float& value) const {
    if (!synced_) return CKnobEdit::readText(text, value);
    while (*text == ' ') ++text;
    std::size_t length = std::strlen(text);
    while (length > 0 && text[length - 1] == ' ') --length;
    // The middle of the values that show the typed note.
    int first = -1, last = -1;
    for (int k = 0; k <= kSearchSteps; ++k) {
        const char* name = noteAt(float(k) / kSearchSteps).name;
        if (!sameIgnoringCase(name, text, length)) continue;
        if (first < 0) first = k;
        last = k;
    }
    if (first < 0) return false;
    value = float(first + last) / (2.0f * kSearchSteps);
    return true;
}
