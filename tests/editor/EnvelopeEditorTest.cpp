// The envelope editors without a screen: hit tests and the level axis, drags with each modifier,
// bends, insertion and deletion, wheel and keys, switching envelopes, the ADSR editor's value
// objects and the texts it shows.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "NotifiedParent.h"
#include "editor/CValueObject.h"
#include "editor/MPEEditor.h"
#include "editor/MultiMPEEditor.h"
#include "editor/OrinMpeEditor.h"
#include "data/FMemoryStream.h"
#include "editor/ValueTexts.h"
#include "engine/EnvelopeCurve.h"
#include "engine/VoiceTables.h"
#include "gui/CFrame.h"
#include "gui/platform/headless/HeadlessWindow.h"

namespace {

std::uint32_t fakeNow = 1000;
std::uint32_t fakeClock() {
    return fakeNow;
}

const float* decayTable() {
    static VoiceTables tables = [] {
        VoiceTables t;
        buildVoiceTables(t);
        return t;
    }();
    return tables.decay;
}

struct Recorder : CControlListener {
    int changes = 0, begins = 0, ends = 0;
    std::vector<int> kinds;  // OrinMpeEditor::gestureKinds at each begin
    void valueChanged(CControl*) override { ++changes; }
    void controlBeginEdit(CControl* c) override {
        ++begins;
        if (auto* orin = dynamic_cast<OrinMpeEditor*>(c)) {
            int k[2];
            kinds.assign(k, k + orin->gestureKinds(k));
        }
    }
    void controlEndEdit(CControl*) override { ++ends; }
};

// (time, level, bend) per point.
void shape(MultiPointEnvelope& env, std::vector<EnvelopePoint> points, int sustain) {
    while (env.count() < int(points.size())) env.insertPoint(-1);
    while (env.count() > int(points.size())) env.removePoint(0);
    for (int i = 0; i < int(points.size()); ++i) env.setPoint(i, points[i]);
    env.setSustain(sustain);
}

// Positions 0, 0.5, 1, 1.5; levels 0, 1, 0.125 (sustain), 0.
const std::vector<EnvelopePoint> kFour = {
    {0.5, 0, 0, 0}, {0.5, 1, 0, 0}, {0.5, 0.125, 0, 0}, {0, 0, 0, 0}};

// A 330 x 90 editor at the frame's origin, so frame and control coordinates agree. Free mode:
// handles 8, gap 49, 88.3 pixels per time unit at the default zoom for four points.
template <typename Editor = MPEEditor>
struct Rig {
    CFrame frame{CRect(0, 0, 400, 120), nullptr, nullptr};
    MultiPointEnvelope env;
    Recorder listener;
    Editor* editor;

    explicit Rig(int mode = MPEEditor::kFreeMode) {
        if constexpr (std::is_same_v<Editor, MPEEditor>)
            editor = new MPEEditor(CRect(0, 0, 330, 90), &listener, 4, nullptr, &env);
        else
            editor = new Editor(CRect(0, 0, 330, 90), &listener, 4, nullptr);
        editor->setClock(fakeClock);
        frame.addView(editor);
        if constexpr (std::is_same_v<Editor, MPEEditor>) {
            editor->setMode(mode);
            shape(env, kFour, 2);
        }
        editor->layoutHandles();
    }
    MultiPointEnvelope& edited() { return *editor->getEnvelope(); }
    CPoint centre(int point) {
        editor->layoutHandles();
        return editor->handleCentre(point);
    }
    // A press at `at`, then the pointer through `steps` (with their buttons); released after.
    void press(CPoint at, long buttons, std::vector<std::pair<CPoint, long>> steps = {}) {
        for (auto& [where, held] : steps) frame.headless()->queueMouse(where, held);
        frame.onMouseDown(at, buttons);
        fakeNow += 1000;  // the next press is no double click
    }
    void doubleClick(CPoint at) {
        frame.onMouseDown(at, kLButton);
        fakeNow += 100;
        frame.onMouseDown(at, kLButton);
        fakeNow += 1000;
    }
    CPoint moved(CPoint p, int dx, int dy) { return CPoint(p.h + dx, p.v + dy); }
};

TEST(MPEEditor, LayoutHitTestsAndLevelAxis) {
    Rig<> rig;
    MPEEditor& e = *rig.editor;
    EXPECT_EQ(e.sustainGap(), 49);
    EXPECT_NEAR(e.timeScale(), 1.0 / 3, 1e-12);
    // x: 8 + position * 88.3 (+ the gap after the sustain point); y: 8 + 74 (1 - cbrt(level)).
    const CPoint expected[] = {{8, 82}, {52, 8}, {96, 45}, {8 + 132 + 49, 82}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(rig.centre(i).h, expected[i].h) << i;
        EXPECT_EQ(rig.centre(i).v, expected[i].v) << i;
    }
    EXPECT_EQ(e.handleRect(2).right, 96 + 8 + 49);  // the sustain handle spans the gap
    // Hit tests: the last point first; the widened part of the sustain handle is no hit.
    EXPECT_EQ(e.hitPoint({96, 45}), 2);
    EXPECT_EQ(e.hitPoint({96 + 7, 45 + 7}), 2);
    EXPECT_EQ(e.hitPoint({96 + 20, 45}), -1);
    EXPECT_EQ(e.hitPoint({30, 60}), -1);
    rig.env.setPoint(1, {0, 1, 0, 0});  // points 1 and 2 on top of each other
    rig.env.setPoint(2, {0.5, 1, 0, 0});
    rig.editor->layoutHandles();
    EXPECT_EQ(e.hitPoint(rig.centre(1)), 2);
    // The level axis is a cube-root scale; the pointer maps back by the cube.
    for (double level : {0.0, 0.001, 0.125, 0.5, 1.0})
        EXPECT_NEAR(e.levelAt(e.yOfLevel(level)), level, 0.02) << level;
    EXPECT_EQ(e.yOfLevel(0.125), 45);
    EXPECT_DOUBLE_EQ(e.levelAt(45), 0.125);
    EXPECT_EQ(e.levelAt(-50), 1.0);
    EXPECT_EQ(e.levelAt(500), 0.0);
    EXPECT_NEAR(e.timeAt(52, false), 0.5, 0.01);
    EXPECT_NEAR(e.timeAt(189, true), 1.5, 0.01);
    // ADSR mode: no gap, smaller handles, point 0 is never hit.
    e.setMode(MPEEditor::kAdsrMode);
    e.layoutHandles();
    EXPECT_EQ(e.sustainGap(), 0);
    EXPECT_EQ(e.handleHalfSize(), 7);
    EXPECT_EQ(e.hitPoint(rig.centre(0)), -1);
}

TEST(MPEEditor, DragsWithEachModifier) {
    struct Case {
        const char* what;
        long modifiers;
        bool timeMoves, levelMoves;
        int h, v;  // how far the handle follows a move of (30, 20)
    };
    const Case cases[] = {
        {"free", 0, true, true, 30, 20},
        {"control: in time only", kControl, true, false, 30, 0},
        {"alt: in level only", kAlt, false, true, 0, 20},
        {"shift: a fifth", kShift, true, true, 6, 4},
        {"shift and control", kShift | kControl, true, false, 6, 0},
    };
    for (const Case& c : cases) {
        Rig<> rig;
        const CPoint from = rig.centre(2);
        const long held = kLButton | c.modifiers;
        rig.press(from, held, {{from, held}, {rig.moved(from, 30, 20), held}});
        const CPoint to = rig.centre(2);
        if (c.timeMoves)
            EXPECT_NEAR(to.h - from.h, c.h, 1) << c.what;
        else
            EXPECT_EQ(to.h, from.h) << c.what;
        if (c.levelMoves)
            EXPECT_NEAR(to.v - from.v, c.v, 1) << c.what;
        else
            EXPECT_EQ(rig.env.point(2).level, 0.125) << c.what;
        // The points after it keep their own segment times.
        EXPECT_EQ(rig.env.point(2).time, 0.5) << c.what;
        // One gesture; the point stays selected.
        EXPECT_EQ(rig.listener.begins + rig.listener.ends, 2) << c.what;
        EXPECT_GT(rig.listener.changes, 0) << c.what;
        EXPECT_EQ(rig.editor->selectedPoint() - rig.editor->draggedPoint(), 3) << c.what;
    }
}

TEST(MPEEditor, DragsStayInsideTheAreaAndTheLastLevelStaysZero) {
    Rig<> rig;
    CPoint from = rig.centre(3);
    rig.press(from, kLButton, {{rig.moved(from, 900, -300), kLButton}});
    EXPECT_EQ(rig.env.point(3).level, 0.0);
    EXPECT_EQ(rig.env.point(2).time, 1.0);  // no segment longer than 1
    from = rig.centre(1);
    rig.press(from, kLButton, {{rig.moved(from, -900, -300), kLButton}});
    EXPECT_EQ(rig.env.point(0).time, 0.0);  // no negative time
    EXPECT_EQ(rig.env.point(1).level, 1.0);
}

TEST(MPEEditor, AdsrModePinsPointsZeroAndOne) {
    Rig<> rig(MPEEditor::kAdsrMode);
    rig.editor->setTimeLimits(0.6, 0.2);
    CPoint from = rig.centre(1);
    rig.press(from, kLButton, {{rig.moved(from, 10, 40), kLButton}});
    EXPECT_EQ(rig.env.point(1).level, 1.0);  // point 1 moves in time only
    EXPECT_GT(rig.env.point(0).time, 0.5);
    from = rig.centre(1);
    rig.press(from, kLButton, {{rig.moved(from, 200, 0), kLButton}});
    EXPECT_EQ(rig.env.point(0).time, 0.6);  // the attack and decay limit
    from = rig.centre(3);
    rig.press(from, kLButton, {{rig.moved(from, 5, -40), kLButton}});
    EXPECT_EQ(rig.env.point(3).level, 0.0);
    EXPECT_EQ(rig.env.point(2).time, 0.2);  // the release limit
    // Point 0 can't be dragged; double clicks neither insert nor delete.
    const double attack = rig.env.point(0).time;
    from = rig.centre(0);
    rig.press(from, kLButton, {{rig.moved(from, 30, -30), kLButton}});
    EXPECT_EQ(rig.env.point(0).time, attack);
    EXPECT_EQ(rig.env.point(0).level, 0.0);
    rig.doubleClick(rig.centre(2));
    rig.doubleClick({150, 20});
    EXPECT_EQ(rig.env.count(), 4);
}

TEST(MPEEditor, DoubleClicksInsertAndDelete) {
    Rig<> rig;
    // Between points 1 and 2: a point at the press, the later points keep their positions.
    const double at = rig.editor->timeAt(74, false), level = rig.editor->levelAt(37);
    rig.doubleClick({74, 37});
    ASSERT_EQ(rig.env.count(), 5);
    EXPECT_EQ(rig.env.sustain(), 3);
    EXPECT_NEAR(rig.env.position(2), at, 1e-9);
    EXPECT_NEAR(rig.env.point(2).level, level, 1e-9);
    EXPECT_DOUBLE_EQ(rig.env.position(3), 1.0);
    EXPECT_DOUBLE_EQ(rig.env.position(4), 1.5);
    EXPECT_EQ(rig.listener.changes, 1);
    // Deleting it again.
    rig.doubleClick(rig.centre(2));
    EXPECT_EQ(rig.env.count(), 4);
    EXPECT_EQ(rig.env.sustain(), 2);
    // Point 0 and the last point are never deleted.
    rig.doubleClick(rig.centre(0));
    rig.doubleClick(rig.centre(3));
    EXPECT_EQ(rig.env.count(), 4);
    // Three points with the sustain on point 1: point 1 stays; so does a point that would
    // leave fewer than three.
    shape(rig.env, {{0.5, 0, 0, 0}, {0.5, 1, 0, 0}, {0, 0, 0, 0}}, 1);
    rig.doubleClick(rig.centre(1));
    EXPECT_EQ(rig.env.count(), 3);
    // Full: a double click between points bends the segment instead.
    Rig<> full;
    while (full.env.count() < 8) full.env.insertPoint(1);
    full.doubleClick({200, 40});
    EXPECT_EQ(full.env.count(), 8);
}

TEST(MPEEditor, InsertingAfterASustainedPointZeroKeepsPointZero) {
    Rig<> rig;
    rig.env.setSustain(0);
    rig.editor->layoutHandles();
    const double at = rig.editor->timeAt(80, true);
    rig.doubleClick({80, 30});  // between points 0 and 1
    ASSERT_EQ(rig.env.count(), 5);
    EXPECT_EQ(rig.env.sustain(), 0);
    EXPECT_EQ(rig.env.point(0).level, 0.0);
    EXPECT_NEAR(rig.env.position(1), at, 1e-9);
    EXPECT_DOUBLE_EQ(rig.env.position(2), 0.5);
}

TEST(MPEEditor, DraggingBetweenHandlesBendsTheSegment) {
    Rig<> rig;
    rig.env.setBend(1, 0.5);
    // Segment 1 -> 2 falls; moving right and up by 10 adds (10 + 10) / 2 over half its width.
    rig.press({74, 30}, kLButton, {{{84, 20}, kLButton}});
    EXPECT_NEAR(rig.env.point(1).bend, 0.5 + 10.0 / 22, 1e-9);
    // Control first straightens it; the movement then counts from 0, Shift halves it.
    rig.press({74, 30}, kLButton | kControl | kShift, {{{74, 30}, kLButton}});
    EXPECT_EQ(rig.env.point(1).bend, 0.0);
    rig.press({74, 30}, kLButton | kShift, {{{54, 30}, kLButton}});
    EXPECT_NEAR(rig.env.point(1).bend, -10.0 / 44, 1e-9);
    // Bends stop at -1 and 1.
    rig.press({74, 30}, kLButton, {{{374, 0}, kLButton}});
    EXPECT_EQ(rig.env.point(1).bend, 1.0);
    EXPECT_EQ(rig.listener.begins, rig.listener.ends);
    // A press left of point 0's handle centre (above it) bends the first segment and nothing
    // else; the segment rises, so moving right and down by 10 adds 10 over half its width.
    const double others[] = {rig.env.point(1).bend, rig.env.point(2).bend};
    rig.press({3, 20}, kLButton, {{{13, 30}, kLButton}});
    EXPECT_NEAR(rig.env.point(0).bend, 10.0 / 22, 1e-9);
    EXPECT_EQ(rig.env.point(1).bend, others[0]);
    EXPECT_EQ(rig.env.point(2).bend, others[1]);
}

TEST(MPEEditor, WheelAndArrowKeys) {
    Rig<> rig;
    CDrawContext* context = nullptr;
    rig.editor->setWheelInc(0.1f);
    // The selected point's level, a tenth of a step with Shift (no buttons: no context).
    VstKeyCode right{0, VKEY_RIGHT, 0}, left{0, VKEY_LEFT, 0};
    rig.editor->onKeyDown(right);
    rig.editor->onKeyDown(right);
    EXPECT_EQ(rig.editor->selectedPoint(), 2);
    rig.editor->onWheel(context, {}, 1);
    EXPECT_NEAR(rig.env.point(2).level, 0.225, 1e-6);
    // The last point: the time of the segment before it, not its level.
    rig.editor->onKeyDown(right);
    rig.editor->onKeyDown(right);
    EXPECT_EQ(rig.editor->selectedPoint(), 3);
    rig.editor->onWheel(context, {}, -2);
    EXPECT_NEAR(rig.env.point(2).time, 0.3, 1e-6);
    EXPECT_EQ(rig.env.point(3).level, 0.0);
    // Below the first point the selection stops; in free mode the wheel lifts its level, in ADSR
    // mode it lengthens the attack.
    for (int i = 0; i < 5; ++i) rig.editor->onKeyDown(left);
    EXPECT_EQ(rig.editor->selectedPoint(), 0);
    rig.editor->onWheel(context, {}, 1);
    EXPECT_NEAR(rig.env.point(0).level, 0.1, 1e-6);
    rig.editor->setMode(MPEEditor::kAdsrMode);
    rig.editor->onWheel(context, {}, 1);
    EXPECT_NEAR(rig.env.point(0).time, 0.6, 1e-6);
    EXPECT_EQ(rig.listener.begins, 4);
    EXPECT_EQ(rig.listener.ends, 4);
    VstKeyCode shifted{0, VKEY_RIGHT, MODIFIER_SHIFT};
    EXPECT_EQ(rig.editor->onKeyDown(shifted), -1);
}

TEST(MPEEditor, ValueTextsWhileDragging) {
    Rig<> rig;
    char text[32];
    for (auto [level, shown] : {std::pair{0.0, "-oo dB"}, {1.0, "0.000 dB"}, {0.5, "-6.021 dB"}}) {
        rig.editor->levelText(level, text);
        EXPECT_STREQ(text, shown);
    }
    rig.editor->timeText(0.25, text);
    EXPECT_STREQ(text, "2.500 sec");
}

TEST(MultiMPEEditor, SwitchesEnvelopesByRightClickAndDigits) {
    using Parent = NotifiedParent;
    CFrame frame(CRect(0, 0, 400, 120), nullptr, nullptr);
    auto* parent = new Parent(CRect(0, 0, 400, 120), &frame);
    frame.addView(parent);
    Recorder listener;
    auto* editor = new MultiMPEEditor(CRect(0, 0, 330, 90), &listener, 4, 5, nullptr);
    parent->addView(editor);
    EXPECT_EQ(editor->envelopeCount(), 2);
    MultiPointEnvelope a, b;
    editor->setEnvelopeAt(0, &a);
    editor->setEnvelopeAt(1, &b);
    EXPECT_EQ(editor->getEnvelope(), &a);
    frame.onMouseDown({100, 40}, kRButton);
    EXPECT_EQ(editor->selectedEnvelope(), 1);
    EXPECT_EQ(editor->getEnvelope(), &b);
    frame.onMouseDown({100, 40}, kLButton | kApple);
    EXPECT_EQ(editor->selectedEnvelope(), 0);
    EXPECT_EQ(parent->messages, (std::vector<std::string>{"Select Envelope", "Select Envelope"}));
    EXPECT_EQ(listener.changes, 2);
    EXPECT_EQ(frame.getFocusView(), editor);
    VstKeyCode two{'2', 0, 0}, three{'3', 0, 0};
    EXPECT_EQ(editor->onKeyDown(two), 1);
    EXPECT_EQ(editor->getEnvelope(), &b);
    EXPECT_EQ(editor->onKeyDown(three), -1);
    EXPECT_EQ(parent->messages.size(), 3u);  // a digit selects as a right click does
    // An envelope without points gets the default ones on the first press.
    MultiPointEnvelope empty;
    FMemoryStream record;
    empty.write(record);
    record.seek(4, 0);
    record.writeU32(std::int32_t{0});  // the point count
    record.rewind();
    ASSERT_TRUE(empty.read(record));
    ASSERT_EQ(empty.count(), 0);
    editor->setEnvelopeAt(1, &empty);
    frame.onMouseDown({100, 40}, kLButton);
    EXPECT_EQ(empty.count(), 4);
}

// The ADSR editor with its 14 value objects.
struct OrinRig : Rig<OrinMpeEditor> {
    CValueObject values[2][OrinMpeEditor::kKindCount];
    OrinRig() {
        for (int e = 0; e < 2; ++e)
            for (int k = 0; k < OrinMpeEditor::kKindCount; ++k) {
                EXPECT_TRUE(editor->bindValue(e, k, &values[e][k]));
                values[e][k].setValue(0.4f);
            }
        editor->setDecayTable(decayTable());
        editor->layoutHandles();
    }
};

TEST(OrinMpeEditor, ValueObjectsAndEnvelopesStayInStep) {
    OrinRig rig;
    OrinMpeEditor& e = *rig.editor;
    EXPECT_EQ(e.name(0), "Low");
    EXPECT_EQ(e.name(1), "High");
    EXPECT_EQ(e.getMode(), MPEEditor::kAdsrMode);
    // Each kind lands on its quantity; bends as 2v - 1.
    rig.values[1][OrinMpeEditor::kRelease].setValue(0.7f);
    rig.values[1][OrinMpeEditor::kSustain].setValue(0.25f);
    rig.values[1][OrinMpeEditor::kDecayBend].setValue(1.0f);
    EXPECT_NEAR(e.envelope(1).point(2).time, 0.7, 1e-6);
    EXPECT_NEAR(e.envelope(1).point(2).level, 0.25, 1e-6);
    EXPECT_EQ(e.envelope(1).point(1).bend, 1.0);
    EXPECT_NEAR(e.envelope(0).point(0).bend, -0.2, 1e-6);
    for (int k = 0; k < OrinMpeEditor::kKindCount; ++k)
        EXPECT_NEAR(e.quantity(0, k), 0.4, 1e-6) << k;
    // Out-of-range values are clamped.
    rig.values[0][OrinMpeEditor::kAttack].setValue(3.0f);
    EXPECT_EQ(e.envelope(0).point(0).time, 1.0);
    rig.values[0][OrinMpeEditor::kAttack].setValue(0.4f);

    // Dragging the sustain point writes decay and sustain of the edited envelope, nothing else:
    // a release of 0 (held at the shortest final segment) is not written back.
    rig.values[0][OrinMpeEditor::kRelease].setValue(0.0f);
    const CPoint from = rig.centre(2);
    rig.press(from, kLButton, {{rig.moved(from, 12, 20), kLButton}});
    EXPECT_EQ(rig.listener.kinds, (std::vector<int>{OrinMpeEditor::kDecay, OrinMpeEditor::kSustain}));
    EXPECT_NEAR(rig.values[0][OrinMpeEditor::kDecay].getValue(), e.quantity(0, 1), 1e-6);
    EXPECT_GT(rig.values[0][OrinMpeEditor::kDecay].getValue(), 0.4f);
    EXPECT_LT(rig.values[0][OrinMpeEditor::kSustain].getValue(), 0.4f);
    EXPECT_EQ(rig.values[0][OrinMpeEditor::kRelease].getValue(), 0.0f);
    EXPECT_EQ(rig.values[1][OrinMpeEditor::kDecay].getValue(), 0.4f);

    // A bend edited in Low shows in High too; only Low's value object is written.
    e.selectEnvelope(0);
    rig.press(CPoint(from.h + 30, from.v + 5), kLButton | kControl,
              {{CPoint(from.h + 30, from.v + 5), kLButton}});
    EXPECT_EQ(rig.listener.kinds, (std::vector<int>{OrinMpeEditor::kReleaseBend}));
    EXPECT_EQ(rig.values[0][OrinMpeEditor::kReleaseBend].getValue(), 0.5f);
    EXPECT_EQ(e.envelope(1).point(2).bend, 0.0);
    EXPECT_EQ(rig.values[1][OrinMpeEditor::kReleaseBend].getValue(), 0.4f);
}

TEST(OrinMpeEditor, ShowsTheTimesTheVoicePlays) {
    OrinRig rig;
    char shown[32], played[kValueTextCapacity];
    for (float v : {0.0f, 0.3f, 0.77f, 1.0f}) {
        rig.editor->timeText(v, shown);
        envelopeTimeText(v, played, const_cast<float*>(decayTable()));
        EXPECT_STREQ(shown, played) << v;
        double ms = 0;
        if (!readNumber(shown, ms, "ms")) {
            ASSERT_TRUE(readNumber(shown, ms, "s")) << shown;
            ms *= 1000;
        }
        EXPECT_NEAR(ms, envelopeTimeMs(decayTable(), v), envelopeTimeMs(decayTable(), v) * 0.01);
    }
    rig.editor->levelText(0, shown);
    EXPECT_STREQ(shown, "-oo");
}

TEST(EnvelopeTexts, TimesInMsOrSecondsAndLevelsInDecibels) {
    // A decay table whose rates 0, 0.01, ... take these times.
    float decay[128] = {};
    const float ms[] = {9.5f, 95.0f, 950.0f, 1500.0f, 1000.5f};
    for (int i = 0; i < 128; ++i) decay[i] = 7.59f / (i < 5 ? ms[i] : 2000.0f);
    const char* expected[] = {"9.50ms", "95.0ms", "950ms", "1.50s", "1.00s"};
    char text[kValueTextCapacity];
    for (int i = 0; i < 5; ++i) {
        envelopeTimeText(i * 0.01f, text, decay);
        EXPECT_STREQ(text, expected[i]);
    }
    // Typed times are milliseconds or seconds; a time no rate reaches is refused.
    float v = -1;
    EXPECT_TRUE(envelopeTimeFromText("1.5s", v, const_cast<float*>(decayTable())));
    EXPECT_GE(envelopeTimeMs(decayTable(), v), 1500.0f);
    EXPECT_LT(envelopeTimeMs(decayTable(), v - 0.01f), 1500.0f);
    EXPECT_FALSE(envelopeTimeFromText("60 s", v, const_cast<float*>(decayTable())));
    EXPECT_FALSE(envelopeTimeFromText("soon", v, const_cast<float*>(decayTable())));

    struct Level {
        float value;
        const char* text;
    };
    for (const Level& l : {Level{0.0f, "-oo"}, Level{1.0f, "0.0dB"}, Level{0.5f, "-6.0dB"}}) {
        envelopeLevelText(l.value, text);
        EXPECT_STREQ(text, l.text);
    }
    EXPECT_TRUE(envelopeLevelFromText(" -oo", v));
    EXPECT_EQ(v, 0.0f);
    EXPECT_TRUE(envelopeLevelFromText("-6.0206 dB", v));
    EXPECT_NEAR(v, 0.5f, 1e-5f);
    EXPECT_FALSE(envelopeLevelFromText("3", v));
    EXPECT_FALSE(envelopeLevelFromText("loud", v));
}

}  // namespace
