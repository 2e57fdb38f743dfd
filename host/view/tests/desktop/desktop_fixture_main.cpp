// nuvexview_desktop: shows a drawing in the view on the desktop (the sdl
// back-end), for a person to zoom, pan, orbit, pick and snap in. With no
// argument it shows the fixture drawing of the desktop test; with a path it
// opens that nvx file. It ends when its window is closed.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "host/view/tests/desktop/desktop_fixture.h"
#include "platform/display/sdl/sdl_display.h"
#include "platform/user/winuser.h"

int main(int argc, char** argv)
{
    setenv("NUVEX_DISPLAY", "sdl", 0);
    if (!StartSdlDisplay()) {
        std::fprintf(stderr, "nuvexview_desktop: no desktop to show the view on (is DISPLAY set?)\n");
        return 1;
    }
    std::string path;
    std::string fixture;
    if (argc > 1) {
        path = argv[1];
    } else {
        fixture = (std::filesystem::temp_directory_path() / ("nuvexview-desktop-" + std::to_string(getpid()) + ".nvx"))
                      .string();
        if (!WriteFixtureDrawing(fixture)) {
            std::fprintf(stderr, "nuvexview_desktop: the fixture drawing cannot be written to %s\n", fixture.c_str());
            StopSdlDisplay();
            return 1;
        }
        path = fixture;
    }
    int status = 0;
    {
        DesktopSession session;
        std::string error;
        if (session.Open(path, RECT{80, 60, 880, 660}, error)) {
            session.Frame().quitOnDestroy = true;
            MSG msg{};
            while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        } else {
            std::fprintf(stderr, "nuvexview_desktop: %s\n", error.c_str());
            status = 1;
        }
    }
    if (!fixture.empty()) {
        std::filesystem::remove(fixture);
    }
    StopSdlDisplay();
    return status;
}
