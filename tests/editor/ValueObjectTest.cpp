// Value objects and the controls that depend on them: on a plain value, and on a page of a
// headless editor whose host records what it is told.
#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "NotifiedParent.h"
#include "OpenEditor.h"
#include "editor/CAutoRemoveTextEdit.h"
#include "editor/CDepButton.h"
#include "editor/CDepTextEdit.h"
#include "editor/CKnobEdit.h"
#include "editor/CLfoSpeedKnob.h"
#include "editor/CValueObject.h"
#include "editor/PEditor.h"
#include "editor/PParameterValue.h"
#include "editor/ValueTexts.h"
#include "engine/EnvelopeCurve.h"
#include "engine/LFO.h"
#include "engine/LayerLfo.h"
#include "engine/TempoNoteValues.h"
#include "engine/VoiceTables.h"
#include "gui/CBitmap.h"

namespace {

struct Recorder : CDependent {
    int updates = 0;
    float seen = -1;
    void update(CValueObject* value) override {
        ++updates;
        seen = value->getValue();
    }
};

TEST(ValueObject, UpdatesEveryDependentButTheSourceAndTakesTenAtMost) {
    CValueObject value(3, 4);
    Recorder d[11];
    for (int i = 0; i < 10; ++i) EXPECT_TRUE(value.addDependent(&d[i]));
    EXPECT_FALSE(value.addDependent(&d[10]));
    EXPECT_EQ(value.dependentCount(), 10);

    value.setValue(0.3f, &d[2]);
    EXPECT_FLOAT_EQ(value.getValue(), 0.3f);
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(d[i].updates, (i == 2 || i == 10) ? 0 : 1) << i;
        if (i != 2 && i != 10) {
            EXPECT_FLOAT_EQ(d[i].seen, 0.3f);
        }
    }
    value.notifyDependents();
    EXPECT_EQ(d[2].updates, 1);
    EXPECT_EQ(d[10].updates, 0);
    value.clearDependents();
    value.setValue(0.5f);
    EXPECT_EQ(d[0].updates, 2);
}

// A page of our own over the page area, so that the controls are on top of everything.
const CPoint kPageOrigin(369, 0);
constexpr int kDelayParameter = 67;

class PageValues : public OpenEditor {
protected:
    void SetUp() override {
        OpenEditor::SetUp();
        page = new PEditor(CRect(369, 0, 735, 449), frame, *plugin, *editor, nullptr);
        frame->addView(page);
        value = std::make_unique<PParameterValue>(*page, kDelayParameter);
        knob = new CKnobEdit({116, 302}, {103, 317, 145, 329}, page, 11, nullptr, 33, nullptr);
        text = new CDepTextEdit({20, 20, 60, 32}, page, 12);
        page->addView(knob);
        page->addView(text);
        ASSERT_TRUE(knob->setValueObject(value.get()));
        ASSERT_TRUE(text->setValueObject(value.get()));
        setParameter(0.5f);
        editor->idle();
        hostCalls.clear();
    }
    // As the host sets it: the page's dependents follow when asked.
    void setParameter(float v) {
        plugin->setParameter(kDelayParameter, v);
        value->notifyDependents();
    }
    CPoint inFrame(CPoint p) const { return {p.h + kPageOrigin.h, p.v + kPageOrigin.v}; }
    void click(CPoint pagePoint) {
        const CPoint p = inFrame(pagePoint);
        window->queueMouse(p, 0);
        frame->onMouseDown(p, kLButton);
    }
    void type(const char* keys) {
        for (const char* c = keys; *c; ++c) {
            VstKeyCode key{*c, 0, 0};
            frame->onKeyDown(key);
        }
    }
    void press(unsigned char virtualKey) {
        VstKeyCode key{0, virtualKey, 0};
        frame->onKeyDown(key);
    }
    std::string knobText() const {
        char t[kValueTextCapacity] = {};
        knob->valueText(t);
        return t;
    }
    float parameter() const { return plugin->getParameter(kDelayParameter); }

    PEditor* page = nullptr;
    std::unique_ptr<PParameterValue> value;
    CKnobEdit* knob = nullptr;
    CDepTextEdit* text = nullptr;
};

TEST_F(PageValues, UnboundValueReadsZeroAndIgnoresWrites) {
    PParameterValue unbound(*page);
    unbound.setValue(0.8f);
    EXPECT_EQ(unbound.getValue(), 0.0f);
    EXPECT_TRUE(hostCalls.empty());
    unbound.bind(kDelayParameter);
    EXPECT_FLOAT_EQ(unbound.getValue(), 0.5f);
}

TEST_F(PageValues, HostChangesReachEveryDependent) {
    setParameter(0.25f);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.25f);
    EXPECT_STREQ(text->getText(), "25%");
    EXPECT_TRUE(hostCalls.empty());
}

TEST_F(PageValues, KnobDragIsOneGestureOfItsParameterAndMovesTheOtherDependents) {
    const CPoint at = inFrame({116, 302});
    for (int dy : {4, 10, 20}) window->queueMouse({at.h, at.v - dy}, kLButton);
    window->queueMouse({at.h, at.v - 20}, 0);
    const std::uint32_t refreshes = editor->refreshCount();
    frame->onMouseDown(at, kLButton);
    ASSERT_GE(hostCalls.size(), 3u);
    EXPECT_EQ(hostCalls.front(), beginEditCall(kDelayParameter));
    EXPECT_EQ(hostCalls.back(), endEditCall(kDelayParameter));
    for (std::size_t i = 1; i + 1 < hostCalls.size(); ++i)
        EXPECT_EQ(hostCalls[i].opcode, audioMasterAutomate);
    EXPECT_GT(parameter(), 0.5f);
    EXPECT_FLOAT_EQ(parameter(), knob->getValue());
    EXPECT_FLOAT_EQ(text->getValue(), knob->getValue());
    editor->idle();
    EXPECT_EQ(editor->refreshCount(), refreshes);  // no echo of our own change
}

TEST_F(PageValues, WheelStepIsOneGesture) {
    frame->onMouseWheel(inFrame({116, 302}), 1.0f);
    EXPECT_EQ(hostCalls, (std::vector<HostCall>{beginEditCall(kDelayParameter),
                                                automateCall(kDelayParameter, 0.6f),
                                                endEditCall(kDelayParameter)}));
}

TEST_F(PageValues, TypedValueCommitsAsOneGesture) {
    knob->setDisplayRange(-100, 100);
    knob->setUnit("ct");
    EXPECT_EQ(knobText(), "0 ct");
    click({120, 322});  // in the text under the knob
    CAutoRemoveTextEdit* field = knob->typingField();
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(frame->getFocusView(), field);
    EXPECT_TRUE(window->hasKeyboardFocus());
    EXPECT_EQ(field->getEditText(), "0 ct");
    type("-50");
    press(VKEY_RETURN);
    EXPECT_EQ(knob->typingField(), nullptr);
    EXPECT_FALSE(page->isChild(field));
    EXPECT_FALSE(window->hasKeyboardFocus());
    EXPECT_EQ(hostCalls, (std::vector<HostCall>{beginEditCall(kDelayParameter),
                                                automateCall(kDelayParameter, 0.25f),
                                                endEditCall(kDelayParameter)}));
    EXPECT_EQ(knobText(), "-50 ct");
    EXPECT_STREQ(text->getText(), "25%");
}

TEST_F(PageValues, UnreadableOrCancelledTextLeavesTheValue) {
    for (bool cancel : {false, true}) {
        click({120, 322});
        ASSERT_NE(knob->typingField(), nullptr);
        type(cancel ? "20" : "abc");
        press(cancel ? VKEY_ESCAPE : VKEY_RETURN);
        EXPECT_EQ(knob->typingField(), nullptr) << cancel;
        EXPECT_FLOAT_EQ(parameter(), 0.5f) << cancel;
        EXPECT_EQ(knobText(), "50") << cancel;
    }
    EXPECT_TRUE(hostCalls.empty());
}

TEST_F(PageValues, PressElsewhereCommitsTheTypedText) {
    click({120, 322});
    type("30");
    click({300, 400});  // empty page background
    EXPECT_EQ(knob->typingField(), nullptr);
    EXPECT_FLOAT_EQ(parameter(), 0.3f);
    EXPECT_EQ(hostCalls.size(), 3u);
}

TEST_F(PageValues, DependentTextFieldReadsTypedTextAndOffersItsPreparedText) {
    text->setTextFunctions(timeText, timeFromText);
    text->setPrepareFunction([](float v, char* t, void*) {
        std::snprintf(t, kValueTextCapacity, "%d", int(20 + 1980 * v * v + 0.5f));
    });
    EXPECT_STREQ(text->getText(), "515 ms");
    click({30, 25});
    ASSERT_TRUE(text->isEditing());
    EXPECT_EQ(text->getEditText(), "515");
    type("2000");
    press(VKEY_RETURN);
    EXPECT_STREQ(text->getText(), "2.00 s");
    EXPECT_FLOAT_EQ(knob->getValue(), 1.0f);
    EXPECT_EQ(hostCalls, (std::vector<HostCall>{beginEditCall(kDelayParameter),
                                                automateCall(kDelayParameter, 1.0f),
                                                endEditCall(kDelayParameter)}));
    hostCalls.clear();
    click({30, 25});
    type("soon");
    press(VKEY_RETURN);
    EXPECT_STREQ(text->getText(), "2.00 s");
    EXPECT_TRUE(hostCalls.empty());
}

TEST_F(PageValues, ButtonFollowsItsValue) {
    auto* button = new CDepButton({200, 200, 220, 210}, page, 13, nullptr);
    page->addView(button);
    ASSERT_TRUE(button->setValueObject(value.get()));
    setParameter(1.0f);
    EXPECT_TRUE(button->isOn());
    click({205, 205});
    EXPECT_FLOAT_EQ(parameter(), 0.0f);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.0f);
    EXPECT_EQ(hostCalls.front(), beginEditCall(kDelayParameter));
}

TEST_F(PageValues, RemovedFieldCommitsWhatWasTyped) {
    click({120, 322});
    type("70");
    page->removeView(knob->typingField());
    EXPECT_FLOAT_EQ(parameter(), 0.7f);
}

TEST(AutoRemoveTextEdit, TellsItsParentOnceAndRemovesItself) {
    using Parent = NotifiedParent;
    struct Listener : CControlListener {
        std::vector<std::string> commits;
        void valueChanged(CControl* c) override {
            commits.push_back(static_cast<CTextEdit*>(c)->getText());
        }
    } listener;
    CFrame frame(CRect(0, 0, 200, 100), nullptr, nullptr);
    auto* parent = new Parent(CRect(0, 0, 200, 100), &frame);
    frame.addView(parent);
    for (unsigned char key : {VKEY_RETURN, VKEY_ESCAPE}) {
        auto* field = new CAutoRemoveTextEdit(CRect(10, 10, 90, 22), &listener, 5, "old");
        parent->addView(field);
        field->takeFocus();
        EXPECT_EQ(frame.getFocusView(), field);
        VstKeyCode k{'x', 0, 0};
        frame.onKeyDown(k);
        k = {0, key, 0};
        frame.onKeyDown(k);
        EXPECT_EQ(parent->getNbViews(), 0);
        EXPECT_EQ(frame.getFocusView(), nullptr);
    }
    EXPECT_EQ(listener.commits, std::vector<std::string>{"x"});
    EXPECT_EQ(parent->messages, (std::vector<std::string>{"RemoveEdit", "RemoveEdit"}));
}

std::string speedText(CLfoSpeedKnob& knob, float v) {
    knob.setValue(v);
    char t[kValueTextCapacity] = {};
    knob.valueText(t);
    return t;
}

TEST(LfoSpeedKnob, NoteValuesWhenSynchronised) {
    CLfoSpeedKnob knob({20, 20}, {0, 40, 40, 52}, nullptr, 0, nullptr, 33, nullptr);
    EXPECT_EQ(speedText(knob, 0.5f), "50");
    knob.setSynced(true);
    EXPECT_EQ(speedText(knob, 1.0f), "1/32D");
    EXPECT_EQ(speedText(knob, 0.0f), "1/1");
    EXPECT_EQ(speedText(knob, 3.0f / 17), "1/8");
    knob.setExtended(true);
    EXPECT_EQ(speedText(knob, 1.0f), "1/32D");
    EXPECT_EQ(speedText(knob, 0.0f), "2/1");
    EXPECT_EQ(speedText(knob, 1.0f / 18), "1/1");

    // A typed note value selects a value showing it; other text is not read.
    float v = -1;
    ASSERT_TRUE(knob.readText(" 1/8t ", v));
    EXPECT_EQ(speedText(knob, v), "1/8T");
    EXPECT_FALSE(knob.readText("1/3", v));
}

// The note lengths the engine plays, measured from its LFOs at 120 beats per minute.
double sweepBeats(float v) {
    LFO lfo;
    lfo.setSampleRate(44100.0);
    lfo.setSpeed(1.0, 0.0);  // no tempo: one cycle per second
    const double perCycle = lfo.phaseIncrement();
    lfo.setTempo(120.0);
    lfo.setSpeed(v, 0.0);
    return 2.0 / (lfo.phaseIncrement() / perCycle);
}

double pitchLfoBeats(float v) {
    static VoiceTables tables = [] {
        VoiceTables t;
        buildVoiceTables(t);
        return t;
    }();
    float params[108] = {};
    params[47] = v;     // Pitch LFO Speed
    params[49] = 1.0f;  // amount
    params[51] = 1.0f;  // sync
    LayerLfoContext context;
    context.params = params;
    context.decayTable = tables.decay;
    context.hostTempo = 120.0;
    LayerLfoState state;
    lfoValue(context, state, kPitchLfo, 1.0f);
    return 2.0 * context.samplePeriod * 512.0 / state.phase[kPitchLfo];
}

double beatsOf(const std::string& name) {
    if (name == kTwoBars.name) return kTwoBars.beats;
    for (const NoteValue& n : kNoteValues)
        if (name == n.name) return n.beats;
    return -1;
}

TEST(LfoSpeedKnob, ShowsTheNoteTheEnginePlays) {
    CLfoSpeedKnob sweep({20, 20}, {0, 40, 40, 52}, nullptr, 0, nullptr, 33, nullptr);
    CLfoSpeedKnob pitch({20, 20}, {0, 40, 40, 52}, nullptr, 0, nullptr, 33, nullptr);
    sweep.setNoteOf([](float v) -> const NoteValue& { return sweepNoteValue(v); });
    pitch.setNoteOf(lfoNoteValue);
    sweep.setSynced(true);
    pitch.setSynced(true);
    for (float v : {0.0f, 0.02f, 0.05f, 0.1f, 0.3f, 0.52f, 0.75f, 0.97f, 1.0f}) {
        EXPECT_NEAR(beatsOf(speedText(sweep, v)), sweepBeats(v), 1e-4) << v;
        EXPECT_NEAR(beatsOf(speedText(pitch, v)), pitchLfoBeats(v), 1e-3) << v;
    }
}

TEST(KnobEdit, KnobIsOneStripImageCentredAndTheControlHoldsItsText) {
    auto* strip = new CBitmap(30, 30 * 33);
    CKnobEdit knob({100, 50}, {90, 70, 110, 80}, nullptr, 0, strip, 33, nullptr);
    EXPECT_EQ(knob.getKnobArea(), CRect(85, 35, 115, 65));
    EXPECT_EQ(knob.getViewSize(), CRect(85, 35, 115, 80));
    CKnobEdit bare({100, 50}, {}, nullptr, 0, strip, 33, nullptr);
    EXPECT_EQ(bare.getViewSize(), CRect(85, 35, 115, 65));
    strip->forget();
}

// Runs `check` with a decimal comma locale, restoring the previous one after.
template <typename Check>
void inGermanLocale(Check&& check) {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "German"))
        GTEST_SKIP() << "no locale with a decimal comma on this system";
    check();
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(ValueTexts, ShownAndReadTheSameInAGermanLocale) {
    inGermanLocale([] {
        struct Case {
            ValueToText toText;
            float value;
            const char* text;
        };
        const Case shown[] = {
            {timeText, 0.0f, "20 ms"},      {timeText, 0.5f, "515 ms"},
            {timeText, 0.8f, "1.29 s"},     {timeText, 1.0f, "2.00 s"},
            {rateText, 0.0f, "0.001Hz"},    {rateText, 1.0f, "5.000Hz"},
            {rateText, 0.6f, "1.801Hz"},    {mixText, 0.004f, "Dry"},
            {mixText, 0.96f, "Wet"},        {mixText, 0.5f, "50%"},
            {percentText, 0.333f, "33%"},   {balanceText, 0.5f, "<C>"},
            {balanceText, 0.0f, "L100"},    {balanceText, 1.0f, "R100"},
            {balanceText, 0.625f, "R25"},   {balanceText, 0.4f, "L20"},
        };
        for (const Case& c : shown) {
            char text[kValueTextCapacity] = {};
            c.toText(c.value, text, nullptr);
            EXPECT_STREQ(text, c.text) << c.value;
        }

        struct Typed {
            TextToValue fromText;
            const char* text;
            float value;  // -1: not readable
        };
        const Typed typed[] = {
            {timeFromText, "515", 0.5f},     {timeFromText, " 515 ms", 0.5f},
            {timeFromText, "1287,2 ms", 0.8f},  {timeFromText, "10", 0.0f},
            {timeFromText, "2 s", 1.0f},    {timeFromText, "12.5.1", -1},
            {timeFromText, "fast", -1},      {timeFromText, "", -1},
            {rateFromText, "1.801Hz", 0.6f}, {rateFromText, "1,801", 0.6f},
            {rateFromText, "7 ms", -1},      {balanceFromText, "r25", 0.625f},
            {balanceFromText, "L 100", 0.0f}, {balanceFromText, "R300", 1.0f},
            {balanceFromText, "c", 0.5f},    {balanceFromText, "0", 0.5f},
            {balanceFromText, "<C>", 0.5f},  {balanceFromText, "right", -1},
        };
        for (const Typed& t : typed) {
            float v = -1;
            const bool read = t.fromText(t.text, v, nullptr);
            EXPECT_EQ(read, t.value >= 0) << t.text;
            EXPECT_NEAR(v, t.value, 2e-4f) << t.text;
        }
        double n = 0;
        EXPECT_TRUE(readNumber("12.5", n));
        EXPECT_EQ(n, 12.5);
        EXPECT_TRUE(readNumber("-12,5 ct", n, "ct"));
        EXPECT_EQ(n, -12.5);
        EXPECT_FALSE(readNumber("inf", n));
    });
}

TEST(ValueTexts, LfoDelayAndIntegers) {
    VoiceTables tables;
    buildVoiceTables(tables);
    void* decay = tables.decay;
    char text[kValueTextCapacity] = {};
    lfoDelayText(0.41f, text, decay);
    EXPECT_STREQ(text, "149");  // 7.59 / 0.93^41 ms: no unit between 100 and 1000 ms
    lfoDelayText(0.0f, text, decay);
    EXPECT_STREQ(text, "0ms");
    lfoDelayText(0.1f, text, decay);
    EXPECT_STREQ(text, "16ms");  // 7.59 / 0.93^10
    lfoDelayText(1.0f, text, decay);
    EXPECT_STREQ(text, "11s");
    float v = -1;
    EXPECT_TRUE(lfoDelayFromText("149", v, decay));
    EXPECT_FLOAT_EQ(v, 0.41f);

    integerText(1.0f, text, 1, 64, nullptr);
    EXPECT_STREQ(text, "64");
    integerText(0.0f, text, -100, 100, "ct");
    EXPECT_STREQ(text, "-100 ct");
    EXPECT_TRUE(integerFromText("32", v, 1, 64, nullptr));
    EXPECT_FLOAT_EQ(v, 31.0f / 63.0f);
    EXPECT_TRUE(integerFromText("999", v, 1, 64, nullptr));
    EXPECT_FLOAT_EQ(v, 1.0f);
    EXPECT_FALSE(integerFromText("3 dB", v, -100, 100, "ct"));
}

}  // namespace
