// Registers the standard controls as system classes of every window system.
#include "platform/controls/control_support.h"
#include "platform/user/window_system.h"

namespace nuvex::controls {

void RegisterControlClass(const char* name, WNDPROC proc, UINT classStyle, LPCSTR cursor)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.style = classStyle | CS_GLOBALCLASS;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = kStateBytes;
    wc.hCursor = LoadCursorA(nullptr, cursor != nullptr ? cursor : IDC_ARROW);
    wc.lpszClassName = name;
    nuvex::user::RegisterSystemClass(wc);
}

namespace {

void RegisterAll()
{
    RegisterButtonClass();
    RegisterStaticClass();
    RegisterEditClass();
    RegisterListBoxClasses();
    RegisterComboBoxClass();
    RegisterScrollBarClass();
    RegisterTrackbarClass();
    RegisterUpDownClass();
    RegisterProgressClass();
}

// Runs when the platform library is loaded, before any window system is
// made (or at once, should one exist already).
[[maybe_unused]] const bool kRegistered = (nuvex::user::AddSystemClassRegistrar(&RegisterAll), true);

} // namespace

} // namespace nuvex::controls
