// editor-snapshot: the pictures of the manual, drawn by the editor itself on a headless frame.
//   editor-snapshot <output folder>
// Creates the plug-in as a host would, with the instrument library in the Quor-Data folder
// beside this program, opens its editor without a screen and writes, from the frame's back
// buffer: window.png (the whole window on the preset page), palette.png, page-presets.png,
// page-lfo.png, page-envelopes.png, page-global.png (the page area), about.png and
// controllers.png (the about screen and the controller list over the window). Animations stand
// still: the editor's clock never moves.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "PngFile.h"
#include "core/PSettings.h"
#include "editor/OrinEdit.h"
#include "editor/OrinEditor.h"
#include "gui/CFrame.h"

namespace {

const CRect kWindow(0, 0, OrinEditor::kWidth, OrinEditor::kHeight);
const CRect kPalette(10, 53, 466, 357);
const CRect kPageArea(369, 0, 735, 449);

std::intptr_t host(AEffect*, std::int32_t opcode, std::int32_t, std::intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

std::uint32_t stoppedClock() {
    return 0;
}

bool shoot(OrinEditor& editor, const std::string& folder, const char* name, const CRect& area) {
    editor.idle();
    const std::string path = folder + "/" + name;
    if (!writePng(path.c_str(), *editor.getFrame()->getBackBuffer(), area)) {
        std::fprintf(stderr, "editor-snapshot: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: editor-snapshot <output folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    const char* data = PSettings::shared().dataFolder();
    if (!std::filesystem::is_directory(data)) {
        std::fprintf(stderr, "editor-snapshot: no instrument library in %s\n", data);
        return 1;
    }
    std::filesystem::create_directories(folder);

    OrinEdit plugin(host);
    plugin.open();
    OrinEditor& editor = *plugin.editor();
    editor.setTickSource(stoppedClock);
    if (!editor.open(nullptr) || !editor.getFrame()) {
        std::fprintf(stderr, "editor-snapshot: the editor did not open\n");
        return 1;
    }
    editor.endSectorSweep();

    const struct {
        int page;
        const char* name;
    } pages[] = {
        {OrinEditor::kPresetPage, "page-presets.png"},
        {OrinEditor::kLfoPage, "page-lfo.png"},
        {OrinEditor::kEnvelopePage, "page-envelopes.png"},
        {OrinEditor::kGlobalPage, "page-global.png"},
    };
    bool ok = true;
    for (const auto& p : pages) {
        editor.showPage(p.page);
        ok = shoot(editor, folder, p.name, kPageArea) && ok;
    }
    editor.showPage(OrinEditor::kPresetPage);
    ok = shoot(editor, folder, "window.png", kWindow) && ok;
    ok = shoot(editor, folder, "palette.png", kPalette) && ok;
    // The screens cover the window until a click takes them away.
    editor.showAboutScreen();
    ok = shoot(editor, folder, "about.png", kWindow) && ok;
    editor.getFrame()->onMouseDown(CPoint(1, 1), kLButton);
    editor.showControllerList();
    ok = shoot(editor, folder, "controllers.png", kWindow) && ok;
    editor.close();
    return ok ? 0 : 1;
}
