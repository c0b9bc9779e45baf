#include "gui/platform/x11/X11Window.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/keysym.h>
#include <poll.h>

#include <algorithm>
#include <cstdint>
#include <map>

#include "gui/CBitmap.h"
#include "gui/CFrame.h"
#include "gui/platform/x11/X11Image.h"
#include "gui/platform/x11/X11Popup.h"

namespace {

constexpr int kWaitMs = 10;
constexpr int kWheelUp = 4;
constexpr int kWheelDown = 5;

// Our windows by id, so that events handed in by a host find their frame.
std::map<Window, X11Window*>& registry() {
    static std::map<Window, X11Window*> windows;
    return windows;
}

long modifiersFromState(unsigned state) {
    long buttons = 0;
    if (state & Button1Mask) buttons |= kLButton;
    if (state & Button2Mask) buttons |= kMButton;
    if (state & Button3Mask) buttons |= kRButton;
    if (state & ShiftMask) buttons |= kShift;
    if (state & ControlMask) buttons |= kControl;
    if (state & Mod1Mask) buttons |= kAlt;
    if (state & Mod4Mask) buttons |= kApple;  // the Super key is the secondary-click modifier
    return buttons;
}

unsigned char virtualKey(KeySym sym) {
    switch (sym) {
        case XK_BackSpace:
            return VKEY_BACK;
        case XK_Tab:
            return VKEY_TAB;
        case XK_Return:
            return VKEY_RETURN;
        case XK_KP_Enter:
            return VKEY_ENTER;
        case XK_Escape:
            return VKEY_ESCAPE;
        case XK_space:
            return VKEY_SPACE;
        case XK_End:
            return VKEY_END;
        case XK_Home:
            return VKEY_HOME;
        case XK_Left:
            return VKEY_LEFT;
        case XK_Up:
            return VKEY_UP;
        case XK_Right:
            return VKEY_RIGHT;
        case XK_Down:
            return VKEY_DOWN;
        case XK_Page_Up:
            return VKEY_PAGEUP;
        case XK_Page_Down:
            return VKEY_PAGEDOWN;
        case XK_Insert:
            return VKEY_INSERT;
        case XK_Delete:
            return VKEY_DELETE;
        default:
            return 0;
    }
}

// Buttons and modifiers of a press: the state holds the modifiers, `button` the new button.
long pressButtons(const XButtonEvent& event) {
    long buttons = modifiersFromState(event.state) & ~kMouseButtons;
    if (event.button == Button1) buttons |= kLButton;
    if (event.button == Button2) buttons |= kMButton;
    if (event.button == Button3) buttons |= kRButton;
    return buttons;
}

VstKeyCode keyCode(XKeyEvent& event) {
    char text[8] = {};
    KeySym sym = 0;
    int length = XLookupString(&event, text, sizeof text, &sym, nullptr);
    VstKeyCode key{};
    key.virt = virtualKey(sym);
    if (key.virt == 0 && length == 1) key.character = static_cast<unsigned char>(text[0]);
    if (key.virt == 0 && length == 0 && sym < 256) key.character = int(sym);
    if (event.state & ShiftMask) key.modifier |= MODIFIER_SHIFT;
    if (event.state & Mod1Mask) key.modifier |= MODIFIER_ALTERNATE;
    if (event.state & Mod4Mask) key.modifier |= MODIFIER_COMMAND;
    if (event.state & ControlMask) key.modifier |= MODIFIER_CONTROL;
    return key;
}

}  // namespace

std::unique_ptr<PlatformWindow> createNativeWindow(void* parent, CFrame& frame) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return nullptr;
    auto window = std::make_unique<X11Window>(
        display, Window(reinterpret_cast<std::uintptr_t>(parent)), frame);
    if (!window->valid()) return nullptr;
    return window;
}

X11Window::X11Window(Display* display, Window parent, CFrame& frame)
    : display_(display), frame_(frame), parent_(parent) {
    int screen = DefaultScreen(display_);
    XVisualInfo info{};
    if (!XMatchVisualInfo(display_, screen, 24, TrueColor, &info) || info.red_mask != 0xFF0000 ||
        info.blue_mask != 0xFF) {
        return;  // our pixels are 0x00RRGGBB words; other visuals are not supported
    }
    visual_ = info.visual;
    depth_ = info.depth;
    XSetWindowAttributes attributes{};
    attributes.colormap = XCreateColormap(display_, parent, visual_, AllocNone);
    attributes.background_pixel = 0;
    attributes.border_pixel = 0;
    attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            KeyPressMask | KeyReleaseMask | StructureNotifyMask | FocusChangeMask;
    const CRect& r = frame.getViewSize();
    window_ = XCreateWindow(display_, parent, 0, 0, unsigned(r.width()), unsigned(r.height()), 0,
                            depth_, InputOutput, visual_,
                            CWColormap | CWBackPixel | CWBorderPixel | CWEventMask, &attributes);
    if (!window_) return;
    registry()[window_] = this;

    // XEmbed: protocol version 0, mapped.
    Atom xembed = XInternAtom(display_, "_XEMBED_INFO", False);
    long info2[2] = {0, 1};
    XChangeProperty(display_, window_, xembed, xembed, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(info2), 2);
    // The event procedure's address, as two 32-bit halves, low half first.
    Atom proc = XInternAtom(display_, "_XEventProc", False);
    auto address = reinterpret_cast<std::uintptr_t>(&X11Window::eventProc);
    long halves[2] = {long(address & 0xFFFFFFFFu), long(address >> 32)};
    XChangeProperty(display_, window_, proc, proc, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(halves), 2);
    XMapWindow(display_, window_);
    XFlush(display_);
}

void X11Window::setKeyboardFocus(bool take) {
    if (take) {
        XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
    } else {
        // Back to the host's window that holds ours: it exists as long as ours does, where the
        // window that had the focus before may be gone by now.
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(display_, &focus, &revert);
        if (focus == window_) XSetInputFocus(display_, parent_, RevertToParent, CurrentTime);
    }
    XFlush(display_);
}

X11Window::~X11Window() {
    if (window_) {
        registry().erase(window_);
        XDestroyWindow(display_, window_);
    }
    if (waitCursor_) XFreeCursor(display_, waitCursor_);
    XCloseDisplay(display_);
}

std::unique_ptr<PopupSurface> X11Window::openPopup(const CRect& rect) {
    if (!window_) return nullptr;
    auto popup = std::make_unique<X11Popup>(*this, display_, window_, visual_, depth_, rect);
    if (!popup->window()) return nullptr;
    return popup;
}

void X11Window::removePopup(X11Popup* popup) {
    popups_.erase(std::remove(popups_.begin(), popups_.end(), popup), popups_.end());
}

void* X11Window::nativeHandle() const {
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(window_));
}

void X11Window::setWaitCursor(bool on) {
    if (!window_) return;
    if (on) {
        if (!waitCursor_) waitCursor_ = XCreateFontCursor(display_, XC_watch);
        XDefineCursor(display_, window_, waitCursor_);
    } else {
        XUndefineCursor(display_, window_);
    }
    XFlush(display_);
}

void X11Window::present(const CRect& rect) {
    putBitmap(display_, window_, visual_, depth_, *frame_.getBackBuffer(), rect);
}

void X11Window::queryPointer(CPoint* where, long* buttons) {
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned state = 0;
    if (!window_ ||
        !XQueryPointer(display_, window_, &root, &child, &rootX, &rootY, &x, &y, &state)) {
        state = 0;
    }
    if (where) *where = CPoint(x, y);
    if (buttons) *buttons = modifiersFromState(state);
}

long X11Window::mouseButtons() {
    long buttons = 0;
    queryPointer(nullptr, &buttons);
    return buttons;
}

CPoint X11Window::mouseLocation() {
    CPoint where;
    queryPointer(&where, nullptr);
    return where;
}

void X11Window::drainEvents() {
    // Handlers may drain again from inside (a press that opens a menu waits in a loop that keeps
    // handling events); every level takes events off the same queue.
    while (window_ && XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (!handle(event)) return;  // the frame, and this window with it, is gone
    }
}

bool X11Window::waitForEvents() {
    XFlush(display_);
    if (XPending(display_) == 0) {
        pollfd fd{ConnectionNumber(display_), POLLIN, 0};
        poll(&fd, 1, kWaitMs);
    }
    drainEvents();
    return true;
}

void X11Window::eventProc(XEvent* event) {
    if (!event) return;
    auto found = registry().find(event->xany.window);
    if (found != registry().end()) found->second->handle(*event);
}

bool X11Window::handle(XEvent& event) {
    for (X11Popup* popup : popups_) {
        if (event.xany.window != popup->window()) continue;
        // A popup shows what the frame drew for it; presses on it are presses on the frame.
        if (event.type == Expose && event.xexpose.count == 0) popup->repaint();
        if (event.type == ButtonPress) {
            const CRect& r = popup->frameRect();
            return frame_.onMouseDown(CPoint(event.xbutton.x + r.left, event.xbutton.y + r.top),
                                      pressButtons(event.xbutton));
        }
        return true;
    }
    if (event.xany.window != window_) return true;
    switch (event.type) {
        case Expose: {
            CRect r(event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
                    event.xexpose.y + event.xexpose.height);
            present(r);
            break;
        }
        case ButtonPress: {
            const CPoint where(event.xbutton.x, event.xbutton.y);
            unsigned button = event.xbutton.button;
            if (button == kWheelUp || button == kWheelDown) {
                frame_.onMouseWheel(where, button == kWheelUp ? 1.f : -1.f);
                break;
            }
            XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
            return frame_.onMouseDown(where, pressButtons(event.xbutton));
        }
        case KeyPress:
        case KeyRelease: {
            VstKeyCode key = keyCode(event.xkey);
            if (key.character == 0 && key.virt == 0) break;  // a modifier key alone
            if (event.type == KeyPress) {
                frame_.onKeyDown(key);
                frame_.idle();
            } else {
                frame_.onKeyUp(key);
            }
            break;
        }
        default:
            break;
    }
    return true;
}
