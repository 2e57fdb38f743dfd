// Help requests. Help pages are HTML files under help/<language>/ (relative
// to the current directory, which is the program folder). A request names a
// page the way the system writes it: "help\EN\nuvex.chm::/khtml/pocket.htm"
// is the page "help/EN/khtml/pocket.htm" (the part before "::" names the
// help folder through a file in it, the part after it the page inside that
// folder); a name without "::" is the page itself. The page is opened with
// the desktop's browser through xdg-open, without waiting.
#pragma once

#include <functional>
#include <string>

#include "platform/base/api.h"
#include "platform/base/types.h"

constexpr UINT HH_DISPLAY_TOPIC = 0x0000;

struct HelpRequest {
    std::string requested; // the name as the caller gave it
    std::string page;      // the absolute file path of the page ("/" separators)
    bool pageExists = false;
    UINT command = HH_DISPLAY_TOPIC;
};

// The page file that a request names (absolute, as on disk when a folder
// differs only in letter case). Empty for an empty name.
NUVEX_PLATFORM_API std::string HelpPageOf(const std::string& requested);

// HH_DISPLAY_TOPIC opens the page (other commands do nothing). A page that
// does not exist is not opened. There is no help window in this process: the
// answer is always null. `caller` and `data` are not used.
NUVEX_PLATFORM_API HWND HtmlHelpA(HWND caller, LPCSTR file, UINT command, DWORD_PTR data);
NUVEX_PLATFORM_API HWND HtmlHelp(HWND caller, LPCSTR file, UINT command, DWORD_PTR data);

// While alive, every display request (whether its page exists or not) goes
// to `recorder` and nothing is opened. Guards nest.
class NUVEX_PLATFORM_API ScopedHelpRecorder {
public:
    using Recorder = std::function<void(const HelpRequest&)>;
    explicit ScopedHelpRecorder(Recorder recorder);
    ~ScopedHelpRecorder();
    ScopedHelpRecorder(const ScopedHelpRecorder&) = delete;
    ScopedHelpRecorder& operator=(const ScopedHelpRecorder&) = delete;

private:
    Recorder m_previous;
};
