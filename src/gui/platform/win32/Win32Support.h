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
// Whether a key is down now (for tracking loops, which read the live state)...
bool keyDown(int virtualKey);
// ...and as of the message being handled (for key and press messages: the live state may
// already be past them, e.g. Alt released right after an Alt-click).
bool keyDownAtMessage(int virtualKey);
// Shift, Control, Alt and the secondary-click modifier as CButton bits, live or at the message.
long modifierButtons(bool live);
// The buttons and modifiers of a press message's wParam.
long pressButtons(WPARAM wParam);
// Draws the part `rect` of `pixels` at the same place in `dc`.
void blit(HDC dc, const CBitmap& pixels, const CRect& rect);

}  // namespace win32
