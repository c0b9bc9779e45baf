#include "Artwork.h"

#include <cmath>
#include <numbers>

#include "gui/COffscreenContext.h"

namespace artwork {
namespace {

constexpr CColor kPanel{52, 60, 72, 255};
constexpr CColor kPanelEdge{90, 102, 120, 255};
constexpr CColor kAccent{255, 170, 60, 255};
constexpr CColor kLabel{210, 218, 230, 255};

void verticalGradient(COffscreenContext& c, const CRect& r, CColor top, CColor bottom) {
    for (int y = r.top; y < r.bottom; ++y) {
        float t = float(y - r.top) / float(std::max(1, r.height() - 1));
        auto mix = [t](std::uint8_t a, std::uint8_t b) {
            return std::uint8_t(std::lround(float(a) + (float(b) - float(a)) * t));
        };
        c.setFillColor({mix(top.red, bottom.red), mix(top.green, bottom.green),
                        mix(top.blue, bottom.blue), 255});
        c.fillRect(CRect(r.left, y, r.right, y + 1));
    }
}

void panel(COffscreenContext& c, const CRect& r, const char* title) {
    c.setFillColor(kPanel);
    c.setFrameColor(kPanelEdge);
    c.drawRect(r, kDrawFilledAndStroked);
    c.setFont(kNormalFontSmall);
    c.setFontColor(kLabel);
    c.drawString(title, CRect(r.left + 6, r.top + 2, r.right - 6, r.top + 16), false, kLeftText);
}

}  // namespace

std::unique_ptr<COffscreenContext> drawBackground() {
    auto c = std::make_unique<COffscreenContext>(nullptr, 735, 449, kBlackCColor);
    verticalGradient(*c, CRect(0, 0, 735, 449), {30, 34, 44, 255}, {14, 16, 22, 255});
    c->setFont(kNormalFontVeryBig);
    c->setFontColor(kAccent);
    c->drawString("Toolkit gallery", CRect(16, 8, 400, 36), false, kLeftText);
    panel(*c, CRect(16, 44, 190, 150), "Knobs");
    panel(*c, CRect(200, 44, 340, 150), "Buttons");
    panel(*c, CRect(350, 44, 719, 150), "Menu and text");
    panel(*c, CRect(16, 160, 719, 290), "Drawing");
    panel(*c, CRect(16, 300, 719, 433), "Fonts and splash");
    return c;
}

std::unique_ptr<COffscreenContext> drawKnobStrip() {
    const int n = kKnobImages, s = kKnobSize;
    auto c = std::make_unique<COffscreenContext>(nullptr, s, s * n, kPanel);
    c->setDrawMode(kAntialias);
    for (int i = 0; i < n; ++i) {
        CRect cell(0, i * s, s, (i + 1) * s);
        CRect body = cell;
        body.inset(2, 2);
        c->setFillColor({28, 32, 40, 255});
        c->setFrameColor({120, 132, 150, 255});
        c->setLineWidth(2);
        c->drawEllipse(body, kDrawFilledAndStroked);
        // The pointer sweeps 270 degrees, from lower left through the top to lower right.
        double angle = (-135.0 + 270.0 * i / (n - 1)) * std::numbers::pi / 180.0;
        CPoint centre(s / 2 - 1 + (s % 2), i * s + s / 2 - 1 + (s % 2));
        CPoint tip(centre.h + int(std::lround(10.0 * std::sin(angle))),
                   centre.v - int(std::lround(10.0 * std::cos(angle))));
        c->setFrameColor(kAccent);
        c->setLineWidth(3);
        c->drawLine(centre, tip);
    }
    return c;
}

std::unique_ptr<COffscreenContext> drawButton(const char* off, const char* on) {
    auto c = std::make_unique<COffscreenContext>(nullptr, 48, 40, kPanel);
    const char* labels[2] = {off, on};
    for (int state = 0; state < 2; ++state) {
        CRect r(0, state * 20, 48, state * 20 + 20);
        verticalGradient(*c, r, state ? CColor{255, 190, 90, 255} : CColor{96, 108, 126, 255},
                         state ? CColor{200, 120, 30, 255} : CColor{60, 68, 82, 255});
        c->setFrameColor(state ? CColor{255, 220, 150, 255} : CColor{130, 142, 160, 255});
        c->drawRect(r);
        c->setFont(kNormalFontSmall);
        c->setFontColor(state ? kBlackCColor : kLabel);
        c->drawString(labels[state], r);
    }
    return c;
}

std::unique_ptr<COffscreenContext> drawSplash() {
    auto c = std::make_unique<COffscreenContext>(nullptr, 300, 200, kBlackCColor);
    verticalGradient(*c, CRect(0, 0, 300, 200), {70, 40, 20, 255}, {20, 10, 40, 255});
    c->setFrameColor(kAccent);
    c->setLineWidth(2);
    c->drawRect(CRect(0, 0, 300, 200));
    c->setFont(kNormalFontVeryBig);
    c->setFontColor(kAccent);
    c->drawString("Splash screen", CRect(0, 60, 300, 90));
    c->setFont(kNormalFont);
    c->setFontColor(kLabel);
    c->drawString("Click anywhere to close", CRect(0, 110, 300, 130));
    return c;
}

}  // namespace artwork
