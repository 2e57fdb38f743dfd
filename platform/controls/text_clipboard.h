// The process's text clipboard, shared by the controls that cut, copy and
// paste. Text is held as given (line breaks as "\r\n").
#pragma once

#include <string>
#include <string_view>

#include "platform/base/api.h"

namespace nuvex::controls {

NUVEX_PLATFORM_API void SetClipboardText(std::string_view text);
// Empty when nothing was copied.
NUVEX_PLATFORM_API std::string GetClipboardText();
NUVEX_PLATFORM_API bool ClipboardHasText();
NUVEX_PLATFORM_API void EmptyClipboardText();

} // namespace nuvex::controls
