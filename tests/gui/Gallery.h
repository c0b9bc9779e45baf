// A test editor showing one of every control over the gallery bitmaps, recording what its
// controls report. The back-end tests open it in real windows; the behaviour tests headless.
#pragma once

#include <functional>
#include <map>

#include "gui/CControl.h"
#include "sdk/AEffGUIEditor.h"

class CKnob;
class COnOffButton;
class CKickButton;
class COptionMenu;
class CTextEdit;
class CParamDisplay;
class CSplashScreen;

namespace gallery {

enum Tag : long {
    kStripKnob = 1,
    kDrawnKnob = 2,
    kOnOff = 3,
    kKick = 4,
    kMenu = 5,
    kText = 6,
    kSplash = 7,
    kLongMenu = 8,
};

// Where the controls are (frame coordinates).
inline const CRect kStripKnobRect(30, 66, 62, 98);
inline const CRect kDrawnKnobRect(80, 62, 120, 102);
inline const CRect kDisplayRect(30, 110, 170, 128);
inline const CRect kOnOffRect(214, 66, 262, 86);
inline const CRect kKickRect(276, 66, 324, 86);
inline const CRect kMenuRect(364, 66, 500, 84);
inline const CRect kTextRect(520, 66, 700, 84);
// 32 entries: taller than the frame, so it opens in a popup window of its own.
inline const CRect kLongMenuRect(364, 100, 500, 118);
inline constexpr int kLongMenuEntries = 32;
// Frame position of entry `index` of a menu with the default look opened at `menuTopLeft`, when
// `separatorsAbove` separators come before it.
CPoint menuEntry(const CPoint& menuTopLeft, int index, int separatorsAbove = 0);

inline const CRect kSplashArea(560, 390, 700, 420);
inline const CRect kSplashDisplay(217, 124, 517, 324);

}  // namespace gallery

class GalleryEditor : public AEffGUIEditor, public CControlListener {
public:
    GalleryEditor();
    bool open(void* parentWindow) override;
    void close() override;
    void valueChanged(CControl* control) override;
    void beginEdit(long tag) override;
    void endEdit(long tag) override;
    // Runs `whileTracking` on every turn of a control's tracking loop (a drag, an open menu).
    void doIdleStuff() override;

    // Called on each turn of a tracking loop, which the host's own turns do not reach.
    std::function<void()> whileTracking;
    // The tag of the control between its begin and end of an edit, else -1.
    long editing = -1;
    // How many submenu entries have been drawn: the submenu is showing once this grows.
    int submenuEntriesDrawn = 0;

    // What the controls reported: the last value per tag, and how many reports there were.
    std::map<long, float> lastValue;
    std::map<long, int> reports;
    // The text field's text when it last reported.
    char lastText[256] = {};

    CKnob* stripKnob = nullptr;
    CKnob* drawnKnob = nullptr;
    COnOffButton* onOff = nullptr;
    CKickButton* kick = nullptr;
    COptionMenu* menu = nullptr;
    COptionMenu* submenu = nullptr;
    COptionMenu* longMenu = nullptr;
    CTextEdit* text = nullptr;
    CParamDisplay* display = nullptr;
    CSplashScreen* splash = nullptr;
};
