#include "platform/display/screenshot.h"

#include <algorithm>

#include "platform/gdi/gdipng.h"
#include "platform/user/inspect.h"
#include "platform/user/winuser.h"

GdiSurface GetWindowPixels(HWND hwnd)
{
    if (IsWindow(hwnd) == FALSE) {
        return {};
    }
    HWND top = GetAncestor(hwnd, GA_ROOT);
    const GdiSurface whole = GetWindowSurface(top);
    if (whole.pixels == nullptr) {
        return {};
    }
    RECT topRect{};
    RECT rect{};
    GetWindowRect(top, &topRect);
    GetWindowRect(hwnd, &rect);
    // The window's part of its top-level window's pixels, cut to them.
    const int left = std::clamp(static_cast<int>(rect.left - topRect.left), 0, whole.width);
    const int top_ = std::clamp(static_cast<int>(rect.top - topRect.top), 0, whole.height);
    const int right = std::clamp(static_cast<int>(rect.right - topRect.left), left, whole.width);
    const int bottom = std::clamp(static_cast<int>(rect.bottom - topRect.top), top_, whole.height);
    if (right <= left || bottom <= top_) {
        return {};
    }
    GdiSurface part;
    part.pixels = whole.pixels + static_cast<size_t>(top_) * whole.stride + left;
    part.width = right - left;
    part.height = bottom - top_;
    part.stride = whole.stride;
    return part;
}

BOOL SaveWindowScreenshot(HWND hwnd, const char* path)
{
    const GdiSurface part = GetWindowPixels(hwnd);
    if (part.pixels == nullptr || path == nullptr) {
        return FALSE;
    }
    return SavePngSurface(part, path, PngAlpha::Opaque);
}
