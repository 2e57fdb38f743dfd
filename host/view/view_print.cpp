// Printing and print preview of a view through an off-screen render.
#include "host/view/view_print.h"

#include <algorithm>

#include "platform/gdi/dc_guards.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/surface.h"

PaintViewState PageViewState(const PaintViewState& view, int32_t pageWidth, int32_t pageHeight)
{
    PaintViewState page = view;
    page.clientWidth = pageWidth;
    page.clientHeight = pageHeight;
    if (view.clientWidth >= 1 && view.clientHeight >= 1) {
        page.scale = view.scale * std::min(static_cast<double>(pageWidth) / view.clientWidth,
                                           static_cast<double>(pageHeight) / view.clientHeight);
    }
    return page;
}

std::vector<uint32_t> RenderSceneOffscreen(PaintViewState& view, IPaintScene& scene)
{
    if (view.clientWidth < 1 || view.clientHeight < 1) {
        return {};
    }
    std::vector<uint32_t> pixels(static_cast<size_t>(view.clientWidth) * static_cast<size_t>(view.clientHeight));
    const GdiSurface surface{pixels.data(), view.clientWidth, view.clientHeight, view.clientWidth};
    HDC dc = CreateSurfaceDC(surface, POINT{0, 0}, RECT{0, 0, view.clientWidth, view.clientHeight});
    if (dc == nullptr) {
        return {};
    }
    CViewGLContext setup(SystemGLCalls());
    HDC previousDC = nullptr;
    HGLRC previousContext = nullptr;
    setup.GetCurrentContext(&previousDC, &previousContext);
    // The plain modifier kind: a page shows no modifier feedback.
    const PaintOutcome outcome = PaintGLScene(setup, dc, view, scene, 1, previousDC, previousContext);
    DeleteSurfaceDC(dc);
    if (outcome != PaintOutcome::Drawn) {
        return {};
    }
    return pixels;
}

BOOL PrintScene(HDC dc, const RECT& page, const PaintViewState& view, IPaintScene& scene)
{
    const int32_t width = page.right - page.left;
    const int32_t height = page.bottom - page.top;
    if (dc == nullptr || width < 1 || height < 1) {
        return FALSE;
    }
    PaintViewState pageView = PageViewState(view, width, height);
    std::vector<uint32_t> pixels = RenderSceneOffscreen(pageView, scene);
    if (pixels.empty()) {
        return FALSE;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr || bits == nullptr) {
        return FALSE;
    }
    std::copy(pixels.begin(), pixels.end(), static_cast<uint32_t*>(bits));
    BOOL copied = FALSE;
    {
        const MemoryDC source(dc);
        const SelectedObject selected(source.Get(), bitmap);
        copied = BitBlt(dc, page.left, page.top, width, height, source.Get(), 0, 0, SRCCOPY);
    }
    DeleteObject(bitmap);
    return copied;
}
