// How long the instrument library takes to load, and how fast the loader thread reads raw files.
// Run: build/bench/data/bench_data_library
#include <benchmark/benchmark.h>

#include <string>
#include <thread>

#include "data/PResourceHolder.h"
#include "data/TestLibrary.h"

namespace {

constexpr int kInstruments = 100;
constexpr int kZones = 4;

// 100 instruments of four numbered zones, ten description files of ten instruments each.
void writeLibrary(const testlib::TestLibrary& lib, int samplesPerFile) {
    for (int file = 0; file < 10; ++file) {
        std::string xml = "<?xml version='1.0'?>\n<oip-pool>\n";
        for (int i = 0; i < 10; ++i) {
            const int instrument = file * 10 + i;
            xml += "  <oip name='Instrument " + std::to_string(instrument) + "' category='C" +
                   std::to_string(file) + "'>\n";
            for (int z = 0; z < kZones; ++z) {
                const int n = instrument * kZones + z;
                xml += "    <zone limit='" + std::to_string(32 * (z + 1) - 1) + "' rn='" +
                       std::to_string(n) + "'/>\n";
                lib.writeNumbered(n, samplesPerFile);
            }
            xml += "  </oip>\n";
        }
        lib.writeDescription("file" + std::to_string(file) + ".xml", xml + "</oip-pool>\n");
    }
}

void BM_LoadPool100Instruments(benchmark::State& state) {
    testlib::TestLibrary lib;
    writeLibrary(lib, 100);
    for (auto _ : state) {
        testlib::resetLibrary();
        PPool::shared().loadPool(lib.pluginPath().c_str());
        char report[512];
        PResourceTable::shared().checkMissing(report, sizeof report);
        benchmark::DoNotOptimize(PPool::shared().count());
    }
    testlib::resetLibrary();
}
BENCHMARK(BM_LoadPool100Instruments)->Unit(benchmark::kMillisecond);

// Every raw file of the library (1200 files of `range(0)` samples) held and requested at once,
// as voices' holders do, and read by the loader thread; bytes per second of file data.
void BM_LoaderThroughput(benchmark::State& state) {
    testlib::TestLibrary lib;
    const int samples = static_cast<int>(state.range(0));
    writeLibrary(lib, samples);
    testlib::resetLibrary();
    PPool& pool = PPool::shared();
    PResourceTable& table = PResourceTable::shared();
    pool.loadPool(lib.pluginPath().c_str());
    table.addUser();
    std::int32_t all[kInstruments];
    for (int i = 0; i < kInstruments; ++i) all[i] = i;
    for (auto _ : state) {
        for (PResource* r = table.first(); r; r = r->next()) PResourceTable::addRef(r);
        pool.requestLoad(all, kInstruments);
        // Until every file is in, leaving the processor to the loader between looks.
        for (;;) {
            bool done = true;
            for (PResource* r = table.first(); r && done; r = r->next()) done = r->hasData();
            if (done) break;
            std::this_thread::yield();
        }
        state.PauseTiming();
        for (PResource* r = table.first(); r; r = r->next()) {
            table.release(r);
            table.unload(r);
        }
        state.ResumeTiming();
    }
    const std::int64_t bytesPerPass =
        static_cast<std::int64_t>(kInstruments) * kZones * 2 * (16 + 2 * samples) +
        static_cast<std::int64_t>(kInstruments) * kZones * (64 + 4 * 128);
    state.SetBytesProcessed(state.iterations() * bytesPerPass);
    state.counters["files/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kInstruments * kZones * 3,
                           benchmark::Counter::kIsRate);
    table.removeUser();
    testlib::resetLibrary();
}
BENCHMARK(BM_LoaderThroughput)
    ->Arg(1000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
