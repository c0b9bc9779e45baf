// Drives the gallery in a real window the way a person would, through xdotool: a back-end test
// supplies the host side (a parent window, the idle calls, screen positions, starting commands)
// and exercise() runs the same clicks, drags, wheel steps and keys on every back-end. Each
// gesture starts only once the state the previous one should bring about holds, so that nothing
// depends on how fast the machine is.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Gallery.h"
#include "GestureSteps.h"

class GalleryDriver {
public:
    virtual ~GalleryDriver() = default;
    // Opens the gallery in the host's window, then clicks, drags, turns the wheel and types on
    // every control, checking the values they report, and leaves a screenshot (with a menu and
    // its submenu open) at the Linux path `screenshot`.
    void exercise(const std::string& screenshot);

protected:
    // The host's window for the editor (an HWND or an X11 Window id).
    virtual void* parent() = 0;
    // Screen coordinates of a frame point, as "x y" for xdotool.
    virtual std::string at(const CPoint& framePoint) = 0;
    // Starts a shell command in the background, so that the host loop keeps running.
    virtual void startShell(const std::string& command) = 0;
    // One turn of the host: its window messages and the editor's idle call.
    virtual void hostTurn() = 0;
    // The Linux `path` as this program names it.
    virtual std::string hostPath(const std::string& path) = 0;

    // The frame's own window, while the gallery is open.
    void* frameWindow() const;

    GalleryEditor editor;

private:
    using Step = GestureSteps::Step;
    testing::AssertionResult perform(const std::vector<Step>& steps) {
        return steps_.perform(steps);
    }
    void gestures(const std::string& screenshot);

    GestureSteps steps_{[this](const std::string& command) { startShell(command); },
                        [this] { hostTurn(); }};
};
