// The controller list: over the about view's drawing, one line per MIDI controller 0..127 in
// the 9-pixel font, "%03d: <parameter name>", or "%03d: -" when the controller map assigns it no
// parameter (or one named "Unused"). Lines run down in columns 180 pixels apart, from x = 14,
// y = 128; a column ends before a line would come within 20 pixels of the view's bottom. Where
// 10 pixels between lines would leave controllers out, the lines close up (to no less than 9
// pixels) so that all 128 are listed.
#pragma once

#include <cstddef>

#include "editor/CAboutView.h"

class PAboutView : public CAboutView {
public:
    static constexpr int kControllers = 128;
    static constexpr CCoord kLeft = 14;
    static constexpr CCoord kTop = 128;
    static constexpr CCoord kColumnStep = 180;
    static constexpr CCoord kBoxWidth = 165;
    static constexpr CCoord kBoxHeight = 10;
    static constexpr CCoord kLineStep = 10;
    static constexpr CCoord kMinLineStep = 9;
    static constexpr CCoord kBottomMargin = 20;

    explicit PAboutView(const CRect& size) : CAboutView(size) {}

    // The text box of controller `controller` in a view of `view` (in the view's coordinates);
    // false when the controller has no line there.
    static bool lineBox(const CRect& view, int controller, CRect& box);
    // The line's text for a controller as the controller map assigns it now.
    static void lineText(int controller, char* out, std::size_t capacity);

    void draw(CDrawContext* context) override;
    bool isTypeOf(const char* type) const override;
};
