// The LFO page: the three layer LFOs and the master LFO.
#pragma once

#include "editor/PEditor.h"

class PLfoEditor : public PEditor {
public:
    using PEditor::PEditor;

protected:
    void drawPageImage(CDrawContext* context) override { drawPageTitle(context, "LFO"); }
};
