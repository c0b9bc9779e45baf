// The envelope page: the multi-point envelopes of the three layers.
#pragma once

#include "editor/PEditor.h"

class PAdsrEditor : public PEditor {
public:
    using PEditor::PEditor;

protected:
    void drawPageImage(CDrawContext* context) override { drawPageTitle(context, "ENVELOPES"); }
};
