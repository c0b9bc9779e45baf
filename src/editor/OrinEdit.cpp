#include "editor/OrinEdit.h"

#include "editor/OrinEditor.h"

OrinEdit::OrinEdit(audioMasterCallback host) : Orin(host), editor_(new OrinEditor(*this)) {
    setEditor(editor_);
    setEditorLink(editor_);
}

OrinEdit::~OrinEdit() {
    // The editor goes first, while the plug-in it shows is still whole.
    setEditorLink(nullptr);
    setEditor(nullptr);
}
