#include "editor/OrinEdit.h"

// Editor hook: setEditor(new OrinEditor(this)) once editor/ provides the window.
OrinEdit::OrinEdit(audioMasterCallback host) : Orin(host) {}
