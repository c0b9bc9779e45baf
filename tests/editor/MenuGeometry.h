// Where a popup menu with the toolkit's default look puts its entries, for scripted presses.
#pragma once

#include <algorithm>

#include "gui/COptionMenuScheme.h"

// Frame position of entry `index` of a menu whose top-left is at `at`, when `separatorsAbove`
// separators come before it.
inline CPoint menuEntry(const CPoint& at, int index, int separatorsAbove) {
    auto* scheme = new COptionMenuScheme;
    CPoint item, separator;
    scheme->getItemSize("x", 0, nullptr, item);
    scheme->getItemSize("-", COptionMenuScheme::kSeparator, nullptr, separator);
    scheme->forget();
    return CPoint(at.h + 20, at.v + 1 + item.v * (index - separatorsAbove) +
                                 separator.v * separatorsAbove + item.v / 2);
}

// Entry `index` of a menu of `entries` entries (`separators` of them separators) that opens at
// `at` and is moved up, when it would reach below a frame `frameHeight` high, to end at its edge.
inline CPoint fittedMenuEntry(const CPoint& at, int index, int separatorsAbove, int entries,
                              int separators, CCoord frameHeight) {
    const CCoord item = menuEntry(at, 1, 0).v - menuEntry(at, 0, 0).v;
    const CCoord bottom = menuEntry(at, entries, separators).v - item / 2 + 1;
    CPoint entry = menuEntry(at, index, separatorsAbove);
    entry.v -= std::max<CCoord>(0, bottom - frameHeight);
    return entry;
}
