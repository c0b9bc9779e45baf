#include "editor/ContextMenu.h"

#include <cstring>

#include "editor/ContextMenuActions.h"
#include "editor/POrinMenuScheme.h"
#include "gui/COptionMenu.h"
#include "gui/CViewContainer.h"
#include "platform/Platform.h"

namespace {
constexpr const char* kHelp = "Help...";
constexpr const char* kWebsite = "Quor Website...";
constexpr const char* kAbout = "About Quor...";
constexpr const char* kControllers = "CC list...";
}  // namespace

ContextMenu::ContextMenu(ContextMenuActions& actions, Opener openPdfFile, Opener openSite)
    : actions_(actions), openPdf_(openPdfFile), openSite_(openSite) {}

ContextMenu::~ContextMenu() = default;

bool ContextMenu::popup(CViewContainer* container, const CPoint& where, long mode) {
    if (menu_ || !container || mode != 0) return false;
    const CRect at(where.h, where.v + 2, where.h, where.v + 2);
    auto* menu = new COptionMenu(at, this, mode);
    POrinMenuScheme::applyTo(*menu);
    menu->addEntry(kHelp);
    menu->addEntry(kWebsite);
    menu->addSeparator();
    menu->addEntry(kAbout);
    menu->addEntry(kControllers);
    // The container holds the menu while it is open; popup() keeps it alive until it returns.
    container->addView(menu);
    menu_ = menu;
    const bool shown = menu->getFrame() != nullptr;
    if (shown) menu->popup();
    container->removeView(menu);
    menu_ = nullptr;
    return shown;
}

void ContextMenu::valueChanged(CControl* control) {
    if (!control || control->getTag() != 0 || !control->isTypeOf("COptionMenu")) return;
    auto* menu = static_cast<COptionMenu*>(control);
    const char* text = menu->getEntryText(menu->getCurrent());
    if (!text) return;
    if (std::strcmp(text, kAbout) == 0) {
        actions_.showAboutScreen();
    } else if (std::strcmp(text, kControllers) == 0) {
        actions_.showControllerList();
    } else if (std::strcmp(text, kWebsite) == 0) {
        open(kSitePath, openSite_);
    } else if (std::strcmp(text, kHelp) == 0) {
        open(kManualPath, openPdf_);
    }
}

void ContextMenu::open(const char* relative, Opener opener) const {
    const std::string path = besidePlugin(actions_.pluginPath(), relative);
    if (!path.empty()) opener(path.c_str());
}

std::string ContextMenu::besidePlugin(const char* pluginPath, const char* relative) {
    if (!pluginPath) return {};
    const char* name = std::strrchr(pluginPath, platform::kPathSeparator);
    if (!name) return {};
    std::string path(pluginPath, std::size_t(name + 1 - pluginPath));
    for (const char* c = relative; *c; ++c) path += *c == '/' ? platform::kPathSeparator : *c;
    return path;
}
