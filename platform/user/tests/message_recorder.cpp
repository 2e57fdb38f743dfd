// The message recorder and the test window class.
#include "platform/user/tests/message_recorder.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "platform/gdi/gdi.h"
#include "platform/user/menu.h"

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

// The window system's own structures and packed parameters.
Details ReadWindowSystemDetails(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: return {{"id", LOWORD(wParam), ""}, {"code", HIWORD(wParam), ""}};
    case WM_HSCROLL:
    case WM_VSCROLL: return {{"code", LOWORD(wParam), ""}, {"pos", static_cast<SHORT>(HIWORD(wParam)), ""}};
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header == nullptr) {
            return {};
        }
        return {{"from", reinterpret_cast<intptr_t>(header->hwndFrom), ""},
                {"id", static_cast<intptr_t>(header->idFrom), ""},
                {"code", static_cast<intptr_t>(header->code), ""}};
    }
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item == nullptr) {
            return {};
        }
        return {{"id", item->CtlID, ""}, {"item", item->itemID, ""}, {"action", item->itemAction, ""},
                {"state", item->itemState, ""}};
    }
    case WM_MEASUREITEM: {
        const auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
        if (item == nullptr) {
            return {};
        }
        return {{"id", item->CtlID, ""}, {"type", item->CtlType, ""}, {"item", item->itemID, ""}};
    }
    default: return {};
    }
}

void Merge(Details& into, Details more)
{
    for (Detail& d : more) {
        auto same = std::find_if(into.begin(), into.end(), [&d](const Detail& x) { return x.name == d.name; });
        if (same != into.end()) {
            *same = std::move(d);
        } else {
            into.push_back(std::move(d));
        }
    }
}

std::string ValueText(intptr_t value)
{
    char text[32];
    if (value >= -9 && value <= 9) {
        std::snprintf(text, sizeof text, "%ld", static_cast<long>(value));
    } else {
        std::snprintf(text, sizeof text, "0x%lx", static_cast<unsigned long>(value));
    }
    return text;
}

} // namespace

std::optional<intptr_t> Delivered::DetailOf(const std::string& name) const
{
    for (const Detail& d : details) {
        if (d.name == name) {
            return d.value;
        }
    }
    return std::nullopt;
}

namespace {

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
        Details details = ReadWindowSystemDetails(msg, w, l);
        for (const DetailReader& reader : m_readers) {
            Merge(details, reader(msg, w, l));
        }
        for (const Detail& detail : details) {
            if (!detail.text.empty()) {
                m_valueTexts[{detail.name, detail.value}] = detail.text;
            }
        }
        m_log.push_back(Delivered{hwnd, msg, w, l, d, std::move(details)});
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

std::string MessageRecorder::Describe(const Delivered& d) const
{
    std::ostringstream out;
    out << Role(d.hwnd) << " " << MessageName(d.message) << " " << DeliveryName(d.delivery) << " w=" << std::hex
        << d.wParam << " l=" << d.lParam << std::dec;
    for (const Detail& detail : d.details) {
        out << " " << detail.name << "=" << (detail.text.empty() ? ValueText(detail.value) : detail.text);
    }
    return out.str();
}

std::string MessageRecorder::Describe(const Expect& e) const
{
    std::ostringstream out;
    out << e.role << " " << MessageName(e.message) << " " << DeliveryName(e.delivery);
    if (e.wParam) {
        out << " w=" << std::hex << *e.wParam << std::dec;
    }
    if (e.lParam) {
        out << " l=" << std::hex << *e.lParam << std::dec;
    }
    for (const auto& [name, value] : e.details) {
        const auto text = m_valueTexts.find({name, value});
        out << " " << name << "=" << (text != m_valueTexts.end() ? text->second : ValueText(value));
    }
    if (e.optional) {
        out << " (opt)";
    }
    return out.str();
}

std::string MessageRecorder::Describe(const std::vector<Delivered>& deliveries) const
{
    std::ostringstream out;
    for (const Delivered& d : deliveries) {
        out << "  " << Describe(d) << "\n";
    }
    return out.str();
}

std::string MessageRecorder::Dump() const { return Describe(m_log); }

bool MessageRecorder::Fits(const Expect& e, const Delivered& d) const
{
    if (e.role != Role(d.hwnd) || e.message != d.message || e.delivery != d.delivery ||
        (e.wParam && *e.wParam != d.wParam) || (e.lParam && *e.lParam != d.lParam)) {
        return false;
    }
    return std::all_of(e.details.begin(), e.details.end(), [&d](const auto& wanted) {
        return d.DetailOf(wanted.first) == wanted.second;
    });
}

std::vector<Delivered> MessageRecorder::Deliveries(const std::string& role, const std::vector<UINT>& messages) const
{
    std::vector<Delivered> chosen;
    for (const Delivered& d : m_log) {
        if (d.delivery == MessageDelivery::Default || Role(d.hwnd) != role) {
            continue;
        }
        if (messages.empty() || std::find(messages.begin(), messages.end(), d.message) != messages.end()) {
            chosen.push_back(d);
        }
    }
    return chosen;
}

::testing::AssertionResult MessageRecorder::Matches(const std::vector<Expect>& expected) const
{
    std::vector<Delivered> actual;
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
        actual.push_back(d);
    }
    return Matches(expected, actual);
}

::testing::AssertionResult MessageRecorder::Matches(const std::vector<Expect>& expected,
                                                    const std::vector<Delivered>& actual) const
{
    size_t a = 0;
    bool ok = true;
    for (const Expect& e : expected) {
        if (a < actual.size() && Fits(e, actual[a])) {
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
    char line[400];
    std::snprintf(line, sizeof line, "  %-60s | %s\n", "expected", "actual");
    out << line;
    const size_t rows = std::max(expected.size(), actual.size());
    for (size_t i = 0; i < rows; ++i) {
        const std::string left = i < expected.size() ? Describe(expected[i]) : std::string();
        const std::string right = i < actual.size() ? Describe(actual[i]) : std::string();
        std::snprintf(line, sizeof line, "  %-60s | %s\n", left.c_str(), right.c_str());
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
