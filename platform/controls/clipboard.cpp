// The clipboard of text, kept in the process.
#include "platform/controls/controls.h"

namespace {

std::optional<std::string>& Content()
{
    static std::optional<std::string> content;
    return content;
}

} // namespace

void ClipboardSetText(std::string_view text) { Content() = std::string(text); }

std::optional<std::string> ClipboardGetText() { return Content(); }

void ClipboardClear() { Content().reset(); }

BOOL IsClipboardFormatAvailable(UINT format) { return format == CF_TEXT && Content().has_value() ? TRUE : FALSE; }
