// The toolbar scripting object: bitmaps and their first image, buttons of
// add-in commands with their host command ids, separators, the slots it
// does not offer, and controls on placeholders that the program finds by
// their command.
#include <gtest/gtest.h>

#include <vector>

#include "host/menulook/new_tool_bar.h"
#include "host/shell/addin_host.h"
#include "host/shell/controls/document_binding.h"
#include "host/shell/host_application.h"
#include "host/shell/main_frame.h"
#include "host/shell/toolbar_object.h"
#include "iids.h"
#include "platform/controls/commctrl.h"
#include "platform/framework/framewnd.h"
#include "platform/gdi/gdi.h"
#include "platform/user/inspect.h"
#include "platform/user/winuser.h"

namespace {

IAddin* const kAddin = reinterpret_cast<IAddin*>(0x1000);
IAddin* const kUnknownAddin = reinterpret_cast<IAddin*>(0x3000);
constexpr BYTE kEnabled = 4;
constexpr BYTE kSeparator = 1;

class ToolbarObjectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem();
        CAddinRecord record;
        record.addin = kAddin;
        host.AddinRecords() = {record};
        frame = new CFrameWnd();
        ASSERT_TRUE(frame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 600, 200)));
        ASSERT_TRUE(toolbar.CreateEx(frame, TBSTYLE_FLAT, 0x50402834, CRect(0, 0, 0, 0), 9001));
        object = ComPtr<CToolbarObject>::Adopt(new CToolbarObject(toolbar, host));
    }
    void TearDown() override
    {
        object = ComPtr<CToolbarObject>();
        toolbar.DestroyWindow();
        if (::IsWindow(frame->GetSafeHwnd())) {
            frame->DestroyWindow();
        }
        for (HBITMAP bitmap : bitmaps) {
            DeleteObject(bitmap);
        }
        ResetWindowSystem();
    }
    // A bitmap of `count` 16 x 15 images.
    HBITMAP Images(int count)
    {
        std::vector<uint32_t> pixels(static_cast<size_t>(16 * count * 15), 0x00336699);
        HBITMAP bitmap = CreateBitmap(16 * count, 15, 1, 32, pixels.data());
        bitmaps.push_back(bitmap);
        return bitmap;
    }
    UINT IdOf(LONG commandNumber) const
    {
        return kFirstHostCommandId + static_cast<UINT>(host.FindHostCommand(kAddin, commandNumber));
    }

    CAddinHost host;
    CFrameWnd* frame = nullptr;
    CNewToolBar toolbar;
    ComPtr<CToolbarObject> object;
    std::vector<HBITMAP> bitmaps;
};

TEST_F(ToolbarObjectTest, BitmapsReportTheirFirstImageAndButtonsNeedOne)
{
    LONG first = -1;
    EXPECT_EQ(object->AddBitmap(1, Images(1), &first), S_OK);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(object->AddBitmap(2, Images(2), &first), S_OK);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(object->AddBitmap(1, Images(1), nullptr), S_OK);
    ASSERT_EQ(object->ImageCount(), 4);

    struct ButtonCase {
        const char* name;
        IAddin* addin;
        LONG command;
        LONG image;
        BYTE style;
        HRESULT result;
    };
    const ButtonCase cases[] = {
        {"the image count itself is past the images", kAddin, 5, 4, 0, E_FAIL},
        {"a negative image", kAddin, 5, -1, 0, E_FAIL},
        {"the last image", kAddin, 5, 3, 0, S_OK},
        {"the same command again", kAddin, 5, 0, 0, S_OK},
        {"another command", kAddin, 6, 1, 0, S_OK},
        {"a separator needs no add-in and no image", nullptr, 0, 99, kSeparator, S_OK},
        {"a button without an add-in", nullptr, 5, 0, 0, E_FAIL},
        {"an add-in the program did not load", kUnknownAddin, 5, 0, 0, E_FAIL},
    };
    for (const ButtonCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(object->AddButton(c.addin, c.command, c.image, kEnabled, c.style, "text"), c.result);
    }
    // Four buttons: two of command 5 with one id, command 6, a separator.
    ASSERT_EQ(toolbar.GetCount(), 4);
    EXPECT_EQ(toolbar.GetItemID(0), kFirstHostCommandId);
    EXPECT_EQ(toolbar.GetItemID(1), kFirstHostCommandId);
    EXPECT_EQ(toolbar.GetItemID(2), kFirstHostCommandId + 1);
    EXPECT_EQ(toolbar.GetItemID(3), 0u);
    EXPECT_EQ(toolbar.GetButtonStyle(3) & TBSTYLE_SEP, static_cast<UINT>(TBSTYLE_SEP));
    EXPECT_EQ(host.CommandCount(), 2u);
}

TEST_F(ToolbarObjectTest, TheObjectAnswersItsInterfacesAndNotTheSlotsItLacks)
{
    IToolbarControl* control = object.Get();
    void* out = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(control->QueryInterface(IID_IToolbarControl, &out), S_OK);
    EXPECT_EQ(out, static_cast<void*>(control));
    control->Release();
    EXPECT_EQ(control->QueryInterface(IID_IUnknown, &out), S_OK);
    control->Release();
    EXPECT_EQ(control->QueryInterface(IID_IAddin, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);

    EXPECT_EQ(control->Reserved3(), E_NOTIMPL);
    EXPECT_EQ(control->Reserved4(1), E_NOTIMPL);
    EXPECT_EQ(control->Reserved5(1), E_NOTIMPL);
    EXPECT_EQ(control->Reserved7(1), E_NOTIMPL);
    EXPECT_EQ(control->Reserved9(1, 2, 3, 4, 5, 6, 7, 8), E_NOTIMPL);
    EXPECT_EQ(control->Reserved10(1, 2, 3, 4, 5, 6, 7), E_NOTIMPL);
    EXPECT_EQ(control->Reserved11(1, 2, 3, 4, 5, 6, 7), E_NOTIMPL);
    EXPECT_EQ(control->Reserved14(1, 2, 3, 4, 5, 6), E_NOTIMPL);
    EXPECT_EQ(control->Reserved15(1, 2, 3, 4, 5, 6), E_NOTIMPL);
    EXPECT_EQ(control->Reserved16(1, 2, 3), E_NOTIMPL);
    EXPECT_EQ(toolbar.GetCount(), 0);

    // A button state names a command the table holds.
    EXPECT_EQ(control->SetButtonState(kAddin, 5, kEnabled), E_FAIL);
    ASSERT_EQ(control->AddBitmap(1, Images(1), nullptr), S_OK);
    ASSERT_EQ(control->AddButton(kAddin, 5, 0, kEnabled, 0, ""), S_OK);
    EXPECT_EQ(control->SetButtonState(kAddin, 5, kEnabled), S_OK);
}

TEST_F(ToolbarObjectTest, ControlsLieOnPlaceholdersAndAreFoundByTheirCommand)
{
    IHostApplication& application = *host.HostApplication();
    ASSERT_EQ(object->AddStaticControl(kAddin, 20, "Feed", 60, 0), S_OK);
    ASSERT_EQ(object->AddComboBoxControl(kAddin, 21, "ignored", 90, 120, CBS_DROPDOWNLIST), S_OK);
    ASSERT_EQ(object->AddEditControl(kAddin, 22, "ignored", 70, WS_BORDER), S_OK);
    ASSERT_EQ(object->AddButtonControl(kAddin, 23, "Go", 40, BS_PUSHBUTTON), S_OK);
    ASSERT_EQ(object->AddSpinControl(kAddin, 24, "ignored", 16, 0), S_OK);
    EXPECT_EQ(object->AddButtonControl(kUnknownAddin, 23, "Go", 40, 0), E_FAIL);
    ASSERT_EQ(toolbar.GetCount(), 5);
    ASSERT_EQ(host.ToolbarControls().size(), 5u);

    struct Expected {
        LONG command;
        int width;
        const char* text;
    };
    const Expected expected[] = {{20, 60, "Feed"}, {21, 90, nullptr}, {22, 70, nullptr}, {23, 40, "Go"}, {24, 16, nullptr}};
    for (int i = 0; i < 5; ++i) {
        const Expected& e = expected[i];
        SCOPED_TRACE(e.command);
        const UINT id = IdOf(e.command);
        // The placeholder: a separator with the command's id.
        EXPECT_EQ(toolbar.GetItemID(i), id);
        EXPECT_NE(toolbar.GetButtonStyle(i) & TBSTYLE_SEP, 0u);
        HWND window = ::GetDlgItem(toolbar.GetSafeHwnd(), static_cast<int>(id));
        ASSERT_NE(window, nullptr);
        EXPECT_NE(::GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE, 0);
        RECT placeholder{};
        toolbar.GetItemRect(i, &placeholder);
        RECT rect{};
        ::GetWindowRect(window, &rect);
        toolbar.ScreenToClient(&rect);
        EXPECT_EQ(rect.left, placeholder.left);
        EXPECT_EQ(rect.right - rect.left, e.width);
        if (e.text != nullptr) {
            char text[32] = {};
            ::GetWindowTextA(window, text, sizeof text);
            EXPECT_STREQ(text, e.text);
        }
        // The program finds the control's scripting object by its command.
        IUnknown* found = nullptr;
        EXPECT_EQ(application.GetToolbarCommandControl(kAddin, e.command, &found), S_OK);
        EXPECT_EQ(found, host.ToolbarControls()[static_cast<size_t>(i)].control->GetScriptingObject());
        EXPECT_EQ(host.ToolbarControls()[static_cast<size_t>(i)].commandIndex, host.FindHostCommand(kAddin, e.command));
    }
    // The combo box drops down as far as asked; the edit's border is the
    // sunken client edge.
    HWND combo = ::GetDlgItem(toolbar.GetSafeHwnd(), static_cast<int>(IdOf(21)));
    // (The platform's combo box takes the height it was made with as its
    // list's, below its field.)
    RECT field{};
    ::GetWindowRect(combo, &field);
    RECT dropped{};
    ::SendMessageA(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    EXPECT_EQ((dropped.bottom - dropped.top) - (field.bottom - field.top), 120);
    HWND edit = ::GetDlgItem(toolbar.GetSafeHwnd(), static_cast<int>(IdOf(22)));
    EXPECT_EQ(::GetWindowLongA(edit, GWL_STYLE) & WS_BORDER, 0);
    EXPECT_NE(::GetWindowLongA(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);

    // A command without a control, and one the table lacks.
    IUnknown* none = reinterpret_cast<IUnknown*>(0x1);
    ASSERT_EQ(object->AddBitmap(1, Images(1), nullptr), S_OK);
    ASSERT_EQ(object->AddButton(kAddin, 30, 0, kEnabled, 0, ""), S_OK);
    EXPECT_EQ(application.GetToolbarCommandControl(kAddin, 30, &none), E_FAIL);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(application.GetToolbarCommandControl(kAddin, 99, &none), E_FAIL);

    // The controls, and their entries in the program's list, go with the
    // object.
    object = ComPtr<CToolbarObject>();
    EXPECT_TRUE(host.ToolbarControls().empty());
    EXPECT_EQ(::GetDlgItem(toolbar.GetSafeHwnd(), static_cast<int>(IdOf(20))), nullptr);
}

} // namespace
