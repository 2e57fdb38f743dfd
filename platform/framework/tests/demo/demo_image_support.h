// Reading screenshots back for coarse checks: regions that are not all one
// colour, and pixels near a colour. No pixel-exact comparison: fonts and
// their rendering may differ between machines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/base/types.h"

namespace demo {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // BGRA, rows top-down
};

// The PNG file at `path`; an empty image when it cannot be read.
Image LoadImage(const std::string& path);

// Pixels of `region` (clipped to the image) whose colour is not `colour`.
int CountOtherThan(const Image& image, RECT region, COLORREF colour);
// Pixels of `region` within `tolerance` of `colour` in each channel.
int CountNear(const Image& image, RECT region, COLORREF colour, int tolerance = 24);
// The colour most pixels of `region` have.
COLORREF MostCommon(const Image& image, RECT region);

// `window`'s rectangle inside the screenshot of its top-level window `top`.
RECT RectInShot(HWND window, HWND top);

// Where a test writes screenshot `name` ("name-<process id>.png" in the
// test's temporary folder, so test programs running at once do not share
// files).
std::string ShotPath(const std::string& name);
// Removes the screenshots of a test that passed, unless NUVEX_KEEP_SCREENSHOTS
// is set; a failed test keeps them for the person reading the failure.
void DiscardShots(const std::vector<std::string>& paths);

} // namespace demo
