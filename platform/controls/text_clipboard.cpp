// The process's text clipboard.
#include "platform/controls/text_clipboard.h"

#include <optional>

namespace nuvex::controls {

namespace {

std::optional<std::string>& Content()
{
    static std::optional<std::string> content;
    return content;
}

} // namespace

void SetClipboardText(std::string_view text) { Content() = std::string(text); }

std::string GetClipboardText() { return Content().value_or(std::string()); }

bool ClipboardHasText() { return Content().has_value(); }

void EmptyClipboardText() { Content().reset(); }

} // namespace nuvex::controls
