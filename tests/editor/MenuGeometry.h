// Where a popup menu with the toolkit's default look puts its entries, for scripted presses.
#pragma once

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
