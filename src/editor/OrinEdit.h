// The plug-in class the entry point creates: Orin with its editor window connected.
#pragma once

#include "core/Orin.h"

class OrinEditor;

class OrinEdit : public Orin {
public:
    explicit OrinEdit(audioMasterCallback host);
    ~OrinEdit() override;

    OrinEditor* editor() const { return editor_; }

private:
    OrinEditor* editor_;
};
