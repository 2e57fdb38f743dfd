// Pixel formats: the descriptor record, choosing, describing and setting.
// None of this needs a renderer.
#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gl/wgl.h"

namespace {

// The request a view makes for its window: double-buffered RGBA with 24
// colour and 32 depth bits on the main plane.
PIXELFORMATDESCRIPTOR ViewRequest()
{
    PIXELFORMATDESCRIPTOR request{};
    request.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    request.nVersion = 1;
    request.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    request.iPixelType = PFD_TYPE_RGBA;
    request.cColorBits = 24;
    request.cDepthBits = 32;
    request.iLayerType = PFD_MAIN_PLANE;
    return request;
}

struct SurfaceDC {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(16 * 16);
    HDC dc = CreateSurfaceDC(GdiSurface{pixels.data(), 16, 16, 16}, {0, 0}, {0, 0, 16, 16});
    ~SurfaceDC() { DeleteSurfaceDC(dc); }
};

struct MemoryDC {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(8, 8, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    ~MemoryDC()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
};

PIXELFORMATDESCRIPTOR Describe(HDC dc, int format)
{
    PIXELFORMATDESCRIPTOR d{};
    EXPECT_GT(DescribePixelFormat(dc, format, sizeof(d), &d), 0);
    return d;
}

}  // namespace

TEST(PixelFormatDescriptor, IsTheFortyByteRecord)
{
    EXPECT_EQ(sizeof(PIXELFORMATDESCRIPTOR), 40u);
    EXPECT_EQ(offsetof(PIXELFORMATDESCRIPTOR, dwFlags), 4u);
    EXPECT_EQ(offsetof(PIXELFORMATDESCRIPTOR, iPixelType), 8u);
    EXPECT_EQ(offsetof(PIXELFORMATDESCRIPTOR, cDepthBits), 23u);
    EXPECT_EQ(offsetof(PIXELFORMATDESCRIPTOR, iLayerType), 26u);
    EXPECT_EQ(offsetof(PIXELFORMATDESCRIPTOR, dwLayerMask), 28u);
    EXPECT_EQ(offsetof(PIXELFORMATDESCRIPTOR, dwDamageMask), 36u);
    EXPECT_EQ(PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER, 0x25u);
}

TEST(ChoosePixelFormat, PicksAFormatWithWhatTheRequestInsistsOn)
{
    SurfaceDC window;
    struct Case {
        const char* name;
        DWORD flags;
        BYTE pixelType;
        bool fits;
        bool doubleBuffered;
    };
    const Case kCases[] = {
        {"view_window", PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER, PFD_TYPE_RGBA, true, true},
        {"single_buffered", PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL, PFD_TYPE_RGBA, true, false},
        {"buffering_dont_care", PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER_DONTCARE, PFD_TYPE_RGBA,
         true, true},
        {"bitmap", PFD_DRAW_TO_BITMAP | PFD_SUPPORT_OPENGL | PFD_SUPPORT_GDI, PFD_TYPE_RGBA, true, false},
        {"window_and_bitmap", PFD_DRAW_TO_WINDOW | PFD_DRAW_TO_BITMAP, PFD_TYPE_RGBA, false, false},
        {"colour_index", PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL, PFD_TYPE_COLORINDEX, false, false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        PIXELFORMATDESCRIPTOR request = ViewRequest();
        request.dwFlags = c.flags;
        request.iPixelType = c.pixelType;
        const int format = ChoosePixelFormat(window.dc, &request);
        if (!c.fits) {
            EXPECT_EQ(format, 0);
            continue;
        }
        ASSERT_GT(format, 0);
        const PIXELFORMATDESCRIPTOR got = Describe(window.dc, format);
        const DWORD insisted = c.flags & (PFD_DRAW_TO_WINDOW | PFD_DRAW_TO_BITMAP | PFD_SUPPORT_OPENGL | PFD_SUPPORT_GDI);
        EXPECT_EQ(got.dwFlags & insisted, insisted);
        EXPECT_EQ((got.dwFlags & PFD_DOUBLEBUFFER) != 0, c.doubleBuffered);
        EXPECT_EQ(got.iPixelType, PFD_TYPE_RGBA);
        EXPECT_GE(got.cColorBits, 24);
        EXPECT_GE(got.cDepthBits, 24);
        EXPECT_EQ(got.iLayerType, PFD_MAIN_PLANE);
    }
    PIXELFORMATDESCRIPTOR request = ViewRequest();
    EXPECT_EQ(ChoosePixelFormat(nullptr, &request), 0);
    EXPECT_EQ(ChoosePixelFormat(window.dc, nullptr), 0);
}

TEST(DescribePixelFormat, CountsFormatsAndRefusesWhatItCannotFill)
{
    SurfaceDC window;
    const int count = DescribePixelFormat(window.dc, 1, 0, nullptr);
    ASSERT_GE(count, 1);
    PIXELFORMATDESCRIPTOR d{};
    for (int format = 1; format <= count; ++format) {
        SCOPED_TRACE(format);
        d = {};
        EXPECT_EQ(DescribePixelFormat(window.dc, format, sizeof(d), &d), count);
        EXPECT_EQ(d.nSize, sizeof(PIXELFORMATDESCRIPTOR));
        EXPECT_EQ(d.nVersion, 1);
        EXPECT_NE(d.dwFlags & PFD_SUPPORT_OPENGL, 0u);
        // Blue in the lowest byte, as surfaces store pixels.
        EXPECT_EQ(d.cBlueShift, 0);
        EXPECT_EQ(d.cGreenShift, 8);
        EXPECT_EQ(d.cRedShift, 16);
    }
    d = {};
    EXPECT_EQ(DescribePixelFormat(window.dc, 0, sizeof(d), &d), 0);
    EXPECT_EQ(DescribePixelFormat(window.dc, count + 1, sizeof(d), &d), 0);
    EXPECT_EQ(DescribePixelFormat(window.dc, 1, sizeof(d) - 1, &d), 0);
    EXPECT_EQ(d.nSize, 0) << "a refused call leaves the record alone";
    EXPECT_EQ(DescribePixelFormat(nullptr, 1, sizeof(d), &d), 0);
}

TEST(SetPixelFormat, WindowFormatsGoToSurfaceDCsAndBitmapFormatsToMemoryDCs)
{
    SurfaceDC window;
    MemoryDC memory;
    PIXELFORMATDESCRIPTOR request = ViewRequest();
    const int windowFormat = ChoosePixelFormat(window.dc, &request);
    request.dwFlags = PFD_DRAW_TO_BITMAP | PFD_SUPPORT_OPENGL;
    const int bitmapFormat = ChoosePixelFormat(memory.dc, &request);
    ASSERT_GT(windowFormat, 0);
    ASSERT_GT(bitmapFormat, 0);
    ASSERT_NE(windowFormat, bitmapFormat);

    EXPECT_TRUE(SetPixelFormat(window.dc, windowFormat, &request));
    EXPECT_FALSE(SetPixelFormat(window.dc, bitmapFormat, nullptr));
    EXPECT_FALSE(SetPixelFormat(window.dc, 0, nullptr));
    EXPECT_FALSE(SetPixelFormat(window.dc, 1000, nullptr));
    EXPECT_EQ(GetPixelFormat(window.dc), windowFormat);
    // A view sets the same format on every paint.
    EXPECT_TRUE(SetPixelFormat(window.dc, windowFormat, &request));

    EXPECT_FALSE(SetPixelFormat(memory.dc, windowFormat, nullptr));
    EXPECT_TRUE(SetPixelFormat(memory.dc, bitmapFormat, nullptr));
    EXPECT_EQ(GetPixelFormat(memory.dc), bitmapFormat);

    EXPECT_FALSE(SetPixelFormat(nullptr, windowFormat, nullptr));
    EXPECT_EQ(GetPixelFormat(nullptr), 0);
}
