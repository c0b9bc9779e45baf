// What the X11 window tests need of a host: a mapped top-level window to parent an editor in,
// and shell commands (xdotool and the like) started in the background so the host loop runs on.
#pragma once

#include <X11/Xlib.h>

#include <cstdlib>
#include <string>

// A top-level window of `width` x `height` at (40, 30), returned once the server has mapped it.
inline Window openMappedWindow(Display* display, int width, int height) {
    Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 40, 30,
                                        unsigned(width), unsigned(height), 0, 0, 0);
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    for (XEvent e;;) {
        XNextEvent(display, &e);
        if (e.type == MapNotify) break;
    }
    return window;
}

inline bool startInBackground(const std::string& command) {
    const std::string line = "(" + command + ") > /dev/null 2>&1 &";
    return std::system(line.c_str()) == 0;
}
