// Steps of a person at a desktop, run from a loop's idle script.
#include "platform/display/sdl/tests/desktop_steps.h"

#include "platform/user/winuser.h"

namespace nuvex::testing {

DesktopStepRunner::DesktopStepRunner(std::vector<DesktopStep> steps, std::function<void()> stuck, AfterLastStep after,
                                     std::chrono::seconds stepTime, std::chrono::milliseconds retryAfter)
    : m_steps(std::move(steps)), m_stuck(std::move(stuck)), m_after(after), m_stepTime(stepTime),
      m_retryAfter(retryAfter)
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
        m_lastAct = m_started;
        step.act();
        m_acted = true;
        return false;
    }
    if (step.done()) {
        ++m_next;
        m_acted = false;
        return true;
    }
    const auto now = std::chrono::steady_clock::now();
    if (step.arrived && now - m_lastAct > m_retryAfter && now - m_started <= m_stepTime && !step.arrived()) {
        m_lastAct = now;
        step.act();
        return false;
    }
    if (now - m_started > m_stepTime) {
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

} // namespace nuvex::testing
