// A shared array of bitmaps: the palette's sector images and the multi-sliders' handle bitmaps.
// Reference-counted like every toolkit object (one reference at creation, remember/forget); each
// slot holds its own reference on its bitmap, so releasing the last reference on the collection
// releases every bitmap in it.
#pragma once

#include <vector>

#include "gui/CReferenceCounter.h"

class CBitmap;

class CBitmapCollection : public CReferenceCounter {
public:
    // `count` slots, empty when firstResource is negative, else holding the bitmap resources
    // firstResource, firstResource + 1, ... (a resource that does not exist gives a 0 × 0 bitmap).
    explicit CBitmapCollection(int count, long firstResource = -1);
    ~CBitmapCollection() override;

    int count() const { return int(bitmaps_.size()); }
    // Null outside 0 .. count - 1 and for an empty slot.
    CBitmap* get(int index) const;
    // Stores `bitmap` (which may be null) in the slot, releasing the bitmap it held; ignored
    // outside 0 .. count - 1.
    void set(int index, CBitmap* bitmap);

private:
    std::vector<CBitmap*> bitmaps_;
};
