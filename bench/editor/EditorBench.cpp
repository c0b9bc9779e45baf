// The editor window on a headless frame (735 × 449): a full redraw with each page showing, a
// switch to each page until it is drawn, an idle pass with nothing to do, an idle pass after a burst of 1000 host parameter changes, and
// the time from opening the window to its first drawn frame. The plug-in runs without an
// instrument library, so every sector is drawn with its missing-instrument label.
//   build/bench/editor/editor_bench
#include <benchmark/benchmark.h>

#include <memory>

#include "data/PLibraryStartup.h"
#include "editor/OrinEdit.h"
#include "editor/OrinEditor.h"
#include "gui/CFrame.h"
#include "gui/platform/headless/HeadlessWindow.h"

namespace {

std::intptr_t quietHost(AEffect*, std::int32_t opcode, std::int32_t, std::intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

// The plug-in with its editor open and settled (the opening sweep over, everything drawn).
struct OpenEditor {
    OpenEditor() {
        setLibraryMessageHandlerForTests([](const char*, const char*) {});
        plugin = std::make_unique<OrinEdit>(quietHost);
        plugin->open();
        editor = plugin->editor();
        editor->open(nullptr);
        editor->endSectorSweep();
        editor->idle();
    }
    ~OpenEditor() {
        plugin.reset();
        setLibraryMessageHandlerForTests(nullptr);
    }
    std::unique_ptr<OrinEdit> plugin;
    OrinEditor* editor = nullptr;
};

void fullRedraw(benchmark::State& state) {
    OpenEditor open;
    open.editor->showPage(int(state.range(0)));
    open.editor->idle();
    CFrame* frame = open.editor->getFrame();
    for (auto _ : state) {
        frame->invalidRect(frame->getViewSize());
        open.editor->idle();
    }
}
BENCHMARK(fullRedraw)->DenseRange(0, OrinEditor::kPageCount - 1)->Unit(benchmark::kMillisecond);

// From a press on a page button (showPage) to the page drawn by the next idle pass; the switch
// back, from the page before (the envelope page, or the preset page to reach it), is not timed.
void pageSwitch(benchmark::State& state) {
    OpenEditor open;
    const int page = int(state.range(0));
    const int other = page == OrinEditor::kEnvelopePage ? OrinEditor::kPresetPage
                                                        : OrinEditor::kEnvelopePage;
    for (auto _ : state) {
        state.PauseTiming();
        open.editor->showPage(other);
        open.editor->idle();
        state.ResumeTiming();
        open.editor->showPage(page);
        open.editor->idle();
    }
}
BENCHMARK(pageSwitch)->DenseRange(0, OrinEditor::kPageCount - 1)->Unit(benchmark::kMillisecond);

void idleWithNothingToDo(benchmark::State& state) {
    OpenEditor open;
    for (auto _ : state) open.editor->idle();
}
BENCHMARK(idleWithNothingToDo)->Unit(benchmark::kMicrosecond);

// The burst itself (1000 setParameter calls, as automation would make them) is not timed.
void idleAfterABurstOfHostChanges(benchmark::State& state) {
    OpenEditor open;
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < 1000; ++i)
            open.plugin->setParameter(i % 90, float((i + round) % 11) / 10.0f);
        ++round;
        state.ResumeTiming();
        open.editor->idle();
    }
}
BENCHMARK(idleAfterABurstOfHostChanges)->Unit(benchmark::kMicrosecond);

// From effEditOpen to the first frame handed to the window (the host's first idle call draws).
void openToFirstFrame(benchmark::State& state) {
    OpenEditor open;
    open.editor->close();
    for (auto _ : state) {
        open.editor->open(nullptr);
        const HeadlessWindow* window = open.editor->getFrame()->headless();
        for (int turn = 0; window->presentCount() == 0; ++turn) {
            if (turn == 100) return state.SkipWithError("the window never drew");
            open.editor->idle();
        }
        state.PauseTiming();
        open.editor->close();
        state.ResumeTiming();
    }
}
BENCHMARK(openToFirstFrame)->Unit(benchmark::kMillisecond);

}  // namespace
