// The global page on a headless editor whose host records what it is told: each kind of control
// as a person uses it (typing in a locale with a decimal comma), value texts, the synchronised
// notes, the effect type, the modulation-wheel menu and host automation.
#include <gtest/gtest.h>

#include <clocale>
#include <functional>
#include <string>
#include <vector>

#include "MenuGeometry.h"
#include "OpenEditor.h"
#include "core/PControllerMap.h"
#include "editor/CLfoSpeedKnob.h"
#include "editor/PGlobalEditor.h"
#include "engine/TempoNoteValues.h"
#include "gui/CBitmap.h"
#include "gui/COptionMenu.h"
#include "platform/TempFolder.h"

namespace {

using G = PGlobalEditor;
constexpr int kFxType = 93, kFxSync = 65, kFxDelay = 66, kModWheel = 94;

class GlobalPage : public OpenEditor {
protected:
    void SetUp() override {
        OpenEditor::SetUp();
        showGlobalPage();
    }
    void reopen() {
        editor->close();
        ASSERT_TRUE(editor->open(nullptr));
        frame = editor->getFrame();
        window = frame->headless();
        showGlobalPage();
    }
    void showGlobalPage() {
        showPage(OrinEditor::kGlobalPage);
        page = static_cast<PGlobalEditor*>(editor->page(OrinEditor::kGlobalPage));
    }
    // As a host automates; the editor takes it in on its next idle pass.
    void automate(int parameter, float v) { plugin->setParameter(parameter, v); }
    void press(const CPoint& at, std::vector<CPoint> path = {}) {
        for (const CPoint& p : path) frame->headless()->queueMouse(p, kLButton);
        frame->headless()->queueMouse(path.empty() ? at : path.back(), 0);
        frame->onMouseDown(at, kLButton);
    }
    void drag(long tag, int dy) {
        const CPoint at = onPage(page->knob(tag)->getKnobArea());
        press(at, {{at.h, at.v + dy / 2}, {at.h, at.v + dy}});
    }
    void wheel(long tag) { frame->onMouseWheel(onPage(page->knob(tag)->getKnobArea()), 1); }
    void typeInto(long tag, const char* text) {
        press(onPage(page->knob(tag)->getTextRect()));
        for (const char* c = text; *c; ++c) {
            VstKeyCode key{*c, 0, 0};
            frame->onKeyDown(key);
        }
        VstKeyCode enter{0, VKEY_RETURN, 0};
        frame->onKeyDown(enter);
    }
    // Chooses an entry of the modulation-wheel menu, whose panel is moved up to fit the frame.
    void chooseModWheelEntry(int index, int separatorsAbove) {
        const CPoint at = onPage(page->modWheelMenu()->getViewSize()), top(at.h, 175);
        const CCoord item = menuEntry(top, 1, 0).v - menuEntry(top, 0, 0).v;
        const CCoord bottom = menuEntry(top, 22, 4).v - item / 2 + 1;
        CPoint entry = menuEntry(top, index, separatorsAbove);
        entry.v -= std::max<CCoord>(0, bottom - frame->getHeight());
        frame->headless()->queueMouse(at, 0);
        press(at, {entry});
    }
    std::string text(long tag) const {
        char t[kValueTextCapacity] = {};
        page->knob(tag)->valueText(t);
        return t;
    }
    std::string modWheelText() const {
        return page->modWheelMenu()->getEntryText(page->modWheelMenu()->getCurrent());
    }

    PGlobalEditor* page = nullptr;
};

// Sets the process to a locale that writes numbers with a decimal comma while it lives.
struct CommaLocale {
    std::string saved = std::setlocale(LC_ALL, nullptr);
    bool active = std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "German");
    ~CommaLocale() { std::setlocale(LC_ALL, saved.c_str()); }
};

TEST_F(GlobalPage, EachKindOfControlWritesItsParameterAsOneGesture) {
    CommaLocale locale;  // where the system has one: the typed values read the same anyway
    automate(kFxType, 0.0f);
    automate(86, 0.5f);
    editor->idle();
    const float voices = plugin->getParameter(85), bypass = plugin->getParameter(91);
    const struct {
        const char* what;
        int parameter;
        std::function<void()> act;
        float value;  // below 0: any other value
        long shownBy;
        const char* shown;
    } cases[] = {
        {"drag", 67, [&] { drag(G::kFxFeedbackTag, -40); }, -1, -1, nullptr},
        {"wheel", 85, [&] { wheel(G::kVoicesTag); }, voices + 1.0f / 64, -1, nullptr},
        {"typed", 86, [&] { typeInto(G::kPanTag, "r25"); }, 0.625f, G::kPanTag, "R25"},
        {"typed", kFxDelay, [&] { typeInto(G::kFxDelayTag, "1287,2"); }, 0.8f, G::kFxDelayTag,
         "1.29 s"},
        {"typed", 56, [&] { typeInto(G::kTuneTag, "-12,4 ct"); }, 0.39f, G::kTuneTag, "-12 ct"},
        {"typed", 71, [&] { typeInto(G::kFxMixTag, "40%"); }, 0.4f, G::kFxMixTag, "40%"},
        {"button", 91,
         [&] {
             press({540, 222});
         },
         1 - bypass, -1, nullptr},
        {"menu", kModWheel, [&] { chooseModWheelEntry(18, 4); }, 14.0f / 17, -1, nullptr},
    };
    for (const auto& c : cases) {
        hostCalls.clear();
        const float before = plugin->getParameter(c.parameter);
        const std::uint32_t refreshes = editor->refreshCount();
        c.act();
        ASSERT_GE(hostCalls.size(), 3u) << c.what;
        EXPECT_EQ(hostCalls.front(), beginEditCall(c.parameter)) << c.what;
        EXPECT_EQ(hostCalls.back(), endEditCall(c.parameter)) << c.what;
        for (std::size_t i = 1; i + 1 < hostCalls.size(); ++i)
            EXPECT_EQ(hostCalls[i], automateCall(c.parameter, hostCalls[i].value)) << c.what;
        const float now = plugin->getParameter(c.parameter);
        EXPECT_EQ(now, hostCalls[hostCalls.size() - 2].value) << c.what;
        if (c.value < 0) {
            EXPECT_NE(now, before) << c.what;
        } else {
            EXPECT_NEAR(now, c.value, 1e-5) << c.what;
        }
        if (c.shown) {
            EXPECT_EQ(text(c.shownBy), c.shown) << c.what;
        }
        editor->idle();
        EXPECT_EQ(editor->refreshCount(), refreshes) << c.what;  // no echo of our own change
    }
    EXPECT_EQ(modWheelText(), "Pitch LFO Speed");

    // Text that cannot be read leaves the value, and the field shows it again.
    hostCalls.clear();
    typeInto(G::kFxDelayTag, "soon");
    EXPECT_TRUE(hostCalls.empty());
    EXPECT_EQ(text(G::kFxDelayTag), "1.29 s");

    // Text being typed when the page goes is committed, and its field does not come back.
    press(onPage(page->knob(G::kPanTag)->getTextRect()));
    VstKeyCode key{'0', 0, 0};
    frame->onKeyDown(key);
    editor->showPage(OrinEditor::kPresetPage);
    editor->showPage(OrinEditor::kGlobalPage);
    EXPECT_EQ(page->knob(G::kPanTag)->typingField(), nullptr);
    EXPECT_EQ(plugin->getParameter(86), 0.5f);
    EXPECT_EQ(hostCalls.size(), 3u);
}

TEST_F(GlobalPage, HostValuesShowOnTheNextIdleInTheirTexts) {
    const struct {
        long tag;
        int parameter;
        float value, fxType;
        const char* text;
    } cases[] = {
        {G::kFxDelayTag, kFxDelay, 0.5f, 0, "515 ms"},
        {G::kFxDelayTag, kFxDelay, 0.6f, 1, "1.801Hz"},
        {G::kFxMixTag, 71, 0.004f, 0, "Dry"},
        {G::kFxMixTag, 71, 0.5f, 0, "50%"},
        {G::kPanTag, 86, 0.5f, 0, "<C>"},
        {G::kPanTag, 86, 0, 0, "L100"},
        {G::kVoicesTag, 85, 1, 0, "64"},
        {G::kTuneTag, 56, 0, 0, "-90 ct"},
        {G::kTuneTag, 56, 0.5f, 0, "10 ct"},  // what the voices play at the default
        {G::kPitchDelayTag, 48, 0.41f, 0, "149"},
    };
    for (const auto& c : cases) {
        const std::string shown = text(c.tag);
        automate(kFxType, c.fxType);
        automate(c.parameter, c.value);
        EXPECT_EQ(text(c.tag), shown);  // not before the idle pass
        editor->idle();
        EXPECT_EQ(text(c.tag), c.text) << c.tag << " at " << c.value;
    }
    automate(kModWheel, 5.0f / 17);
    editor->idle();
    EXPECT_EQ(modWheelText(), "LFO Amount Base");
    EXPECT_TRUE(hostCalls.empty());
}

// While synchronised a knob shows the note the engine plays: the delay rounds its value over 18
// notes, the sweep cuts it over 18, the pitch LFO rounds it over "2/1" and 18; the wheel steps
// through each of them once.
TEST_F(GlobalPage, SynchronisedKnobsShowTheNotesTheEnginePlays) {
    const struct {
        const char* what;
        float fxType;
        int sync, parameter;
        long tag;
        std::function<const NoteValue&(float)> engine;
        int notes;
    } cases[] = {
        {"delay", 0, kFxSync, kFxDelay, G::kFxDelayTag,
         [](float v) -> const NoteValue& { return kNoteValues[noteValueIndex(v)]; }, 18},
        {"sweep", 1, kFxSync, kFxDelay, G::kFxDelayTag,
         [](float v) -> const NoteValue& { return sweepNoteValue(v); }, 18},
        {"pitch LFO", 0, 51, 47, G::kPitchSpeedTag, lfoNoteValue, 19},
    };
    for (const auto& c : cases) {
        automate(kFxType, c.fxType);
        automate(c.sync, 1.0f);
        for (float v : {0.0f, 0.03f, 0.06f, 0.2f, 0.47f, 0.5f, 0.53f, 0.97f, 1.0f}) {
            automate(c.parameter, v);
            editor->idle();
            EXPECT_EQ(text(c.tag), c.engine(v).name) << c.what << " at " << v;
        }
        automate(c.parameter, 0.0f);
        editor->idle();
        std::vector<std::string> seen{text(c.tag)};
        for (int step = 0; step < c.notes + 2; ++step) {
            wheel(c.tag);
            EXPECT_EQ(text(c.tag), c.engine(plugin->getParameter(c.parameter)).name) << c.what;
            if (text(c.tag) != seen.back()) seen.push_back(text(c.tag));
        }
        EXPECT_EQ(int(seen.size()), c.notes) << c.what;
        automate(c.sync, 0.3f);  // the engine plays free at or below one half
        editor->idle();
        EXPECT_FALSE(static_cast<CLfoSpeedKnob*>(page->knob(c.tag))->isSynced()) << c.what;
    }
}

TEST_F(GlobalPage, EffectTypeSwitchesTheDelayReadingAndRestsTheDepthKnob) {
    const CRect depth = page->knob(G::kFxDepthTag)->getKnobArea();
    auto depthImage = [&](float v) {
        automate(70, v);
        editor->idle();
        std::vector<CColor> pixels;
        for (CCoord y = depth.top; y < depth.bottom; ++y)
            for (CCoord x = depth.left; x < depth.right; ++x)
                pixels.push_back(frame->getBackBuffer()->getPixel(x + 369, y));
        return pixels;
    };
    automate(kFxDelay, 0.6f);
    automate(kFxType, 1.0f);
    for (bool sweep : {false, true}) {
        editor->idle();
        hostCalls.clear();
        press({644, 222});  // the type button
        EXPECT_EQ(hostCalls.size(), 3u);
        EXPECT_EQ(plugin->getParameter(kFxType), sweep ? 1.0f : 0.0f);
        EXPECT_EQ(text(G::kFxDelayTag), sweep ? "1.801Hz" : "733 ms");
        EXPECT_EQ(page->knob(G::kFxDepthTag)->getMouseEnabled(), sweep);
        // The sweep's depth knob turns with its value; the delay's shows one still image.
        EXPECT_EQ(depthImage(0.0f) == depthImage(1.0f), !sweep);
    }
}

TEST_F(GlobalPage, ModWheelMenuListsTheDestinationsUnderItsCaption) {
    std::vector<std::string> entries = {
        "caption",           "-",     "LFO Speed Base",    "LFO Speed Top",   "LFO Speed Filter",
        "LFO Speed All",     "-",     "LFO Amount Base",   "LFO Amount Top",  "LFO Amount Filter",
        "LFO Amount All",    "-",     "ADSR Attack Base",  "ADSR Attack Top", "ADSR Attack Filter",
        "ADSR Attack All",   "-",     "ADSR Start Offset", "Pitch LFO Speed", "Pitch LFO Amount",
        "FX Delay Feedback", "FX Mix"};
    TempFolder folder;
    for (const char* map : {"001:fx mix\r\n", "002:pan\r\n"}) {
        folder.write(PControllerMap::kFileName, map);
        PControllerMap::loadFrom(folder.path().c_str());
        reopen();  // the caption is taken when the page is made
        COptionMenu* menu = page->modWheelMenu();
        entries[0] = map[2] == '1' ? "D: Fx Mix" : "D";
        std::vector<std::string> shown;
        for (long i = 0; i < menu->getNbEntries(); ++i) shown.push_back(menu->getEntryText(i));
        EXPECT_EQ(shown, entries);

        chooseModWheelEntry(21, 4);  // "FX Mix"
        EXPECT_EQ(plugin->getParameter(kModWheel), 1.0f);
        EXPECT_EQ(menu->getTxtFace(), kNormalFace);
        const CColor chosenInk = menu->getFontColor();
        chooseModWheelEntry(0, 0);
        EXPECT_EQ(plugin->getParameter(kModWheel), 0.0f);
        EXPECT_EQ(menu->getTxtFace(), kItalicFace);
        EXPECT_NE(menu->getFontColor(), chosenInk);
    }
    PControllerMap::reset();
}

}  // namespace
