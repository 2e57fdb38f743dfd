// The toolbar controls: a button, combo box, edit, static, spin button and
// slider that embed their scripting object and keep one state record per
// document (CDocumentBinding). The toolbar makes them for add-in commands;
// each document that becomes current gets the add-in's handler object for
// the control's command.
#pragma once

#include <string>
#include <vector>

#include "host/shell/controls/document_binding.h"
#include "host/shell/controls/simple_control_objects.h"

struct ButtonControlState {
    UINT state = 0;
    int check = 0;
    UINT style = 0;
    HICON icon = nullptr;
    HBITMAP bitmap = nullptr;
    std::string text;
};

struct ComboBoxControlState {
    std::vector<std::string> items;
    int selection = 0;
    // Start in the low word, end in the high word.
    DWORD editSelection = 0;
    int topIndex = 0;
    std::string text;
};

struct EditControlState {
    std::vector<std::string> lines;
    DWORD selection = 0;
    int firstVisibleLine = 0;
    BOOL readOnly = FALSE;
};

struct StaticControlState {
    HICON icon = nullptr;
    HBITMAP bitmap = nullptr;
    std::string text;
};

struct SpinControlState {
    int base = 0;
    int position = 0;
    int lower = -32767;
    int upper = 32767;
};

struct SliderControlState {
    int position = 0;
};

// The shared part: the scripting object (bound to the binding), the binding
// and the toolbar's view of the control.
template <class Window, class Object, class Saved>
class CPanelControl : public Window, public IControlStateKeeper<Saved>, public IToolbarHostedControl {
public:
    CPanelControl(IDocumentServices& services, int32_t commandIndex)
        : m_object(this, &m_binding), m_binding(services, commandIndex, *this, static_cast<IUnknown*>(&m_object))
    {
    }
    ~CPanelControl() override { m_object.Detach(); }

    Object& ScriptingObject() { return m_object; }
    CDocumentBinding<Saved>& Binding() { return m_binding; }
    IUnknown* GetScriptingObject() override { return static_cast<IUnknown*>(&m_object); }
    HRESULT SetDocument(IHostDocument* document) override { return m_binding.SetDocument(document); }
    void ReleaseDocument(IHostDocument* document) override { m_binding.ReleaseDocument(document); }

protected:
    Object m_object;
    CDocumentBinding<Saved> m_binding;
};

class CPanelButton final : public CPanelControl<CButton, CButtonObject, ButtonControlState> {
public:
    CPanelButton(IDocumentServices& services, int32_t commandIndex, std::string caption, UINT defaultStyle)
        : CPanelControl(services, commandIndex), m_defaultStyle(defaultStyle), m_caption(std::move(caption))
    {
    }
    ButtonControlState SaveState() override;
    void RestoreState(const ButtonControlState& state) override;
    ButtonControlState NewState() override;

private:
    UINT m_defaultStyle;
    std::string m_caption;
};

class CPanelComboBox final : public CPanelControl<CComboBox, CComboBoxObject, ComboBoxControlState> {
public:
    using CPanelControl::CPanelControl;
    ComboBoxControlState SaveState() override;
    void RestoreState(const ComboBoxControlState& state) override;
    ComboBoxControlState NewState() override { return {}; }
    // A selection change goes to the current document's handler as event
    // 0x1000001 with the new index; nothing without a handler.
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CPanelEdit final : public CPanelControl<CEdit, CEditObject, EditControlState> {
public:
    using CPanelControl::CPanelControl;
    EditControlState SaveState() override;
    void RestoreState(const EditControlState& state) override;
    EditControlState NewState() override { return {}; }
};

class CPanelStatic final : public CPanelControl<CStatic, CStaticObject, StaticControlState> {
public:
    CPanelStatic(IDocumentServices& services, int32_t commandIndex, std::string caption, UINT defaultStyle)
        : CPanelControl(services, commandIndex), m_defaultStyle(defaultStyle), m_caption(std::move(caption))
    {
    }
    StaticControlState SaveState() override;
    void RestoreState(const StaticControlState& state) override;
    StaticControlState NewState() override;

private:
    UINT m_defaultStyle;
    std::string m_caption;
};

class CPanelSpin final : public CPanelControl<CSpinButtonCtrl, CSpinObject, SpinControlState> {
public:
    CPanelSpin(IDocumentServices& services, int32_t commandIndex, UINT defaultValue)
        : CPanelControl(services, commandIndex), m_defaultValue(defaultValue)
    {
    }
    SpinControlState SaveState() override;
    void RestoreState(const SpinControlState& state) override;
    SpinControlState NewState() override { return {}; }
    UINT DefaultValue() const { return m_defaultValue; }

private:
    // Kept from construction; records do not use it.
    UINT m_defaultValue;
};

class CPanelSlider final : public CPanelControl<CSliderCtrl, CSliderObject, SliderControlState> {
public:
    using CPanelControl::CPanelControl;
    SliderControlState SaveState() override;
    void RestoreState(const SliderControlState& state) override;
    SliderControlState NewState() override { return {}; }
};
