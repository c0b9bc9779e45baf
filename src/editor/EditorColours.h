// The colours of the editor's dark look that many views share: text, quieter captions, and the
// dark fields values are written into.
#pragma once

#include "gui/GuiTypes.h"

inline constexpr CColor kEditorInk{228, 231, 236, 255};
inline constexpr CColor kEditorCaption{154, 162, 174, 255};
inline constexpr CColor kEditorField{18, 20, 24, 255};
