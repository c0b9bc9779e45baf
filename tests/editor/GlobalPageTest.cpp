// The global page on a headless editor whose host records what it is told: every kind of control
// as a person uses it, the value texts, the effect type's readings, the modulation-wheel menu,
// host automation and typing in a locale with a decimal comma.
#include <gtest/gtest.h>

#include <clocale>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "MenuGeometry.h"
#include "core/PControllerMap.h"
#include "data/PLibraryStartup.h"
#include "editor/CKnobEdit.h"
#include "editor/CLfoSpeedKnob.h"
#include "editor/OrinEdit.h"
#include "editor/OrinEditor.h"
#include "editor/PGlobalEditor.h"
#include "engine/TempoNoteValues.h"
#include "gui/CBitmap.h"
#include "gui/CFrame.h"
#include "gui/COptionMenu.h"
#include "gui/platform/headless/HeadlessWindow.h"
#include "platform/TempFolder.h"

namespace {

struct HostCall {
    std::int32_t opcode;
    std::int32_t index;
    float value;
    bool operator==(const HostCall&) const = default;
};
std::vector<HostCall> hostCalls;

std::intptr_t recordingHost(AEffect*, std::int32_t opcode, std::int32_t index, std::intptr_t,
                            void*, float value) {
    if (opcode == audioMasterVersion) return 2400;
    if (opcode == audioMasterAutomate || opcode == audioMasterBeginEdit ||
        opcode == audioMasterEndEdit)
        hostCalls.push_back({opcode, index, value});
    return 0;
}

using G = PGlobalEditor;
const CPoint kPageOrigin(369, 0);

CPoint centreOf(const CRect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
constexpr int kFxType = 93, kFxSync = 65, kFxDelay = 66, kPitchSpeed = 47, kPitchSync = 51,
              kModWheel = 94;

// The Part's menu, in its order (separators left out).
const std::vector<std::string> kDestinations = {
    "LFO Speed Base",   "LFO Speed Top",     "LFO Speed Filter",   "LFO Speed All",
    "LFO Amount Base",  "LFO Amount Top",    "LFO Amount Filter",  "LFO Amount All",
    "ADSR Attack Base", "ADSR Attack Top",   "ADSR Attack Filter", "ADSR Attack All",
    "ADSR Start Offset", "Pitch LFO Speed",  "Pitch LFO Amount",   "FX Delay Feedback",
    "FX Mix"};

class GlobalPage : public ::testing::Test {
protected:
    void SetUp() override {
        setLibraryMessageHandlerForTests([](const char*, const char*) {});
        hostCalls.clear();
        plugin = std::make_unique<OrinEdit>(recordingHost);
        plugin->open();
        editor = plugin->editor();
        openWindow();
    }
    void TearDown() override {
        plugin.reset();
        setLibraryMessageHandlerForTests(nullptr);
    }
    void openWindow() {
        ASSERT_TRUE(editor->open(nullptr));
        frame = editor->getFrame();
        window = frame->headless();
        editor->showPage(OrinEditor::kGlobalPage);
        page = static_cast<PGlobalEditor*>(editor->page(OrinEditor::kGlobalPage));
        editor->idle();
        hostCalls.clear();
    }
    // As a host automates: the editor hears of it on its next idle pass.
    void automate(int parameter, float v) { plugin->setParameter(parameter, v); }
    static CPoint inFrame(CPoint p) { return {p.h + kPageOrigin.h, p.v + kPageOrigin.v}; }
    void click(CPoint pagePoint) {
        const CPoint p = inFrame(pagePoint);
        window->queueMouse(p, 0);
        frame->onMouseDown(p, kLButton);
    }
    void drag(CPoint pagePoint, int dy) {
        const CPoint p = inFrame(pagePoint);
        for (int step = 1; step <= 3; ++step) window->queueMouse({p.h, p.v + dy * step / 3}, kLButton);
        window->queueMouse({p.h, p.v + dy}, 0);
        frame->onMouseDown(p, kLButton);
    }
    void wheel(long tag, float distance) {
        frame->onMouseWheel(inFrame(centreOf(page->knob(tag)->getKnobArea())), distance);
    }
    // Opens the knob's text field, types and presses Enter.
    void typeInto(long tag, const char* text) {
        click(centreOf(page->knob(tag)->getTextRect()));
        for (const char* c = text; *c; ++c) {
            VstKeyCode key{*c, 0, 0};
            frame->onKeyDown(key);
        }
        VstKeyCode enter{0, VKEY_RETURN, 0};
        frame->onKeyDown(enter);
    }
    // Chooses menu entry `index` (with `separatorsAbove` separators before it) of the
    // modulation-wheel menu, which the frame moves up as far as it must to show it whole.
    void chooseModWheelEntry(int index, int separatorsAbove) {
        COptionMenu* menu = page->modWheelMenu();
        const CPoint at = inFrame(menu->getViewSize().topLeft());
        const CCoord item = menuEntry(at, 1, 0).v - menuEntry(at, 0, 0).v;
        const CCoord bottom = menuEntry(at, int(menu->getNbEntries()), 4).v - item / 2 + 1;
        const CCoord lift = std::max<CCoord>(0, bottom - frame->getHeight());
        CPoint entry = menuEntry(at, index, separatorsAbove);
        entry.v -= lift;
        window->queueMouse(at, 0);
        window->queueMouse(entry, kLButton);
        window->queueMouse(entry, 0);
        frame->onMouseDown(at, kLButton);
    }
    std::string text(long tag) const {
        char t[kValueTextCapacity] = {};
        page->knob(tag)->valueText(t);
        return t;
    }
    // The pixels the frame shows in a page rectangle.
    std::vector<CColor> pixels(const CRect& pageRect) const {
        std::vector<CColor> out;
        for (CCoord y = pageRect.top; y < pageRect.bottom; ++y)
            for (CCoord x = pageRect.left; x < pageRect.right; ++x)
                out.push_back(frame->getBackBuffer()->getPixel(x + kPageOrigin.h, y));
        return out;
    }
    // What the host saw is one gesture of `parameter` whose last value the plug-in holds.
    void expectOneGesture(int parameter, const char* what) const {
        ASSERT_GE(hostCalls.size(), 3u) << what;
        EXPECT_EQ(hostCalls.front(), (HostCall{audioMasterBeginEdit, parameter, 0.0f})) << what;
        EXPECT_EQ(hostCalls.back(), (HostCall{audioMasterEndEdit, parameter, 0.0f})) << what;
        for (std::size_t i = 1; i + 1 < hostCalls.size(); ++i) {
            EXPECT_EQ(hostCalls[i].opcode, audioMasterAutomate) << what;
            EXPECT_EQ(hostCalls[i].index, parameter) << what;
        }
        EXPECT_FLOAT_EQ(plugin->getParameter(parameter), hostCalls[hostCalls.size() - 2].value)
            << what;
    }

    std::unique_ptr<OrinEdit> plugin;
    OrinEditor* editor = nullptr;
    CFrame* frame = nullptr;
    HeadlessWindow* window = nullptr;
    PGlobalEditor* page = nullptr;
};

TEST_F(GlobalPage, EachKindOfControlWritesItsParameterAsOneGesture) {
    automate(86, 0.5f);  // pan in the middle
    editor->idle();
    const struct {
        const char* what;
        int parameter;
        std::function<void()> act;
        float expected;  // below 0: only changed
    } cases[] = {
        {"knob drag", 67, [&] { drag({196, 255}, -30); }, -1},
        {"wheel", 85, [&] { wheel(G::kVoicesTag, 1); }, plugin->getParameter(85) + 1.0f / 64},
        {"typed balance", 86, [&] { typeInto(G::kPanTag, "r25"); }, 0.625f},
        {"typed tuning", 56, [&] { typeInto(G::kTuneTag, "-50"); }, 0.25f},
        {"button", 91, [&] { click({175, 222}); }, 1.0f - plugin->getParameter(91)},
        {"menu", kModWheel, [&] { chooseModWheelEntry(18, 4); }, 14.0f / 17},
    };
    for (const auto& c : cases) {
        hostCalls.clear();
        const float before = plugin->getParameter(c.parameter);
        const std::uint32_t refreshes = editor->refreshCount();
        c.act();
        expectOneGesture(c.parameter, c.what);
        if (c.expected >= 0)
            EXPECT_NEAR(plugin->getParameter(c.parameter), c.expected, 1e-6) << c.what;
        else
            EXPECT_NE(plugin->getParameter(c.parameter), before) << c.what;
        editor->idle();
        EXPECT_EQ(editor->refreshCount(), refreshes) << c.what;  // no echo of our own change
    }
    EXPECT_EQ(text(G::kPanTag), "R25");
    EXPECT_STREQ(page->modWheelMenu()->getEntryText(page->modWheelMenu()->getCurrent()),
                 "Pitch LFO Speed");
}

TEST_F(GlobalPage, ValueTextsOfEachReading) {
    const struct {
        long tag;
        int parameter;
        float value;
        float fxType;
        const char* text;
    } cases[] = {
        {G::kFxDelayTag, kFxDelay, 0.5f, 0.0f, "515 ms"},
        {G::kFxDelayTag, kFxDelay, 1.0f, 0.0f, "2.00 s"},
        {G::kFxDelayTag, kFxDelay, 0.6f, 1.0f, "1.801Hz"},
        {G::kFxMixTag, 71, 0.004f, 0, "Dry"},
        {G::kFxMixTag, 71, 0.96f, 0, "Wet"},
        {G::kFxMixTag, 71, 0.5f, 0, "50%"},
        {G::kFxFeedbackTag, 67, 0.333f, 0, "33%"},
        {G::kPanTag, 86, 0.5f, 0, "<C>"},
        {G::kPanTag, 86, 0.0f, 0, "L100"},
        {G::kPanTag, 86, 1.0f, 0, "R100"},
        {G::kVoicesTag, 85, 0.0f, 0, "1"},
        {G::kVoicesTag, 85, 1.0f, 0, "64"},
        {G::kTuneTag, 56, 0.0f, 0, "-100 ct"},
        {G::kTuneTag, 56, 0.75f, 0, "50 ct"},
        {G::kPitchDelayTag, 48, 0.41f, 0, "149"},
        {G::kPitchAmountTag, 49, 0.25f, 0, "25"},
    };
    for (const auto& c : cases) {
        automate(kFxType, c.fxType);
        automate(c.parameter, c.value);
        editor->idle();
        EXPECT_EQ(text(c.tag), c.text) << c.tag << " at " << c.value;
    }
    EXPECT_TRUE(hostCalls.empty());
}

// The note a synchronised knob shows is the one the engine plays: the delay rounds its value
// over 18 notes, the sweep cuts it over 18 notes, the pitch LFO rounds over "2/1" and 18 notes.
TEST_F(GlobalPage, SynchronisedKnobsShowTheNotesTheEnginePlaysAndTheWheelVisitsEachOnce) {
    using NoteOf = std::function<const NoteValue&(float)>;
    const struct {
        const char* what;
        float fxType;
        int sync, parameter;
        long tag;
        NoteOf engine;
        int notes;
    } cases[] = {
        {"delay", 0.0f, kFxSync, kFxDelay, G::kFxDelayTag,
         [](float v) -> const NoteValue& { return kNoteValues[noteValueIndex(v)]; }, 18},
        {"sweep", 1.0f, kFxSync, kFxDelay, G::kFxDelayTag,
         [](float v) -> const NoteValue& { return sweepNoteValue(v); }, 18},
        {"pitch LFO", 0.0f, kPitchSync, kPitchSpeed, G::kPitchSpeedTag, lfoNoteValue, 19},
    };
    for (const auto& c : cases) {
        automate(kFxType, c.fxType);
        automate(c.sync, 1.0f);
        for (float v : {0.0f, 0.03f, 0.06f, 0.2f, 0.47f, 0.5f, 0.53f, 0.9f, 0.97f, 1.0f}) {
            automate(c.parameter, v);
            editor->idle();
            EXPECT_EQ(text(c.tag), c.engine(v).name) << c.what << " at " << v;
        }
        automate(c.parameter, 0.0f);
        editor->idle();
        std::vector<std::string> seen{text(c.tag)};
        for (int step = 0; step < c.notes + 2; ++step) {
            wheel(c.tag, 1);
            if (text(c.tag) != seen.back()) seen.push_back(text(c.tag));
            EXPECT_EQ(text(c.tag), c.engine(plugin->getParameter(c.parameter)).name) << c.what;
        }
        EXPECT_EQ(int(seen.size()), c.notes) << c.what;
        automate(c.sync, 0.3f);  // the engine plays free below one half
        editor->idle();
        EXPECT_FALSE(static_cast<CLfoSpeedKnob*>(page->knob(c.tag))->isSynced()) << c.what;
    }
}

TEST_F(GlobalPage, EffectTypeSwitchesTheDelayReadingAndTheDepthKnob) {
    const CRect depth = page->knob(G::kFxDepthTag)->getKnobArea();
    auto depthAt = [&](float v) {
        automate(70, v);
        editor->idle();
        return pixels(depth);
    };
    automate(kFxDelay, 0.6f);
    for (float type : {1.0f, 0.0f}) {  // start on the sweep: pressing the button gives the delay
        automate(kFxType, type);
        editor->idle();
        hostCalls.clear();
        click({275, 222});
        expectOneGesture(kFxType, "type button");
        const bool sweep = plugin->getParameter(kFxType) > 0.5f;
        EXPECT_EQ(sweep, type == 0.0f);
        EXPECT_EQ(text(G::kFxDelayTag), sweep ? "1.801Hz" : "733 ms");
        EXPECT_EQ(page->knob(G::kFxDepthTag)->getMouseEnabled(), sweep);
        // The sweep's depth knob turns with its value; the delay's shows one still image.
        EXPECT_EQ(depthAt(0.0f) == depthAt(1.0f), !sweep);
        hostCalls.clear();
        drag(centreOf(depth), -30);
        EXPECT_EQ(hostCalls.empty(), !sweep);
    }
}

TEST_F(GlobalPage, ModWheelMenuListsTheDestinationsUnderItsCaption) {
    TempFolder folder;
    for (const char* map : {"001:fx mix\r\n", "002:pan\r\n"}) {
        folder.write(PControllerMap::kFileName, map);
        PControllerMap::loadFrom(folder.path().c_str());
        editor->close();
        openWindow();  // the caption is taken when the page is made
        COptionMenu* menu = page->modWheelMenu();
        const std::string caption = map[2] == '1' ? "D: Fx Mix" : "D";
        ASSERT_EQ(menu->getNbEntries(), 22);
        EXPECT_EQ(menu->getEntryText(0), caption);
        std::vector<std::string> destinations;
        for (long i = 1; i < menu->getNbEntries(); ++i)
            if (!menu->isSeparator(i)) destinations.push_back(menu->getEntryText(i));
        EXPECT_EQ(destinations, kDestinations);

        chooseModWheelEntry(21, 4);  // "FX Mix"
        EXPECT_FLOAT_EQ(plugin->getParameter(kModWheel), 1.0f);
        EXPECT_EQ(menu->getTxtFace(), kNormalFace);
        const CColor chosenInk = menu->getFontColor();
        chooseModWheelEntry(0, 0);
        EXPECT_FLOAT_EQ(plugin->getParameter(kModWheel), 0.0f);
        EXPECT_EQ(menu->getTxtFace(), kItalicFace);
        EXPECT_NE(menu->getFontColor(), chosenInk);  // the caption is quieter
    }
    PControllerMap::reset();
}

TEST_F(GlobalPage, HostAutomationShowsOnTheNextIdleOnly) {
    const bool sweep = plugin->getParameter(kFxType) <= 0.5f;  // the other effect
    automate(67, 0.8f);
    automate(kFxType, sweep ? 1.0f : 0.0f);
    automate(kFxSync, 1.0f);
    automate(kModWheel, 5.0f / 17);
    CKnobEdit* feedback = page->knob(G::kFxFeedbackTag);
    EXPECT_NE(feedback->getValue(), 0.8f);
    EXPECT_FALSE(page->fxDelayKnob()->isSynced());
    EXPECT_NE(page->knob(G::kFxDepthTag)->getMouseEnabled(), sweep);
    editor->idle();
    EXPECT_FLOAT_EQ(feedback->getValue(), 0.8f);
    EXPECT_EQ(text(G::kFxFeedbackTag), "80%");
    EXPECT_TRUE(page->fxDelayKnob()->isSynced());
    EXPECT_EQ(page->knob(G::kFxDepthTag)->getMouseEnabled(), sweep);
    EXPECT_STREQ(page->modWheelMenu()->getEntryText(page->modWheelMenu()->getCurrent()),
                 "LFO Amount Base");
    EXPECT_TRUE(hostCalls.empty());
}

// Switches the process to a locale that writes numbers with a decimal comma while it lives.
struct CommaLocale {
    std::string saved;
    bool active = false;
    CommaLocale() {
        const char* current = std::setlocale(LC_ALL, nullptr);
        saved = current ? current : "C";
        active = std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "German");
    }
    ~CommaLocale() { std::setlocale(LC_ALL, saved.c_str()); }
};

TEST_F(GlobalPage, TypedValuesReadTheSameInAGermanLocale) {
    CommaLocale locale;
    if (!locale.active) GTEST_SKIP() << "no locale with a decimal comma on this system";
    automate(kFxType, 0.0f);
    editor->idle();
    const struct {
        long tag;
        int parameter;
        const char* typed;
        float value;
        const char* shown;
    } cases[] = {
        {G::kFxDelayTag, kFxDelay, "1287,2", 0.8f, "1.29 s"},
        {G::kFxDelayTag, kFxDelay, "1.5 s", 0.8645662f, "1.50 s"},  // sqrt(1480 / 1980)
        {G::kFxDelayTag, kFxDelay, "soon", 0.8645662f, "1.50 s"},  // unreadable: unchanged
        {G::kPanTag, 86, "r25", 0.625f, "R25"},
        {G::kPanTag, 86, "L 10", 0.45f, "L10"},
        {G::kTuneTag, 56, "-12,4 ct", 0.44f, "-12 ct"},
        {G::kFxMixTag, 71, "40%", 0.4f, "40%"},
    };
    for (const auto& c : cases) {
        typeInto(c.tag, c.typed);
        EXPECT_NEAR(plugin->getParameter(c.parameter), c.value, 1e-5) << c.typed;
        EXPECT_EQ(text(c.tag), c.shown) << c.typed;
    }
}

}  // namespace
