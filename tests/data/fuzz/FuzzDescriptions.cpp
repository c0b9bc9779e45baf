// Instrument descriptions over arbitrary bytes: whatever is read must form a pool whose every
// zone names three resources of the right kinds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "data/PPool.h"
#include "data/PResourceTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    PPool& pool = PPool::shared();
    pool.loadText(reinterpret_cast<const char*>(data), size);
    for (int i = 0; i < pool.count(); ++i) {
        for (const PZone& zone : pool.get(i)->zones) {
            if (!zone.base || !zone.top || !zone.filter || zone.base->isFilter() ||
                zone.top->isFilter() || !zone.filter->isFilter()) {
                std::abort();
            }
        }
        float weight = 0;
        const PZone* neighbour = nullptr;
        for (int key = -1; key <= 128; key += 43)
            PPool::findZone(pool.get(i), key, &weight, &neighbour);
    }
    pool.resetForTests();
    PResourceTable::shared().resetForTests();
    return 0;
}
