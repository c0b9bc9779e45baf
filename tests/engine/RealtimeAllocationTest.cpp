// Nothing the audio thread runs allocates: MIDI handling, voice management, the effect units,
// the rate converter and the layer LFOs are driven through notes, chords, controller streams and
// program changes while every global allocation is counted.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "engine/EngineScene.h"

namespace {
std::atomic<bool> gCounting{false};
std::atomic<long> gAllocations{0};
}  // namespace

void* operator new(std::size_t size) {
    if (gCounting.load(std::memory_order_relaxed)) gAllocations.fetch_add(1);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return ::operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (gCounting.load(std::memory_order_relaxed)) gAllocations.fetch_add(1);
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return ::operator new(size, tag);
}
void operator delete(void* p) noexcept {
    if (p && gCounting.load(std::memory_order_relaxed)) gAllocations.fetch_add(1);
    std::free(p);
}
void operator delete[](void* p) noexcept {
    ::operator delete(p);
}
void operator delete(void* p, std::size_t) noexcept {
    ::operator delete(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    ::operator delete(p);
}

namespace {

TEST(RealtimeAllocation, TheHookCounts) {
    gAllocations = 0;
    gCounting = true;
    static int* volatile probe;  // the pointer escapes, so the pair cannot be left out
    probe = new int(3);
    delete probe;
    gCounting = false;
    EXPECT_EQ(gAllocations.load(), 2);
}

TEST(RealtimeAllocation, AudioThreadWorkAllocatesNothing) {
    EngineScene scene;
    std::vector<float> left(4096), right(4096);
    float* out[2] = {left.data(), right.data()};
    scene.effects.applyParameter(EffectsSection::kFxMix, 0.5f);
    scene.effects.applyParameter(EffectsSection::kFxFeedback, 0.6f);
    scene.effects.applyParameter(EffectsSection::kFxSpeed, 0.7f);
    for (int block = 0; block < 3; ++block) scene.queueEvents(block);  // warm the vectors

    gAllocations = 0;
    for (int block = 0; block < 400; ++block) {
        scene.queueEvents(block);
        gCounting = true;
        if (block == 150) {
            scene.effects.applyParameter(EffectsSection::kFxDelay,
                                         0.3f);  // handed to the audio thread
            scene.effects.applyParameter(EffectsSection::kFxType, 0.0f);
            scene.voicer.requestKillAllVoices();
            scene.voicer.requestChannelVolumeAll(90);
        }
        if (block == 200) scene.fxParams[EffectsSection::kFxType] = 1.0f;  // the sweep from now
        int32_t frames = block % 5 == 0 ? 4096 : 1 + (block * 37) % 700;
        scene.renderBlock(out, frames, block % 2 ? 120.0 : 0.0);
        gCounting = false;
    }
    EXPECT_EQ(gAllocations.load(), 0);
    EXPECT_GT(scene.voicer.activeCount(), 0);
}

}  // namespace
