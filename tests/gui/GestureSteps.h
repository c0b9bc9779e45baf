// Gestures in a real window, driven by xdotool: each step's shell commands start only once the
// state the previous step should bring about holds, so that nothing depends on how fast the
// machine is. The host side supplies how a shell command starts in the background and what one
// turn of its loop is (its window messages and the editor's idle call).
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class GestureSteps {
public:
    // One gesture: shell commands (xdotool and the like), and the state that shows it arrived.
    struct Step {
        const char* what;
        std::string shell;
        std::function<bool()> done;
    };
    using Shell = std::function<void(const std::string&)>;
    using Turn = std::function<void()>;

    GestureSteps(Shell startShell, Turn hostTurn)
        : startShell_(std::move(startShell)), hostTurn_(std::move(hostTurn)) {}

    // Runs `steps` in order, each one's commands once the previous one's state holds. Fails,
    // naming the step, when a state has not come about after a bound that only guards against a
    // hang (and then releases the mouse button and presses Escape, ending any tracking loop).
    testing::AssertionResult perform(const std::vector<Step>& steps);
    // Checks the current step's state (starting the next step's commands once it holds). The
    // host's turns call it, and so must every turn of a tracking loop (a drag, an open menu),
    // during which the host's turn has not returned. Does nothing outside perform().
    void check();

    // Shell commands that move the pointer to `xy` ("x y" for xdotool) and wait there until a
    // window (one just mapped, or a menu's popup) rather than the bare root window is under it,
    // giving up after a minute.
    static std::string pointAtWindow(const std::string& xy);

private:
    Shell startShell_;
    Turn hostTurn_;
    const std::vector<Step>* steps_ = nullptr;
    std::size_t current_ = 0;
    const char* stuck_ = nullptr;
    std::uint32_t started_ = 0;
};
