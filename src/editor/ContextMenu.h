// The editor's context menu (a right click on the window's background): help, the local web
// site, the about screen and the controller list. Only one menu is open at a time.
#pragma once

#include <string>

#include "data/SystemFunctions.h"
#include "gui/CControl.h"

class COptionMenu;
class CViewContainer;
class ContextMenuActions;

class ContextMenu : public CControlListener {
public:
    // Hands a document or page to the desktop; false when nothing could open it.
    using Opener = bool (*)(const char* path);
    // The manual and the HTML pages, relative to the plug-in module's folder ('/' stands for
    // the platform's separator).
    static constexpr const char* kManualPath = "documentation/eng/QUOR_Manual.pdf";
    static constexpr const char* kSitePath = "documentation/eng/html/index.html";

    // By default the PDF goes to the system's PDF viewer and the site to its browser; tests
    // pass their own openers.
    explicit ContextMenu(ContextMenuActions& actions, Opener openPdfFile = openPdf,
                         Opener openSite = openHtml);
    ~ContextMenu() override;
    ContextMenu(const ContextMenu&) = delete;
    ContextMenu& operator=(const ContextMenu&) = delete;

    // Shows the menu 2 pixels below `where` (in `container`'s coordinates) and waits for a
    // choice. Mode 0 is the only one with entries; any other shows nothing. False when no menu
    // was shown (another one is open, the mode has no entries, or there is no frame).
    bool popup(CViewContainer* container, const CPoint& where, long mode = 0);
    bool isOpen() const { return menu_ != nullptr; }

    // The chosen entry of a mode-0 menu.
    void valueChanged(CControl* control) override;

    // `relative` beside the module at `pluginPath`, with the platform's separators; empty when
    // the plug-in path is unknown.
    static std::string besidePlugin(const char* pluginPath, const char* relative);

private:
    void open(const char* relative, Opener opener) const;

    ContextMenuActions& actions_;
    Opener openPdf_;
    Opener openSite_;
    COptionMenu* menu_ = nullptr;
};
