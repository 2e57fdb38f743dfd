// The recording parent window of the common-control tests.
#include "platform/controls/tests/control_test_support.h"

#include <algorithm>
#include <cstdio>

#include "platform/display/headless/headless_display.h"
#include "platform/user/inspect.h"

namespace nuvex::controls::commontesting {
namespace {

ControlTest* g_current = nullptr;

const char* CodeName(UINT code)
{
    struct Name {
        UINT code;
        const char* name;
    };
    static const Name kNames[] = {
        {NM_CLICK, "NM_CLICK"}, {NM_DBLCLK, "NM_DBLCLK"}, {NM_RETURN, "NM_RETURN"}, {NM_RCLICK, "NM_RCLICK"},
        {NM_RDBLCLK, "NM_RDBLCLK"}, {NM_SETFOCUS, "NM_SETFOCUS"}, {NM_KILLFOCUS, "NM_KILLFOCUS"},
        {NM_CUSTOMDRAW, "NM_CUSTOMDRAW"}, {TVN_SELCHANGINGA, "TVN_SELCHANGING"}, {TVN_SELCHANGEDA, "TVN_SELCHANGED"},
        {TVN_GETDISPINFOA, "TVN_GETDISPINFO"}, {TVN_ITEMEXPANDINGA, "TVN_ITEMEXPANDING"},
        {TVN_ITEMEXPANDEDA, "TVN_ITEMEXPANDED"}, {TVN_BEGINDRAGA, "TVN_BEGINDRAG"}, {TVN_BEGINRDRAGA, "TVN_BEGINRDRAG"},
        {TVN_DELETEITEMA, "TVN_DELETEITEM"}, {TVN_KEYDOWN, "TVN_KEYDOWN"},
        {TVN_BEGINLABELEDITA, "TVN_BEGINLABELEDIT"}, {TVN_ENDLABELEDITA, "TVN_ENDLABELEDIT"}, {TCN_SELCHANGE, "TCN_SELCHANGE"},
        {TCN_SELCHANGING, "TCN_SELCHANGING"}, {TCN_KEYDOWN, "TCN_KEYDOWN"}, {TBN_DROPDOWN, "TBN_DROPDOWN"},
        {TTN_NEEDTEXTA, "TTN_NEEDTEXT"}, {TTN_SHOW, "TTN_SHOW"}, {TTN_POP, "TTN_POP"},
    };
    for (const Name& n : kNames) {
        if (n.code == code) {
            return n.name;
        }
    }
    return nullptr;
}

LRESULT ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    ControlTest* test = g_current;
    if (test != nullptr && msg == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (std::find(test->ignored.begin(), test->ignored.end(), header->code) == test->ignored.end()) {
            Heard heard{WM_NOTIFY, header->code, header->idFrom};
            const bool treeRecord = header->code == TVN_SELCHANGINGA || header->code == TVN_SELCHANGEDA ||
                                    header->code == TVN_ITEMEXPANDINGA || header->code == TVN_ITEMEXPANDEDA ||
                                    header->code == TVN_BEGINDRAGA || header->code == TVN_BEGINRDRAGA ||
                                    header->code == TVN_DELETEITEMA;
            if (treeRecord) {
                auto* tree = reinterpret_cast<NMTREEVIEWA*>(lParam);
                heard.action = tree->action;
                heard.oldItem = tree->itemOld.hItem;
                heard.newItem = tree->itemNew.hItem;
            }
            test->heard.push_back(heard);
        }
        if (test->answer) {
            if (auto result = test->answer(header)) {
                return *result;
            }
        }
        return 0;
    }
    if (test != nullptr && msg == WM_COMMAND) {
        test->heard.push_back(Heard{WM_COMMAND, HIWORD(wParam), LOWORD(wParam)});
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

bool operator==(const Heard& a, const Heard& b)
{
    return a.message == b.message && a.code == b.code && a.id == b.id && a.action == b.action &&
           a.oldItem == b.oldItem && a.newItem == b.newItem;
}

std::string Describe(const Heard& heard)
{
    char text[160];
    const char* name = heard.message == WM_NOTIFY ? CodeName(heard.code) : nullptr;
    char code[32];
    if (name == nullptr) {
        std::snprintf(code, sizeof(code), "%d", static_cast<int>(heard.code));
        name = code;
    }
    std::snprintf(text, sizeof(text), "%s %s id %lu action %u old %p new %p",
                  heard.message == WM_NOTIFY ? "WM_NOTIFY" : "WM_COMMAND", name,
                  static_cast<unsigned long>(heard.id), heard.action, static_cast<void*>(heard.oldItem),
                  static_cast<void*>(heard.newItem));
    return text;
}

std::string Describe(const std::vector<Heard>& list)
{
    std::string out;
    for (const Heard& h : list) {
        out += "  " + Describe(h) + "\n";
    }
    return out;
}

::testing::AssertionResult SameHeard(const std::vector<Heard>& expected, const std::vector<Heard>& actual)
{
    if (expected == actual) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "expected:\n" << Describe(expected) << "actual:\n" << Describe(actual);
}

void ControlTest::SetUp()
{
    ResetWindowSystem();
    g_current = this;
    WNDCLASSA wc{};
    wc.lpfnWndProc = ParentProc;
    wc.lpszClassName = "ControlTestParent";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_BTNFACE + 1));
    RegisterClassA(&wc);
    parent = CreateWindowExA(0, "ControlTestParent", "parent", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300, nullptr,
                             nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    PumpUntilIdle();
}

void ControlTest::TearDown()
{
    ResetWindowSystem();
    g_current = nullptr;
}

HWND ControlTest::MakeControl(const char* className, DWORD style, RECT at, int id)
{
    HWND hwnd = CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, at.left, at.top,
                                at.right - at.left, at.bottom - at.top, parent,
                                reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
    PumpUntilIdle();
    return hwnd;
}

POINT ControlTest::ScreenOf(HWND control, POINT pt) const
{
    ClientToScreen(control, &pt);
    return pt;
}

void ControlTest::Click(HWND control, POINT pt, MouseButton button)
{
    HeadlessClick(ScreenOf(control, pt), button);
    PumpUntilIdle();
}

} // namespace nuvex::controls::commontesting
