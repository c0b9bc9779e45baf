// Puts a part of a bitmap's pixels (0x00RRGGBB words) into an X11 window at the same place.
#pragma once

#include <X11/Xlib.h>

#include "gui/GuiTypes.h"

class CBitmap;

void putBitmap(Display* display, Window window, Visual* visual, int depth, CBitmap& pixels,
               const CRect& rect);
