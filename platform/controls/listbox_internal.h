// Private messages between a combo box and its list.
#pragma once

#include "platform/base/types.h"
#include "platform/user/messages.h"

namespace nuvex::controls {

// To a list: lParam is the combo box that hears its notifications, and
// whose choice a click in the list ends.
constexpr UINT kListSetNotifyTarget = WM_USER + 0x7F0;
// To a combo box: a click in its dropped-down list (lParam) chose an item.
constexpr UINT kComboListChosen = WM_USER + 0x7F1;

} // namespace nuvex::controls
