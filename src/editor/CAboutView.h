// The about screen's view: over the screen's bitmap it draws the version text, the label of its
// base class and an optional ticker, a line of text that scrolls by one character at a time.
//
// Version numbers are packed: major in bits 16 and up, minor in bits 4-11, patch in bits 0-3,
// and the flags 0x1000 alpha, 0x2000 beta, 0x4000 release candidate (the first one set counts).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "editor/CSplashScreenCfgView.h"

class CAboutView : public CSplashScreenCfgView {
public:
    using TickSource = std::uint32_t (*)();
    static constexpr std::uint32_t kTickerStepMs = 150;
    static constexpr std::size_t kTickerChars = 60;  // characters shown at once
    static constexpr int kVersionLineHeight = 15;

    explicit CAboutView(const CRect& size);

    // "Version 2.0.4 " for 0x20004, "Version 1.1 beta" for 0x12010: the patch only when it is
    // not 0, then a space and the suffix (empty without a flag). Cut to fit `capacity`.
    static void formatVersion(std::uint32_t version, char* out, std::size_t capacity);

    // 0 (the default) shows no version line.
    void setVersion(std::uint32_t version) { version_ = version; }
    std::uint32_t getVersion() const { return version_; }
    // The version line starts this far from the view's top-left corner and reaches its right
    // edge; the text is centred in it.
    void setVersionOffset(const CPoint& offset) { versionOffset_ = offset; }
    void setVersionColor(const CColor& color) { versionColor_ = color; }

    // The ticker's text (empty: no ticker), rectangle relative to the view's top-left corner
    // (by default 50 pixels in from the sides, from 22 to 10 pixels above the bottom), colours
    // (a transparent background leaves the bitmap showing).
    void setTickerText(const char* text);
    void setTickerRect(const CRect& rect) { tickerRect_ = rect; }
    void setTickerColors(const CColor& text, const CColor& background);
    // The first character of the ticker shown now.
    std::size_t getTickerIndex() const { return tickerIndex_; }
    // Where the ticker reads the time (milliseconds, wrapping); tests set their own clock.
    void setTickSource(TickSource ticks) { ticks_ = ticks; }

    void draw(CDrawContext* context) override;
    // Moves the ticker on by one character once kTickerStepMs have passed since its last step.
    void onIdle() override;
    bool isTypeOf(const char* type) const override;

private:
    std::uint32_t version_ = 0;
    CPoint versionOffset_;
    CColor versionColor_{255, 213, 100, 255};
    std::string ticker_;
    CRect tickerRect_;
    CColor tickerColor_{200, 207, 218, 255};
    CColor tickerBackground_ = kTransparentCColor;
    std::size_t tickerIndex_ = 0;
    bool tickerStarted_ = false;
    std::uint32_t lastStep_ = 0;
    TickSource ticks_;
};
