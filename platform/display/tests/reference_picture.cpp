// Reference picture comparison: load, compare within a tolerance, and on a
// mismatch write the drawn pixels and their differences for review.
#include "platform/display/tests/reference_picture.h"

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/display/screenshot.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/gdipng.h"

namespace {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // BGRA, rows top-down
};

// Differing pixels are painted in this colour on a faded copy of the
// reference, so a person sees where they lie.
constexpr uint32_t kDiffMark = 0xFFFF00FF;

Picture Load(const std::string& path)
{
    Picture picture;
    HBITMAP bitmap = LoadPngBitmapFile(path.c_str());
    if (bitmap == nullptr) {
        return picture;
    }
    BITMAP info{};
    GetObjectA(bitmap, sizeof(info), &info);
    picture.width = info.bmWidth;
    picture.height = info.bmHeight;
    picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
    const LONG bytes = static_cast<LONG>(picture.pixels.size() * sizeof(uint32_t));
    if (info.bmBitsPixel != 32 || GetBitmapBits(bitmap, bytes, picture.pixels.data()) != bytes) {
        picture = Picture{};
    }
    DeleteObject(bitmap);
    return picture;
}

Picture Copy(const GdiSurface& surface)
{
    Picture picture;
    if (surface.pixels == nullptr || surface.width <= 0 || surface.height <= 0) {
        return picture;
    }
    picture.width = surface.width;
    picture.height = surface.height;
    picture.pixels.reserve(static_cast<size_t>(surface.width) * surface.height);
    for (int y = 0; y < surface.height; ++y) {
        const uint32_t* row = surface.pixels + static_cast<size_t>(y) * surface.stride;
        picture.pixels.insert(picture.pixels.end(), row, row + surface.width);
    }
    return picture;
}

bool Save(Picture& picture, const std::filesystem::path& path)
{
    GdiSurface surface;
    surface.pixels = picture.pixels.data();
    surface.width = picture.width;
    surface.height = picture.height;
    surface.stride = picture.width;
    return SavePngSurface(surface, path.string().c_str(), PngAlpha::Opaque) != FALSE;
}

int Channel(uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

bool Differs(uint32_t a, uint32_t b, int channel)
{
    for (int shift : {0, 8, 16}) {
        if (std::abs(Channel(a, shift) - Channel(b, shift)) > channel) {
            return true;
        }
    }
    return false;
}

uint32_t Faded(uint32_t pixel)
{
    uint32_t out = 0xFF000000;
    for (int shift : {0, 8, 16}) {
        out |= static_cast<uint32_t>(160 + Channel(pixel, shift) * 95 / 255) << shift;
    }
    return out;
}

std::filesystem::path OutputBase(const std::string& reference)
{
    std::filesystem::path base = std::filesystem::path(NUVEX_PICTURE_OUT_DIR) / reference;
    base.replace_extension();
    return base;
}

} // namespace

testing::AssertionResult MatchesReferencePicture(const GdiSurface& pixels, const std::string& reference,
                                                 PictureTolerance tolerance)
{
    Picture drawn = Copy(pixels);
    if (drawn.pixels.empty()) {
        return testing::AssertionFailure() << "nothing was drawn to compare with " << reference;
    }
    const std::filesystem::path referencePath = std::filesystem::path(NUVEX_TEST_SOURCE_DIR) / reference;
    const Picture expected = Load(referencePath.string());

    const std::filesystem::path base = OutputBase(reference);
    const std::filesystem::path outPath = base.string() + ".out.png";
    const std::filesystem::path diffPath = base.string() + ".diff.png";
    std::error_code ignored;
    std::filesystem::remove(outPath, ignored);
    std::filesystem::remove(diffPath, ignored);

    size_t differing = 0;
    const bool sameSize = expected.width == drawn.width && expected.height == drawn.height;
    Picture diff;
    if (sameSize) {
        diff = expected;
        for (size_t i = 0; i < drawn.pixels.size(); ++i) {
            const bool other = Differs(drawn.pixels[i], expected.pixels[i], tolerance.channel);
            differing += other ? 1 : 0;
            diff.pixels[i] = other ? kDiffMark : Faded(expected.pixels[i]);
        }
        const double share = static_cast<double>(differing) / static_cast<double>(drawn.pixels.size());
        if (share <= tolerance.fraction) {
            return testing::AssertionSuccess();
        }
    }

    std::filesystem::create_directories(base.parent_path(), ignored);
    const bool wroteOut = Save(drawn, outPath);
    const bool wroteDiff = sameSize && Save(diff, diffPath);
    testing::AssertionResult failure = testing::AssertionFailure();
    if (expected.pixels.empty()) {
        failure << "no reference picture " << reference;
    } else if (!sameSize) {
        failure << reference << " is " << expected.width << "x" << expected.height << ", the drawing "
                << drawn.width << "x" << drawn.height;
    } else {
        failure << differing << " of " << drawn.pixels.size() << " pixels differ from " << reference
                << " (channel tolerance " << tolerance.channel << ")";
    }
    if (wroteOut) {
        failure << "; drawn: " << outPath.string();
    }
    if (wroteDiff) {
        failure << "; differences: " << diffPath.string();
    }
    failure << "; bash tools/accept_pictures.sh accepts reviewed pictures";
    return failure;
}

testing::AssertionResult MatchesReferencePicture(HWND window, const std::string& reference,
                                                 PictureTolerance tolerance)
{
    const GdiSurface pixels = GetWindowPixels(window);
    if (pixels.pixels == nullptr) {
        return testing::AssertionFailure() << "no window pixels to compare with " << reference;
    }
    return MatchesReferencePicture(pixels, reference, tolerance);
}
