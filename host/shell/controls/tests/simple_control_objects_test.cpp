// The simple controls' scripting objects over real headless controls: what
// QueryInterface answers, the common slots without a control or a binding,
// the counts that never free an owned object, the message rules the slots
// fix, and text that never runs past a caller's buffer.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/shell/controls/simple_control_objects.h"
#include "platform/controls/controls.h"
#include "platform/user/inspect.h"

namespace {

class SimpleControlObjectsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem();
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "ControlObjectsHost";
        RegisterClassA(&wc);
        host = CreateWindowExA(0, "ControlObjectsHost", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                               nullptr, nullptr);
        parent = CWnd::FromHandle(host);
        const DWORD child = WS_CHILD | WS_VISIBLE;
        ASSERT_TRUE(button.Create("Go", child | BS_AUTOCHECKBOX, CRect(0, 0, 80, 20), parent, 10));
        ASSERT_TRUE(combo.Create(child | CBS_DROPDOWN, CRect(0, 30, 120, 150), parent, 11));
        ASSERT_TRUE(edit.Create(child | ES_AUTOHSCROLL, CRect(0, 60, 120, 80), parent, 12));
        ASSERT_TRUE(list.Create(child | LBS_EXTENDEDSEL, CRect(130, 0, 250, 100), parent, 13));
        ASSERT_TRUE(slider.Create(child, CRect(130, 110, 250, 130), parent, 14));
        ASSERT_TRUE(spin.Create(child | UDS_ARROWKEYS, CRect(260, 0, 280, 20), parent, 15));
        ASSERT_TRUE(label.Create("Label", child, CRect(260, 30, 380, 50), parent, 16));
    }
    void TearDown() override
    {
        AfxDeleteTempMaps();
        ResetWindowSystem();
    }

    HWND host = nullptr;
    CWnd* parent = nullptr;
    CButton button;
    CComboBox combo;
    CEdit edit;
    CListBox list;
    CSliderCtrl slider;
    CSpinButtonCtrl spin;
    CStatic label;
};

TEST_F(SimpleControlObjectsTest, QueryInterfaceAnswersUnknownTheBaseAndTheOwnInterface)
{
    CButtonObject buttonObject(&button);
    CComboBoxObject comboObject(&combo);
    CEditObject editObject(&edit);
    CListBoxObject listObject(&list);
    CSliderObject sliderObject(&slider);
    CSpinObject spinObject(&spin);
    CStaticObject staticObject(&label);
    struct Case {
        const char* name;
        IUnknown* object;
        const IID& own;
    };
    const Case cases[] = {
        {"button", static_cast<IButtonControl*>(&buttonObject), IID_IButtonControl},
        {"combo box", static_cast<IComboBoxControl*>(&comboObject), IID_IComboBoxControl},
        {"edit", static_cast<IEditControl*>(&editObject), IID_IEditControl},
        {"list box", static_cast<IWindowControl*>(&listObject), IID_IWindowControl},
        {"slider", static_cast<ISliderControl*>(&sliderObject), IID_ISliderControl},
        {"spin", static_cast<ISpinControl*>(&spinObject), IID_ISpinControl},
        {"static", static_cast<IStaticControl*>(&staticObject), IID_IStaticControl},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const IID* iid : {&IID_IUnknown, &IID_IControlBase, &c.own}) {
            void* out = nullptr;
            EXPECT_EQ(c.object->QueryInterface(*iid, &out), S_OK);
            EXPECT_EQ(out, static_cast<void*>(c.object));
        }
        void* out = reinterpret_cast<void*>(0x1);
        EXPECT_EQ(c.object->QueryInterface(IID_ITreeControl, &out), E_NOINTERFACE);
        EXPECT_EQ(out, nullptr);
        // Three successful queries, each with a reference.
        EXPECT_EQ(c.object->Release(), 2u);
    }
}

TEST_F(SimpleControlObjectsTest, AnUnbalancedReleaseNeverFreesAnOwnedObject)
{
    // Heap-allocated so that AddressSanitizer sees a free of an owned object.
    auto object = std::make_unique<CEditObject>(&edit);
    EXPECT_EQ(object->AddRef(), 1u);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_EQ(object->SetText("still here"), S_OK);
    char text[kControlTextBufferSize] = {};
    EXPECT_EQ(object->GetText(text), S_OK);
    EXPECT_STREQ(text, "still here");
}

TEST_F(SimpleControlObjectsTest, PanelObjectsHaveNoDocumentBinding)
{
    CButtonObject buttonObject(&button);
    CListBoxObject listObject(&list);
    auto* document = reinterpret_cast<IHostDocument*>(0x2000);
    IHostDocument* bound = document;
    IAddinCommand* handler = reinterpret_cast<IAddinCommand*>(0x3000);

    EXPECT_EQ(buttonObject.GetDocument(&bound), E_FAIL);
    EXPECT_EQ(bound, nullptr);
    EXPECT_EQ(buttonObject.SetDocument(document), E_FAIL);
    EXPECT_EQ(buttonObject.GetCommandObject(document, &handler), E_FAIL);
    EXPECT_EQ(handler, nullptr);
    EXPECT_FALSE(buttonObject.IsDocumentBound());

    handler = reinterpret_cast<IAddinCommand*>(0x3000);
    EXPECT_EQ(listObject.GetCommandObject(document, &handler), E_NOTIMPL);
    EXPECT_EQ(listObject.SetDocument(document), E_FAIL);
    bound = document;
    EXPECT_EQ(listObject.GetDocument(&bound), E_FAIL);
    EXPECT_EQ(bound, nullptr);
}

TEST_F(SimpleControlObjectsTest, WithoutAControlEverySlotFailsButSetFocus)
{
    CButtonObject buttonObject(nullptr);
    CEditObject editObject(nullptr);
    CComboBoxObject comboObject(nullptr);
    CListBoxObject listObject(nullptr);
    CSpinObject spinObject(nullptr);
    CSliderObject sliderObject(nullptr);
    CStaticObject staticObject(nullptr);
    int value = 77;
    char text[8] = "keep";
    struct Case {
        const char* name;
        HRESULT result;
        HRESULT expected;
    };
    const Case cases[] = {
        {"enable", buttonObject.Enable(TRUE), E_FAIL},
        {"redraw", buttonObject.Redraw(nullptr), E_FAIL},
        {"modify style", editObject.ModifyStyle(0, WS_BORDER, 0), E_FAIL},
        {"modify extended style", editObject.ModifyStyleEx(0, 0x200, 0), E_FAIL},
        {"button focus", buttonObject.SetFocus(), S_OK},
        {"edit focus", editObject.SetFocus(), S_OK},
        {"button check", buttonObject.GetCheck(&value), E_FAIL},
        {"button text", buttonObject.GetText(text), E_FAIL},
        {"edit text", editObject.GetText(text), E_FAIL},
        {"combo selection", comboObject.SetCurSel(0), E_FAIL},
        {"combo count", comboObject.GetCount(&value), E_FAIL},
        {"list count", listObject.GetCount(&value), E_FAIL},
        {"spin position", spinObject.GetPos(&value), E_FAIL},
        {"slider position", sliderObject.SetPos(3), E_FAIL},
        {"static text", staticObject.SetText("x"), E_FAIL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.result, c.expected);
    }
    // Out values stay as they were.
    EXPECT_EQ(value, 77);
    EXPECT_STREQ(text, "keep");
}

TEST_F(SimpleControlObjectsTest, ButtonSlotsReachTheButton)
{
    CButtonObject object(&button);
    EXPECT_EQ(object.SetCheck(BST_CHECKED), S_OK);
    int check = -1;
    EXPECT_EQ(object.GetCheck(&check), S_OK);
    EXPECT_EQ(check, static_cast<int>(BST_CHECKED));
    EXPECT_EQ(object.SetState(TRUE), S_OK);
    UINT state = 0;
    EXPECT_EQ(object.GetState(&state), S_OK);
    EXPECT_NE(state & BST_PUSHED, 0u);
    EXPECT_EQ(object.SetButtonStyle(BS_CHECKBOX), S_OK);
    UINT style = 0;
    EXPECT_EQ(object.GetButtonStyle(&style), S_OK);
    EXPECT_EQ(style, BS_CHECKBOX);
    EXPECT_EQ(object.SetText("Recalculate"), S_OK);
    char text[kControlTextBufferSize] = {};
    EXPECT_EQ(object.GetText(text), S_OK);
    EXPECT_STREQ(text, "Recalculate");
    EXPECT_EQ(object.Enable(FALSE), S_OK);
    EXPECT_FALSE(button.IsWindowEnabled());
}

TEST_F(SimpleControlObjectsTest, ComboBoxSelectionRules)
{
    CComboBoxObject object(&combo);
    int index = -5;
    for (const char* item : {"Power Control CNC", "Siemens 3Axis Milling"}) {
        EXPECT_EQ(object.AddString(item, nullptr), S_OK);
    }
    EXPECT_EQ(object.InsertString(0, "First", &index), S_OK);
    EXPECT_EQ(index, 0);

    EXPECT_EQ(object.SetCurSel(2), S_OK);
    EXPECT_EQ(object.GetCurSel(&index), S_OK);
    EXPECT_EQ(index, 2);
    // -1 clears the selection and counts as a failure.
    EXPECT_EQ(object.SetCurSel(-1), E_FAIL);
    EXPECT_EQ(object.GetCurSel(&index), S_OK);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(object.SetCurSel(9), E_FAIL);

    EXPECT_EQ(object.FindStringExact(-1, "Siemens 3Axis Milling", &index), S_OK);
    EXPECT_EQ(index, 2);
    char text[kControlTextBufferSize] = {};
    int length = 0;
    EXPECT_EQ(object.GetLBText(1, text, &length), S_OK);
    EXPECT_STREQ(text, "Power Control CNC");
    EXPECT_EQ(length, 17);
    EXPECT_EQ(object.GetLBText(7, text, &length), S_OK);
    EXPECT_EQ(length, CB_ERR);
    EXPECT_EQ(object.DeleteString(0, &index), S_OK);
    EXPECT_EQ(index, 2);
}

TEST_F(SimpleControlObjectsTest, ListBoxDeselectsARangeFromLastToFirst)
{
    CListBoxObject object(&list);
    for (const char* item : {"a", "b", "c", "d", "e"}) {
        object.AddString(item, nullptr);
    }
    int result = -5;
    EXPECT_EQ(object.SelItemRange(TRUE, 0, 4, &result), S_OK);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(object.SelItemRange(FALSE, 1, 3, nullptr), S_OK);
    std::vector<int> selected(5, 0);
    for (int i = 0; i < 5; ++i) {
        object.GetSel(i, &selected[static_cast<size_t>(i)]);
    }
    EXPECT_EQ(selected, (std::vector<int>{1, 0, 0, 0, 1}));
    int count = 0;
    EXPECT_EQ(object.GetSelCount(&count), S_OK);
    EXPECT_EQ(count, 2);
}

TEST_F(SimpleControlObjectsTest, SpinPositionIsCutTo16Bits)
{
    CSpinObject object(&spin);
    EXPECT_EQ(object.SetRange(-32767, 32767), S_OK);
    int lower = 0;
    int upper = 0;
    EXPECT_EQ(object.GetRange(&lower, &upper), S_OK);
    EXPECT_EQ(lower, -32767);
    EXPECT_EQ(upper, 32767);
    EXPECT_EQ(object.SetPos(70000), S_OK);
    int pos = 0;
    EXPECT_EQ(object.GetPos(&pos), S_OK);
    EXPECT_EQ(pos & 0xFFFF, 4464);
    EXPECT_EQ(object.SetBase(16), S_OK);
    int base = 0;
    EXPECT_EQ(object.GetBase(&base), S_OK);
    EXPECT_EQ(base, 16);
}

TEST_F(SimpleControlObjectsTest, SliderAndStaticSlots)
{
    CSliderObject sliderObject(&slider);
    EXPECT_EQ(sliderObject.SetRange(5, 50), S_OK);
    EXPECT_EQ(sliderObject.SetPos(20), S_OK);
    int min = 0;
    int max = 0;
    int pos = 0;
    sliderObject.GetRange(&min, &max);
    sliderObject.GetPos(&pos);
    EXPECT_EQ(min, 5);
    EXPECT_EQ(max, 50);
    EXPECT_EQ(pos, 20);

    CStaticObject staticObject(&label);
    EXPECT_EQ(staticObject.SetText("Z Top"), S_OK);
    char text[kControlTextBufferSize] = {};
    EXPECT_EQ(staticObject.GetText(text), S_OK);
    EXPECT_STREQ(text, "Z Top");
}

TEST_F(SimpleControlObjectsTest, LongTextIsCutToTheCallersBuffer)
{
    // Exactly the buffer the interface promises to stay within, on the heap,
    // so that one byte more is an overflow AddressSanitizer reports.
    const std::string typed(10000, '7');
    auto buffer = std::make_unique<char[]>(kControlTextBufferSize);
    CEditObject editObject(&edit);
    EXPECT_EQ(editObject.SetText(typed.c_str()), S_OK);
    EXPECT_EQ(editObject.GetText(buffer.get()), S_OK);
    EXPECT_EQ(std::string(buffer.get()), typed.substr(0, kControlTextBufferSize - 1));

    CComboBoxObject comboObject(&combo);
    comboObject.AddString(typed.c_str(), nullptr);
    int length = 0;
    EXPECT_EQ(comboObject.GetLBText(0, buffer.get(), &length), S_OK);
    EXPECT_EQ(length, kControlTextBufferSize - 1);
    EXPECT_EQ(comboObject.SetText(typed.c_str()), S_OK);
    EXPECT_EQ(comboObject.GetText(buffer.get()), S_OK);
    EXPECT_EQ(std::strlen(buffer.get()), static_cast<size_t>(kControlTextBufferSize - 1));

    CListBoxObject listObject(&list);
    listObject.AddString(typed.c_str(), nullptr);
    EXPECT_EQ(listObject.GetText(0, buffer.get(), &length), S_OK);
    EXPECT_EQ(length, kControlTextBufferSize - 1);
}

} // namespace
