// The demo frame as a program a person runs on a desktop (an X11 or
// Wayland session; the sdl back-end is chosen because a display is named).
// Built into the build's tests folder and never installed.
#include "platform/framework/tests/demo/demo_frame.h"

int main(int argc, char** argv)
{
    demo::CDemoApp app;
    return AfxWinMain(argc, argv);
}
