// Test support for the rich edit control: the recording parent and the
// fixture.
#include "platform/controls/tests/richedit_support.h"

#include <algorithm>

namespace nuvex::controls::testing {

namespace {

const LRESULT* g_protectedAnswer = nullptr;

LRESULT ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (g_protectedAnswer != nullptr && msg == WM_COMMAND && lParam != 0) {
        return 0;
    }
    if (g_protectedAnswer != nullptr && msg == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        return header->code == EN_PROTECTED ? *g_protectedAnswer : 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

std::vector<Delivered> RichEditTest::Notifications() const
{
    std::vector<Delivered> heard;
    for (const Delivered& d : recorder.Deliveries(kParentRole, {WM_COMMAND, WM_NOTIFY})) {
        if (d.message == WM_NOTIFY || d.lParam != 0) {
            heard.push_back(d);
        }
    }
    return heard;
}

int RichEditTest::Count(UINT code) const
{
    const std::vector<UINT> codes = CodesOf(Notifications());
    return static_cast<int>(std::count(codes.begin(), codes.end(), code));
}

void RichEditTest::SetUp()
{
    ResetWindowSystem();
    ClipboardClear();
    ASSERT_TRUE(InitRichEditClass());
    WNDCLASSA wc{};
    wc.lpfnWndProc = ParentProc;
    wc.lpszClassName = "RichEditTestParent";
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    ASSERT_NE(RegisterClassA(&wc), 0);
    g_protectedAnswer = &protectedAnswer;
    parent = CreateWindowExA(0, "RichEditTestParent", "parent", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                             nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    StartRecording(recorder, parent);
    edit = CreateWindowExA(0, RICHEDIT_CLASSA, "", kPageStyle, 10, 10, 300, 200, parent,
                           reinterpret_cast<HMENU>(static_cast<uintptr_t>(kControlId)), nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    PumpUntilIdle();
    Clear();
}

void RichEditTest::TearDown()
{
    SetMessageSpy(nullptr);
    g_protectedAnswer = nullptr;
    ResetWindowSystem();
}

std::string RichEditTest::Text() const
{
    const int length = GetWindowTextLengthA(edit);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(edit, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
}

void RichEditTest::Select(LONG min, LONG max)
{
    CHARRANGE range{min, max};
    SendMessageA(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

CHARRANGE RichEditTest::Selection() const
{
    CHARRANGE range{-2, -2};
    SendMessageA(edit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range;
}

void RichEditTest::SetFormat(LONG min, LONG max, DWORD mask, DWORD effects, COLORREF colour)
{
    Select(min, max);
    CHARFORMATA format{};
    format.cbSize = sizeof(format);
    format.dwMask = mask;
    format.dwEffects = effects;
    format.crTextColor = colour;
    ASSERT_NE(SendMessageA(edit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format)), 0);
}

POINT RichEditTest::ScreenPointOf(LONG position, int dx, int dy) const
{
    POINT at{};
    SendMessageA(edit, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), position);
    at.x += dx;
    at.y += dy;
    ClientToScreen(edit, &at);
    return at;
}

void RichEditTest::FocusAt(LONG position)
{
    SetFocus(edit);
    Select(position, position);
    PumpUntilIdle();
    Clear();
}

} // namespace nuvex::controls::testing
