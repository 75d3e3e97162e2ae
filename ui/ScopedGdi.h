// Owners for the icon, GDI and image-list handles the view creates, in the
// manner of the model's registry and kernel handle owners.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "model/Scoped.h"

struct IconTraits {
    static HICON Invalid() { return nullptr; }
    static void Close(HICON icon) { DestroyIcon(icon); }
};
template <typename Object>
struct GdiObjectTraits {
    static Object Invalid() { return nullptr; }
    static void Close(Object object) { DeleteObject(object); }
};
struct ImageListTraits {
    static HIMAGELIST Invalid() { return nullptr; }
    static void Close(HIMAGELIST list) { ImageList_Destroy(list); }
};

using ScopedIcon = ScopedHandle<HICON, IconTraits>;
using ScopedFont = ScopedHandle<HFONT, GdiObjectTraits<HFONT>>;
using ScopedBitmap = ScopedHandle<HBITMAP, GdiObjectTraits<HBITMAP>>;
using ScopedImageList = ScopedHandle<HIMAGELIST, ImageListTraits>;

struct MenuTraits {
    static HMENU Invalid() { return nullptr; }
    static void Close(HMENU menu) { DestroyMenu(menu); }
};
struct AcceleratorTraits {
    static HACCEL Invalid() { return nullptr; }
    static void Close(HACCEL table) { DestroyAcceleratorTable(table); }
};
using ScopedMenu = ScopedHandle<HMENU, MenuTraits>;
using ScopedAccelerators = ScopedHandle<HACCEL, AcceleratorTraits>;

// A window's device context for the length of a scope, with the font
// selected into it taken out again at the end.
class ScopedWindowDC {
public:
    explicit ScopedWindowDC(HWND window, HFONT font = nullptr) : window_(window), dc_(GetDC(window))
    {
        if (dc_ && font)
            oldFont_ = SelectObject(dc_, font);
    }
    ~ScopedWindowDC()
    {
        if (oldFont_)
            SelectObject(dc_, oldFont_);
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    ScopedWindowDC(const ScopedWindowDC&) = delete;
    ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
    HGDIOBJ oldFont_ = nullptr;
};
