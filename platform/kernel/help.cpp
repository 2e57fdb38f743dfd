// Help requests opened in the desktop's browser.
#include "platform/kernel/help.h"

#include <sys/stat.h>

#include <mutex>

#include "platform/kernel/path.h"
#include "platform/kernel/process.h"

namespace {

struct HelpSeam {
    std::mutex mutex;
    ScopedHelpRecorder::Recorder recorder;
};

HelpSeam& Seam()
{
    static HelpSeam seam;
    return seam;
}

bool IsRegularFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

std::string HelpPageOf(const std::string& requested)
{
    if (requested.empty()) {
        return {};
    }
    const std::string native = NativePath(requested);
    const size_t separator = native.find("::");
    std::string page = native;
    if (separator != std::string::npos) {
        const std::string container = native.substr(0, separator);
        std::string topic = native.substr(separator + 2);
        while (!topic.empty() && topic.front() == '/') {
            topic.erase(0, 1);
        }
        const size_t slash = container.find_last_of('/');
        const std::string folder = slash == std::string::npos ? std::string(".") : container.substr(0, slash);
        page = folder + "/" + topic;
    }
    return ResolveExistingPath(AbsolutePath(page));
}

HWND HtmlHelpA(HWND, LPCSTR file, UINT command, DWORD_PTR)
{
    if (command != HH_DISPLAY_TOPIC || file == nullptr) {
        return nullptr;
    }
    HelpRequest request;
    request.requested = file;
    request.page = HelpPageOf(file);
    request.pageExists = IsRegularFile(request.page);
    request.command = command;

    ScopedHelpRecorder::Recorder recorder;
    {
        HelpSeam& seam = Seam();
        std::lock_guard lock(seam.mutex);
        recorder = seam.recorder;
    }
    if (recorder) {
        recorder(request);
    } else if (request.pageExists) {
        (void)StartProgram("xdg-open", {request.page});
    }
    return nullptr;
}

HWND HtmlHelp(HWND caller, LPCSTR file, UINT command, DWORD_PTR data) { return HtmlHelpA(caller, file, command, data); }

ScopedHelpRecorder::ScopedHelpRecorder(Recorder recorder)
{
    HelpSeam& seam = Seam();
    std::lock_guard lock(seam.mutex);
    m_previous = std::move(seam.recorder);
    seam.recorder = std::move(recorder);
}

ScopedHelpRecorder::~ScopedHelpRecorder()
{
    HelpSeam& seam = Seam();
    std::lock_guard lock(seam.mutex);
    seam.recorder = std::move(m_previous);
}
