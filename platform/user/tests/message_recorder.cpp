// The message recorder and the test window class.
#include "platform/user/tests/message_recorder.h"

#include <cstdio>
#include <sstream>

#include "platform/gdi/gdi.h"

namespace nuvex::user::testing {
namespace {

const char* DeliveryName(MessageDelivery d)
{
    switch (d) {
    case MessageDelivery::Sent: return "sent";
    case MessageDelivery::Posted: return "posted";
    case MessageDelivery::Default: return "default";
    }
    return "?";
}

std::map<HWND, Handler>& Handlers()
{
    static std::map<HWND, Handler> handlers;
    return handlers;
}
Handler& NextHandler()
{
    static Handler next;
    return next;
}

LRESULT TestProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto& handlers = Handlers();
    auto it = handlers.find(hwnd);
    if (it == handlers.end() && NextHandler()) {
        it = handlers.emplace(hwnd, NextHandler()).first;
    }
    if (it != handlers.end() && it->second) {
        Handler handler = it->second; // may be replaced while it runs
        if (std::optional<LRESULT> answer = handler(hwnd, msg, wParam, lParam)) {
            return *answer;
        }
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

std::string Params(const Expect& e)
{
    std::ostringstream out;
    if (e.wParam) {
        out << " w=" << std::hex << *e.wParam;
    }
    if (e.lParam) {
        out << " l=" << std::hex << *e.lParam;
    }
    return out.str();
}

} // namespace

const char* const kTestClass = "NuvexTestWindow";

void RegisterTestClass()
{
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = TestProc;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kTestClass;
    RegisterClassA(&wc);
}

void SetNextHandler(Handler handler) { NextHandler() = std::move(handler); }
void SetHandler(HWND hwnd, Handler handler) { Handlers()[hwnd] = std::move(handler); }
void ClearHandlers()
{
    Handlers().clear();
    NextHandler() = nullptr;
}

MessageRecorder::MessageRecorder()
    : m_ignored{WM_NCHITTEST, WM_SETCURSOR, WM_GETTEXT, WM_GETTEXTLENGTH, WM_NCMOUSEMOVE, WM_QUERYUISTATE}
{
}

MessageRecorder::~MessageRecorder() { SetMessageSpy(nullptr); }

void MessageRecorder::Attach()
{
    SetMessageSpy([this](HWND hwnd, UINT msg, WPARAM w, LPARAM l, MessageDelivery d) {
        m_log.push_back(Delivered{hwnd, msg, w, l, d});
    });
}

std::string MessageRecorder::Role(HWND hwnd) const
{
    auto it = m_roles.find(hwnd);
    if (it != m_roles.end()) {
        return it->second;
    }
    return hwnd == nullptr ? "(thread)" : "?";
}

int MessageRecorder::Count(UINT message) const
{
    int n = 0;
    for (const Delivered& d : m_log) {
        n += d.message == message && d.delivery != MessageDelivery::Default ? 1 : 0;
    }
    return n;
}

int MessageRecorder::Count(HWND hwnd, UINT message) const
{
    int n = 0;
    for (const Delivered& d : m_log) {
        n += d.hwnd == hwnd && d.message == message && d.delivery != MessageDelivery::Default ? 1 : 0;
    }
    return n;
}

std::string MessageRecorder::Dump() const
{
    std::ostringstream out;
    for (const Delivered& d : m_log) {
        out << "  " << Role(d.hwnd) << " " << MessageName(d.message) << " " << DeliveryName(d.delivery) << " w=" << std::hex
            << d.wParam << " l=" << d.lParam << std::dec << "\n";
    }
    return out.str();
}

::testing::AssertionResult MessageRecorder::Matches(const std::vector<Expect>& expected) const
{
    std::vector<const Delivered*> actual;
    for (const Delivered& d : m_log) {
        if (m_skipDefaults && d.delivery == MessageDelivery::Default) {
            continue;
        }
        if (!m_only.empty() && m_only.count(d.message) == 0) {
            continue;
        }
        if (m_only.empty() && m_ignored.count(d.message) != 0) {
            continue;
        }
        actual.push_back(&d);
    }
    auto same = [this](const Expect& e, const Delivered& d) {
        return e.role == Role(d.hwnd) && e.message == d.message && e.delivery == d.delivery &&
               (!e.wParam || *e.wParam == d.wParam) && (!e.lParam || *e.lParam == d.lParam);
    };
    size_t a = 0;
    bool ok = true;
    for (const Expect& e : expected) {
        if (a < actual.size() && same(e, *actual[a])) {
            ++a;
        } else if (!e.optional) {
            ok = false;
            break;
        }
    }
    if (ok && a == actual.size()) {
        return ::testing::AssertionSuccess();
    }
    std::ostringstream out;
    out << "message sequence differs\n";
    char line[200];
    std::snprintf(line, sizeof line, "  %-46s | %s\n", "expected", "actual");
    out << line;
    const size_t rows = std::max(expected.size(), actual.size());
    for (size_t i = 0; i < rows; ++i) {
        std::string left;
        std::string right;
        if (i < expected.size()) {
            const Expect& e = expected[i];
            left = e.role + " " + MessageName(e.message) + " " + DeliveryName(e.delivery) + Params(e) +
                   (e.optional ? " (opt)" : "");
        }
        if (i < actual.size()) {
            const Delivered& d = *actual[i];
            std::ostringstream r;
            r << Role(d.hwnd) << " " << MessageName(d.message) << " " << DeliveryName(d.delivery) << " w=" << std::hex
              << d.wParam << " l=" << d.lParam;
            right = r.str();
        }
        std::snprintf(line, sizeof line, "  %-46s | %s\n", left.c_str(), right.c_str());
        out << line;
    }
    return ::testing::AssertionFailure() << out.str();
}

COLORREF PixelAt(HWND top, int x, int y)
{
    const GdiSurface s = GetWindowSurface(top);
    EXPECT_TRUE(x >= 0 && y >= 0 && x < s.width && y < s.height);
    const uint32_t bgra = s.pixels[static_cast<size_t>(y) * static_cast<size_t>(s.stride) + static_cast<size_t>(x)];
    return RGB(static_cast<BYTE>((bgra >> 16) & 0xFF), static_cast<BYTE>((bgra >> 8) & 0xFF),
               static_cast<BYTE>(bgra & 0xFF));
}

void WindowTest::SetUp()
{
    ClearHandlers();
    ResetWindowSystem(1024, 768);
    RegisterTestClass();
    recorder.Attach();
}

void WindowTest::TearDown()
{
    SetMessageSpy(nullptr);
    SetIdleScript(nullptr);
    ResetWindowSystem(1024, 768);
    ClearHandlers();
}

HWND WindowTest::MakeTopLevel(const char* role, DWORD style, RECT r, DWORD exStyle, HWND owner)
{
    HWND hwnd = CreateWindowExA(exStyle, kTestClass, role, style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                owner, nullptr, nullptr, nullptr);
    recorder.Name(hwnd, role);
    return hwnd;
}

HWND WindowTest::MakeChild(const char* role, HWND parent, RECT r, DWORD style, int id)
{
    HWND hwnd = CreateWindowExA(0, kTestClass, role, style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                                reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
    recorder.Name(hwnd, role);
    return hwnd;
}

} // namespace nuvex::user::testing
