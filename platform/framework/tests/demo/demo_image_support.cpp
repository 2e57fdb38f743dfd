#include "platform/framework/tests/demo/demo_image_support.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "platform/gdi/gdi.h"
#include "platform/gdi/gdipng.h"
#include "platform/user/winuser.h"

namespace demo {

namespace {

COLORREF ColourOf(uint32_t pixel) { return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF); }

// Calls `visit` with each pixel of `region` inside the image.
template <typename Visit>
void ForEach(const Image& image, RECT region, Visit visit)
{
    const int left = std::max<int>(0, region.left);
    const int top = std::max<int>(0, region.top);
    const int right = std::min<int>(image.width, region.right);
    const int bottom = std::min<int>(image.height, region.bottom);
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            visit(ColourOf(image.pixels[static_cast<size_t>(y) * image.width + x]));
        }
    }
}

} // namespace

Image LoadImage(const std::string& path)
{
    Image image;
    HBITMAP bitmap = LoadPngBitmapFile(path.c_str());
    if (bitmap == nullptr) {
        return image;
    }
    BITMAP info{};
    GetObjectA(bitmap, sizeof(info), &info);
    image.width = info.bmWidth;
    image.height = info.bmHeight;
    image.pixels.resize(static_cast<size_t>(image.width) * image.height);
    const LONG bytes = static_cast<LONG>(image.pixels.size() * sizeof(uint32_t));
    if (info.bmBitsPixel != 32 || GetBitmapBits(bitmap, bytes, image.pixels.data()) != bytes) {
        image = Image{};
    }
    DeleteObject(bitmap);
    return image;
}

int CountOtherThan(const Image& image, RECT region, COLORREF colour)
{
    int count = 0;
    ForEach(image, region, [&](COLORREF pixel) { count += pixel != colour ? 1 : 0; });
    return count;
}

int CountNear(const Image& image, RECT region, COLORREF colour, int tolerance)
{
    int count = 0;
    ForEach(image, region, [&](COLORREF pixel) {
        const bool near = std::abs(GetRValue(pixel) - GetRValue(colour)) <= tolerance &&
                          std::abs(GetGValue(pixel) - GetGValue(colour)) <= tolerance &&
                          std::abs(GetBValue(pixel) - GetBValue(colour)) <= tolerance;
        count += near ? 1 : 0;
    });
    return count;
}

COLORREF MostCommon(const Image& image, RECT region)
{
    std::map<COLORREF, int> counts;
    ForEach(image, region, [&](COLORREF pixel) { ++counts[pixel]; });
    COLORREF best = 0;
    int most = -1;
    for (const auto& [colour, count] : counts) {
        if (count > most) {
            best = colour;
            most = count;
        }
    }
    return best;
}

RECT RectInShot(HWND window, HWND top)
{
    RECT rect{};
    RECT origin{};
    GetWindowRect(window, &rect);
    GetWindowRect(top, &origin);
    OffsetRect(&rect, -origin.left, -origin.top);
    return rect;
}

std::string ShotPath(const std::string& name)
{
    return ::testing::TempDir() + name + "-" + std::to_string(getpid()) + ".png";
}

void DiscardShots(const std::vector<std::string>& paths)
{
    if (std::getenv("NUVEX_KEEP_SCREENSHOTS") != nullptr || ::testing::Test::HasFailure()) {
        return;
    }
    for (const std::string& path : paths) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
}

} // namespace demo
