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
