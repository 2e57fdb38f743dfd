// Control panels on the pages of a pane group: controls made hidden or
// shown by the panel's place, the stack of panels on a page, the page's
// size from the visible controls, and the controls' notifications reaching
// the owner as events or through the command engine.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/shell/controls/control_panel.h"
#include "host/shell/tests/pane_bar_fixture.h"
#include "platform/controls/controls.h"

namespace {

constexpr DWORD kVisible = WS_VISIBLE;

class ControlPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        pane.Build({Page("Tree", kPageTree), Page("Parameters", kPageControlPanels),
                    Page("More", kPageControlPanels)});
    }
    IControlPanel* MakePanel(int page)
    {
        IControlPanel* panel = nullptr;
        EXPECT_NE(panel = pane.Dialog().CreateControlPanel(page), nullptr);
        return panel;
    }
    CControlPanel& Of(IControlPanel* panel) { return *static_cast<CControlPanel*>(panel); }
    bool Shows(IControlPanel* panel, size_t index) { return Of(panel).GetControlWindow(index)->IsWindowVisible(); }
    // A click of a button in the panel, as the user's click arrives.
    void Click(IControlPanel* panel, size_t index)
    {
        Of(panel).GetControlWindow(index)->SendMessage(BM_CLICK);
    }

    PaneBarFixture pane;
    std::vector<std::string> log;
};

TEST_F(ControlPanelTest, APanelOnAnotherPageWaitsHiddenUntilItsPageShows)
{
    ASSERT_EQ(pane.Dialog().SelectedPage(), 0);
    IControlPanel* panel = MakePanel(1);
    const RECT rect{4, 4, 100, 24};
    LONG index = -1;
    ASSERT_EQ(panel->AddStatic("Z Top", kVisible, &rect, 10, &index), S_OK);
    EXPECT_EQ(index, 0);
    ASSERT_EQ(panel->AddEdit("", kVisible | WS_BORDER, &rect, 11, &index), S_OK);
    ASSERT_EQ(panel->AddButton("Hidden", 0, &rect, 12, &index), S_OK);
    EXPECT_EQ(index, 2);
    EXPECT_TRUE(Of(panel).IsHidden());
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(Of(panel).GetControlWindow(i)->GetStyle() & WS_VISIBLE, 0u) << i;
    }
    // WS_BORDER became the client edge.
    EXPECT_EQ(Of(panel).GetControlWindow(1)->GetStyle() & WS_BORDER, 0u);
    EXPECT_NE(Of(panel).GetControlWindow(1)->GetExStyle() & 0x200u, 0u);

    EXPECT_EQ(panel->ShowAll(), S_OK);
    EXPECT_TRUE(Of(panel).IsHidden());
    pane.Dialog().SelectPage(1);
    EXPECT_FALSE(Of(panel).IsHidden());
    EXPECT_TRUE(Shows(panel, 0));
    EXPECT_TRUE(Shows(panel, 1));
    EXPECT_FALSE(Shows(panel, 2));
    EXPECT_TRUE(pane.Dialog().TabControl()->Viewport().IsWindowVisible());

    // Back to the tree: the panel hides and the tree shows.
    pane.Dialog().SelectPage(0);
    EXPECT_TRUE(Of(panel).IsHidden());
    EXPECT_FALSE(Shows(panel, 0));
    EXPECT_TRUE(pane.Dialog().Pages()[0].window->IsWindowVisible());
    EXPECT_FALSE(pane.Dialog().TabControl()->Viewport().IsWindowVisible());
}

TEST_F(ControlPanelTest, HidingAndShowingRestoresWhatEachControlShowed)
{
    pane.Dialog().SelectPage(1);
    IControlPanel* panel = MakePanel(1);
    EXPECT_FALSE(Of(panel).IsHidden());
    const RECT rect{4, 4, 100, 24};
    panel->AddButton("One", kVisible, &rect, 1, nullptr);
    panel->AddButton("Two", kVisible, &rect, 2, nullptr);
    panel->ShowAll();
    // The owner hides one control itself.
    Of(panel).GetControlWindow(1)->ShowWindow(SW_HIDE);
    EXPECT_EQ(panel->HideAll(), S_OK);
    EXPECT_FALSE(Shows(panel, 0));
    EXPECT_EQ(panel->ShowAll(), S_OK);
    EXPECT_TRUE(Shows(panel, 0));
    EXPECT_FALSE(Shows(panel, 1));
}

TEST_F(ControlPanelTest, LayoutSizesThePageToTheVisibleControls)
{
    pane.Dialog().SelectPage(1);
    IControlPanel* panel = MakePanel(1);
    panel->ShowAll();
    CScrollPageDialog& page = pane.Dialog().TabControl()->PageDialog();
    ASSERT_EQ(panel->Layout(), S_OK);
    CRect size;
    page.GetWindowRect(&size);
    EXPECT_EQ(size.Size(), CSize(2, 2));

    const RECT edit{10, 20, 110, 40};
    const RECT far{10, 200, 400, 220};
    panel->AddEdit("", kVisible, &edit, 5, nullptr);
    panel->AddButton("Far", 0, &far, 6, nullptr);
    ASSERT_EQ(panel->Layout(), S_OK);
    page.GetWindowRect(&size);
    EXPECT_EQ(size.Size(), CSize(112, 42));

    panel->HideAll();
    EXPECT_EQ(panel->Layout(), E_FAIL);
}

TEST_F(ControlPanelTest, StackedPanelsShowTheTopOneAndRelinkWhenOneGoes)
{
    pane.Dialog().SelectPage(1);
    const RECT rect{4, 4, 100, 24};
    IControlPanel* bottom = MakePanel(1);
    bottom->AddButton("Bottom", kVisible, &rect, 1, nullptr);
    bottom->ShowAll();
    IControlPanel* middle = MakePanel(1);
    middle->AddButton("Middle", kVisible, &rect, 1, nullptr);
    middle->ShowAll();
    IControlPanel* top = MakePanel(1);
    top->AddButton("Top", kVisible, &rect, 1, nullptr);
    top->ShowAll();
    PanePage& page = pane.Dialog().Pages()[1];
    EXPECT_EQ(page.currentPanel, &Of(top));
    EXPECT_FALSE(Shows(middle, 0));
    EXPECT_TRUE(Shows(top, 0));

    // The panel below the top one goes: the top one now sits on the bottom one.
    EXPECT_EQ(middle->Destroy(), S_OK);
    EXPECT_EQ(page.panels.size(), 2u);
    EXPECT_EQ(Of(top).PreviousPanel(), &Of(bottom));
    EXPECT_EQ(top->HideAll(), S_OK);
    EXPECT_EQ(page.currentPanel, &Of(bottom));
    EXPECT_TRUE(Shows(bottom, 0));
    EXPECT_FALSE(Shows(top, 0));
    // Destroying the current panel brings back the one below.
    top->ShowAll();
    EXPECT_EQ(top->Destroy(), S_OK);
    EXPECT_EQ(page.currentPanel, &Of(bottom));
    EXPECT_TRUE(Shows(bottom, 0));
}

TEST_F(ControlPanelTest, AReleaseNeverFreesAPanelItsPageHolds)
{
    IControlPanel* panel = MakePanel(1);
    EXPECT_EQ(panel->Release(), 0u);
    EXPECT_EQ(panel->Release(), 0u);
    const RECT rect{4, 4, 100, 24};
    EXPECT_EQ(panel->AddStatic("still here", kVisible, &rect, 3, nullptr), S_OK);
    void* out = nullptr;
    EXPECT_EQ(panel->QueryInterface(IID_IControlPanel, &out), S_OK);
    EXPECT_EQ(out, static_cast<void*>(panel));
    EXPECT_EQ(panel->QueryInterface(IID_IControlBase, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
}

TEST_F(ControlPanelTest, GetControlFindsTheFirstOfAnIdAndRemovedObjectsStopDriving)
{
    IControlPanel* panel = MakePanel(1);
    const RECT rect{4, 4, 100, 24};
    panel->AddEdit("", kVisible, &rect, 7, nullptr);
    panel->AddButton("Same id", kVisible, &rect, 7, nullptr);
    IUnknown* control = nullptr;
    ASSERT_EQ(panel->GetControl(7, &control), S_OK);
    void* edit = nullptr;
    EXPECT_EQ(control->QueryInterface(IID_IEditControl, &edit), S_OK);
    IUnknown* untouched = reinterpret_cast<IUnknown*>(0x1);
    EXPECT_EQ(panel->GetControl(8, &untouched), E_FAIL);
    EXPECT_EQ(untouched, reinterpret_cast<IUnknown*>(0x1));

    EXPECT_EQ(panel->RemoveAll(), S_OK);
    EXPECT_EQ(Of(panel).GetControlCount(), 0u);
    // The add-in's stale pointer answers without touching a window.
    EXPECT_EQ(static_cast<IEditControl*>(edit)->SetText("gone"), E_FAIL);
    EXPECT_EQ(panel->GetControl(7, &control), E_FAIL);
}

TEST_F(ControlPanelTest, EachKindGetsItsControlAndObject)
{
    IControlPanel* panel = MakePanel(1);
    const RECT rect{4, 4, 100, 24};
    struct Case {
        const char* name;
        HRESULT (STDMETHODCALLTYPE IControlPanel::*add)(const char*, DWORD, const RECT*, LONG, LONG*);
        const IID& iid;
        const char* windowText;
    };
    const Case cases[] = {
        {"title", &IControlPanel::AddTitle, IID_IStaticControl, "text"},
        {"spin", &IControlPanel::AddSpin, IID_ISpinControl, ""},
        {"list box", &IControlPanel::AddListBox, IID_IWindowControl, ""},
        {"static", &IControlPanel::AddStatic, IID_IStaticControl, "text"},
        {"edit", &IControlPanel::AddEdit, IID_IEditControl, ""},
        {"combo box", &IControlPanel::AddComboBox, IID_IComboBoxControl, ""},
        {"button", &IControlPanel::AddButton, IID_IButtonControl, "text"},
        {"slider", &IControlPanel::AddSlider, IID_ISliderControl, ""},
        {"rich edit", &IControlPanel::AddRichEdit, IID_IRichEditControl, ""},
    };
    LONG id = 100;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LONG index = -1;
        ASSERT_EQ((panel->*c.add)("text", kVisible, &rect, id, &index), S_OK);
        IUnknown* control = nullptr;
        ASSERT_EQ(panel->GetControl(id, &control), S_OK);
        void* own = nullptr;
        EXPECT_EQ(control->QueryInterface(c.iid, &own), S_OK);
        CString text;
        Of(panel).GetControlWindow(static_cast<size_t>(index))->GetWindowText(text);
        EXPECT_STREQ(text.GetString(), c.windowText);
        ++id;
    }
    // The spin takes arrow keys, the slider no ticks, the rich edit its own style.
    EXPECT_NE(Of(panel).GetControlWindow(1)->GetStyle() & 0x20u, 0u);
    EXPECT_NE(Of(panel).GetControlWindow(7)->GetStyle() & 0x10u, 0u);
    // (the scroll bars come and go with the text).
    EXPECT_EQ(Of(panel).GetControlWindow(8)->GetStyle() & 0xFFFFu, 0x10C4u);
}

class PanelNotificationTest : public ControlPanelTest {
protected:
    void SetUp() override
    {
        ControlPanelTest::SetUp();
        pane.Dialog().SelectPage(1);
        panel = MakePanel(1);
        const RECT rect{4, 4, 100, 24};
        panel->AddButton("OK", kVisible, &rect, 1, nullptr);
        panel->AddButton("Recalculate", kVisible, &rect, 20, nullptr);
        panel->ShowAll();
        held = ComPtr<RecordingCommand>::Share(new RecordingCommand(log, 0));
        owner = held.Get();
        panel->SetOwner(owner);
    }
    IControlPanel* panel = nullptr;
    ComPtr<RecordingCommand> held;
    RecordingCommand* owner = nullptr;
};

TEST_F(PanelNotificationTest, AnOwnerThatIsNotTheRunningCommandHearsTheControlEvent)
{
    Click(panel, 0);
    Click(panel, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"event 16777216 1 final 1", "event 16777216 20 final 1"}));
}

TEST_F(PanelNotificationTest, TheRunningCommandGetsOkAsAcceptAndItsAnswerClosesTheLevel)
{
    CNuvexDoc& document = pane.fixture.document;
    document.PushLevel(0, owner);
    ASSERT_EQ(document.GetActiveCommandObject(), owner);
    Click(panel, 1);
    Click(panel, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"event 16777216 20 final 1", "event 256 1 final 1"}));
}

TEST_F(PanelNotificationTest, SwitchedOffOrOwnerlessPanelsDropNotifications)
{
    panel->EnableNotify(FALSE);
    Click(panel, 1);
    panel->EnableNotify(TRUE);
    panel->SetOwner(nullptr);
    Click(panel, 1);
    EXPECT_TRUE(log.empty());
    IAddinCommand* stored = owner;
    EXPECT_EQ(panel->GetOwner(&stored), S_OK);
    EXPECT_EQ(stored, nullptr);
}

TEST_F(PanelNotificationTest, WhatControlsSendWhileACommandFillsItsPanelIsDropped)
{
    // A command that clicks the panel's button from its Create.
    TestServices& services = pane.fixture.services;
    constexpr GUID kCommandClass = {0x7e570001, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8}};
    services.commands.push_back(Command(0, 55, kCommandClass));
    auto* command = new RecordingCommand(log, 0);
    command->onCreate = [&] { Click(panel, 1); };
    services.addinFactory.maker = [&](const IID& iid) -> IUnknown* {
        return iid == kCommandClass ? static_cast<IAddinCommand*>(command) : nullptr;
    };
    pane.fixture.document.PushCommandLevel(0);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "create 55");
    for (const std::string& entry : log) {
        EXPECT_EQ(entry.find("16777216 20"), std::string::npos) << entry;
    }
}

TEST_F(PanelNotificationTest, EnterInThePageDoesNothingAndEscCancelsTheRunningCommand)
{
    CNuvexDoc& document = pane.fixture.document;
    document.PushLevel(0, owner);
    CScrollPageDialog& page = pane.Dialog().TabControl()->PageDialog();
    page.SendMessage(WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(log.empty());
    page.SendMessage(WM_COMMAND, IDCANCEL, 0);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "event 16 final 1");
}

TEST_F(ControlPanelTest, ALongPasteIntoAPanelEditReadsBackWithinTheCallersBuffer)
{
    pane.Dialog().SelectPage(1);
    IControlPanel* panel = MakePanel(1);
    const RECT rect{4, 4, 200, 24};
    panel->AddEdit("", kVisible | ES_AUTOHSCROLL, &rect, 30, nullptr);
    panel->ShowAll();
    const std::string pasted(10000, '9');
    ClipboardSetText(pasted);
    Of(panel).GetControlWindow(0)->SendMessage(WM_PASTE);
    IUnknown* control = nullptr;
    ASSERT_EQ(panel->GetControl(30, &control), S_OK);
    void* edit = nullptr;
    ASSERT_EQ(control->QueryInterface(IID_IEditControl, &edit), S_OK);
    // A buffer of exactly the promised size on the heap.
    auto buffer = std::make_unique<char[]>(kControlTextBufferSize);
    EXPECT_EQ(static_cast<IEditControl*>(edit)->GetText(buffer.get()), S_OK);
    EXPECT_EQ(std::string(buffer.get()), pasted.substr(0, kControlTextBufferSize - 1));
    ClipboardClear();
}

} // namespace
