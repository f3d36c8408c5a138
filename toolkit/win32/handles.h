#pragma once

// Owning wrappers for the handles of user32 and gdi32: each frees its handle with the
// function that the handle's kind needs, once, when the wrapper goes.

#include <windows.h>

#include <memory>
#include <type_traits>

namespace toolkit::win32 {

template <auto Free> struct HandleFree {
    template <class T> void operator()(T* handle) const noexcept { Free(handle); }
};

template <class Handle, auto Free>
using Owned = std::unique_ptr<std::remove_pointer_t<Handle>, HandleFree<Free>>;

using WindowHandle = Owned<HWND, DestroyWindow>;
using MenuHandle = Owned<HMENU, DestroyMenu>;
using IconHandle = Owned<HICON, DestroyIcon>;
using FontHandle = Owned<HFONT, DeleteObject>;
using PenHandle = Owned<HPEN, DeleteObject>;
using BrushHandle = Owned<HBRUSH, DeleteObject>;
using BitmapHandle = Owned<HBITMAP, DeleteObject>;
using MemoryDc = Owned<HDC, DeleteDC>;

// The screen's device context, released when it goes.
struct ReleaseScreenDc {
    void operator()(HDC dc) const noexcept { ReleaseDC(nullptr, dc); }
};
using ScreenDc = std::unique_ptr<HDC__, ReleaseScreenDc>;

// An object selected into a device context for a scope, the previous one put back after.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object)
        : dc_(dc)
        , previous_(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(dc_, previous_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A window's painting between WM_PAINT's BeginPaint and EndPaint.
class Painting {
public:
    explicit Painting(HWND window)
        : window_(window) {
        BeginPaint(window_, &paint_);
    }
    ~Painting() { EndPaint(window_, &paint_); }
    Painting(const Painting&) = delete;
    Painting& operator=(const Painting&) = delete;

    HDC dc() const { return paint_.hdc; }
    const RECT& dirty() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
};

} // namespace toolkit::win32
