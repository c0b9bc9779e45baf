// The global page: the effect (a delay or a filter sweep) with its knobs, panning, the voice
// count, master tuning, the pitch LFO and what the modulation wheel moves. Each control stands
// for one parameter directly: a change is written through the host-notifying setter as part of
// the control's gesture, and updateControls() reads every parameter back. Value texts follow
// what the engine does with a value: the effect's delay knob shows a time for the delay, a rate
// for the sweep, and while synchronised the note value the effect plays.
#pragma once

#include <cstddef>

#include "editor/PEditor.h"

class CKnobEdit;
class CLfoSpeedKnob;
class COptionMenu;

class PGlobalEditor : public PEditor {
public:
    // Control tags (6 is not used).
    enum Tag : long {
        kFxDelayTag = 0,
        kFxFeedbackTag = 1,
        kFxSpreadTag = 2,
        kFxSpeedTag = 3,
        kFxDepthTag = 4,
        kFxMixTag = 5,
        kFxBypassTag = 7,
        kFxTypeTag = 8,
        kFxSyncTag = 9,
        kPanTag = 10,
        kPanSpreadTag = 11,
        kVoicesTag = 12,
        kTuneTag = 13,
        kPitchSpeedTag = 14,
        kPitchSyncTag = 15,
        kPitchDelayTag = 16,
        kPitchAmountTag = 17,
        kPitchFormTag = 18,
        kModWheelTag = 19,
        kTagCount = 20
    };
    static constexpr long kIdleKnobBitmap = 403;

    PGlobalEditor(const CRect& size, CFrame* frame, Orin& plugin, OrinEditor& editor,
                  CBitmap* background);
    ~PGlobalEditor() override;

    // The control of a tag; null for none.
    CControl* control(long tag) const;
    CLfoSpeedKnob* fxDelayKnob() const;
    CLfoSpeedKnob* pitchSpeedKnob() const;
    CKnobEdit* knob(long tag) const;
    COptionMenu* modWheelMenu() const;

    // "D: " and the name of the parameter that controller 1 moves by the controller map; "D"
    // when it moves none.
    static void modWheelCaption(char* text, std::size_t capacity);

    int parameterOf(CControl* control) const override;
    void valueChanged(CControl* control) override;
    void updateControls() override;
    // Text being typed is committed, as when the focus goes elsewhere, and its field goes.
    void pageHidden() override;

private:
    void createKnobs(CBitmap* background);
    void createButtons();
    void createModWheelMenu();
    // The readings of the effect type (above 0.5 the sweep) and of the synchronised displays.
    void showEffectType(bool sweep);
    void showFxSync(bool synced);
    void showPitchSync(bool synced);
    // Selects the menu entry of destination k (0: the caption) and its look.
    void showModWheelChoice(int k);
    // The parameter value a control's state stands for.
    float parameterValueOf(CControl* control) const;
    void applyToDisplays(long tag, float value);

    CControl* controls_[kTagCount] = {};
    CBitmap* idleKnob_ = nullptr;
    // The effect whose readings show: 0 the delay, 1 the sweep, -1 before the first update.
    int effectShown_ = -1;
};
