#include "editor/POrinMenuScheme.h"

#include <cstdio>
#include <cstring>

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/COptionMenu.h"

namespace {
POrinMenuScheme* shared = nullptr;

// Behind the items when the item bitmap is missing, and over the item under the pointer.
constexpr CColor kItemColor{40, 44, 53, 255};
constexpr CColor kGlow{255, 190, 90, 90};
constexpr CColor kText{226, 229, 235, 255};
constexpr CColor kDisabledText{120, 126, 138, 255};
}  // namespace

POrinMenuScheme* POrinMenuScheme::acquire() {
    if (shared) {
        shared->remember();
    } else {
        shared = new POrinMenuScheme;
    }
    return shared;
}

void POrinMenuScheme::applyTo(COptionMenu& menu) {
    POrinMenuScheme* scheme = acquire();
    menu.setScheme(scheme);
    scheme->forget();
}

POrinMenuScheme::POrinMenuScheme() : itemBitmap_(new CBitmap(kItemBitmap)) {
    // The base scheme draws over the item bitmap: no background of its own, a translucent glow.
    setColors(kTransparentCColor, kGlow, kText, kWhiteCColor, kDisabledText);
}

POrinMenuScheme::~POrinMenuScheme() {
    itemBitmap_->forget();
    if (shared == this) shared = nullptr;
}

void POrinMenuScheme::setCurrentText(const char* text) {
    std::snprintf(current_, sizeof current_, "%s", text ? text : "");
}

void POrinMenuScheme::drawItem(const char* text, long itemId, long state, CDrawContext* context,
                               const CRect& rect) {
    if (itemBitmap_->isLoaded()) {
        itemBitmap_->draw(context, rect);
    } else {
        context->setFillColor(kItemColor);
        context->fillRect(rect);
    }
    if (!text) text = "";
    if (current_[0] && std::strcmp(text, current_) == 0) state |= kChecked;
    // A leading W sits too close to the check column without a space before it.
    char spaced[kTextCapacity + 1];
    if (text[0] == 'W') {
        std::snprintf(spaced, sizeof spaced, " %s", text);
        text = spaced;
    }
    COptionMenuScheme::drawItem(text, itemId, state, context, rect);
}
