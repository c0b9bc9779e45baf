#include "editor/PAboutView.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/PControllerMap.h"
#include "core/PParamDesc.h"
#include "gui/CDrawContext.h"

bool PAboutView::lineBox(const CRect& view, int controller, CRect& box) {
    if (controller < 0 || controller >= kControllers) return false;
    // The room for the tops of the lines below the first one, and for the columns after the
    // first one.
    const CCoord height = view.height() - kTop - kBottomMargin - kBoxHeight;
    const CCoord width = view.width() - kLeft - kBoxWidth;
    if (height < 0 || width < 0) return false;
    const int columns = width / kColumnStep + 1;
    int rows = height / kLineStep + 1;
    CCoord step = kLineStep;
    if (rows * columns < kControllers) {
        // Lines 10 pixels apart would leave the last controllers out (a window-sized view holds
        // 4 columns of 30): the lines close up, never nearer than the font's size, so that
        // every controller is listed.
        rows = (kControllers + columns - 1) / columns;
        step = rows > 1 ? std::max(kMinLineStep, height / (rows - 1)) : kLineStep;
        rows = std::min(rows, int(height / step) + 1);
    }
    const int column = controller / rows, row = controller % rows;
    if (column >= columns) return false;
    const CCoord x = view.left + kLeft + column * kColumnStep, y = view.top + kTop + row * step;
    box = CRect(x, y, x + kBoxWidth, y + kBoxHeight);
    return true;
}

void PAboutView::lineText(int controller, char* out, std::size_t capacity) {
    const PParamDesc* desc = paramDesc(PControllerMap::lookup(controller));
    if (desc && std::strcmp(desc->name, "Unused") != 0) {
        std::snprintf(out, capacity, "%03d: %s", controller, desc->name);
    } else {
        std::snprintf(out, capacity, "%03d: -", controller);
    }
}

void PAboutView::draw(CDrawContext* context) {
    CAboutView::draw(context);
    context->setFont(kNormalFontVerySmall);
    context->setFontColor(kWhiteCColor);
    for (int c = 0; c < kControllers; ++c) {
        CRect box;
        if (!lineBox(size, c, box)) break;
        char text[64];
        lineText(c, text, sizeof text);
        context->drawString(text, box, false, kLeftText);
    }
}

bool PAboutView::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "PAboutView") == 0) || CAboutView::isTypeOf(type);
}
