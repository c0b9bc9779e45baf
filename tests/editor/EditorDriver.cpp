#include "EditorDriver.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <map>
#include <sstream>
#include <thread>

#include "MenuGeometry.h"
#include "core/PParamDesc.h"
#include "core/PProgram.h"
#include "core/KeyboardDisplay.h"
#include "editor/CAutoRemoveTextEdit.h"
#include "editor/CDepButton.h"
#include "editor/CDepTextEdit.h"
#include "editor/KeyboardView.h"
#include "editor/OrinMpeEditor.h"
#include "editor/PAdsrEditor.h"
#include "editor/PAdsrValue.h"
#include "editor/CLfoSpeedKnob.h"
#include "editor/CGuidedMultiSlider.h"
#include "editor/CMultiSlider.h"
#include "editor/CSlopeDisplay.h"
#include "editor/PDiskPointer.h"
#include "editor/PDiskSector.h"
#include "editor/PGlobalEditor.h"
#include "editor/PLfoEditor.h"
#include "editor/PLfoMatrix.h"
#include "editor/POrinDiskControl.h"
#include "editor/POrinDiskDescriptor.h"
#include "editor/PPresetEditor.h"
#include "editor/PPresetMatrix.h"
#include "engine/LfoShapes.h"
#include "gui/COnOffButton.h"
#include "gui/COptionMenu.h"

namespace {

using hosted::HostCall;

const CPoint kCentre(OrinEditor::kWidth / 2, OrinEditor::kHeight / 2);
// The page buttons (by page) at their middles, and the middle of a square of the page area that
// every page fills with controls of its own (the pages share some controls at their top).
const CPoint kPageButton[OrinEditor::kPageCount] = {{637, 32}, {611, 48}, {673, 48}, {650, 64}};
const CPoint kPageMiddle(552, 224);
constexpr int kPageSquare = 300;
// A point of the background right of the loading indicator, where a right click opens the menu.
const CPoint kBackground(250, 20);
// The palette control's top-left corner in the editor, and where the Base icon is dropped: the
// bottom sector of the inner ring (slot 1), in centre coordinates.
const CPoint kPaletteCorner(10, 53);
const CPoint kDrop(0, -30);

CPoint plus(const CPoint& a, const CPoint& b) {
    return {a.h + b.h, a.v + b.v};
}

// Entry `index` of a context menu opened 2 pixels below `click`, when `separatorsAbove`
// separators come before it.
CPoint contextMenuEntry(const CPoint& click, int index, int separatorsAbove) {
    return menuEntry(CPoint(click.h + 10, click.v + 2), index, separatorsAbove);
}

// Page x + kPageLeft = window x.
constexpr CCoord kPageLeft = 369;

CRect onWindow(CRect onPage) {
    onPage.offset(kPageLeft, 0);
    return onPage;
}

CPoint middle(const CRect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Pixels a knob is dragged over its whole range.
constexpr float kKnobTravel = 200.0f;

// The cents the voices play at a tuning value.
double tuneCents(float value) {
    return 200.0 * value - 90.0;
}

double cents(double from, double to) {
    return 1200.0 * std::log2(to / from);
}

// A point of `own` that no rectangle of `others` covers (nearest its middle), or (-1, -1).
CPoint uncovered(const CRect& own, const std::vector<CRect>& others) {
    const CPoint middle((own.left + own.right) / 2, (own.top + own.bottom) / 2);
    CPoint best(-1, -1);
    int bestDistance = 1 << 30;
    for (int y = own.top + 2; y < own.bottom - 2; ++y)
        for (int x = own.left + 2; x < own.right - 2; ++x) {
            bool covered = false;
            for (const CRect& r : others) covered = covered || r.pointInside(CPoint(x, y));
            const int d = (x - middle.h) * (x - middle.h) + (y - middle.v) * (y - middle.v);
            if (!covered && d < bestDistance) best = CPoint(x, y), bestDistance = d;
        }
    return best;
}

bool isGesture(const HostCall& c, std::int32_t opcode, std::int32_t index) {
    return c.opcode == opcode && c.index == index;
}

// The last value automated for `index`, or -1.
float lastAutomated(const std::vector<HostCall>& calls, std::int32_t index) {
    for (auto c = calls.rbegin(); c != calls.rend(); ++c)
        if (isGesture(*c, audioMasterAutomate, index)) return c->value;
    return -1.0f;
}

// The milliseconds a rendered note takes to first reach `part` of its loudest.
double rise(const std::vector<float>& sound, float part) {
    float loudest = 0;
    for (float v : sound) loudest = std::max(loudest, std::fabs(v));
    std::size_t at = 0;
    while (at < sound.size() && std::fabs(sound[at]) < loudest * part) ++at;
    return 1000.0 * double(at) / hosted::HostedEditor::kRate;
}

// A time as the envelope page's fields show it ("7.59ms", "3.13s"), in milliseconds.
double shownMs(const std::string& text) {
    char* unit = nullptr;
    const double value = std::strtod(text.c_str(), &unit);
    return std::string(unit) == "s" ? 1000.0 * value : value;
}

// A thread rendering audio blocks as a host does while the editor is used. It keeps which notes the
// plug-in's key state showed held while a block had sound, and the first time a note of `marks`
// sounds it creates the file named there, for a shell to wait on; it counts the blocks in a row
// that were silent with no key down.
class Listener {
public:
    Listener(VstHost& host, const KeyboardDisplay& keys, std::map<int, std::string> marks)
        : host_(host), keys_(keys), marks_(std::move(marks)), thread_([this] { run(); }) {}
    ~Listener() {
        done_.store(true);
        thread_.join();
    }
    bool sounded(int note) const { return sounded_[note].load(); }
    int quietBlocks() const { return quiet_.load(); }

private:
    void run() {
        std::vector<float> left(256), right(256);
        while (!done_.load()) {
            host_.process(left.data(), right.data(), 256);
            float peak = 0;
            for (std::size_t i = 0; i < left.size(); ++i)
                peak = std::max({peak, std::fabs(left[i]), std::fabs(right[i])});
            bool down = false;
            for (int note = 0; note < KeyboardDisplay::kNotes; ++note) {
                const bool held = keys_.velocity(note) > 0;
                down = down || held;
                if (!held || peak < 1e-3f || sounded_[note].load()) continue;
                sounded_[note].store(true);
                const auto mark = marks_.find(note);
                if (mark != marks_.end()) std::ofstream(mark->second).put('\n');
            }
            quiet_.store(!down && peak < 1e-5f ? quiet_.load() + 1 : 0);
        }
    }

    VstHost& host_;
    const KeyboardDisplay& keys_;
    const std::map<int, std::string> marks_;
    std::array<std::atomic<bool>, KeyboardDisplay::kNotes> sounded_{};
    std::atomic<int> quiet_{0};
    std::atomic<bool> done_{false};
    std::thread thread_;
};

}  // namespace

std::string EditorDriver::file(const std::string& name) const {
    return std::string(QUOR_SCREENSHOTS) + "/" + prefix_ + "-marks/" + name;
}

bool EditorDriver::exists(const std::string& name) {
    return std::filesystem::exists(hostPath(file(name)));
}

std::string EditorDriver::area(const CPoint& p, int size) {
    std::istringstream xy(at(p));
    int x = 0, y = 0;
    xy >> x >> y;
    return "a() { import -window root -crop " + std::to_string(size) + "x" + std::to_string(size) +
           "+" + std::to_string(x - size / 2) + "+" + std::to_string(y - size / 2) +
           " -depth 8 rgb:- 2>/dev/null | md5sum | cut -c1-32; }; ";
}

std::string EditorDriver::sample(const CPoint& p, int size, const std::string& name) {
    return area(p, size) + "a > " + file(name) + ".part && mv " + file(name) + ".part " +
           file(name);
}

std::string EditorDriver::waitFor(const CPoint& p, int size, const std::string& remembered,
                                  bool same, const std::string& mark) {
    const std::string holds =
        "[ $(a) " + std::string(same ? "=" : "!=") + " $(cat " + file(remembered) + ") ]";
    return area(p, size) + "end=$(($(date +%s) + 60)); while ! " + holds +
           " && [ $(date +%s) -lt $end ]; do :; done; " + holds + " && touch " + file(mark);
}

std::string EditorDriver::whenChanged(const CPoint& p, int size, const std::string& action,
                                      const std::string& mark, const std::string& remember) {
    const std::string before = remember.empty() ? mark + ".before" : remember;
    return sample(p, size, before) + "; " + action + "; " + waitFor(p, size, before, false, mark);
}

std::string EditorDriver::shot(const std::string& name) const {
    return std::string(QUOR_SCREENSHOTS) + "/" + prefix_ + "-" + name + ".png";
}

std::string EditorDriver::takeScreenshot(const std::string& name) {
    std::istringstream xy(at(CPoint(0, 0)));
    int x = 0, y = 0;
    xy >> x >> y;
    const std::string crop = std::to_string(OrinEditor::kWidth) + "x" +
                             std::to_string(OrinEditor::kHeight) + "+" + std::to_string(x) + "+" +
                             std::to_string(y);
    std::filesystem::remove(hostPath(shot(name)));
    return "import -window root -crop " + crop + " " + file(name + ".png") + " && mv " +
           file(name + ".png") + " " + shot(name);
}

GestureSteps::Step EditorDriver::screenshot(const std::string& name) {
    const std::string command = takeScreenshot(name);
    return {"screenshot taken", command,
            [this, name] { return std::filesystem::exists(hostPath(shot(name))); }};
}

void EditorDriver::open(hosted::HostedEditor& hosted) {
    ASSERT_TRUE(hosted.loaded());
    const std::filesystem::path marks = hostPath(file(""));
    std::filesystem::remove_all(marks);
    std::filesystem::create_directories(marks);
    // Both instruments load before anything is played, so that every note has its sound.
    const std::uint32_t start = platform::tickCount();
    while (!hosted.slotLoaded(1) && platform::tickCount() - start < 60000) platform::sleepMs(5);
    ASSERT_TRUE(hosted.slotLoaded(0) && hosted.slotLoaded(1));
    hosted_ = &hosted;
    ASSERT_TRUE(hosted.open(parent()));
    ASSERT_TRUE(hosted.editor().getFrame()->isNative());
    OrinEditor& editor = hosted.editor();
    ASSERT_TRUE(steps_.perform(
        {{"window shown and its opening sweep over", GestureSteps::pointAtWindow(at(kCentre)),
          [&] { return !editor.isSweeping(); }}}));
}

void EditorDriver::close() {
    hosted_->close();
    EXPECT_EQ(hosted_->editor().getFrame(), nullptr);
    hosted_ = nullptr;
    std::filesystem::remove_all(hostPath(file("")));
}

void EditorDriver::useTheWindow() {
    hosted::HostedEditor hosted(hosted::Library::kTwoSines);
    PPreset& preset = hosted.plugin().currentProgram().editPreset();
    ASSERT_NO_FATAL_FAILURE(open(hosted));
    const double before = hosted.playedFundamental(60, 0.6);
    ASSERT_GT(before, 0.0);
    pagesScenario();
    aboutScenario();
    EXPECT_EQ(preset.icon(0), 0);  // the clicks on the about screen stayed there
    dragScenario();

    const double after = hosted.playedFundamental(60, 0.6);
    // All three icons start on slot 0 ("Octave", first by name); with Base on "Sine" an octave
    // lower, the sound's fundamental drops by an octave.
    EXPECT_NEAR(std::fabs(std::log2(after / before)), 1.0, 0.02)
        << before << " Hz, " << after << " Hz";
    close();
}

void EditorDriver::useThePages() {
    hosted::HostedEditor hosted(hosted::Library::kTwoSines);
    ASSERT_NO_FATAL_FAILURE(open(hosted));
    EXPECT_NO_FATAL_FAILURE(presetPage());
    EXPECT_NO_FATAL_FAILURE(lfoPage());
    EXPECT_NO_FATAL_FAILURE(globalPage());
    close();
}

void EditorDriver::showPage(int page) {
    OrinEditor& editor = hosted_->editor();
    const std::string mark = "page" + std::to_string(page);
    std::filesystem::remove(hostPath(file(mark)));
    ASSERT_TRUE(steps_.perform(
        {{"page shown",
          whenChanged(kPageMiddle, kPageSquare, "xdotool mousemove " + at(kPageButton[page]) + " click 1",
                      mark),
          [&] { return exists(mark) && editor.currentPage() == page; }}}))
        << "page " << page;
}

void EditorDriver::pagesScenario() {
    ASSERT_EQ(hosted_->editor().currentPage(), OrinEditor::kPresetPage);
    for (int page : {OrinEditor::kLfoPage, OrinEditor::kEnvelopePage, OrinEditor::kGlobalPage,
                     OrinEditor::kPresetPage}) {
        ASSERT_NO_FATAL_FAILURE(showPage(page));
        if (page == OrinEditor::kEnvelopePage) {
            ASSERT_TRUE(steps_.perform({screenshot("envelope-page")}));
        }
    }
}

// ---- Gestures on the pages ---------------------------------------------------------------------

bool EditorDriver::told(std::int32_t opcode, int parameter) {
    const std::vector<HostCall> calls = hosted_->calls();
    return std::any_of(calls.begin(), calls.end(),
                       [&](const HostCall& c) { return isGesture(c, opcode, parameter); });
}

void EditorDriver::perform(const Gesture& gesture) {
    hosted_->clearCalls();
    // Knob drags report from inside their tracking loops; their steps are checked there.
    hosted_->follow([this] { steps_.check(); });
    const testing::AssertionResult done = steps_.perform(gesture.steps);
    hosted_->follow(nullptr);
    ASSERT_TRUE(done) << gesture.what;
    const std::vector<HostCall> calls = hosted_->calls();
    const int p = gesture.parameter;
    if (p < 0) {
        EXPECT_TRUE(calls.empty()) << gesture.what << ": the host was told of parameter "
                                   << calls.front().index;
        return;
    }
    ASSERT_GE(calls.size(), 3u) << gesture.what;
    EXPECT_TRUE(isGesture(calls.front(), audioMasterBeginEdit, p)) << gesture.what;
    EXPECT_TRUE(isGesture(calls.back(), audioMasterEndEdit, p)) << gesture.what;
    for (std::size_t i = 1; i + 1 < calls.size(); ++i)
        EXPECT_TRUE(isGesture(calls[i], audioMasterAutomate, p))
            << gesture.what << ", report " << i << ": " << calls[i].opcode << " on "
            << calls[i].index;
    EXPECT_EQ(hosted_->host().parameter(p), lastAutomated(calls, p)) << gesture.what;
    EXPECT_EQ(hosted_->plugin().getParameter(p), lastAutomated(calls, p)) << gesture.what;
}

std::string EditorDriver::click(const CRect& onPage) {
    return "xdotool mousemove " + at(middle(onWindow(onPage))) + " click 1";
}

std::vector<GestureSteps::Step> EditorDriver::drag(const CPoint& from, const CPoint& to,
                                                    int parameter, std::function<bool()> reached) {
    // The first move of two pixels towards `to` makes every kind of control write.
    const CPoint nudge(from.h + (to.h > from.h) * 2 - (to.h < from.h) * 2,
                       from.v + (to.v > from.v) * 2 - (to.v < from.v) * 2);
    return {{"pressed", "xdotool mousemove " + at(from) + " mousedown 1 mousemove " + at(nudge),
             [=, this] { return told(audioMasterBeginEdit, parameter); }},
            {"dragged", "xdotool mousemove " + at(to), std::move(reached)},
            {"released", "xdotool mouseup 1",
             [=, this] { return told(audioMasterEndEdit, parameter); }}};
}

std::vector<GestureSteps::Step> EditorDriver::knobDrag(const CRect& knob, int parameter, int dy) {
    const CPoint from = middle(onWindow(knob));
    const float target = hosted_->plugin().getParameter(parameter) + float(dy) / kKnobTravel;
    return drag(from, CPoint(from.h, from.v - dy), parameter, [=, this] {
        return std::fabs(lastAutomated(hosted_->calls(), parameter) - target) < 0.01f;
    });
}

std::vector<GestureSteps::Step> EditorDriver::typing(const CKnobEdit& knob,
                                                      const std::string& keys, int parameter) {
    return {{"value field open", click(knob.getTextRect()),
             [&knob] { return knob.typingField() != nullptr; }},
            {"value typed", "xdotool key " + keys + " Return", [=, this, &knob] {
                 return told(audioMasterEndEdit, parameter) && !knob.typingField();
             }}};
}

GestureSteps::Step EditorDriver::menuChoice(const CRect& menu, const CPoint& entry,
                                            std::function<bool()> chosen) {
    // The menu shows from inside its own loop, in which the host's turn does not return: the
    // shell waits until it shows before it clicks.
    const std::string mark = "menu-" + std::to_string(entry.h) + "-" + std::to_string(entry.v);
    return {"menu opened and an entry chosen",
            whenChanged(entry, 8, click(menu), mark) + "; xdotool mousemove " + at(entry) +
                " click 1",
            [=, this] { return exists(mark) && chosen(); }};
}

void EditorDriver::presetPage() {
    OrinEditor& editor = hosted_->editor();
    ASSERT_EQ(editor.currentPage(), OrinEditor::kPresetPage);
    auto& page = *static_cast<PPresetEditor*>(editor.page(OrinEditor::kPresetPage));
    PProgram& program = hosted_->plugin().currentProgram();
    PPreset& edit = program.editPreset();
    auto cell = [&](int row) {
        CRect r = page.list()->cellRect(row, 0);
        r.offset(PPresetEditor::kListLeft, PPresetEditor::kListTop);
        return r;
    };
    // The fourth preset of group B plays "Sine" on its Base layer, an octave below "Octave".
    const int chosen = PPresetEditor::kGroupSize + 3;
    program.preset(chosen)->setIcon(0, 1);
    const double before = hosted_->playedFundamental(60, 0.6);

    perform({"group button",
             {{"group B shown", click(page.groupButton(1)->getViewSize()),
               [&] { return page.displayedGroup() == 1; }}},
             -1});
    perform({"a click on a preset's name",
             {{"preset chosen", click(cell(3)), [&] { return program.currentPreset() == chosen; }}},
             -1});
    const double chosenSound = hosted_->playedFundamental(60, 0.6);
    EXPECT_NEAR(std::log2(chosenSound / before), -1.0, 0.02)
        << before << " Hz, " << chosenSound << " Hz";

    perform({"rename",
             {{"rename field open", click(cell(5)).insert(0, "xdotool keydown alt; "),
               [&] { return page.renameField() != nullptr; }},
              {"Alt released", "xdotool keyup alt", [this] { return !altHeld(); }},
              {"name typed", "xdotool key B a s s Return",
               [&] { return page.renameField() == nullptr; }}},
             -1});
    EXPECT_STREQ(program.preset(chosen + 2)->name(), "Bass");

    // "Center icons" (the second of 12 entries, 2 of them separators) puts the icons on the
    // first three sectors, each taking its instrument along: the sound stays.
    const CRect menu = page.paletteMenu()->getViewSize();
    const CPoint top(middle(onWindow(menu)).h, menu.top);
    perform({"palette command",
             {menuChoice(menu, fittedMenuEntry(top, 1, 0, 12, 2, OrinEditor::kHeight),
                         [&] { return edit.icon(0) == 0 && edit.icon(1) == 1 && edit.icon(2) == 2; })},
             -1});
    EXPECT_NEAR(hosted_->playedFundamental(60, 0.6), chosenSound, 0.01 * chosenSound);

    // The wheel: down over the list plays the next preset; over a sector of the palette it
    // steps that sector's instrument through the pool.
    perform({"wheel on the list",
             {{"next preset chosen", wheel(middle(cell(3)), false),
               [&] { return program.currentPreset() == chosen + 1; }}},
             -1});
    POrinDiskDescriptor& model = editor.paletteModel();
    const CPoint wheelAt(0, -100);
    const PDiskSector* sector = model.sectorAt(wheelAt);
    ASSERT_NE(sector, nullptr);
    PPreset& shown = program.editPreset();
    const std::int32_t slot = shown.slot(sector->id());
    perform({"wheel on the palette",
             {{"sector's instrument stepped",
               "xdotool mousemove " + at(plus(model.toControl(wheelAt), kPaletteCorner)) +
                   " click 4",
               [&] { return shown.slot(sector->id()) != slot; }}},
             -1});
    ASSERT_TRUE(steps_.perform({screenshot("page-presets")}));
}

void EditorDriver::lfoPage() {
    ASSERT_NO_FATAL_FAILURE(showPage(OrinEditor::kLfoPage));
    auto& page = *static_cast<PLfoEditor*>(hosted_->editor().page(OrinEditor::kLfoPage));
    PPreset& edit = hosted_->plugin().currentProgram().editPreset();
    ASSERT_EQ(page.selectedLayer(), 0);

    // The Base layer's LFO amount turned up: the note's loudness swings against the note
    // before, which the same note played again does not.
    const int amount = PLfoEditor::parameterFor(PLfoEditor::kAmount, 0);
    const std::vector<float> before = hosted_->played(60, 0.6);
    EXPECT_LT(hosted::loudnessSwing(hosted_->played(60, 0.6), before), 0.02);
    perform({"knob drag", knobDrag(page.knob(PLfoEditor::kAmount)->getKnobArea(), amount, 100),
             amount});
    const double swing = hosted::loudnessSwing(hosted_->played(60, 0.6), before);
    EXPECT_GT(swing, 0.3);
    // The knob keeps the focus: the Down key turns it one step back.
    const float turned = hosted_->plugin().getParameter(amount);
    perform({"arrow key on a knob",
             {{"knob stepped", "xdotool key Down",
               [&] { return told(audioMasterEndEdit, amount); }}},
             amount});
    EXPECT_LT(hosted_->plugin().getParameter(amount), turned);

    perform({"shape button",
             {{"random steps drawn", click(page.shapeButton(4)->getViewSize()),
               [&] { return edit.lfoShape(0) == kShapeRand && page.shapeButton(4)->isOn(); }}},
             -1});

    // A stroke along row `a` from column 1 to column 6, then down to row `b` in column 12,
    // through cells that were dark, each move made once the cell before it lights.
    std::array<int, 16> drawn{};
    for (int c = 0; c < 16; ++c) drawn[c] = edit.lfoStep(0, c);
    auto darkRow = [&](int row, std::initializer_list<int> columns) {
        while (std::any_of(columns.begin(), columns.end(),
                           [&](int c) { return 15 - drawn[c] == row; }))
            ++row;
        return row;
    };
    const int a = darkRow(2, {1, 6}), b = darkRow(11, {12});
    const CRect grid = onWindow(page.grid()->getViewSize());
    auto cellAt = [&](int row, int column) {
        return CPoint(grid.left + (2 * column + 1) * grid.width() / 32,
                      grid.top + (2 * row + 1) * grid.height() / 32);
    };
    const CPoint stroke[] = {cellAt(a, 1), cellAt(a, 6), cellAt(b, 12)};
    std::string shell;
    for (int i = 0; i < 3; ++i) shell += sample(stroke[i], 4, "stroke" + std::to_string(i)) + "; ";
    for (int i = 0; i < 3; ++i)
        shell += std::string("xdotool mousemove ") + at(stroke[i]) + (i ? "; " : " mousedown 1; ") +
                 waitFor(stroke[i], 4, "stroke" + std::to_string(i), false,
                         "lit" + std::to_string(i)) +
                 "; ";
    shell += "xdotool mouseup 1; touch " + file("stroke");
    perform({"a drag painting steps",
             {{"steps painted", shell, [&] { return exists("stroke"); }}},
             -1});
    EXPECT_TRUE(exists("lit2")) << "a painted cell did not light";
    EXPECT_EQ(edit.lfoShape(0), kShapePattern);
    EXPECT_FALSE(page.shapeButton(4)->isOn());
    for (int c = 0; c < 16; ++c) {
        const int level = edit.lfoStep(0, c);
        if (c >= 1 && c <= 6) {
            EXPECT_EQ(level, 15 - a) << c;
        } else if (c > 6 && c < 12) {  // on the way down between the two rows
            EXPECT_LE(level, edit.lfoStep(0, c - 1)) << c;
            EXPECT_GE(level, 15 - b) << c;
        } else {
            EXPECT_EQ(level, c == 12 ? 15 - b : drawn[c]) << c;
        }
    }

    const int sync = PLfoEditor::parameterFor(PLfoEditor::kSync, 0);
    perform({"sync button",
             {{"speed synchronised", click(page.syncButton()->getViewSize()),
               [&] { return told(audioMasterEndEdit, sync) && page.speedKnob()->isSynced(); }}},
             sync});
    ASSERT_TRUE(steps_.perform({screenshot("page-lfo")}));
    perform({"layer button",
             {{"Top layer shown", click(page.layerButton(1)->getViewSize()),
               [&] { return page.selectedLayer() == 1; }}},
             -1});
}

void EditorDriver::globalPage() {
    ASSERT_NO_FATAL_FAILURE(showPage(OrinEditor::kGlobalPage));
    auto& page = *static_cast<PGlobalEditor*>(hosted_->editor().page(OrinEditor::kGlobalPage));
    OrinEdit& plugin = hosted_->plugin();
    CKnobEdit& tune = *page.knob(PGlobalEditor::kTuneTag);

    // Master tuning dragged up, then typed: the note moves by the cents the knob shows.
    const float start = plugin.getParameter(kParamMasterTune);
    const double before = hosted_->playedFundamental(60, 0.6);
    perform({"knob drag", knobDrag(tune.getKnobArea(), kParamMasterTune, 40), kParamMasterTune});
    const float dragged = plugin.getParameter(kParamMasterTune);
    EXPECT_NEAR(dragged, start + 40 / kKnobTravel, 0.01f);
    const double draggedSound = hosted_->playedFundamental(60, 0.6);
    EXPECT_NEAR(cents(before, draggedSound), tuneCents(dragged) - tuneCents(start), 2.0);

    perform({"typed value", typing(tune, "minus 9 0", kParamMasterTune), kParamMasterTune});
    EXPECT_EQ(plugin.getParameter(kParamMasterTune), 0.0f);
    EXPECT_NEAR(cents(before, hosted_->playedFundamental(60, 0.6)), -90.0 - tuneCents(start),
                2.0);

    const float bypass = plugin.getParameter(kParamFxBypass);
    perform({"button",
             {{"effect bypass switched",
               click(page.control(PGlobalEditor::kFxBypassTag)->getViewSize()),
               [&] { return told(audioMasterEndEdit, kParamFxBypass); }}},
             kParamFxBypass});
    EXPECT_NE(plugin.getParameter(kParamFxBypass), bypass);
    perform({"space bar on the button",
             {{"effect bypass switched back", "xdotool key space",
               [&] { return told(audioMasterEndEdit, kParamFxBypass); }}},
             kParamFxBypass});
    EXPECT_EQ(plugin.getParameter(kParamFxBypass), bypass);

    // "Pitch LFO Speed": entry 18 of 22 below 4 separators, destination 14 of 17.
    const CRect menu = page.modWheelMenu()->getViewSize();
    const CPoint top(middle(onWindow(menu)).h, menu.top);
    perform({"menu choice",
             {menuChoice(menu, fittedMenuEntry(top, 18, 4, 22, 4, OrinEditor::kHeight),
                         [&] { return told(audioMasterEndEdit, kParamModWheel); })},
             kParamModWheel});
    EXPECT_NEAR(plugin.getParameter(kParamModWheel), 14.0f / 17.0f, 1e-5f);
    // Opened again, the menu is worked by keys: Down highlights the first entry, Return takes it.
    const CPoint shownEntry = fittedMenuEntry(top, 18, 4, 22, 4, OrinEditor::kHeight);
    perform({"menu worked by keys",
             {{"first destination chosen",
               whenChanged(shownEntry, 8, click(menu), "menu-by-keys") + "; xdotool key Down Return",
               [&] { return told(audioMasterEndEdit, kParamModWheel); }}},
             kParamModWheel});
    EXPECT_EQ(plugin.getParameter(kParamModWheel), 0.0f);
    ASSERT_TRUE(steps_.perform({screenshot("page-global")}));
}

void EditorDriver::useTheEnvelopePage() {
    hosted::HostedEditor hosted(hosted::Library::kTwoSines);
    ASSERT_NO_FATAL_FAILURE(open(hosted));
    ASSERT_NO_FATAL_FAILURE(showPage(OrinEditor::kEnvelopePage));
    auto& page = *static_cast<PAdsrEditor*>(hosted.editor().page(OrinEditor::kEnvelopePage));
    OrinMpeEditor& envelopes = *page.envelopeEditor();
    ASSERT_EQ(page.selectedLayer(), 0);
    ASSERT_EQ(envelopes.selectedEnvelope(), OrinMpeEditor::kLow);
    const int attack =
        PAdsrValue::envelopeParameter(0, OrinMpeEditor::kLow, OrinMpeEditor::kAttack);
    const std::string shownBefore = page.field(OrinMpeEditor::kAttack)->getText();
    const std::vector<float> before = hosted.played(36, 0.5);

    // The attack's end (point 1, which moves only in time) dragged to the right.
    envelopes.layoutHandles();
    const CRect area = onWindow(envelopes.getViewSize());
    const CPoint from = plus(area.topLeft(), envelopes.handleCentre(1));
    const CPoint to(from.h + 10, from.v);
    auto automated = [&](bool first) {
        const std::vector<HostCall> calls = hosted.calls();
        for (std::size_t i = 0; i < calls.size(); ++i) {
            const HostCall& c = calls[first ? i : calls.size() - 1 - i];
            if (isGesture(c, audioMasterAutomate, attack)) return c.value;
        }
        return -1.0f;
    };
    perform({"envelope point drag",
             drag(from, to, attack, [&] { return automated(false) > automated(true); }), attack});
    const std::string shownAfter = page.field(OrinMpeEditor::kAttack)->getText();
    EXPECT_NE(shownAfter, shownBefore);

    // The note at the bottom of the keyboard, which plays the Low envelope, rises more slowly.
    const std::vector<float> after = hosted.played(36, 0.5);
    // Rendered, the level reaches 95 % later by at least half the longer attack shown, and not
    // after the attack shown ends (the voice takes a new level in each 512-frame control block).
    const double riseBefore = rise(before, 0.95), riseAfter = rise(after, 0.95);
    const double attackBefore = shownMs(shownBefore), attackAfter = shownMs(shownAfter);
    const double blockMs = 1000.0 * hosted::HostedEditor::kBlock / hosted::HostedEditor::kRate;
    EXPECT_GT(riseAfter - riseBefore, 0.5 * (attackAfter - attackBefore))
        << "attack shown " << shownBefore << " then " << shownAfter << ", 95 % reached after "
        << riseBefore << " ms then " << riseAfter << " ms";
    EXPECT_LE(riseAfter, attackAfter + blockMs) << shownAfter;
    EXPECT_NO_FATAL_FAILURE(envelopeControls(page));
    close();
}

std::string EditorDriver::wheel(const CPoint& onPage, bool up) {
    return "xdotool mousemove " + at(CPoint(onPage.h + kPageLeft, onPage.v)) + " click " +
           (up ? "4" : "5");
}

void EditorDriver::envelopeControls(PAdsrEditor& page) {
    OrinMpeEditor& envelopes = *page.envelopeEditor();
    OrinEdit& plugin = hosted_->plugin();
    auto parameter = [](int envelope, int kind) {
        return PAdsrValue::envelopeParameter(0, envelope, kind);
    };
    auto endedEdit = [this](int p) { return [this, p] { return told(audioMasterEndEdit, p); }; };

    // The envelope editor, which took the focus with the drag: the Right key selects the decay's
    // end, whose level (the sustain) the wheel then moves, away from the end it is nearest.
    perform({"arrow key on the envelope",
             {{"next point selected", "xdotool key Right",
               [&] { return envelopes.selectedPoint() == 2; }}},
             -1});
    const int sustain = parameter(OrinMpeEditor::kLow, OrinMpeEditor::kSustain);
    const float sustainBefore = plugin.getParameter(sustain);
    const bool up = sustainBefore < 0.5f;
    perform({"wheel on the envelope",
             {{"sustain level moved", wheel(middle(envelopes.getViewSize()), up),
               endedEdit(sustain)}},
             sustain});
    EXPECT_EQ(plugin.getParameter(sustain) > sustainBefore, up);
    perform({"digit key on the envelope",
             {{"High envelope shown", "xdotool key 2",
               [&] { return envelopes.selectedEnvelope() == OrinMpeEditor::kHigh; }}},
             -1});

    // A time typed into the release field goes to the envelope that shows.
    const int release = parameter(OrinMpeEditor::kHigh, OrinMpeEditor::kRelease);
    CDepTextEdit& field = *page.field(OrinMpeEditor::kRelease);
    perform({"typed release",
             {{"release field open", click(field.getViewSize()), [&] { return field.isEditing(); }},
              {"release typed", "xdotool key 5 0 0 m s Return",
               [&] { return told(audioMasterEndEdit, release) && !field.isEditing(); }}},
             release});
    EXPECT_NEAR(shownMs(field.getText()), 500.0, 500.0 * 0.04) << field.getText();

    // The decay slider's Low handle dragged down, then one step up by the Up key; the wheel
    // turns the velocity knob.
    CMultiSlider& slider = *page.columnSlider(OrinMpeEditor::kDecay);
    const int decay = parameter(OrinMpeEditor::kLow, OrinMpeEditor::kDecay);
    const CPoint handle = middle(onWindow(slider.handleRect(0)));
    const float decayBefore = plugin.getParameter(decay);
    perform({"slider drag",
             drag(handle, CPoint(handle.h, handle.v + 12), decay,
                  [&] { return lastAutomated(hosted_->calls(), decay) < decayBefore - 0.02f; }),
             decay});
    const float dragged = plugin.getParameter(decay);
    EXPECT_LT(dragged, decayBefore);
    perform({"arrow key on the slider", {{"handle stepped", "xdotool key Up", endedEdit(decay)}},
             decay});
    EXPECT_GT(plugin.getParameter(decay), dragged);
    // The level slider's High handle along its curved guide, and with Alt held the release
    // slope's right (High) end alone.
    constexpr int kLevelHigh = 4;
    const CPoint levelHandle = middle(onWindow(page.levelSlider()->handleRect(1)));
    const float levelBefore = plugin.getParameter(kLevelHigh);
    perform({"guided slider drag",
             drag(levelHandle, CPoint(levelHandle.h, levelHandle.v + 15), kLevelHigh,
                  [&] { return lastAutomated(hosted_->calls(), kLevelHigh) < levelBefore; }),
             kLevelHigh});
    const CRect slope = onWindow(page.columnSlope(OrinMpeEditor::kRelease)->getViewSize());
    const CPoint slopeEnd(slope.right - 5, (slope.top + slope.bottom) / 2);
    const float releaseBefore = plugin.getParameter(release);
    std::vector<Step> altDrag =
        drag(slopeEnd, CPoint(slopeEnd.h, slopeEnd.v - 10), release,
             [&] { return lastAutomated(hosted_->calls(), release) > releaseBefore; });
    altDrag.front().shell.insert(0, "xdotool keydown alt; ");
    altDrag.back().shell += "; xdotool keyup alt";
    altDrag.push_back({"Alt released", "true", [this] { return !altHeld(); }});
    perform({"slope drag with Alt", altDrag, release});

    const int velocity = 59;  // the Base layer's velocity amount
    const float velocityBefore = plugin.getParameter(velocity);
    perform({"wheel on a knob",
             {{"knob turned",
               wheel(middle(page.knob(PAdsrEditor::kVelocity)->getKnobArea()), velocityBefore < 0.5f),
               endedEdit(velocity)}},
             velocity});
    EXPECT_NE(plugin.getParameter(velocity), velocityBefore);
    ASSERT_TRUE(steps_.perform({screenshot("page-envelopes")}));

    // The Filter layer: its corner and emphasis knob show, and the knob turns by hand.
    perform({"layer button",
             {{"Filter layer shown", click(page.layerButton(PAdsrEditor::kFilterLayer)->getViewSize()),
               [&] { return page.filterArrangement(); }}},
             -1});
    CKnobEdit& emphasis = *page.knob(PAdsrEditor::kEmphasis);
    perform({"knob drag", knobDrag(emphasis.getKnobArea(), kParamFilterEmphasis, 30),
             kParamFilterEmphasis});
    ASSERT_TRUE(steps_.perform({screenshot("page-envelopes-filter")}));
}

void EditorDriver::playTheKeyboard() {
    hosted::HostedEditor hosted(hosted::Library::kTwoSines);
    ASSERT_NO_FATAL_FAILURE(open(hosted));
    const KeyboardView& keyboard = *hosted.editor().keyboard();
    const CRect strip = keyboard.getViewSize();
    // A rising glissando over white keys, each pressed deeper than the one before, from rows
    // where black keys take most of the width to rows below them: the note and the row.
    struct Key {
        int note, row;
        CPoint at;
    };
    std::vector<Key> keys = {{60, 8, {}}, {62, 14, {}}, {64, 20, {}}, {65, 26, {}}, {67, 40, {}}};
    std::map<int, std::string> marks;
    for (Key& key : keys) {
        // The middle of the key's part of its row that no black key covers.
        int first = -1, last = -1;
        for (int x = 0; x < strip.width(); ++x)
            if (KeyboardView::keyAt(CPoint(x, key.row)) == key.note)
                last = x, first = first < 0 ? x : first;
        ASSERT_GE(first, 0) << key.note;
        key.at = plus(strip.topLeft(), CPoint((first + last) / 2, key.row));
        marks[key.note] = hostPath(file("sounding-" + std::to_string(key.note)));
    }
    // Each move waits until the key before it sounds, as the rendering thread reports; while the
    // last one is held, keys far from the glissando must still look as they did before it.
    const CPoint farKey = plus(strip.topLeft(), CPoint(380, 40));
    ASSERT_EQ(KeyboardView::keyAt(CPoint(380, 40)), 95);
    std::string shell = sample(farKey, 16, "far-key") + "; xdotool mousemove " + at(keys[0].at) +
                        " mousedown 1; ";
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (i) shell += "xdotool mousemove " + at(keys[i].at) + "; ";
        shell += "end=$(($(date +%s) + 60)); while [ ! -e " +
                 file("sounding-" + std::to_string(keys[i].note)) +
                 " ] && [ $(date +%s) -lt $end ]; do :; done; ";
    }
    shell += waitFor(farKey, 16, "far-key", true, "far-key-kept") + "; " +
             takeScreenshot("keyboard") + "; xdotool mouseup 1; touch " + file("released");

    hosted.clearCalls();
    {
        Listener listener(hosted.host(), hosted.plugin().keyboardDisplay(), marks);
        auto keysUp = [&] {
            for (int note = KeyboardView::kFirstNote;
                 note < KeyboardView::kFirstNote + KeyboardView::kKeyCount; ++note)
                if (keyboard.isKeyLit(note)) return false;
            return true;
        };
        // 200 blocks of 256 frames: over a second of silence, no note left hanging.
        ASSERT_TRUE(steps_.perform(
            {{"glissando played", shell,
              [&] { return exists("released") && keyboard.heldNote() < 0; }},
             {"keys up and the sound died away", "true",
              [&] { return keysUp() && listener.quietBlocks() >= 200; }}}));
        for (const Key& key : keys) EXPECT_TRUE(listener.sounded(key.note)) << key.note;
        for (int note = 0; note < KeyboardDisplay::kNotes; ++note) {
            if (marks.count(note) == 0) {
                EXPECT_FALSE(listener.sounded(note)) << "a key not played sounded: " << note;
            }
        }
    }
    EXPECT_TRUE(exists("far-key-kept")) << "the keyboard was drawn wrongly during the glissando";
    EXPECT_TRUE(hosted.calls().empty()) << "the keyboard told the host of a parameter";
    EXPECT_TRUE(std::filesystem::exists(hostPath(shot("keyboard"))));

    // A click on the keyboard's left end slides the lid over the keys, another one opens it.
    const std::string end = click(CRect(strip.left - kPageLeft + 3, strip.top + 20,
                                        strip.left - kPageLeft + 5, strip.top + 22));
    perform({"keyboard end clicked",
             {{"lid closed", end,
               [&] { return keyboard.isCollapsed() && !keyboard.isSliding(); }}},
             -1});
    ASSERT_TRUE(steps_.perform({screenshot("keyboard-closed")}));
    perform({"keyboard end clicked again",
             {{"lid opened", end,
               [&] { return keyboard.shownFrame() == KeyboardView::kKeysFrame &&
                            !keyboard.isSliding(); }}},
             -1});
    close();
}

void EditorDriver::aboutScenario() {
    const CPoint about = contextMenuEntry(kBackground, 3, 1);
    // The menu and the about screen are shown from inside the editor's own loops, in which the
    // host's turn does not return: the shell waits for what the screen shows, and leaves marks.
    ASSERT_TRUE(steps_.perform(
        {{"context menu shown, About chosen, about screen shown",
          whenChanged(about, 8, "xdotool mousemove " + at(kBackground) + " click 3", "menu") +
              "; " + takeScreenshot("menu") + "; " +
              whenChanged(kCentre, 40, "xdotool mousemove " + at(about) + " click 1", "about",
                          "window"),
          [&] { return exists("about"); }},
         screenshot("about"),
         {"about screen closed by a click",
          "xdotool mousemove " + at(kCentre) + " click 1; " +
              waitFor(kCentre, 40, "window", true, "closed"),
          [&] { return exists("closed"); }}}));
    EXPECT_TRUE(exists("menu"));
    EXPECT_TRUE(std::filesystem::exists(hostPath(shot("menu"))));
}

void EditorDriver::dragScenario() {
    OrinEditor& editor = hosted_->editor();
    POrinDiskDescriptor& model = editor.paletteModel();
    const CRect control = editor.paletteControl()->getViewSize();
    ASSERT_EQ(control.topLeft(), kPaletteCorner);
    const PDiskSector* target = model.sectorAt(kDrop);
    ASSERT_NE(target, nullptr);
    ASSERT_EQ(target->id(), 1);
    const CPoint grab =
        uncovered(model.pointer(0)->rect(), {model.pointer(1)->rect(), model.pointer(2)->rect()});
    ASSERT_GE(grab.h, 0) << "the Base icon is hidden under the others";
    const CPoint from = plus(grab, kPaletteCorner),
                 to = plus(model.toControl(kDrop), kPaletteCorner);

    hosted_->clearCalls();
    auto automated = [&](std::int32_t index) { return lastAutomated(hosted_->calls(), index); };
    auto overTarget = [&] { return hosted::iconCentre(automated(95), automated(96)) == kDrop; };
    int icon = 0;
    CPoint dragged;
    // The host's reports come from inside the drag's tracking loop; the steps are checked there.
    hosted_->follow([this] { steps_.check(); });
    const CPoint nudge = plus(from, CPoint(0, 8));
    ASSERT_TRUE(steps_.perform(
        {{"Base icon picked up",
          "xdotool mousemove " + at(from) + " mousedown 1 mousemove " + at(nudge),
          [&] { return automated(96) >= 0.0f; }},
         {"Base icon over the bottom sector", "xdotool mousemove " + at(to), overTarget},
         {"Base icon dropped", "xdotool mouseup 1",
          [&] { return !editor.paletteControl()->dragPosition(icon, dragged); }}}));
    hosted_->follow(nullptr);

    // One gesture on the two parameters: begin 95 and 96, their values, end both.
    const std::vector<HostCall> calls = hosted_->calls();
    ASSERT_GE(calls.size(), 4u);
    EXPECT_TRUE(isGesture(calls[0], audioMasterBeginEdit, 95));
    EXPECT_TRUE(isGesture(calls[1], audioMasterBeginEdit, 96));
    const std::size_t last = calls.size() - 1;
    EXPECT_TRUE(isGesture(calls[last - 1], audioMasterEndEdit, 96) ||
                isGesture(calls[last - 1], audioMasterEndEdit, 95));
    EXPECT_EQ(calls[last].opcode, audioMasterEndEdit);
    EXPECT_NE(calls[last].index, calls[last - 1].index);
    for (const HostCall& c : calls) {
        EXPECT_TRUE(c.index == 95 || c.index == 96) << c.opcode << " " << c.index;
        if (c.opcode == audioMasterAutomate) {
            EXPECT_TRUE(c.value >= 0.0f && c.value <= 1.0f);
        }
    }
    EXPECT_EQ(hosted_->host().parameter(95), automated(95));
    EXPECT_EQ(hosted_->host().parameter(96), automated(96));
    EXPECT_EQ(hosted_->plugin().currentProgram().editPreset().icon(0), target->id());
    ASSERT_TRUE(steps_.perform({screenshot("dropped")}));
}

void EditorDriver::soak(int rounds) {
    hosted::HostedEditor hosted(hosted::Library::kTwoSines);
    ASSERT_TRUE(hosted.loaded());
    hosted::soak(hosted, rounds, parent(), [this] { pumpMessages(); });
}

void EditorDriver::openOver(hosted::Library library, const std::string& name) {
    hosted::HostedEditor hosted(library);
    ASSERT_TRUE(hosted.loaded());
    const std::filesystem::path marks = hostPath(file(""));
    std::filesystem::create_directories(marks);
    std::filesystem::remove(hostPath(file(name)));
    // The host's empty window is sampled first; the editor must draw over it.
    ASSERT_TRUE(
        steps_.perform({{"host window sampled",
                         GestureSteps::pointAtWindow(at(kCentre)) + sample(kCentre, 60, "host"),
                         [&] { return exists("host"); }}}));
    hosted_ = &hosted;
    ASSERT_TRUE(hosted.open(parent()));
    ASSERT_TRUE(
        steps_.perform({{"editor drawn over the host's window",
                         waitFor(kCentre, 60, "host", false, name), [&] { return exists(name); }},
                        screenshot(name)}));
    hosted.close();
    hosted_ = nullptr;
    std::filesystem::remove_all(marks);
}
