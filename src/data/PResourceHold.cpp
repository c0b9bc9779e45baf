#include "data/PResourceHold.h"

#include "data/PResourceTable.h"

void PResourceHold::hold(PResource* base, PResource* top, PResource* filterA, PResource* filterB) {
    PResource* const next[kCount] = {base, top, filterA, filterB};
    for (PResource* r : next) PResourceTable::addRef(r);
    drop();
    for (int i = 0; i < kCount; ++i) resources_[i] = next[i];
}

void PResourceHold::drop() {
    PResourceTable& table = PResourceTable::shared();
    for (PResource*& r : resources_) {
        table.releaseQuietly(r);
        r = nullptr;
    }
}
