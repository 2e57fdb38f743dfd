// Reference pictures for GUI tests: what a window or a surface shows,
// compared with a reviewed PNG kept in the source tree.
//
// A reference is named by its path relative to the source root
// ("host/menulook/tests/pictures/popup_style_8.png"). When it is missing or
// the pixels differ beyond the tolerance, the comparison writes what was
// drawn and a picture of the differences under the build folder's
// pictures/ folder, at the same relative path with the extensions
// ".out.png" and ".diff.png", and fails saying how many pixels differ.
// tools/accept_pictures.sh copies reviewed ".out.png" files onto their
// references.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/base/types.h"
#include "platform/gdi/surface.h"

struct PictureTolerance {
    // A pixel differs when one of its colour channels differs by more.
    int channel = 16;
    // The pictures match while at most this share of the pixels differ.
    double fraction = 0.002;
};

// `window`'s pixels as the window system drew them (frame included), the
// way SaveWindowScreenshot takes them.
testing::AssertionResult MatchesReferencePicture(HWND window, const std::string& reference,
                                                 PictureTolerance tolerance = {});
testing::AssertionResult MatchesReferencePicture(const GdiSurface& pixels, const std::string& reference,
                                                 PictureTolerance tolerance = {});
