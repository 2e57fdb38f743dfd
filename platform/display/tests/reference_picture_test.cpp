// The shared reference-picture comparison: matches within the tolerance,
// fails with the drawn picture and its differences written otherwise.
#include "platform/display/tests/reference_picture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr const char* kReference = "platform/display/tests/pictures/halves.png";

// The reference's own pixels: left half red, right half blue, row 6 white.
std::vector<uint32_t> Halves()
{
    std::vector<uint32_t> pixels(16 * 12);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 16; ++x) {
            pixels[y * 16 + x] = y == 6 ? 0xFFFFFFFF : (x < 8 ? 0xFFC81E1E : 0xFF1E1EC8);
        }
    }
    return pixels;
}

GdiSurface SurfaceOf(std::vector<uint32_t>& pixels, int width, int height)
{
    GdiSurface surface;
    surface.pixels = pixels.data();
    surface.width = width;
    surface.height = height;
    surface.stride = width;
    return surface;
}

std::filesystem::path Output(const std::string& reference, const char* extension)
{
    std::filesystem::path base = std::filesystem::path(NUVEX_PICTURE_OUT_DIR) / reference;
    base.replace_extension();
    return base.string() + extension;
}

// The failures these tests provoke leave pictures that nobody should accept.
void RemoveOutputs(const std::string& reference)
{
    std::filesystem::remove(Output(reference, ".out.png"));
    std::filesystem::remove(Output(reference, ".diff.png"));
}

TEST(ReferencePicture, MatchesWithinTheTolerance)
{
    struct Case {
        const char* name;
        int changedPixels;
        int channelChange;
        double fraction;
        bool matches;
    };
    const Case kCases[] = {
        {"identical", 0, 0, 0.002, true},
        {"every pixel off by less than the channel tolerance", 16 * 12, 10, 0.002, true},
        {"one pixel far off, more than the share", 1, 120, 0.002, false},
        {"one pixel far off, within a larger share", 1, 120, 0.01, true},
        {"many pixels far off", 20, 120, 0.01, false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        std::vector<uint32_t> pixels = Halves();
        for (int i = 0; i < c.changedPixels; ++i) {
            pixels[i] -= static_cast<uint32_t>(c.channelChange) << 8; // the green channel
        }
        const testing::AssertionResult result = MatchesReferencePicture(SurfaceOf(pixels, 16, 12), kReference, {16, c.fraction});
        EXPECT_EQ(static_cast<bool>(result), c.matches) << result.message();
        EXPECT_EQ(std::filesystem::exists(Output(kReference, ".out.png")), !c.matches);
        EXPECT_EQ(std::filesystem::exists(Output(kReference, ".diff.png")), !c.matches);
        RemoveOutputs(kReference);
    }
}

TEST(ReferencePicture, FailsOnAnotherSizeOrAMissingReference)
{
    std::vector<uint32_t> pixels = Halves();
    const testing::AssertionResult narrower = MatchesReferencePicture(SurfaceOf(pixels, 12, 12), kReference);
    EXPECT_FALSE(narrower);
    EXPECT_NE(std::string(narrower.message()).find("16x12"), std::string::npos) << narrower.message();
    EXPECT_TRUE(std::filesystem::exists(Output(kReference, ".out.png")));
    RemoveOutputs(kReference);

    const std::string missing = "platform/display/tests/pictures/no_such_picture.png";
    const testing::AssertionResult none = MatchesReferencePicture(SurfaceOf(pixels, 16, 12), missing);
    EXPECT_FALSE(none);
    EXPECT_TRUE(std::filesystem::exists(Output(missing, ".out.png")));
    RemoveOutputs(missing);

    EXPECT_FALSE(MatchesReferencePicture(GdiSurface{}, kReference));
    EXPECT_FALSE(MatchesReferencePicture(static_cast<HWND>(nullptr), kReference));
}

} // namespace
