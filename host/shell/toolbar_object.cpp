// CToolbarObject: buttons, bitmaps and controls on one toolbar of the main
// frame for the add-ins.
#include "host/shell/toolbar_object.h"

#include "host/menulook/new_tool_bar.h"
#include "host/shell/main_frame.h"
#include "host/shell/addin_host.h"
#include "host/shell/controls/panel_controls.h"
#include "iids.h"
#include "platform/controls/commctrl.h"
#include "platform/user/winuser.h"

namespace {

constexpr BYTE kButtonEnabled = 4;
constexpr BYTE kStyleSeparator = 1;
// Every control is a visible child of the toolbar.
constexpr DWORD kChildVisible = WS_CHILD | WS_VISIBLE;

} // namespace

// A control the object put on its toolbar: the window it owns and the same
// object as the program's list of toolbar controls sees it.
struct CToolbarObject::Control {
    std::unique_ptr<CWnd> window;
    IToolbarHostedControl* hosted = nullptr;
};

CToolbarObject::CToolbarObject(CNewToolBar& toolbar, CAddinHost& host) : m_toolbar(toolbar), m_host(host) {}

CToolbarObject::~CToolbarObject()
{
    for (const std::unique_ptr<Control>& control : m_controls) {
        m_host.RemoveToolbarControl(control->hosted);
    }
}

HRESULT CToolbarObject::QueryInterface(REFIID riid, void** out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IToolbarControl)) {
        *out = static_cast<IToolbarControl*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG CToolbarObject::AddRef() { return static_cast<ULONG>(++m_references); }

ULONG CToolbarObject::Release()
{
    const LONG left = --m_references;
    if (left <= 0) {
        delete this;
        return 0;
    }
    return static_cast<ULONG>(left);
}

HRESULT CToolbarObject::SetButtonState(IAddin* addin, LONG commandId, LONG state)
{
    const int index = m_host.FindHostCommand(addin, commandId);
    if (index < 0) {
        return E_FAIL;
    }
    m_host.SetCommandButtonState(index, state);
    return S_OK;
}

int CToolbarObject::ImageCount() const
{
    if (m_toolbar.GetSafeHwnd() == nullptr) {
        return 0;
    }
    auto list = reinterpret_cast<HIMAGELIST>(m_toolbar.SendMessage(TB_GETIMAGELIST));
    if (list == nullptr) {
        list = m_toolbar.NormalImages();
    }
    return list != nullptr ? ImageList_GetImageCount(list) : 0;
}

HRESULT CToolbarObject::AddBitmap(LONG count, HBITMAP bitmap, LONG* firstImage)
{
    if (firstImage != nullptr) {
        *firstImage = ImageCount();
    }
    TBADDBITMAP add{};
    add.hInst = nullptr;
    add.nID = reinterpret_cast<UINT_PTR>(bitmap);
    m_toolbar.SendMessage(TB_ADDBITMAP, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(&add));
    return S_OK;
}

HRESULT CToolbarObject::AddButton(IAddin* addin, LONG commandId, LONG image, BYTE state, BYTE style, const char*)
{
    // 1. An add-in's button shows one of the toolbar's images; only a
    //    separator stands without an add-in.
    if (addin != nullptr) {
        if (image < 0 || image >= ImageCount()) {
            return E_FAIL;
        }
    } else if ((style & kStyleSeparator) == 0) {
        return E_FAIL;
    }
    // 2. The command's host command id (the entry found or appended).
    int command = 0;
    if (addin != nullptr) {
        const int32_t index = m_host.GetHostCommand(addin, static_cast<uint32_t>(commandId));
        if (index < 0) {
            return E_FAIL;
        }
        command = static_cast<int>(kFirstHostCommandId) + index;
    }
    // 3. One button, and the toolbar sized to its buttons.
    TBBUTTON button{};
    button.iBitmap = image;
    button.idCommand = command;
    button.fsState = state;
    button.fsStyle = style;
    m_toolbar.SendMessage(TB_ADDBUTTONS, 1, reinterpret_cast<LPARAM>(&button));
    m_toolbar.SendMessage(TB_AUTOSIZE);
    return S_OK;
}

HRESULT CToolbarObject::AddControl(ControlKind kind, IAddin* addin, LONG commandId, const char* text, LONG width,
                                   LONG dropHeight, DWORD style)
{
    // 1. The command's host command id.
    const int32_t index = m_host.GetHostCommand(addin, static_cast<uint32_t>(commandId));
    if (index < 0 || m_toolbar.GetSafeHwnd() == nullptr) {
        return E_FAIL;
    }
    const UINT id = kFirstHostCommandId + static_cast<UINT>(index);
    const char* caption = text != nullptr ? text : "";

    // 2. The control object.
    auto control = std::make_unique<Control>();
    switch (kind) {
    case ControlKind::Button: {
        auto* button = new CPanelButton(m_host, index, caption, style);
        control->window.reset(button);
        control->hosted = button;
        break;
    }
    case ControlKind::Edit: {
        auto* edit = new CPanelEdit(m_host, index);
        control->window.reset(edit);
        control->hosted = edit;
        break;
    }
    case ControlKind::ComboBox: {
        auto* combo = new CPanelComboBox(m_host, index);
        control->window.reset(combo);
        control->hosted = combo;
        break;
    }
    case ControlKind::Static: {
        auto* label = new CPanelStatic(m_host, index, caption, style);
        control->window.reset(label);
        control->hosted = label;
        break;
    }
    case ControlKind::Spin: {
        auto* spin = new CPanelSpin(m_host, index, style);
        control->window.reset(spin);
        control->hosted = spin;
        break;
    }
    }

    // 3. A separator as wide as the control holds its place.
    TBBUTTON placeholder{};
    placeholder.iBitmap = static_cast<int>(width);
    placeholder.idCommand = static_cast<int>(id);
    placeholder.fsState = kButtonEnabled;
    placeholder.fsStyle = kStyleSeparator;
    m_toolbar.SendMessage(TB_ADDBUTTONS, 1, reinterpret_cast<LPARAM>(&placeholder));
    if (kind != ControlKind::Edit) {
        m_toolbar.SendMessage(TB_AUTOSIZE);
    }

    // 4. The control lies over the placeholder.
    RECT rect{};
    m_toolbar.GetItemRect(m_toolbar.GetCount() - 1, &rect);
    rect.right = rect.left + static_cast<int>(width);
    if (kind == ControlKind::ComboBox) {
        rect.bottom = rect.top + static_cast<int>(dropHeight);
    }

    // 5. The window, a child of the toolbar with the command's id.
    BOOL created = FALSE;
    switch (kind) {
    case ControlKind::Button:
        created = static_cast<CButton*>(control->window.get())->Create(caption, style | kChildVisible, rect, &m_toolbar, id);
        break;
    case ControlKind::Edit: {
        // The edit's border is the sunken client edge, not a flat line.
        auto* edit = static_cast<CEdit*>(control->window.get());
        created = edit->Create((style & ~WS_BORDER) | kChildVisible, rect, &m_toolbar, id);
        if (created && (style & WS_BORDER) != 0) {
            edit->ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED);
        }
        break;
    }
    case ControlKind::ComboBox:
        created = static_cast<CComboBox*>(control->window.get())->Create(style | kChildVisible, rect, &m_toolbar, id);
        break;
    case ControlKind::Static:
        created = static_cast<CStatic*>(control->window.get())->Create(caption, style | kChildVisible, rect, &m_toolbar, id);
        break;
    case ControlKind::Spin:
        created =
            static_cast<CSpinButtonCtrl*>(control->window.get())->Create(style | kChildVisible, rect, &m_toolbar, id);
        break;
    }
    // 6. A control that cannot be made leaves only its placeholder.
    if (!created) {
        return E_FAIL;
    }
    if (kind == ControlKind::Button || kind == ControlKind::Static) {
        control->window->SetWindowText(caption);
    }

    // 7. The GUI font; the program knows the control by its command, and it
    //    takes up the active document.
    control->window->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    m_host.AddToolbarControl(control->hosted, index);
    IToolbarHostedControl* hosted = control->hosted;
    m_controls.push_back(std::move(control));
    hosted->SetDocument(nullptr);
    return S_OK;
}

HRESULT CToolbarObject::AddButtonControl(IAddin* addin, LONG commandId, const char* text, LONG width, DWORD style)
{
    return AddControl(ControlKind::Button, addin, commandId, text, width, 0, style);
}

HRESULT CToolbarObject::AddEditControl(IAddin* addin, LONG commandId, const char*, LONG width, DWORD style)
{
    return AddControl(ControlKind::Edit, addin, commandId, nullptr, width, 0, style);
}

HRESULT CToolbarObject::AddComboBoxControl(IAddin* addin, LONG commandId, const char*, LONG width, LONG dropHeight,
                                           DWORD style)
{
    return AddControl(ControlKind::ComboBox, addin, commandId, nullptr, width, dropHeight, style);
}

HRESULT CToolbarObject::AddStaticControl(IAddin* addin, LONG commandId, const char* text, LONG width, DWORD style)
{
    return AddControl(ControlKind::Static, addin, commandId, text, width, 0, style);
}

HRESULT CToolbarObject::AddSpinControl(IAddin* addin, LONG commandId, const char*, LONG width, DWORD style)
{
    return AddControl(ControlKind::Spin, addin, commandId, nullptr, width, 0, style);
}
