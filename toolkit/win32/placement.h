#pragma once

// Where the windows of the Windows front-end go on the screen, their size, and how they come
// to the front.

#include <windows.h>

namespace toolkit::win32 {

// Shows a window, restored, brings it to the front and makes it active.
void showInFront(HWND window);

// Centres a window by its frame on the work area of its owner's monitor, or of its own, with
// the frame's top-left corner on the area.
void centreByFrame(HWND window, HWND owner);

// Sizes a window's frame so that its client area has this size in pixels, also where its
// menu bar wraps onto more than one row.
void fitClientArea(HWND window, SIZE client);

// The frame of a client area of the window's at another DPI, of the same size in twips: the
// title and menu bars do not grow in proportion, as Windows' own scaling of the frame has it.
SIZE frameAtDpi(HWND window, UINT dpi);

} // namespace toolkit::win32
