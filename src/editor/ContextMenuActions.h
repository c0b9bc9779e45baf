// What the context menu asks of the editor window around it.
#pragma once

class ContextMenuActions {
public:
    virtual ~ContextMenuActions() = default;
    virtual void showAboutScreen() = 0;
    virtual void showControllerList() = 0;
    // The plug-in module's full path (the settings' PluginPath resolved); null or empty when it
    // is not known. The manual lies in "documentation" beside it.
    virtual const char* pluginPath() const = 0;
};
