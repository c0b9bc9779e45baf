#include "GestureSteps.h"

#include "platform/Platform.h"

namespace {
constexpr std::uint32_t kTurnMs = 10;
constexpr std::uint32_t kHangMs = 60000;
}  // namespace

std::string GestureSteps::pointAtWindow(const std::string& xy) {
    const std::string overRoot =
        "xdotool mousemove " + xy + " getmouselocation --shell | grep -qx WINDOW=$root";
    return "root=$(xdotool search --maxdepth 0 --name ''); end=$(($(date +%s) + 60)); while " +
           overRoot + " && [ $(date +%s) -lt $end ]; do :; done; ";
}

void GestureSteps::check() {
    if (!steps_) return;
    const std::vector<Step>& steps = *steps_;
    while (!stuck_ && current_ < steps.size() && steps[current_].done()) {
        if (++current_ == steps.size()) return;
        startShell_(steps[current_].shell);
        started_ = platform::tickCount();
    }
    if (!stuck_ && current_ < steps.size() && platform::tickCount() - started_ > kHangMs) {
        stuck_ = steps[current_].what;
        startShell_("xdotool mouseup 1 key Escape");
    }
}

testing::AssertionResult GestureSteps::perform(const std::vector<Step>& steps) {
    if (steps.empty()) return testing::AssertionSuccess();
    steps_ = &steps;
    current_ = 0;
    stuck_ = nullptr;
    started_ = platform::tickCount();
    startShell_(steps[0].shell);
    while (!stuck_ && current_ < steps.size()) {
        hostTurn_();
        check();
        platform::sleepMs(kTurnMs);
    }
    steps_ = nullptr;
    if (stuck_) return testing::AssertionFailure() << "never happened: " << stuck_;
    return testing::AssertionSuccess();
}
