// Steps of a person at a desktop for GUI tests on a virtual X server: each
// step acts once (a click, a key) and then waits, from the idle script of
// the program's loop, until what shows it done holds, or gives up after a
// time; and the popup menu window a click opened.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/base/types.h"

namespace nuvex::testing {

struct DesktopStep {
    std::string name;
    std::function<void()> act;
    std::function<bool()> done;
};

// Whether the runner ends the loop itself after the last step (a program
// whose last step closes its window ends it on its own).
enum class AfterLastStep { QuitLoop, LeaveLoopRunning };

class DesktopStepRunner {
public:
    // `stuck` runs when a step times out (a screenshot for the person
    // reading the failure); the loop then ends with exit code 1.
    DesktopStepRunner(std::vector<DesktopStep> steps, std::function<void()> stuck, AfterLastStep after,
                      std::chrono::seconds stepTime = std::chrono::seconds(15));

    // The idle script: TRUE while more idle time is wanted.
    bool OnIdle();
    const std::string& Failed() const { return m_failed; }
    bool Finished() const { return m_next >= m_steps.size() && m_failed.empty(); }

private:
    bool Quit(int code);

    std::vector<DesktopStep> m_steps;
    std::function<void()> m_stuck;
    AfterLastStep m_after;
    std::chrono::seconds m_stepTime;
    size_t m_next = 0;
    bool m_acted = false;
    bool m_quitPosted = false;
    std::chrono::steady_clock::time_point m_started;
    std::string m_failed;
};

// The visible popup menu window (class "#32768"), or null.
HWND FindPopupMenuWindow();

// A menu item chosen with the pointer: the menu bar's button clicked, then
// the item in its popup once the popup shows. A slow X server can drop or
// misplace a click (the menu then never opens, closes without a command, or
// stays open), so a click whose effect has not shown after a while is tried
// again, a few times.
class MenuChoice {
public:
    using OpenMenu = std::function<void()>;           // clicks the bar's button
    using ClickItem = std::function<void(HWND popup)>; // clicks the item in the shown popup

    // Opens the menu; `click` picks the item once its popup shows.
    void Start(OpenMenu open, ClickItem click);
    // Called from the step's check while the command's effect has not shown.
    void Follow();

private:
    static constexpr int kTries = 8;
    static constexpr auto kEffectTime = std::chrono::milliseconds(700);

    OpenMenu m_open;
    ClickItem m_click;
    int m_tries = 0;
    bool m_itemClicked = false;
    std::chrono::steady_clock::time_point m_last;
};

} // namespace nuvex::testing
