#include "editor/CAboutView.h"

#include <cstdio>
#include <cstring>

#include "gui/CDrawContext.h"
#include "gui/CFrame.h"
#include "platform/Platform.h"

CAboutView::CAboutView(const CRect& size)
    : CSplashScreenCfgView(size),
      tickerRect_(50, size.height() - 22, size.width() - 50, size.height() - 10),
      ticks_(platform::tickCount) {}

void CAboutView::formatVersion(std::uint32_t version, char* out, std::size_t capacity) {
    const unsigned major = version >> 16, minor = (version & 0xFF0) >> 4, patch = version & 0xF;
    const char* suffix = (version & 0x1000)   ? "alpha"
                         : (version & 0x2000) ? "beta"
                         : (version & 0x4000) ? "RC"
                                              : "";
    if (patch != 0) {
        std::snprintf(out, capacity, "Version %u.%u.%u %s", major, minor, patch, suffix);
    } else {
        std::snprintf(out, capacity, "Version %u.%u %s", major, minor, suffix);
    }
}

void CAboutView::setTickerText(const char* text) {
    ticker_ = text ? text : "";
    tickerIndex_ = 0;
    tickerStarted_ = false;
    invalid();
}

void CAboutView::setTickerColors(const CColor& text, const CColor& background) {
    tickerColor_ = text;
    tickerBackground_ = background;
}

void CAboutView::draw(CDrawContext* context) {
    if (version_ != 0) {
        char version[64];
        formatVersion(version_, version, sizeof version);
        context->setFont(kNormalFontSmall);
        context->setFontColor(versionColor_);
        const CCoord top = size.top + versionOffset_.v;
        context->drawString(version, CRect(size.left + versionOffset_.h, top, size.right,
                                           top + kVersionLineHeight));
    }
    if (!ticker_.empty()) {
        const CRect r = fromTopLeft(tickerRect_);
        if (!(tickerBackground_ == kTransparentCColor)) {
            context->setFillColor(tickerBackground_);
            context->fillRect(r);
        }
        const std::string shown = ticker_.substr(tickerIndex_, kTickerChars);
        context->setFont(kNormalFontVerySmall);
        context->setFontColor(tickerColor_);
        context->drawString(shown.c_str(), r, false, kLeftText);
    }
    CSplashScreenCfgView::draw(context);
}

void CAboutView::onIdle() {
    if (ticker_.empty()) return;
    const std::uint32_t now = ticks_();
    if (!tickerStarted_) {
        tickerStarted_ = true;
        lastStep_ = now;
        return;
    }
    // Ticks wrap around; a negative difference means the clock wrapped long ago.
    const std::int32_t elapsed = static_cast<std::int32_t>(now - lastStep_);
    if (elapsed >= 0 && std::uint32_t(elapsed) < kTickerStepMs) return;
    lastStep_ = now;
    if (++tickerIndex_ >= ticker_.size()) tickerIndex_ = 0;
    if (CFrame* frame = getFrame()) {
        CRect r = fromTopLeft(tickerRect_);
        frame->invalidRect(localToFrame(r));
    }
}

bool CAboutView::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "CAboutView") == 0) || CSplashScreenCfgView::isTypeOf(type);
}
