// The items of a drag-and-drop gesture as views receive them.
#pragma once

#include "gui/GuiTypes.h"

class CDragContainer {
public:
    enum ItemType { kFile = 0, kText, kUnicodeText, kUnknown = -1, kError = -2 };
    virtual ~CDragContainer() = default;
    virtual long getCount() const = 0;
    // The first / next item's data and size; null after the last.
    virtual const void* first(long& size, long& type) = 0;
    virtual const void* next(long& size, long& type) = 0;
    virtual long getType(long index) const = 0;
};
