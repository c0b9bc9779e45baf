#include "editor/PGlobalEditor.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "core/Orin.h"
#include "core/PControllerMap.h"
#include "core/PParamDesc.h"
#include "editor/CAutoRemoveTextEdit.h"
#include "editor/CKnobEdit.h"
#include "editor/CLfoSpeedKnob.h"
#include "editor/EditorColours.h"
#include "editor/POrinMenuScheme.h"
#include "editor/ValueTexts.h"
#include "engine/PRSVoicer.h"
#include "engine/TempoNoteValues.h"
#include "engine/VoiceTables.h"
#include "gui/CBitmap.h"
#include "gui/COnOffButton.h"
#include "gui/COptionMenu.h"

namespace {

constexpr long kKnobStripBitmap = 350;
constexpr int kKnobImages = 33;
constexpr long kBypassBitmap = 401;
constexpr long kEffectTypeBitmap = 402;
constexpr long kSyncBitmap = 306;
// Button sizes (one state) while their images are missing.
const CPoint kButtonFallback(18, 14);

constexpr int kFont = kNormalFontVerySmall;
// The menu while it shows its caption (nothing chosen): quiet, like the page's captions.
// The value of a knob that has nothing to do.
constexpr CColor kRestingInk{104, 111, 122, 255};

// What the modulation wheel can move: destination k sets "ModWheelParam" to k / 17.
constexpr int kModWheelChoices = kModWheelDestinationCount;
constexpr float kModWheelStep = 1.0f / float(kModWheelChoices - 1);
// The destinations that start a group in the menu, each after a separator.
constexpr int kModWheelGroupStarts[] = {1, 5, 9, 13};

// The parameter of each tag (-1: no control).
constexpr int kParameterOf[PGlobalEditor::kTagCount] = {kParamFxDelay,
                                                        67,
                                                        68,
                                                        69,
                                                        70,
                                                        71,
                                                        -1,
                                                        kParamFxBypass,
                                                        kParamFxType,
                                                        kParamFxSync,
                                                        86,
                                                        58,
                                                        kParamVoices,
                                                        kParamMasterTune,
                                                        47,
                                                        51,
                                                        48,
                                                        49,
                                                        50,
                                                        kParamModWheel};

// How a knob writes and reads its value.
enum class Reading { kSpeed, kPercent, kMix, kBalance, kRange, kLfoDelay, kNone };

struct KnobLayout {
    long tag;
    CPoint centre;
    CRect text;  // empty: a knob without text
    Reading reading;
    int min = 0, max = 100;
    const char* unit = nullptr;
    float wheelStep = 0.1f;
    float defaultValue = -1;  // below 0: the toolkit's default
};

// Pitch LFO values a step of the wheel moves by while synchronised: one of its 19 note values.
constexpr float kPitchNoteStep = 1.0f / 18.0f;
// The effect's delay while synchronised: one of its 18 note values.
constexpr float kFxNoteStep = 1.0f / 17.0f;

const KnobLayout kKnobs[] = {
    {PGlobalEditor::kFxDelayTag, {140, 255}, {124, 269, 170, 281}, Reading::kSpeed},
    {PGlobalEditor::kFxFeedbackTag, {196, 255}, {181, 269, 209, 281}, Reading::kPercent},
    {PGlobalEditor::kFxSpreadTag, {251, 255}, {236, 269, 264, 281}, Reading::kPercent},
    {PGlobalEditor::kFxSpeedTag,
     {140, 304},
     {125, 318, 153, 330},
     Reading::kPercent,
     0,
     100,
     nullptr,
     0.1f,
     0.0f},
    {PGlobalEditor::kFxDepthTag,
     {196, 304},
     {181, 318, 209, 330},
     Reading::kPercent,
     0,
     100,
     nullptr,
     0.1f,
     1.0f},
    {PGlobalEditor::kFxMixTag, {251, 304}, {236, 318, 264, 330}, Reading::kMix},
    {PGlobalEditor::kPanTag, {159, 181}, {143, 195, 171, 207}, Reading::kBalance},
    {PGlobalEditor::kPanSpreadTag,
     {194, 181},
     {178, 195, 206, 207},
     Reading::kPercent,
     0,
     100,
     nullptr,
     0.1f,
     0.0f},
    {PGlobalEditor::kVoicesTag,
     {45, 365},
     {62, 359, 90, 371},
     Reading::kRange,
     1,
     64,
     nullptr,
     1.0f / 64.0f},
    // The voices play (2v - 0.9) semitones, so the knob's 0..1 spans -90..+110 cents.
    {PGlobalEditor::kTuneTag,
     {121, 365},
     {138, 359, 166, 371},
     Reading::kRange,
     -90,
     110,
     "ct",
     0.05f},
    {PGlobalEditor::kPitchSpeedTag, {109, 106}, {95, 120, 121, 132}, Reading::kSpeed},
    {PGlobalEditor::kPitchDelayTag, {159, 106}, {145, 120, 171, 132}, Reading::kLfoDelay},
    {PGlobalEditor::kPitchAmountTag, {194, 106}, {180, 120, 206, 132}, Reading::kRange},
    {PGlobalEditor::kPitchFormTag, {242, 113}, {}, Reading::kNone, 0, 100, nullptr, 0.2f},
};

struct ButtonLayout {
    long tag;
    long bitmap;
    CPoint at;
};

const ButtonLayout kButtons[] = {
    {PGlobalEditor::kFxBypassTag, kBypassBitmap, {171, 218}},
    {PGlobalEditor::kFxTypeTag, kEffectTypeBitmap, {271, 218}},
    {PGlobalEditor::kFxSyncTag, kSyncBitmap, {155, 247}},
    {PGlobalEditor::kPitchSyncTag, kSyncBitmap, {125, 98}},
};

const CRect kModWheelRect(227, 175, 338, 188);

// The note values the effects play while synchronised: the delay takes its length from the
// value rounded over 18 notes, the sweep's LFO from the value cut over 18 notes.
const NoteValue& delayNote(float value) {
    return kNoteValues[noteValueIndex(value)];
}
const NoteValue& sweepNote(float value) {
    return sweepNoteValue(value);
}

// On as the engine reads an on/off parameter.
bool isOn(float value) {
    return value > 0.5f;
}

// The destination the engine takes from a "ModWheelParam" value (0 outside the list).
int modWheelDestination(float value) {
    const float selector = value * float(kModWheelChoices - 1) + 0.5f;
    return selector > 0.0f && selector < float(kModWheelChoices) ? int(selector) : 0;
}

bool startsGroup(int k) {
    return std::find(std::begin(kModWheelGroupStarts), std::end(kModWheelGroupStarts), k) !=
           std::end(kModWheelGroupStarts);
}

// The menu entry of destination k (separators counted).
long modWheelEntry(int k) {
    long entry = k;
    for (int start : kModWheelGroupStarts) entry += start <= k ? 1 : 0;
    return entry;
}

// The destination of a menu entry (separators not counted).
int modWheelChoiceOf(const COptionMenu& menu, long entry) {
    int k = 0;
    for (long i = 0; i < entry; ++i) k += menu.isSeparator(i) ? 0 : 1;
    return k;
}

CRect buttonRect(const CPoint& at, const CBitmap& image) {
    if (!image.isLoaded()) return CRect(at, kButtonFallback.h, kButtonFallback.v);
    return CRect(at, image.getWidth(), image.getHeight() / 2);
}

}  // namespace

PGlobalEditor::PGlobalEditor(const CRect& size, CFrame* frame, Orin& plugin, OrinEditor& editor,
                             CBitmap* background)
    : PEditor(size, frame, plugin, editor, background), idleKnob_(new CBitmap(kIdleKnobBitmap)) {
    createKnobs(background);
    createButtons();
    createModWheelMenu();
    updateControls();
}

PGlobalEditor::~PGlobalEditor() {
    idleKnob_->forget();
}

void PGlobalEditor::createKnobs(CBitmap* background) {
    CBitmap* strip = new CBitmap(kKnobStripBitmap);
    const VoiceTables* tables = plugin_.voiceTables();
    for (const KnobLayout& layout : kKnobs) {
        CKnobEdit* knob = nullptr;
        if (layout.reading == Reading::kSpeed) {
            knob = new CLfoSpeedKnob(layout.centre, layout.text, this, layout.tag, strip, kKnobImages,
                                     background);
        } else {
            knob = new CKnobEdit(layout.centre, layout.text, this, layout.tag, strip, kKnobImages,
                                 background);
        }
        knob->setFont(kFont);
        knob->setDisplayRange(layout.min, layout.max);
        knob->setUnit(layout.unit);
        knob->setWheelInc(layout.wheelStep);
        if (layout.defaultValue >= 0) knob->setDefaultValue(layout.defaultValue);
        switch (layout.reading) {
            case Reading::kPercent:
                knob->setTextFunctions(percentText, nullptr);
                knob->setUnit("%");  // typed "40%" reads as 40
                break;
            case Reading::kMix:
                knob->setTextFunctions(mixText, nullptr);
                knob->setUnit("%");
                break;
            case Reading::kBalance:
                knob->setTextFunctions(balanceText, balanceFromText);
                break;
            case Reading::kLfoDelay:
                // The engine's decay table gives the times; without it the plain number shows.
                if (tables)
                    knob->setTextFunctions(lfoDelayText, lfoDelayFromText,
                                           const_cast<float*>(tables->decay));
                break;
            default:
                break;
        }
        controls_[layout.tag] = knob;
        addView(knob);
    }
    strip->forget();
    pitchSpeedKnob()->setNoteOf(lfoNoteValue);
}

void PGlobalEditor::createButtons() {
    for (const ButtonLayout& layout : kButtons) {
        CBitmap* image = new CBitmap(layout.bitmap);
        auto* button = new COnOffButton(buttonRect(layout.at, *image), this, layout.tag, image);
        image->forget();
        controls_[layout.tag] = button;
        addView(button);
    }
}

void PGlobalEditor::createModWheelMenu() {
    auto* menu = new COptionMenu(kModWheelRect, this, kModWheelTag, nullptr, kNoFrame);
    menu->setFont(kFont);
    menu->setBackColor(kEditorField);
    menu->setHoriAlign(kLeftText);
    POrinMenuScheme::applyTo(*menu);
    char caption[64];
    modWheelCaption(caption, sizeof caption);
    menu->addEntry(caption);
    for (int k = 1; k < kModWheelChoices; ++k) {
        if (startsGroup(k)) menu->addSeparator();
        menu->addEntry(kModWheelDestinations[k].name);
    }
    controls_[kModWheelTag] = menu;
    addView(menu);
}

void PGlobalEditor::modWheelCaption(char* text, std::size_t capacity) {
    const PParamDesc* desc = paramDesc(PControllerMap::lookup(1));
    if (desc && std::strcmp(desc->name, "Unused") != 0)
        std::snprintf(text, capacity, "D: %s", desc->name);
    else
        std::snprintf(text, capacity, "D");
}

CControl* PGlobalEditor::control(long tag) const {
    return tag >= 0 && tag < kTagCount ? controls_[tag] : nullptr;
}

CKnobEdit* PGlobalEditor::knob(long tag) const {
    return dynamic_cast<CKnobEdit*>(control(tag));
}

CLfoSpeedKnob* PGlobalEditor::fxDelayKnob() const {
    return static_cast<CLfoSpeedKnob*>(controls_[kFxDelayTag]);
}

CLfoSpeedKnob* PGlobalEditor::pitchSpeedKnob() const {
    return static_cast<CLfoSpeedKnob*>(controls_[kPitchSpeedTag]);
}

COptionMenu* PGlobalEditor::modWheelMenu() const {
    return static_cast<COptionMenu*>(controls_[kModWheelTag]);
}

int PGlobalEditor::parameterOf(CControl* control) const {
    for (long tag = 0; tag < kTagCount; ++tag) {
        if (control && control == controls_[tag]) return kParameterOf[tag];
    }
    return PEditor::parameterOf(control);
}

float PGlobalEditor::parameterValueOf(CControl* control) const {
    if (control != modWheelMenu()) return control->getValue();
    return float(modWheelChoiceOf(*modWheelMenu(), modWheelMenu()->getCurrent())) * kModWheelStep;
}

void PGlobalEditor::valueChanged(CControl* control) {
    const int parameter = parameterOf(control);
    if (parameter < 0) {
        PEditor::valueChanged(control);
        return;
    }
    const float value = parameterValueOf(control);
    setParameterNotified(parameter, value);
    applyToDisplays(control->getTag(), value);
}

void PGlobalEditor::updateControls() {
    for (long tag = 0; tag < kTagCount; ++tag) {
        CControl* control = controls_[tag];
        if (!control) continue;
        const float value = plugin_.getParameter(kParameterOf[tag]);
        // The menu's own value is its entry, set from the value below.
        if (tag != kModWheelTag && value != control->getValue()) {
            control->setValue(value);
            control->invalid();
        }
        applyToDisplays(tag, value);
    }
}

void PGlobalEditor::pageHidden() {
    for (const KnobLayout& layout : kKnobs) {
        if (CAutoRemoveTextEdit* field = knob(layout.tag)->typingField()) field->looseFocus();
    }
}

void PGlobalEditor::applyToDisplays(long tag, float value) {
    switch (tag) {
        case kFxTypeTag:
            showEffectType(isOn(value));
            break;
        case kFxSyncTag:
            showFxSync(isOn(value));
            break;
        case kPitchSyncTag:
            showPitchSync(isOn(value));
            break;
        case kModWheelTag:
            showModWheelChoice(modWheelDestination(value));
            break;
        default:
            break;
    }
}

void PGlobalEditor::showEffectType(bool sweep) {
    if (int(sweep) == effectShown_) return;
    effectShown_ = int(sweep);
    CLfoSpeedKnob* delay = fxDelayKnob();
    if (sweep)
        delay->setTextFunctions(rateText, rateFromText);
    else
        delay->setTextFunctions(timeText, timeFromText);
    delay->setNoteOf(sweep ? sweepNote : delayNote);
    CKnobEdit* depth = knob(kFxDepthTag);
    // The depth sets the sweep's range; the delay has no use for it.
    depth->setReplacement(sweep ? nullptr : idleKnob_);
    depth->setFontColor(sweep ? kEditorInk : kRestingInk);
    depth->setMouseEnabled(sweep);
}

void PGlobalEditor::showFxSync(bool synced) {
    fxDelayKnob()->setSynced(synced);
    fxDelayKnob()->setWheelInc(synced ? kFxNoteStep : 0.1f);
}

void PGlobalEditor::showPitchSync(bool synced) {
    pitchSpeedKnob()->setSynced(synced);
    pitchSpeedKnob()->setWheelInc(synced ? kPitchNoteStep : 0.1f);
}

void PGlobalEditor::showModWheelChoice(int k) {
    COptionMenu* menu = modWheelMenu();
    const long entry = modWheelEntry(std::clamp(k, 0, kModWheelChoices - 1));
    if (entry != menu->getCurrent()) menu->invalid();
    menu->setCurrent(entry);
    menu->checkEntryAlone(entry);
    const bool caption = entry == 0;
    menu->setTxtFace(caption ? kItalicFace : kNormalFace);
    menu->setFontColor(caption ? kEditorCaption : kEditorInk);
}
