// Test support: a recorder of message deliveries (window role, message,
// the parameters that matter, sent/posted/default) compared against tables
// of expected rows, and a test window class whose behaviour a test sets
// per message. It is the one recorder of every GUI test: other modules'
// test support add readers for the structures they know.
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

// A value a test compares by name, read from a message's parameters or
// from what they point to while the message is delivered (the structure is
// gone afterwards). `text` names the value where a table does (a
// notification code).
struct Detail {
    std::string name;
    intptr_t value = 0;
    std::string text;
};
using Details = std::vector<Detail>;
// Reads the details of one delivery; nothing for messages it does not
// know. The recorder reads the window system's own structures (WM_COMMAND,
// WM_NOTIFY's header, scroll codes, owner-draw records); a module's test
// support adds a reader for its own (MessageRecorder::ReadDetails).
using DetailReader = std::function<Details(UINT message, WPARAM wParam, LPARAM lParam)>;

struct Delivered {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    MessageDelivery delivery;
    Details details;

    // The detail of that name; none when the delivery has none.
    std::optional<intptr_t> DetailOf(const std::string& name) const;
};

// One expected row; parameters are compared only where given.
struct Expect {
    std::string role;
    UINT message = 0;
    MessageDelivery delivery = MessageDelivery::Sent;
    std::optional<WPARAM> wParam;
    std::optional<LPARAM> lParam;
    // Details compared by name; a delivery lacking one does not match.
    std::vector<std::pair<std::string, intptr_t>> details;
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
    Expect D(std::string name, intptr_t value) const
    {
        Expect e = *this;
        e.details.emplace_back(std::move(name), value);
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
    // Adds a reader of details for the deliveries from now on; a detail it
    // reads replaces one of the same name read before it.
    void ReadDetails(DetailReader reader) { m_readers.push_back(std::move(reader)); }

    const std::vector<Delivered>& Log() const { return m_log; }
    std::string Role(HWND hwnd) const;
    // Compares the log with `expected`; on mismatch prints both side by side.
    ::testing::AssertionResult Matches(const std::vector<Expect>& expected) const;
    // Compares chosen deliveries (from Deliveries) with `expected` the same way.
    ::testing::AssertionResult Matches(const std::vector<Expect>& expected, const std::vector<Delivered>& actual) const;
    // Whether one delivery fits one expected row.
    bool Fits(const Expect& expected, const Delivered& delivered) const;
    // The sent and posted deliveries to the window named `role` of
    // `messages` (every message when empty), in order.
    std::vector<Delivered> Deliveries(const std::string& role, const std::vector<UINT>& messages = {}) const;
    // The log as text, one delivery a line.
    std::string Dump() const;
    // A delivery, a row or chosen deliveries as text, with the names of the
    // message table and the details.
    std::string Describe(const Delivered& d) const;
    std::string Describe(const Expect& e) const;
    std::string Describe(const std::vector<Delivered>& deliveries) const;
    // Sent and posted deliveries of `message` in the whole log.
    int Count(UINT message) const;
    int Count(HWND hwnd, UINT message) const;

private:
    std::vector<Delivered> m_log;
    std::vector<DetailReader> m_readers;
    // Texts of detail values seen, so that expected rows print them too.
    std::map<std::pair<std::string, intptr_t>, std::string> m_valueTexts;
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
