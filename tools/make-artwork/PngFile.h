// Writes a bitmap, or a part of it, as an opaque 8-bit RGBA PNG file.
#pragma once

#include "gui/GuiTypes.h"

class CBitmap;

// `area` is cut to the bitmap; false when nothing is left or the file cannot be written.
bool writePng(const char* path, const CBitmap& bitmap, const CRect& area);
