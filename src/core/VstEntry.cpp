// The module's exported entry: hosts call VSTPluginMain (older ones main) with their callback and
// receive the plug-in's AEffect record, or null when the plug-in cannot start.
#include <new>

#include "editor/OrinEdit.h"

namespace {

AEffect* createPlugin(audioMasterCallback host) {
    if (!host) return nullptr;
    try {
        if (host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
        OrinEdit* plugin = new (std::nothrow) OrinEdit(host);
        if (!plugin) return nullptr;
        if (plugin->getMasterVersion() == 0) {
            delete plugin;
            return nullptr;
        }
        return plugin->getAeffect();
    } catch (...) {
        return nullptr;
    }
}

}  // namespace

extern "C" AEffect* VSTPluginMain(audioMasterCallback host) {
    return createPlugin(host);
}

// The same entry under the name "main". A C++ function cannot be called main, so the symbol
// name is given to the assembler directly.
extern "C" AEffect* legacyMainEntry(audioMasterCallback host) __asm__("main");
extern "C" AEffect* legacyMainEntry(audioMasterCallback host) {
    return createPlugin(host);
}
