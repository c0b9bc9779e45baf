// The plug-in's audio thread allocates nothing: notes, chords, controller streams (routed to
// parameters through the controller map and the modulation wheel), pitch bend, pedals, all-notes-
// off and MIDI program changes go through processEvents and processReplacing while every
// allocation made on this thread is counted. The module finds this executable's allocation
// functions (the executable exports them), so the plug-in's own allocations are counted too.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "engine/PRSVoicer.h"
#include "host/PlayingPlugin.h"

namespace {
thread_local bool tCounting = false;
thread_local long tAllocations = 0;

void* counted(std::size_t size) {
    if (tCounting) ++tAllocations;
    return std::malloc(size ? size : 1);
}
// Not inlined: g++ would otherwise see free() reach memory from operator new and warn.
[[gnu::noinline]] void released(void* p) {
    if (p && tCounting) ++tAllocations;
    std::free(p);
}
}  // namespace

void* operator new(std::size_t size) {
    if (void* p = counted(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    if (void* p = counted(size)) return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return counted(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return counted(size);
}
void operator delete(void* p) noexcept {
    released(p);
}
void operator delete[](void* p) noexcept {
    released(p);
}
void operator delete(void* p, std::size_t) noexcept {
    released(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    released(p);
}

namespace {

// A Windows module binds to its own allocation functions, out of this executable's reach.
#if defined(_WIN32)
constexpr bool kModuleHasOwnAllocator = true;
#else
constexpr bool kModuleHasOwnAllocator = false;
#endif

// The host's event list for one block, built before counting starts.
struct EventBlock {
    static constexpr int kCapacity = 16;
    struct List {
        std::int32_t numEvents;
        std::intptr_t reserved;
        VstEvent* events[kCapacity];
    } list{};
    VstMidiEvent midi[kCapacity] = {};

    void add(std::uint8_t status, std::uint8_t d1, std::uint8_t d2, std::int32_t delta) {
        VstMidiEvent& e = midi[list.numEvents];
        e.type = kVstMidiType;
        e.byteSize = sizeof e;
        e.deltaFrames = delta;
        e.midiData[0] = static_cast<char>(status);
        e.midiData[1] = static_cast<char>(d1);
        e.midiData[2] = static_cast<char>(d2);
        list.events[list.numEvents++] = reinterpret_cast<VstEvent*>(&e);
    }

    // A block's MIDI: a note and a chord, releases, controller streams, pedal, bend, and now and
    // then all-notes-off, controller reset and a program change.
    void fill(int block, std::int32_t frames) {
        const auto at = [&](int offset) { return offset % frames; };
        const auto note = static_cast<std::uint8_t>(36 + block % 48);
        add(0x90, note, 100, at(block % 200));
        add(0x90, note + 4, 90, at(3));
        add(0x90, note + 7, 80, at(7));
        add(0x80, note - 5, 0, at(100));
        add(0xB0, 1, static_cast<std::uint8_t>(block % 128), 0);
        add(0xB0, 7, static_cast<std::uint8_t>(64 + block % 64), 0);
        add(0xB0, 70, static_cast<std::uint8_t>(block * 7 % 128), 0);
        add(0xB0, 64, block % 3 == 0 ? 127 : 0, at(20));
        add(0xE0, static_cast<std::uint8_t>(block % 128), 64, 0);
        if (block % 50 == 0) add(0xC0, static_cast<std::uint8_t>(block % 64), 0, 0);
        if (block % 97 == 0) add(0xB0, 123, 0, 0);
        if (block % 61 == 0) add(0xB0, 121, 0, 0);
    }
};

TEST(PluginRealtime, TheHookSeesThePluginsAllocations) {
    if (kModuleHasOwnAllocator) GTEST_SKIP() << "the module's allocations cannot be counted";
    playing::Instance instance;
    ASSERT_TRUE(instance.loaded());
    // A new rate sizes the rate converter's buffers.
    AEffect* effect = instance.host().effect();
    tAllocations = 0;
    tCounting = true;
    effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 96000.0f);
    tCounting = false;
    EXPECT_GT(tAllocations, 0);
}

TEST(PluginRealtime, ProcessingAllocatesNothing) {
    if (kModuleHasOwnAllocator) GTEST_SKIP() << "the module's allocations cannot be counted";
    // Native rates and a converted one; host blocks smaller and larger than announced.
    for (auto [rate, frames] :
         {std::pair{44100.0f, 512}, std::pair{96000.0f, 700}, std::pair{48000.0f, 9000}}) {
        playing::Instance instance(rate, 512);
        ASSERT_TRUE(instance.loaded());
        AEffect* effect = instance.host().effect();
        std::vector<float> left(static_cast<std::size_t>(frames)),
            right(static_cast<std::size_t>(frames));
        float* outputs[2] = {left.data(), right.data()};
        long allocations = 0;
        for (int block = 0; block < 300; ++block) {
            EventBlock events;
            events.fill(block, frames);
            tAllocations = 0;
            tCounting = true;
            effect->dispatcher(effect, effProcessEvents, 0, 0, &events.list, 0);
            effect->processReplacing(effect, nullptr, outputs, frames);
            tCounting = false;
            allocations += tAllocations;
            if (block % 50 == 1) instance.host().idle();  // applies MIDI program changes
        }
        EXPECT_EQ(allocations, 0) << rate << " Hz";
        EXPECT_GT(instance.plugin().engine().voicer()->activeCount(), 0);
    }
}

}  // namespace
