// Redrawing an editor-sized frame (735 × 449) holding 60 controls over bitmap backgrounds: a full
// redraw, an idle pass with nothing to do, and an idle pass after one knob moved.
#include <benchmark/benchmark.h>

#include "gui/CBitmap.h"
#include "gui/CFrame.h"
#include "gui/CKnob.h"
#include "gui/COnOffButton.h"
#include "gui/CParamDisplay.h"

namespace {

constexpr long kBackgroundId = 9000, kKnobStripId = 9001, kOnOffId = 9002;
constexpr int kKnobImages = 31;

// 30 image-strip knobs, 15 on/off buttons and 15 value displays on the gallery background.
class BenchFrame {
public:
    BenchFrame() : frame(new CFrame(CRect(0, 0, 735, 449), nullptr, nullptr)) {
        CBitmap* background = new CBitmap(kBackgroundId);
        CBitmap* strip = new CBitmap(kKnobStripId);
        CBitmap* onOff = new CBitmap(kOnOffId);
        frame->setBackground(background);
        for (int i = 0; i < 30; ++i) {
            CPoint at(20 + (i % 10) * 70, 50 + (i / 10) * 60);
            auto* knob = new CKnob(CRect(at, 32, 32), nullptr, i, kKnobImages,
                                   strip->getHeight() / kKnobImages, strip);
            knob->setBackdrop(background, at);
            knob->setValue(float(i) / 30.f);
            frame->addView(knob);
            if (i == 0) firstKnob = knob;
        }
        for (int i = 0; i < 15; ++i) {
            auto* button =
                new COnOffButton(CRect(CPoint(20 + (i % 5) * 140, 240 + (i / 5) * 30), 48, 20),
                                 nullptr, 100 + i, onOff);
            button->setValue(float(i % 2));
            frame->addView(button);
            auto* display =
                new CParamDisplay(CRect(CPoint(80 + (i % 5) * 140, 240 + (i / 5) * 30), 70, 18));
            display->setValue(float(i) / 15.f);
            display->setFont(kNormalFontSmall);
            frame->addView(display);
        }
        background->forget();
        strip->forget();
        onOff->forget();
        frame->idle();
    }
    ~BenchFrame() { frame->forget(); }

    CFrame* frame;
    CKnob* firstKnob = nullptr;
};

void fullRedraw(benchmark::State& state) {
    BenchFrame bench;
    for (auto _ : state) {
        bench.frame->invalidRect(bench.frame->getViewSize());
        bench.frame->idle();
    }
}
BENCHMARK(fullRedraw)->Unit(benchmark::kMillisecond);

void idleWithNothingDirty(benchmark::State& state) {
    BenchFrame bench;
    for (auto _ : state) bench.frame->idle();
}
BENCHMARK(idleWithNothingDirty)->Unit(benchmark::kMicrosecond);

void idleAfterOneKnobMoved(benchmark::State& state) {
    BenchFrame bench;
    float value = 0;
    for (auto _ : state) {
        value = value >= 1.f ? 0.f : value + 0.05f;
        bench.firstKnob->setValue(value);
        bench.frame->idle();
    }
}
BENCHMARK(idleAfterOneKnobMoved)->Unit(benchmark::kMicrosecond);

}  // namespace
