// The preset page: the preset browser of the current program.
#pragma once

#include "editor/PEditor.h"

class PPresetEditor : public PEditor {
public:
    using PEditor::PEditor;

protected:
    void drawPageImage(CDrawContext* context) override { drawPageTitle(context, "PRESETS"); }
};
