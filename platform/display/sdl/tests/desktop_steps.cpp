// Steps of a person at a desktop, run from a loop's idle script.
#include "platform/display/sdl/tests/desktop_steps.h"

#include "platform/display/sdl/sdl_display.h"
#include "platform/user/winuser.h"

namespace nuvex::testing {

DesktopStepRunner::DesktopStepRunner(std::vector<DesktopStep> steps, std::function<void()> stuck, AfterLastStep after,
                                     std::chrono::seconds stepTime)
    : m_steps(std::move(steps)), m_stuck(std::move(stuck)), m_after(after), m_stepTime(stepTime)
{
}

bool DesktopStepRunner::OnIdle()
{
    if (m_next >= m_steps.size()) {
        return m_after == AfterLastStep::QuitLoop && m_failed.empty() ? Quit(0) : false;
    }
    DesktopStep& step = m_steps[m_next];
    if (!m_acted) {
        m_started = std::chrono::steady_clock::now();
        step.act();
        m_acted = true;
        return false;
    }
    if (step.done()) {
        ++m_next;
        m_acted = false;
        return true;
    }
    if (std::chrono::steady_clock::now() - m_started > m_stepTime) {
        m_failed = step.name;
        if (m_stuck) {
            m_stuck();
        }
        if (HWND popup = FindPopupMenuWindow()) {
            PostMessageA(popup, WM_CANCELMODE, 0, 0);
        }
        m_next = m_steps.size();
        return Quit(1);
    }
    return false;
}

bool DesktopStepRunner::Quit(int code)
{
    if (m_quitPosted) {
        return false;
    }
    m_quitPosted = true;
    PostQuitMessage(code);
    return true;
}

HWND FindPopupMenuWindow()
{
    HWND found = nullptr;
    EnumWindows(
        [](HWND hwnd, LPARAM out) {
            char name[16]{};
            GetClassNameA(hwnd, name, sizeof(name));
            if (std::string(name) == "#32768" && IsWindowVisible(hwnd)) {
                *reinterpret_cast<HWND*>(out) = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

void MenuChoice::Start(OpenMenu open, ClickItem click)
{
    m_open = std::move(open);
    m_click = std::move(click);
    m_tries = 0;
    m_itemClicked = false;
    m_open();
    m_last = std::chrono::steady_clock::now();
}

void MenuChoice::Follow()
{
    constexpr int kShowTimeoutMs = 5000;
    HWND popup = FindPopupMenuWindow();
    // The first click on the item goes as soon as the popup shows; any
    // other click waits to see what the one before did.
    const bool firstItemClick = popup != nullptr && !m_itemClicked;
    if (!firstItemClick && std::chrono::steady_clock::now() - m_last < kEffectTime) {
        return;
    }
    if (m_tries >= kTries) {
        return;
    }
    ++m_tries;
    if (popup != nullptr && SdlWaitUntilShown(popup, kShowTimeoutMs)) {
        m_click(popup);
        m_itemClicked = true;
    } else {
        m_open();
        m_itemClicked = false;
    }
    m_last = std::chrono::steady_clock::now();
}

} // namespace nuvex::testing
