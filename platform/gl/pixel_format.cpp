// Pixel formats: the offered table, choosing the best match for a request,
// describing one, and setting one on a DC's window.
#include "platform/gl/pixel_format.h"

#include <array>
#include <mutex>
#include <tuple>
#include <unordered_map>

#include "platform/gl/dc_link.h"

namespace gl {
namespace {

// Every format renders into the same off-screen image: 8 bits per channel
// (blue in the lowest byte, as surfaces store pixels), 24 depth bits and 8
// stencil bits. They differ in where they may draw and in buffering; a swap
// copies the image and keeps it, hence PFD_SWAP_COPY.
constexpr PIXELFORMATDESCRIPTOR Format(DWORD flags)
{
    PIXELFORMATDESCRIPTOR d{};
    d.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    d.nVersion = 1;
    d.dwFlags = flags;
    d.iPixelType = PFD_TYPE_RGBA;
    d.cColorBits = 32;
    d.cRedBits = 8;
    d.cRedShift = 16;
    d.cGreenBits = 8;
    d.cGreenShift = 8;
    d.cBlueBits = 8;
    d.cBlueShift = 0;
    d.cAlphaBits = 8;
    d.cAlphaShift = 24;
    d.cDepthBits = 24;
    d.cStencilBits = 8;
    d.iLayerType = PFD_MAIN_PLANE;
    return d;
}

constexpr std::array<PIXELFORMATDESCRIPTOR, 3> kFormats = {
    Format(PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER | PFD_SWAP_COPY),
    Format(PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL),
    Format(PFD_DRAW_TO_BITMAP | PFD_SUPPORT_OPENGL | PFD_SUPPORT_GDI),
};
constexpr int kFormatCount = static_cast<int>(kFormats.size());

// Flags a request may insist on: a format without one of them never fits.
constexpr DWORD kRequiredFlags = PFD_DRAW_TO_WINDOW | PFD_DRAW_TO_BITMAP | PFD_SUPPORT_GDI | PFD_SUPPORT_OPENGL;

const PIXELFORMATDESCRIPTOR* FormatAt(int index)
{
    return index >= 1 && index <= kFormatCount ? &kFormats[static_cast<size_t>(index - 1)] : nullptr;
}

// Formats set so far, by window (or by DC). Nothing tells this layer when a
// window or DC goes away, so entries stay; a new one at the same address
// starts with that format, which only ever lets a context be made without
// setting the format first.
struct FormatTable {
    std::mutex lock;
    std::unordered_map<const void*, int> byOwner;
};

FormatTable& Table()
{
    static FormatTable* table = new FormatTable;  // lives until exit, never torn down under a caller
    return *table;
}

// How far `offered` is from `request`, smaller is better, compared field
// by field: buffering as asked, then missing depth, colour, stencil and
// alpha bits, then surplus bits.
auto Distance(const PIXELFORMATDESCRIPTOR& request, const PIXELFORMATDESCRIPTOR& offered)
{
    const bool wantDouble = (request.dwFlags & PFD_DOUBLEBUFFER) != 0;
    const bool hasDouble = (offered.dwFlags & PFD_DOUBLEBUFFER) != 0;
    const int bufferMismatch = (request.dwFlags & PFD_DOUBLEBUFFER_DONTCARE) == 0 && wantDouble != hasDouble ? 1 : 0;
    const int depthMissing =
        (request.dwFlags & PFD_DEPTH_DONTCARE) == 0 && request.cDepthBits > offered.cDepthBits ? 1 : 0;
    const int colourMissing = request.cColorBits > offered.cColorBits ? 1 : 0;
    const int stencilMissing = request.cStencilBits > offered.cStencilBits ? 1 : 0;
    const int alphaMissing = request.cAlphaBits > offered.cAlphaBits ? 1 : 0;
    const int surplus = (offered.cDepthBits - request.cDepthBits) + (offered.cStencilBits - request.cStencilBits);
    return std::make_tuple(bufferMismatch, depthMissing, colourMissing, stencilMissing, alphaMissing,
                           surplus < 0 ? -surplus : surplus);
}

}  // namespace

int FormatOfDC(HDC dc)
{
    bool memory = false;
    if (!IsDC(dc, memory)) return 0;
    FormatTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    auto it = table.byOwner.find(DcOwner(dc));
    return it == table.byOwner.end() ? 0 : it->second;
}

}  // namespace gl

using namespace gl;

int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor)
{
    bool memory = false;
    if (descriptor == nullptr || !IsDC(dc, memory)) return 0;
    int best = 0;
    for (int index = 1; index <= kFormatCount; ++index) {
        const PIXELFORMATDESCRIPTOR& offered = *FormatAt(index);
        if ((descriptor->dwFlags & kRequiredFlags & ~offered.dwFlags) != 0) continue;
        if (descriptor->iPixelType != offered.iPixelType) continue;
        if (best == 0 || Distance(*descriptor, offered) < Distance(*descriptor, *FormatAt(best))) best = index;
    }
    return best;
}

BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR*)
{
    bool memory = false;
    const PIXELFORMATDESCRIPTOR* offered = FormatAt(format);
    if (offered == nullptr || !IsDC(dc, memory)) return FALSE;
    const DWORD needed = memory ? PFD_DRAW_TO_BITMAP : PFD_DRAW_TO_WINDOW;
    if ((offered->dwFlags & needed) == 0) return FALSE;
    FormatTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    table.byOwner[DcOwner(dc)] = format;
    return TRUE;
}

int GetPixelFormat(HDC dc) { return FormatOfDC(dc); }

int DescribePixelFormat(HDC dc, int format, UINT size, LPPIXELFORMATDESCRIPTOR descriptor)
{
    bool memory = false;
    if (!IsDC(dc, memory)) return 0;
    if (descriptor == nullptr) return kFormatCount;
    const PIXELFORMATDESCRIPTOR* offered = FormatAt(format);
    if (offered == nullptr || size < sizeof(PIXELFORMATDESCRIPTOR)) return 0;
    *descriptor = *offered;
    return kFormatCount;
}
