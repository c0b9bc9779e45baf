#include "EditorDriver.h"

#include <cmath>
#include <filesystem>
#include <sstream>

#include "editor/PDiskPointer.h"
#include "editor/PDiskSector.h"
#include "editor/POrinDiskControl.h"
#include "editor/POrinDiskDescriptor.h"
#include "gui/COptionMenuScheme.h"

namespace {

using hosted::HostCall;

const CPoint kCentre(OrinEditor::kWidth / 2, OrinEditor::kHeight / 2);
// The page buttons (by page) at their middles, and the corner of the page area with the page's
// title.
const CPoint kPageButton[OrinEditor::kPageCount] = {{637, 32}, {611, 48}, {673, 48}, {650, 64}};
const CPoint kPageTitle(530, 45);
// A point of the background right of the loading indicator, where a right click opens the menu.
const CPoint kBackground(250, 20);
// The palette control's top-left corner in the editor, and where the Base icon is dropped: the
// bottom sector of the inner ring (slot 1), in centre coordinates.
const CPoint kPaletteCorner(10, 53);
const CPoint kDrop(0, -30);

CPoint plus(const CPoint& a, const CPoint& b) {
    return {a.h + b.h, a.v + b.v};
}

// Entry `index` of a context menu opened 2 pixels below `click`, with the default look, when
// `separatorsAbove` separators come before it.
CPoint menuEntry(const CPoint& click, int index, int separatorsAbove) {
    COptionMenuScheme* scheme = new COptionMenuScheme;
    CPoint item, separator;
    scheme->getItemSize("x", 0, nullptr, item);
    scheme->getItemSize("-", COptionMenuScheme::kSeparator, nullptr, separator);
    scheme->forget();
    const int top = click.v + 2 + 1;  // below the click, inside the border
    return {click.h + 30,
            top + item.v * (index - separatorsAbove) + separator.v * separatorsAbove + item.v / 2};
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

void EditorDriver::useTheWindow() {
    hosted::HostedEditor hosted(hosted::Library::kTwoSines);
    ASSERT_TRUE(hosted.loaded());
    const std::filesystem::path marks = hostPath(file(""));
    std::filesystem::remove_all(marks);
    std::filesystem::create_directories(marks);

    // The note before the drag waits until the instrument the drag will select has loaded too.
    PPreset& preset = hosted.plugin().currentProgram().editPreset();
    const std::uint32_t start = platform::tickCount();
    while (!hosted.slotLoaded(1) && platform::tickCount() - start < 60000) platform::sleepMs(5);
    ASSERT_TRUE(hosted.slotLoaded(0) && hosted.slotLoaded(1));
    const double before = hosted.playedFundamental(60, 0.6);
    ASSERT_GT(before, 0.0);

    hosted_ = &hosted;
    ASSERT_TRUE(hosted.open(parent()));
    ASSERT_TRUE(hosted.editor().getFrame()->isNative());
    OrinEditor& editor = hosted.editor();
    ASSERT_TRUE(steps_.perform(
        {{"window shown and its opening sweep over", GestureSteps::pointAtWindow(at(kCentre)),
          [&] { return !editor.isSweeping(); }}}));
    pagesScenario();
    aboutScenario();
    EXPECT_EQ(preset.icon(0), 0);  // the clicks on the about screen stayed there
    dragScenario();

    const double after = hosted.playedFundamental(60, 0.6);
    // All three icons start on slot 0 ("Octave", first by name); with Base on "Sine" an octave
    // lower, the sound's fundamental drops by an octave.
    EXPECT_NEAR(std::fabs(std::log2(after / before)), 1.0, 0.02)
        << before << " Hz, " << after << " Hz";
    hosted.close();
    EXPECT_EQ(editor.getFrame(), nullptr);
    hosted_ = nullptr;
    std::filesystem::remove_all(marks);
}

void EditorDriver::pagesScenario() {
    OrinEditor& editor = hosted_->editor();
    ASSERT_EQ(editor.currentPage(), OrinEditor::kPresetPage);
    for (int page : {OrinEditor::kLfoPage, OrinEditor::kEnvelopePage, OrinEditor::kGlobalPage,
                     OrinEditor::kPresetPage}) {
        const std::string mark = "page" + std::to_string(page);
        ASSERT_TRUE(steps_.perform(
            {{"page shown",
              whenChanged(kPageTitle, 80, "xdotool mousemove " + at(kPageButton[page]) + " click 1",
                          mark),
              [&] { return exists(mark) && editor.currentPage() == page; }}}))
            << "page " << page;
        if (page == OrinEditor::kEnvelopePage) {
            ASSERT_TRUE(steps_.perform({screenshot("envelope-page")}));
        }
    }
}

void EditorDriver::aboutScenario() {
    const CPoint about = menuEntry(kBackground, 3, 1);
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
