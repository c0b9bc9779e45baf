// The plug-in class the entry point creates: Orin plus its editor. The editor window is not
// written yet, so no editor is installed and the has-editor flag stays off.
#pragma once

#include "core/Orin.h"

class OrinEdit : public Orin {
public:
    explicit OrinEdit(audioMasterCallback host);
};
