// The program nuvex: on a desktop (an X11 or Wayland display named in the
// environment) it runs its application object; anywhere else it says in
// one line that there is no desktop to show a window on and ends with an
// error.
#include <cstdio>

#include "host/app/nuvex_app.h"
#include "platform/display/headless/headless_display.h"
#include "platform/display/sdl/sdl_display.h"

namespace {

constexpr int kNoDesktop = 1;

} // namespace

int main(int argc, char** argv)
{
    if (HeadlessDisplayChosen()) {
        std::fprintf(stderr, "nuvex: no desktop to show a window on (set DISPLAY or WAYLAND_DISPLAY)\n");
        return kNoDesktop;
    }
    if (!StartSdlDisplay()) {
        std::fprintf(stderr, "nuvex: the desktop's display cannot be opened\n");
        return kNoDesktop;
    }
    CNuvexApp application;
    const int result = AfxWinMain(argc, argv);
    StopSdlDisplay();
    return result;
}
