#include "editor/CBitmapCollection.h"

#include "gui/CBitmap.h"

CBitmapCollection::CBitmapCollection(int count, long firstResource)
    : bitmaps_(std::size_t(count > 0 ? count : 0), nullptr) {
    if (firstResource < 0) return;
    for (std::size_t i = 0; i < bitmaps_.size(); ++i) {
        bitmaps_[i] = new CBitmap(firstResource + long(i));
    }
}

CBitmapCollection::~CBitmapCollection() {
    for (CBitmap* b : bitmaps_) {
        if (b) b->forget();
    }
}

CBitmap* CBitmapCollection::get(int index) const {
    return index >= 0 && index < count() ? bitmaps_[std::size_t(index)] : nullptr;
}

void CBitmapCollection::set(int index, CBitmap* bitmap) {
    if (index < 0 || index >= count()) return;
    CBitmap*& slot = bitmaps_[std::size_t(index)];
    if (bitmap) bitmap->remember();
    if (slot) slot->forget();
    slot = bitmap;
}
