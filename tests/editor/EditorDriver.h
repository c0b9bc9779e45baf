// The built module's editor in a real window, opened by a test host in a window of its own and
// used the way a person uses it, through xdotool on the X display: a page button, the context
// menu's about screen, a drag of the Base icon to another sector with the automation the host
// receives and the sound that changes; then the window opened and closed many times while the
// audio thread plays, and the window over a damaged or missing library. A back-end test supplies
// the host side (its window, its message loop, screen positions, how commands start); every
// gesture starts only once the state the previous one should bring about holds. On each page one
// control of each kind is used by hand, checking what the host was told and, where the sound
// changes, a note played before and after; a glissando is played on the on-screen keyboard while
// audio blocks are rendered, and every key must sound and be let go. Screenshots go to
// QUOR_SCREENSHOTS as <prefix>-<what>.png.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "editor/CKnobEdit.h"
#include "editor/HostedEditor.h"
#include "gui/GestureSteps.h"

class PAdsrEditor;

class EditorDriver {
public:
    explicit EditorDriver(std::string prefix) : prefix_(std::move(prefix)) {}
    virtual ~EditorDriver() = default;

    // The page button, about screen and icon drag scenarios, one after the other in one window.
    void useTheWindow();
    // The preset, LFO and global pages, each driven by hand in turn in one window.
    void useThePages();
    // The envelope page: a point of the Low envelope dragged, the host told, the attack slower.
    void useTheEnvelopePage();
    // A glissando on the on-screen keyboard while another thread plays the audio blocks.
    void playTheKeyboard();
    // `rounds` openings and closings in the host's window while notes play.
    void soak(int rounds);
    // The window over `library` opens, draws and closes.
    void openOver(hosted::Library library, const std::string& screenshot);

protected:
    // The host's window for the editor (an HWND or an X11 Window id); the editor lies at its
    // top-left corner.
    virtual void* parent() = 0;
    // Screen coordinates of a point of the editor, as "x y" for xdotool.
    virtual std::string at(const CPoint& editorPoint) = 0;
    // Starts a shell command in the background, so that the host loop keeps running.
    virtual void startShell(const std::string& command) = 0;
    // The host's window messages (the editor's idle call comes after them).
    virtual void pumpMessages() = 0;
    // The Linux `path` as this program names it.
    virtual std::string hostPath(const std::string& path) = 0;
    // Whether an Alt key is down as the editor's window reads the keyboard.
    virtual bool altHeld() = 0;

private:
    using Step = GestureSteps::Step;
    // A person's gesture on a page: its steps, and the parameter whose begin edit, automation
    // and end edit the host must be told of, alone (-1: the host is told of nothing).
    struct Gesture {
        const char* what;
        std::vector<Step> steps;
        int parameter;
    };
    // Opens the editor in the host's window once both instruments have loaded, and closes it.
    void open(hosted::HostedEditor& hosted);
    void close();
    void perform(const Gesture& gesture);
    void showPage(int page);
    void presetPage();
    void lfoPage();
    void globalPage();
    // The envelope page's keys, wheel, slider, field, layer button and knobs.
    void envelopeControls(PAdsrEditor& page);
    // Gestures on the controls of the page that shows (page coordinates): a click; a knob
    // pressed, dragged up `dy` pixels and released; typing `keys` (xdotool key names) into a
    // knob's value field; a menu opened at `menu`, then its entry at `entry` clicked.
    std::string click(const CRect& onPage);
    std::string wheel(const CPoint& onPage, bool up);
    // A control pressed at `from`, dragged to `to` until `reached` holds, and released.
    std::vector<Step> drag(const CPoint& from, const CPoint& to, int parameter,
                           std::function<bool()> reached);
    std::vector<Step> knobDrag(const CRect& knob, int parameter, int dy);
    std::vector<Step> typing(const CKnobEdit& knob, const std::string& keys, int parameter);
    Step menuChoice(const CRect& menu, const CPoint& entry, std::function<bool()> chosen);
    // Whether the host has been told `opcode` for `parameter` since the gesture began.
    bool told(std::int32_t opcode, int parameter);
    void pagesScenario();
    void aboutScenario();
    void dragScenario();
    // Shell commands on the screen's square of `size` pixels around editor point `p`: `sample`
    // remembers how it looks in the file `name` (of this run's marks); `waitFor` waits, at most a
    // minute, until it looks as the file `remembered` says (`same`) or not, then creates the
    // file `mark` if it does; `whenChanged` samples it, runs `action` and waits for a change.
    std::string area(const CPoint& p, int size);
    std::string sample(const CPoint& p, int size, const std::string& name);
    std::string waitFor(const CPoint& p, int size, const std::string& remembered, bool same,
                        const std::string& mark);
    std::string whenChanged(const CPoint& p, int size, const std::string& action,
                            const std::string& mark, const std::string& remember = "");
    // A shell command leaving a screenshot of the editor in <prefix>-<name>.png (written under
    // another name first, so that the file appears whole), and a step that waits for it.
    std::string shot(const std::string& name) const;
    std::string takeScreenshot(const std::string& name);
    Step screenshot(const std::string& name);
    // A marker or screenshot file of this run, as the shell names it.
    std::string file(const std::string& name) const;
    bool exists(const std::string& name);

    std::string prefix_;
    hosted::HostedEditor* hosted_ = nullptr;
    GestureSteps steps_{[this](const std::string& command) { startShell(command); },
                        [this] {
                            pumpMessages();
                            if (hosted_) hosted_->idle();
                        }};
};
