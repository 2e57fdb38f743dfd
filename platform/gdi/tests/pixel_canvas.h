// Test helpers for pixel tests: a memory DC with a 32-bit bitmap, pixel
// reads as COLORREF, counts over rectangles, and a text picture of a region
// for failure messages.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/gdi/gdi.h"

namespace gdi_test {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// A memory DC drawing on a colour bitmap, cleared to `background`.
class Canvas {
public:
    Canvas(int width, int height, COLORREF background = kWhite) : m_width(width), m_height(height)
    {
        m_dc = CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
        m_old = SelectObject(m_dc, m_bitmap);
        Clear(background);
    }
    ~Canvas()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return m_dc; }
    HBITMAP bitmap() const { return m_bitmap; }
    int width() const { return m_width; }
    int height() const { return m_height; }

    void Clear(COLORREF color)
    {
        const RECT all{0, 0, m_width, m_height};
        FillSolidRect(m_dc, &all, color);
    }
    // The pixel as stored, whatever the DC's clip or origin.
    COLORREF At(int x, int y) const
    {
        GdiSurface s{};
        GetBitmapSurface(m_bitmap, &s);
        const uint32_t p = s.pixels[y * s.stride + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    int Count(const RECT& r, COLORREF color) const
    {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += At(x, y) == color ? 1 : 0;
        return n;
    }
    int CountAll(COLORREF color) const { return Count({0, 0, m_width, m_height}, color); }
    int CountNot(COLORREF color) const { return m_width * m_height - CountAll(color); }
    // The box around every pixel that differs from `background` (empty when none).
    RECT InkBox(COLORREF background) const
    {
        RECT box{m_width, m_height, 0, 0};
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                if (At(x, y) != background) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        if (box.right == 0) return {0, 0, 0, 0};
        return box;
    }
    // A picture of the canvas: '.' for `background`, '#' for `ink`, '?' otherwise.
    std::string Picture(COLORREF background, COLORREF ink) const
    {
        std::string out;
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x) {
                const COLORREF c = At(x, y);
                out += c == background ? '.' : (c == ink ? '#' : '?');
            }
            out += '\n';
        }
        return out;
    }

private:
    int m_width;
    int m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
};

// Asserts that exactly the pixels of `rect` (clipped to the canvas) have
// `color`, and every other pixel has `background`.
inline void ExpectExactlyRect(const Canvas& canvas, const RECT& rect, COLORREF color, COLORREF background)
{
    int wrong = 0;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const bool inside = x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
            if (canvas.At(x, y) != (inside ? color : background)) ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0) << canvas.Picture(background, color);
}

// Compares a canvas against a picture ('.' background, '#' ink) of the same size.
inline void ExpectPicture(const Canvas& canvas, const std::string& expected, COLORREF background, COLORREF ink)
{
    EXPECT_EQ(canvas.Picture(background, ink), expected);
}

}  // namespace gdi_test
