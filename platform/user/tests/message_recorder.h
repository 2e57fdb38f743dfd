// Test support: a recorder of message deliveries (window role, message,
// the parameters that matter, sent/posted/default) compared against tables
// of expected rows, and a test window class whose behaviour a test sets
// per message.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/user/inspect.h"
#include "platform/user/winuser.h"

namespace nuvex::user::testing {

struct Delivered {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    MessageDelivery delivery;
};

// One expected row; parameters are compared only where given.
struct Expect {
    std::string role;
    UINT message = 0;
    MessageDelivery delivery = MessageDelivery::Sent;
    std::optional<WPARAM> wParam;
    std::optional<LPARAM> lParam;
    bool optional = false;

    Expect W(WPARAM value) const
    {
        Expect e = *this;
        e.wParam = value;
        return e;
    }
    Expect L(LPARAM value) const
    {
        Expect e = *this;
        e.lParam = value;
        return e;
    }
    Expect Optional() const
    {
        Expect e = *this;
        e.optional = true;
        return e;
    }
};
inline Expect Row(std::string role, UINT message, MessageDelivery delivery)
{
    Expect e;
    e.role = std::move(role);
    e.message = message;
    e.delivery = delivery;
    return e;
}
inline Expect Sent(std::string role, UINT message) { return Row(std::move(role), message, MessageDelivery::Sent); }
inline Expect Posted(std::string role, UINT message) { return Row(std::move(role), message, MessageDelivery::Posted); }
inline Expect Default(std::string role, UINT message) { return Row(std::move(role), message, MessageDelivery::Default); }

class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    // A window is named after its creation; its earlier messages take the
    // name too, because handles are never reused.
    void Name(HWND hwnd, std::string role) { m_roles[hwnd] = std::move(role); }
    // Messages left out of the log (the defaults leave out hit-testing,
    // cursor setting and text queries, which every mouse move brings).
    void Ignore(std::initializer_list<UINT> messages) { m_ignored.insert(messages.begin(), messages.end()); }
    void Watch(std::initializer_list<UINT> messages) { for (UINT m : messages) m_ignored.erase(m); }
    // Records only these messages from now on (empty: all but the ignored).
    void Only(const std::vector<UINT>& messages) { m_only = std::set<UINT>(messages.begin(), messages.end()); }
    // Leaves out default-handler rows (only sent and posted deliveries).
    void SkipDefaults(bool skip = true) { m_skipDefaults = skip; }
    void Clear() { m_log.clear(); }
    // Starts recording every delivery of the current window system.
    void Attach();

    const std::vector<Delivered>& Log() const { return m_log; }
    std::string Role(HWND hwnd) const;
    // Compares the log with `expected`; on mismatch prints both side by side.
    ::testing::AssertionResult Matches(const std::vector<Expect>& expected) const;
    // The log as text, one delivery a line.
    std::string Dump() const;
    // Sent and posted deliveries of `message` in the whole log.
    int Count(UINT message) const;
    int Count(HWND hwnd, UINT message) const;

private:
    std::vector<Delivered> m_log;
    std::map<HWND, std::string> m_roles;
    std::set<UINT> m_ignored;
    std::set<UINT> m_only;
    bool m_skipDefaults = false;
};

// A window class whose procedure calls the per-window handler a test sets
// (or DefWindowProc when none is set or the handler declines).
using Handler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;
extern const char* const kTestClass;   // CS_DBLCLKS, arrow cursor, no brush
void RegisterTestClass();
// Handlers apply to windows created afterwards until cleared, and to the
// window they are set for.
void SetNextHandler(Handler handler);
void SetHandler(HWND hwnd, Handler handler);
void ClearHandlers();

// The colour at window point (x, y) of a top-level window's surface.
COLORREF PixelAt(HWND top, int x, int y);

// A fresh window system per test, with the test class registered.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HWND MakeTopLevel(const char* role, DWORD style, RECT rect, DWORD exStyle = 0, HWND owner = nullptr);
    HWND MakeChild(const char* role, HWND parent, RECT rect, DWORD style = WS_CHILD | WS_VISIBLE, int id = 0);

    MessageRecorder recorder;
};

} // namespace nuvex::user::testing
