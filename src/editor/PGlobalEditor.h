// The global page: effects, voices, tuning and the modulation wheel.
#pragma once

#include "editor/PEditor.h"

class PGlobalEditor : public PEditor {
public:
    using PEditor::PEditor;

protected:
    void drawPageImage(CDrawContext* context) override { drawPageTitle(context, "GLOBAL"); }
};
