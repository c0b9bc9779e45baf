#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "TestLibrary.h"
#include "data/PPool.h"
#include "data/PResourceHold.h"
#include "data/PResourceHolder.h"
#include "data/PResourceTable.h"

namespace {

using testlib::TestLibrary;

constexpr int kInstruments = 6;

// Polls until the condition holds; the minute only guards against a hang.
bool eventually(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

bool allLoaded(const POIP* instrument) {
    for (const PZone& z : instrument->zones) {
        if (!z.base->hasData() || !z.top->hasData() || !z.filter->hasData()) return false;
    }
    return true;
}

bool noneLoaded() {
    for (PResource* r = PResourceTable::shared().first(); r; r = r->next()) {
        if (r->hasData()) return false;
    }
    return true;
}

class Loader : public ::testing::Test {
protected:
    void SetUp() override {
        testlib::resetLibrary();
        std::string xml = "<oip-pool>";
        for (int i = 0; i < kInstruments; ++i) {
            // Two zones each; neighbouring instruments share one numbered zone.
            xml += "<oip name='i" + std::to_string(i) + "'><zone limit='60' rn='" +
                   std::to_string(i) + "'/><zone limit='127' rn='" + std::to_string(i + 1) +
                   "'/></oip>";
            lib.writeNumbered(i);
        }
        lib.writeNumbered(kInstruments);
        lib.writeDescription("pool.xml", xml + "</oip-pool>");
        ASSERT_TRUE(pool.loadPool(lib.pluginPath().c_str()));
        ASSERT_EQ(pool.count(), kInstruments);
    }
    void TearDown() override { testlib::resetLibrary(); }

    TestLibrary lib;
    PPool& pool = PPool::shared();
    PResourceTable& table = PResourceTable::shared();
};

TEST_F(Loader, ActivationLoadsSelectedAtOnceAndTheRestInTheBackground) {
    table.addUser();
    EXPECT_TRUE(table.loaderRunning());
    std::int32_t slots[PResourceHolder::kSlots];
    for (int s = 0; s < PResourceHolder::kSlots; ++s) slots[s] = s < kInstruments ? s : -1;
    const std::int32_t selections[3] = {0, 2, 40};
    {
        PResourceHolder holder;
        holder.activate(slots, selections);
        // The selected slots' instruments were loaded on this thread before activate returned.
        EXPECT_TRUE(allLoaded(pool.get(0)));
        EXPECT_TRUE(allLoaded(pool.get(2)));
        EXPECT_TRUE(eventually([&] {
            for (int i = 0; i < kInstruments; ++i) {
                if (!allLoaded(pool.get(i))) return false;
            }
            return true;
        }));
        EXPECT_EQ(holder.get(1), pool.get(1));
        EXPECT_EQ(holder.get(10), nullptr);
        // Moving slot 0 to another instrument frees what no slot holds any more; the zone that
        // instrument 0 shares with instrument 1 stays.
        EXPECT_TRUE(holder.set(0, 5));
        EXPECT_FALSE(holder.set(0, 5));
        const PZone& own = pool.get(0)->zones[0];
        EXPECT_TRUE(eventually([&] { return !own.base->hasData(); }));
        EXPECT_TRUE(pool.get(0)->zones[1].base->hasData());
    }
    // The holder's destruction released everything; the loader frees it all.
    EXPECT_TRUE(eventually(noneLoaded));
    table.removeUser();
    EXPECT_FALSE(table.loaderRunning());
}

// Presets that use different instruments, switched through and back. Every activation asks for
// its instruments again, also for files already loaded, and some switches come before a loader
// pass: in the end exactly the current preset's files are loaded.
TEST_F(Loader, SwitchingPresetsLeavesOnlyTheCurrentPresetLoaded) {
    const std::atomic<bool> quit{false};
    PResourceHolder holder;
    auto activate = [&](int instrument) {
        std::int32_t slots[PResourceHolder::kSlots];
        for (std::int32_t& s : slots) s = -1;
        slots[0] = instrument;
        const std::int32_t selections[3] = {1, 1, 1};  // an empty slot: nothing loads at once
        holder.activate(slots, selections);
    };
    activate(0);
    table.loaderPass(quit);
    activate(0);
    activate(2);
    table.loaderPass(quit);
    table.loaderPass(quit);
    activate(4);
    activate(2);
    table.loaderPass(quit);
    activate(0);
    table.loaderPass(quit);
    table.loaderPass(quit);
    std::set<const PResource*> needed;
    for (const PZone& z : pool.get(0)->zones) needed.insert({z.base, z.top, z.filter});
    for (PResource* r = table.first(); r; r = r->next())
        EXPECT_EQ(r->hasData(), needed.count(r) == 1) << r->name();
}

TEST_F(Loader, TheLastUserStopsTheThreadAndFreesUnreferencedData) {
    table.addUser();
    table.addUser();
    const POIP* instrument = pool.get(3);
    pool.loadNow(instrument);
    ASSERT_TRUE(allLoaded(instrument));
    table.removeUser();
    EXPECT_TRUE(table.loaderRunning());
    EXPECT_TRUE(allLoaded(instrument));
    PResourceHold hold;
    hold.hold(instrument->zones[0].base, nullptr, nullptr, nullptr);
    table.removeUser();
    EXPECT_FALSE(table.loaderRunning());
    EXPECT_EQ(table.users(), 0);
    EXPECT_TRUE(instrument->zones[0].base->hasData());  // still referenced
    EXPECT_FALSE(instrument->zones[0].top->hasData());
    table.removeUser();  // one too many: harmless
    EXPECT_EQ(table.users(), 0);
    // Without users no thread is started; the wake-up is kept for the next loader.
    int32_t index = 4;
    pool.acquire(pool.get(index));
    pool.requestLoad(&index, 1);
    EXPECT_FALSE(table.loaderRunning());
    table.addUser();
    EXPECT_TRUE(eventually([&] { return allLoaded(pool.get(index)); }));
    pool.release(pool.get(index));
    table.removeUser();
}

TEST_F(Loader, AVoiceDroppingTheLastReferenceIsFreedWithoutWakingTheLoader) {
    table.addUser();
    const PZone& zone = pool.get(2)->zones[0];
    pool.loadNow(pool.get(2));
    {
        PResourceHold hold;
        hold.hold(zone.base, zone.top, zone.filter, nullptr);
    }
    EXPECT_TRUE(zone.base->flags() & PResource::kReleaseRequested);
    EXPECT_TRUE(eventually([&] { return !zone.base->hasData() && !zone.filter->hasData(); }));
    EXPECT_TRUE(pool.get(2)->zones[1].base->hasData());  // never referenced, never released
    table.removeUser();
}

// Voices take holds and read every sample they may index while hosts activate presets, the
// loader loads and frees, and plug-in objects come and go on two threads. Every other round a voice
// has its instrument loaded at once: held data must then be there. Under the sanitizers this proves
// that no data is read after it was freed and that the flags and references lose no update.
TEST_F(Loader, HeldDataIsNeverFreedUnderConcurrentUse) {
    constexpr int kRounds = 3000;
    std::atomic<bool> stop{false};
    std::atomic<int> badSamples{0}, missingData{0};
    std::vector<std::thread> threads;
    for (int v = 0; v < 4; ++v) {
        threads.emplace_back([&, v] {
            std::mt19937 random(static_cast<unsigned>(100 + v));
            PResourceHold hold;
            for (int n = 0; n < kRounds; ++n) {
                const POIP* instrument = pool.get(static_cast<int>(random() % kInstruments));
                float weight = 0;
                const PZone* neighbour = nullptr;
                const PZone* zone = PPool::findZone(instrument, static_cast<int>(random() % 128),
                                                    &weight, &neighbour);
                hold.hold(zone->base, zone->top, zone->filter,
                          neighbour ? neighbour->filter : nullptr);
                if (n % 2 == 0) pool.loadNow(instrument);
                const PResource::Samples s = zone->base->samples();
                if (n % 2 == 0 && !s.samples) missingData.fetch_add(1);
                for (int k = 0; s.samples && k <= s.loopEnd + 11; ++k) {
                    if (s.samples[k] != k) badSamples.fetch_add(1);
                }
                const PResource::Filter f = zone->filter->filter();
                if (f.file && f.frames[64 * (f.frameCount - 1)] != f.frameCount - 1)
                    badSamples.fetch_add(1);
                if (n % 3 == 0) hold.drop();
            }
        });
    }
    for (int h = 0; h < 2; ++h) {
        threads.emplace_back([&, h] {
            std::mt19937 random(static_cast<unsigned>(200 + h));
            PResourceHolder holder;
            std::int32_t slots[PResourceHolder::kSlots];
            while (!stop.load()) {
                for (auto& s : slots) s = static_cast<std::int32_t>(random() % (kInstruments + 2));
                const std::int32_t selections[3] = {static_cast<std::int32_t>(random() % 33), 1, 2};
                holder.activate(slots, selections);
                if (random() % 4 == 0) holder.releaseAll();
            }
        });
    }
    // Two plug-in objects come and go, so the loader stops and starts meanwhile.
    for (int u = 0; u < 2; ++u) {
        threads.emplace_back([&] {
            while (!stop.load()) {
                table.addUser();
                std::this_thread::yield();
                table.removeUser();
            }
        });
    }
    for (int v = 0; v < 4; ++v) threads[static_cast<std::size_t>(v)].join();
    stop.store(true);
    for (std::size_t t = 4; t < threads.size(); ++t) threads[t].join();
    EXPECT_EQ(badSamples.load(), 0);
    EXPECT_EQ(missingData.load(), 0);
    for (PResource* r = table.first(); r; r = r->next()) EXPECT_EQ(r->references(), 0) << r->name();
    EXPECT_EQ(table.users(), 0);
    EXPECT_FALSE(table.loaderRunning());
    table.addUser();
    table.removeUser();
    EXPECT_TRUE(noneLoaded());
}

}  // namespace
