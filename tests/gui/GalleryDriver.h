// Drives the gallery in a real window the way a person would, through xdotool: a back-end test
// supplies the host side (a parent window, the idle calls, screen positions, starting commands)
// and exerciseGallery runs the same clicks, drags, wheel steps and keys on every back-end.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "Gallery.h"

class GalleryDriver {
public:
    virtual ~GalleryDriver() = default;
    // Screen coordinates of a frame point, as "x y" for xdotool.
    virtual std::string at(const CPoint& framePoint) = 0;
    // Starts a shell command in the background, so that the host loop keeps running.
    virtual void startShell(const std::string& command) = 0;
    // One turn of the host: its window messages and the editor's idle call.
    virtual void hostTurn() = 0;
    // Whether the file at the Linux `path` exists.
    virtual bool fileExists(const std::string& path) = 0;

    // Runs host turns until `done` holds (true) or `timeoutMs` passes (false).
    bool pumpUntil(const std::function<bool()>& done, std::uint32_t timeoutMs = 8000);
    void pumpFor(std::uint32_t ms);
    // xdotool with `commands`, then any further shell commands after a ";", in the background.
    void xdotool(const std::string& commands) { startShell("xdotool " + commands); }
};

// Clicks, drags, wheel steps and typing on every control, checking the values they report, and
// a screenshot (with a menu and its submenu open) written to the Linux path `screenshot`.
void exerciseGallery(GalleryDriver& driver, GalleryEditor& editor, const std::string& screenshot);

// Where the back-end tests leave their screenshots: <build>/gui-screenshots/<name>.
std::string screenshotPath(const char* name);
