// The plug-in's editor window: the background, the palette, the page area with its four pages
// and their buttons, the master volume knob and the loading indicator, the about and controller
// screens. The editor object lives as long as the plug-in; its window exists between open() and
// close() and may come and go many times. The palette model, the sector images, the last page
// shown and the palette's opening sweep survive a close.
//
// Threads: everything runs on the host's user-interface thread except parameterChanged and
// moveIcon, which automation and MIDI controllers call on the audio thread. Those two only store
// atomics that idle() picks up; with the window closed moveIcon also selects the sector under
// the icon at once, so that automation plays the same sound whether the window was ever opened.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "core/EditorLink.h"
#include "editor/ContextMenuActions.h"
#include "editor/PaletteHost.h"
#include "gui/CControl.h"
#include "sdk/AEffGUIEditor.h"

class CAboutScreen;
class CBitmapCollection;
class ContextMenu;
class CKnob;
class COnOffButton;
class CPlaceholderView;
class KeyboardView;
class Orin;
class PEditor;
class POrinDiskControl;
class POrinDiskDescriptor;
class PPresetControl;

class OrinEditor : public AEffGUIEditor,
                   public CControlListener,
                   public EditorLink,
                   public PaletteHost,
                   public ContextMenuActions {
public:
    enum Page { kPresetPage = 0, kLfoPage = 1, kEnvelopePage = 2, kGlobalPage = 3, kPageCount = 4 };
    // Control tags.
    static constexpr long kVolumeTag = 4;
    static constexpr long kScreenTag = 10000;
    static constexpr long kPaletteTag = 12222;
    static constexpr int kVolumeParameter = 57;
    static constexpr int kIconXParameter = 95;  // X of icon i is 95 + 2i, Y is 96 + 2i
    static constexpr int kWidth = 735;
    static constexpr int kHeight = 449;
    using TickSource = std::uint32_t (*)();

    explicit OrinEditor(Orin& plugin);
    ~OrinEditor() override;

    bool open(void* parentWindow) override;
    void close() override;
    void idle() override;
    // Gestures are reported to the host through the control listener (which knows the control,
    // and so the parameter), not through the frame's tag-only route.
    void beginEdit(long) override {}
    void endEdit(long) override {}
    // A tracking loop's turn (a dragged icon, an open menu): icons moved by automation are placed
    // and the frame redraws, so that the window stays live while the button is down.
    void doIdleStuff() override;

    // CControlListener
    void valueChanged(CControl* control) override;
    void controlBeginEdit(CControl* control) override;
    void controlEndEdit(CControl* control) override;

    // EditorLink
    void parameterChanged(std::int32_t index, float value) override;
    void moveIcon(int icon, float x, float y) override;
    void setWaitCursor(bool on) override;

    // PaletteHost
    void selectLayer(int layer) override;
    void paletteChanged() override;

    // Stores a value the person set, applies it and reports it to the host as automation,
    // without the change coming back to the editor as a refresh request.
    void setParameterNotified(int index, float value);
    // ContextMenuActions
    void showAboutScreen() override;
    void showControllerList() override;
    const char* pluginPath() const override;

    // A press on the background: a secondary click opens the context menu.
    void contextMenuHook(const CPoint& where, long buttons);
    // Any press in the window ends the palette's opening sweep.
    void sweepPressHook(const CPoint& where);
    // Redraws the palette and the controls of every part of the window; `exceptPage` is a page
    // that is already up to date (-1: none).
    void refreshAll(int exceptPage = -1);
    // Shows page 0..3 now (the page buttons ask for it on the next idle).
    void showPage(int page);
    int currentPage() const { return currentPage_; }
    PEditor* page(int index) const;
    POrinDiskDescriptor& paletteModel() const { return *paletteModel_; }
    POrinDiskControl* paletteControl() const { return palette_; }
    Orin& plugin() const { return plugin_; }
    bool isSweeping() const { return sweepActive_; }
    void endSectorSweep();
    bool isLoadingShown() const;
    PPresetControl* presetControl() const { return presetControl_; }
    KeyboardView* keyboard() const { return keyboard_; }
    // How many idle passes took in parameter changes (one per pass, however many arrived).
    std::uint32_t refreshCount() const { return refreshes_; }
    // The millisecond clock of the animations (tests set their own).
    void setTickSource(TickSource ticks) { ticks_ = ticks; }
    std::uint32_t ticks() const { return ticks_(); }

private:
    void createPages();
    void createFixedControls();
    void createScreens();
    // Shows a screen now, or once the open menu that asked for it has gone.
    void showScreen(CAboutScreen* screen);
    void stepSectorSweep(std::uint32_t now);
    void updateLoadingIndicator(std::uint32_t now);
    void placeMovedIcons();
    void refreshControls();
    void notifyEdit(CControl* control, bool begin);

    Orin& plugin_;
    std::unique_ptr<POrinDiskDescriptor> paletteModel_;
    CBitmapCollection* normalSectors_ = nullptr;
    CBitmapCollection* litSectors_ = nullptr;

    // The window's views (null while closed).
    POrinDiskControl* palette_ = nullptr;
    CPlaceholderView* pageArea_ = nullptr;
    PEditor* pages_[kPageCount] = {};
    COnOffButton* pageButtons_[kPageCount] = {};
    CKnob* volumeKnob_ = nullptr;
    COnOffButton* loadingIndicator_ = nullptr;
    PPresetControl* presetControl_ = nullptr;
    KeyboardView* keyboard_ = nullptr;
    CAboutScreen* aboutScreen_ = nullptr;
    CAboutScreen* controllerScreen_ = nullptr;
    CAboutScreen* pendingScreen_ = nullptr;
    std::unique_ptr<ContextMenu> contextMenu_;

    int currentPage_ = -1;
    int lastPage_ = kPresetPage;
    int pendingPage_ = -1;
    // Whether the keyboard's lid was closed when the window closed.
    bool keyboardCollapsed_ = false;

    // The opening sweep lights the sectors one after the other, once per editor object.
    bool sweepActive_ = false;
    bool sweepDone_ = false;
    int sweepStep_ = 0;
    std::uint32_t sweepLastTick_ = 0;

    std::uint32_t refreshes_ = 0;
    std::uint32_t loadCheckTick_ = 0;
    std::uint32_t lastLoadCount_ = 0;

    std::atomic<bool> open_{false};
    std::atomic<bool> parametersChanged_{false};
    // Icons whose position parameters changed while the window is open (bit i for icon i), and
    // their positions in palette centre coordinates.
    std::atomic<std::uint32_t> iconMoved_{0};
    std::atomic<std::int32_t> iconX_[3] = {};
    std::atomic<std::int32_t> iconY_[3] = {};
    TickSource ticks_;
};
