// Pieces the Win32 windows share: this module's handle, window classes, the modifier state and
// blitting a bitmap.
#pragma once

#include <windows.h>

#include "gui/GuiTypes.h"

class CBitmap;

namespace win32 {

HINSTANCE moduleHandle();
// Registers (once per module and prefix) a class with `procedure`; null on failure.
const char* windowClass(const char* prefix, WNDPROC procedure);
// The object a window was created for (its creation parameter, stored on WM_NCCREATE); null
// before that and after the object cleared it.
void* windowObject(HWND window, UINT message, LPARAM lParam);
bool keyDown(int virtualKey);
// Shift, Control, Alt and the secondary-click modifier as CButton bits.
long modifierButtons();
// The buttons and modifiers of a press message's wParam.
long pressButtons(WPARAM wParam);
// Draws the part `rect` of `pixels` at the same place in `dc`.
void blit(HDC dc, const CBitmap& pixels, const CRect& rect);

}  // namespace win32
