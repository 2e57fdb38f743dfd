// Toolbar controls bound per document: each document sees the control as it
// left it, gets one handler object on its first binding, and gives it up
// when it closes; the combo box reports selections to the current handler.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/document/tests/document_test_support.h"
#include "host/shell/controls/panel_controls.h"
#include "objectmodel/com_object.h"
#include "platform/controls/controls.h"
#include "platform/user/inspect.h"

namespace {

constexpr GUID kHandlerClass = {0x5a5a0001, 0x1111, 0x2222, {0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0x00}};
constexpr uint32_t kAddinCommand = 42;

class RecordingHandler : public CCountedObject<IAddinCommand, IID_IAddinCommand> {
public:
    RecordingHandler(std::vector<std::string>& log, int serial) : m_log(log), m_serial(serial) {}
    ~RecordingHandler() override { m_log.push_back("destroyed " + std::to_string(m_serial)); }
    HRESULT STDMETHODCALLTYPE Create(IHostDocument* document, LONG commandNumber, LONG_PTR context) override
    {
        created = {document, commandNumber, context};
        m_log.push_back("create " + std::to_string(m_serial) + " " + std::to_string(commandNumber));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnEvent(LONG event, void* value, LONG final, LONG kind, LONG* result) override
    {
        m_log.push_back("event " + std::to_string(m_serial) + " " + std::to_string(event) + " " +
                        std::to_string(*static_cast<int*>(value)) + " " + std::to_string(final) + " " +
                        std::to_string(kind));
        *result = 0;
        return S_OK;
    }
    struct Created {
        IHostDocument* document = nullptr;
        LONG commandNumber = 0;
        LONG_PTR context = 0;
    } created;

private:
    std::vector<std::string>& m_log;
    int m_serial;
};

class PanelControlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem();
        // A window of the framework, so that it reflects its controls'
        // notifications to them.
        ASSERT_TRUE(window.CreateEx(0, CWnd::AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 300),
                                    nullptr, 0));
        parent = &window;
        services.commands.push_back(Command(0, kAddinCommand, kHandlerClass));
        services.addinFactory.maker = [this](const IID& iid) -> IUnknown* {
            if (iid != kHandlerClass || refuseHandlers) {
                return nullptr;
            }
            auto* handler = new RecordingHandler(log, ++made);
            handlers.push_back(handler);
            return static_cast<IAddinCommand*>(handler);
        };
    }
    void TearDown() override
    {
        window.DestroyWindow();
        AfxDeleteTempMaps();
        ResetWindowSystem();
    }

    // Documents are only keys here, never called.
    IHostDocument* const documentA = reinterpret_cast<IHostDocument*>(0xA000);
    IHostDocument* const documentB = reinterpret_cast<IHostDocument*>(0xB000);
    TestServices services;
    std::vector<std::string> log;
    std::vector<RecordingHandler*> handlers;
    int made = 0;
    bool refuseHandlers = false;
    CWnd window;
    CWnd* parent = nullptr;
};

TEST_F(PanelControlsTest, EachDocumentSeesTheButtonAsItLeftIt)
{
    CPanelButton button(services, 0, "Pocket", BS_AUTOCHECKBOX);
    ASSERT_TRUE(button.Create("Pocket", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 80, 20), parent, 10000));
    IButtonControl& object = button.ScriptingObject();
    ASSERT_EQ(object.SetDocument(documentA), S_OK);
    object.SetText("Changed in A");
    object.SetCheck(BST_CHECKED);

    ASSERT_EQ(object.SetDocument(documentB), S_OK);
    char text[kControlTextBufferSize] = {};
    int check = -1;
    UINT style = 0;
    object.GetText(text);
    object.GetCheck(&check);
    object.GetButtonStyle(&style);
    EXPECT_STREQ(text, "Pocket");
    EXPECT_EQ(check, 0);
    EXPECT_EQ(style, BS_AUTOCHECKBOX);

    ASSERT_EQ(object.SetDocument(documentA), S_OK);
    object.GetText(text);
    object.GetCheck(&check);
    EXPECT_STREQ(text, "Changed in A");
    EXPECT_EQ(check, static_cast<int>(BST_CHECKED));
    IHostDocument* bound = nullptr;
    EXPECT_EQ(object.GetDocument(&bound), S_OK);
    EXPECT_EQ(bound, documentA);
    EXPECT_EQ(button.Binding().Records().size(), 2u);
}

TEST_F(PanelControlsTest, TheFirstBindingToADocumentMakesOneHandler)
{
    CPanelEdit edit(services, 0);
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 80, 20), parent, 10001));
    IEditControl& object = edit.ScriptingObject();
    ASSERT_EQ(object.SetDocument(documentA), S_OK);
    ASSERT_EQ(object.SetDocument(documentA), S_OK);
    ASSERT_EQ(handlers.size(), 1u);
    EXPECT_EQ(handlers[0]->created.document, documentA);
    EXPECT_EQ(handlers[0]->created.commandNumber, static_cast<LONG>(kAddinCommand));
    EXPECT_EQ(handlers[0]->created.context, reinterpret_cast<LONG_PTR>(static_cast<IUnknown*>(&object)));
    EXPECT_EQ(log, (std::vector<std::string>{"create 1 42"}));

    object.SetDocument(documentB);
    object.SetDocument(documentA);
    EXPECT_EQ(handlers.size(), 2u);
    IAddinCommand* handler = nullptr;
    EXPECT_EQ(object.GetCommandObject(documentA, &handler), S_OK);
    EXPECT_EQ(handler, static_cast<IAddinCommand*>(handlers[0]));
    EXPECT_EQ(object.GetCommandObject(reinterpret_cast<IHostDocument*>(0xC000), &handler), E_FAIL);
    EXPECT_EQ(handler, nullptr);
}

TEST_F(PanelControlsTest, AHandlerTheFactoryRefusesLeavesTheBindingWorking)
{
    refuseHandlers = true;
    CPanelStatic label(services, 0, "Feed", 0);
    ASSERT_TRUE(label.Create("Feed", WS_CHILD | WS_VISIBLE, CRect(0, 0, 80, 20), parent, 10002));
    ASSERT_EQ(label.ScriptingObject().SetDocument(documentA), S_OK);
    IAddinCommand* handler = reinterpret_cast<IAddinCommand*>(0x1);
    EXPECT_EQ(label.ScriptingObject().GetCommandObject(documentA, &handler), S_OK);
    EXPECT_EQ(handler, nullptr);
    char text[kControlTextBufferSize] = {};
    label.ScriptingObject().GetText(text);
    EXPECT_STREQ(text, "Feed");
}

TEST_F(PanelControlsTest, AClosedDocumentGivesUpItsRecordAndHandler)
{
    CPanelEdit edit(services, 0);
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 80, 20), parent, 10001));
    edit.SetDocument(documentA);
    edit.ScriptingObject().SetText("old drawing");
    edit.SetDocument(documentB);
    edit.ReleaseDocument(documentA);
    EXPECT_EQ(log, (std::vector<std::string>{"create 1 42", "create 2 42", "destroyed 1"}));

    // A new document at the closed one's address starts afresh.
    edit.SetDocument(documentA);
    ASSERT_EQ(handlers.size(), 3u);
    EXPECT_EQ(handlers[2]->created.document, documentA);
    char text[kControlTextBufferSize] = {};
    edit.ScriptingObject().GetText(text);
    EXPECT_STREQ(text, "");

    // Releasing the current document leaves the control unbound.
    edit.ReleaseDocument(documentA);
    IHostDocument* bound = documentB;
    EXPECT_EQ(edit.ScriptingObject().GetDocument(&bound), E_FAIL);
    EXPECT_EQ(bound, nullptr);
    EXPECT_EQ(edit.Binding().CurrentIndex(), -1);
}

TEST_F(PanelControlsTest, ComboBoxSelectionsReachTheCurrentHandlerOnly)
{
    CPanelComboBox combo(services, 0);
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(0, 0, 120, 100), parent, 10003));
    IComboBoxControl& object = combo.ScriptingObject();
    auto select = [&](int index) {
        combo.SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index));
        parent->SendMessage(WM_COMMAND, MAKEWPARAM(10003, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo.m_hWnd));
    };
    refuseHandlers = true;
    object.SetDocument(documentA);
    object.AddString("first", nullptr);
    object.AddString("second", nullptr);
    select(1);
    EXPECT_TRUE(log.empty());

    refuseHandlers = false;
    object.SetDocument(documentB);
    // B's record starts without items; its own list is kept apart from A's.
    int count = -1;
    object.GetCount(&count);
    EXPECT_EQ(count, 0);
    object.AddString("only", nullptr);
    select(0);
    EXPECT_EQ(log, (std::vector<std::string>{"create 1 42", "event 1 16777217 0 1 0"}));

    object.SetDocument(documentA);
    object.GetCount(&count);
    EXPECT_EQ(count, 2);
    int selection = -1;
    object.GetCurSel(&selection);
    EXPECT_EQ(selection, 1);
}

TEST_F(PanelControlsTest, EditLinesSpinAndSliderStatesRoundTrip)
{
    CPanelEdit edit(services, 0);
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE, CRect(0, 0, 200, 80), parent, 10001));
    CPanelSpin spin(services, 0, 7);
    ASSERT_TRUE(spin.Create(WS_CHILD | WS_VISIBLE, CRect(0, 90, 20, 110), parent, 10004));
    CPanelSlider slider(services, 0);
    ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE, CRect(30, 90, 200, 110), parent, 10005));

    const std::string longLine(3000, 'x');
    edit.SetDocument(documentA);
    spin.SetDocument(documentA);
    slider.SetDocument(documentA);
    edit.ScriptingObject().SetText(("G0 X1\r\n" + longLine + "\r\nM30").c_str());
    edit.ScriptingObject().SetReadOnly(TRUE, nullptr);
    spin.ScriptingObject().SetPos(12);
    slider.ScriptingObject().SetRange(0, 100);
    slider.ScriptingObject().SetPos(40);

    edit.SetDocument(documentB);
    spin.SetDocument(documentB);
    slider.SetDocument(documentB);
    int lower = 0;
    int upper = 0;
    spin.ScriptingObject().GetRange(&lower, &upper);
    EXPECT_EQ(lower, -32767);
    EXPECT_EQ(upper, 32767);
    EXPECT_EQ(edit.GetWindowTextLength(), 0);
    EXPECT_EQ(edit.GetStyle() & ES_READONLY, 0u);

    edit.SetDocument(documentA);
    spin.SetDocument(documentA);
    slider.SetDocument(documentA);
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(std::string(text.GetString()), "G0 X1\r\n" + longLine + "\r\nM30");
    EXPECT_NE(edit.GetStyle() & ES_READONLY, 0u);
    int pos = 0;
    spin.ScriptingObject().GetPos(&pos);
    EXPECT_EQ(pos & 0xFFFF, 12);
    slider.ScriptingObject().GetPos(&pos);
    EXPECT_EQ(pos, 40);
}

} // namespace
