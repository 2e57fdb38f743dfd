// The control panel: adding controls to a page, the stack of panels on a
// page, the page's size from the visible controls, and the controls'
// notifications turned into command events of the owner.
#include "host/shell/controls/control_panel.h"

#include <algorithm>
#include <cstring>

#include "host/document/nuvex_doc.h"
#include "host/shell/controls/rich_edit_line_ctrl.h"
#include "host/shell/controls/simple_control_objects.h"
#include "host/shell/pane_group_dialog.h"
#include "platform/controls/controls.h"
#include "platform/controls/richedit.h"
#include "platform/gdi/gdi.h"

namespace {

// The panel-control event, and the accept event a click of control 1 (the
// OK button) becomes while the owner is the running command.
constexpr LONG kEventPanelControl = 0x1000000;
constexpr LONG kEventAccept = 0x100;
constexpr LONG kNotHandled = 0x10000000;
constexpr LONG kOkControlValue = 1;

constexpr DWORD kClientEdge = 0x200;
constexpr DWORD kSpinArrowKeys = 0x20;
constexpr DWORD kSliderNoTicks = 0x10;
// The title font: the dialog font's face, this tall and bold.
constexpr LONG kTitleFontHeight = 18;
constexpr LONG kTitleFontWeight = 700;
// The page keeps this far beyond its farthest visible control.
constexpr int kPageMargin = 2;

template <class Object>
class OwnedObject final : public CPanelControlObject {
public:
    template <class Control>
    explicit OwnedObject(Control* control) : m_object(control)
    {
    }
    IUnknown* Unknown() override { return static_cast<IControlBase*>(&m_object); }
    void Detach() override { m_object.Detach(); }

private:
    Object m_object;
};

// A control window and its separately made scripting object, before the
// window exists.
struct NewControl {
    std::unique_ptr<CWnd> window;
    std::unique_ptr<CPanelControlObject> object;
    IUnknown* unknown = nullptr;
};

template <class Window, class Object>
NewControl Make()
{
    NewControl made;
    auto window = std::make_unique<Window>();
    made.object = std::make_unique<OwnedObject<Object>>(window.get());
    made.unknown = made.object->Unknown();
    made.window = std::move(window);
    return made;
}

NewControl MakeControl(CControlPanel::Kind kind, IRichEditLineEvents* lineEvents)
{
    using Kind = CControlPanel::Kind;
    switch (kind) {
    case Kind::Title:
    case Kind::Static: return Make<CStatic, CStaticObject>();
    case Kind::Spin: return Make<CSpinButtonCtrl, CSpinObject>();
    case Kind::ListBox: return Make<CListBox, CListBoxObject>();
    case Kind::Edit: return Make<CEdit, CEditObject>();
    case Kind::ComboBox: return Make<CComboBox, CComboBoxObject>();
    case Kind::Button: return Make<CButton, CButtonObject>();
    case Kind::Slider: return Make<CSliderCtrl, CSliderObject>();
    case Kind::RichEdit: {
        NewControl made;
        auto control = std::make_unique<CRichEditLineCtrl>(lineEvents);
        made.unknown = static_cast<IControlBase*>(&control->ScriptingObject());
        made.window = std::move(control);
        return made;
    }
    }
    return {};
}

// Whether the kind takes the first argument as its window text.
bool UsesText(CControlPanel::Kind kind)
{
    using Kind = CControlPanel::Kind;
    return kind == Kind::Title || kind == Kind::Static || kind == Kind::Button;
}

// The window style of a kind from the caller's, and whether WS_BORDER asked
// for the client edge instead.
DWORD StyleFor(CControlPanel::Kind kind, DWORD style, bool* clientEdge)
{
    using Kind = CControlPanel::Kind;
    *clientEdge = false;
    switch (kind) {
    case Kind::Spin: return style | kSpinArrowKeys;
    case Kind::Slider: return style | kSliderNoTicks;
    case Kind::ListBox:
    case Kind::Edit:
        *clientEdge = (style & WS_BORDER) != 0;
        return style & ~WS_BORDER;
    case Kind::RichEdit:
        *clientEdge = (style & WS_BORDER) != 0;
        return kRichEditLineStyle;
    default: return style;
    }
}

// The system class that each kind's window belongs to.
const char* ClassFor(CControlPanel::Kind kind)
{
    using Kind = CControlPanel::Kind;
    switch (kind) {
    case Kind::Title:
    case Kind::Static: return WC_STATICA;
    case Kind::Spin: return UPDOWN_CLASSA;
    case Kind::ListBox: return WC_LISTBOXA;
    case Kind::Edit: return WC_EDITA;
    case Kind::ComboBox: return WC_COMBOBOXA;
    case Kind::Button: return WC_BUTTONA;
    case Kind::Slider: return TRACKBAR_CLASSA;
    case Kind::RichEdit: return RICHEDIT_CLASSA;
    }
    return WC_STATICA;
}

} // namespace

CControlPanel::CControlPanel(CPaneGroupDialog& group, int32_t page) : m_group(group), m_page(page)
{
    m_hidden = !(group.TabControl() != nullptr && group.SelectedPage() == page);
}

CControlPanel::~CControlPanel() { RemoveAll(); }

HRESULT CControlPanel::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IControlPanel) {
        return E_NOINTERFACE;
    }
    *out = static_cast<IControlPanel*>(this);
    AddRef();
    return S_OK;
}

ULONG CControlPanel::AddRef() { return ++m_references; }

ULONG CControlPanel::Release()
{
    // The page owns the panel; a release only balances an AddRef.
    if (m_references > 0) {
        --m_references;
    }
    return m_references;
}

CFont* CControlPanel::FontFor(Kind kind)
{
    auto* gui = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    if (kind != Kind::Title) {
        return CFont::FromHandle(gui);
    }
    if (m_titleFont.m_hObject == nullptr) {
        LOGFONTA font{};
        GetObject(gui, sizeof font, &font);
        font.lfHeight = kTitleFontHeight;
        font.lfWeight = kTitleFontWeight;
        m_titleFont.CreateFontIndirect(&font);
    }
    return &m_titleFont;
}

HRESULT CControlPanel::Add(Kind kind, const char* text, DWORD style, const RECT* rect, LONG id, LONG* index)
{
    CScrollTabCtrl* tabs = m_group.TabControl();
    if (tabs == nullptr || tabs->PageDialog().GetSafeHwnd() == nullptr) {
        return E_FAIL;
    }
    NewControl made = MakeControl(kind, m_group.LineEvents());
    bool clientEdge = false;
    DWORD windowStyle = StyleFor(kind, style, &clientEdge) | WS_CHILD;
    if (m_hidden) {
        windowStyle &= ~WS_VISIBLE;
    }
    const CRect where = rect != nullptr ? CRect(*rect) : CRect(0, 0, 0, 0);
    const char* windowText = UsesText(kind) && text != nullptr ? text : "";
    if (!made.window->CreateEx(0, ClassFor(kind), windowText, windowStyle, where, &tabs->PageDialog(),
                               static_cast<UINT>(id))) {
        if (made.object != nullptr) {
            made.object->Detach();
        }
        return E_FAIL;
    }
    if (clientEdge) {
        made.window->ModifyStyleEx(0, kClientEdge, SWP_FRAMECHANGED);
    }
    made.window->SetFont(FontFor(kind));
    m_visibility.push_back(style & WS_VISIBLE);
    m_unknowns.push_back(made.unknown);
    m_controls.push_back(std::move(made.window));
    m_objects.push_back(std::move(made.object));
    SetOptional(index, m_controls.size() - 1);
    return S_OK;
}

HRESULT CControlPanel::Layout()
{
    if (m_hidden) {
        return E_FAIL;
    }
    CScrollTabCtrl* tabs = m_group.TabControl();
    if (tabs == nullptr) {
        return E_FAIL;
    }
    CScrollPageDialog& page = tabs->PageDialog();
    CDialog& viewport = tabs->Viewport();
    CRect pageRect;
    CRect viewportRect;
    page.GetWindowRect(&pageRect);
    viewport.GetWindowRect(&viewportRect);
    const int dx = pageRect.left - viewportRect.left;
    const int dy = pageRect.top - viewportRect.top;
    int right = 0;
    int bottom = 0;
    for (const std::unique_ptr<CWnd>& control : m_controls) {
        if ((control->GetStyle() & WS_VISIBLE) == 0) {
            continue;
        }
        CRect controlRect;
        control->GetWindowRect(&controlRect);
        right = std::max(right, static_cast<int>(controlRect.right - pageRect.left));
        bottom = std::max(bottom, static_cast<int>(controlRect.bottom - pageRect.top));
    }
    page.MoveWindow(CRect(dx, dy, dx + right + kPageMargin, dy + bottom + kPageMargin), TRUE);
    tabs->RecalcLayout();
    return S_OK;
}

HRESULT CControlPanel::EnableNotify(BOOL on)
{
    m_notify = on != 0;
    return S_OK;
}

HRESULT CControlPanel::AddTitle(const char* text, DWORD style, const RECT* rect, LONG id, LONG* index)
{
    return Add(Kind::Title, text, style, rect, id, index);
}

HRESULT CControlPanel::GetControl(LONG id, IUnknown** out)
{
    for (size_t i = 0; i < m_controls.size(); ++i) {
        if (m_controls[i]->GetDlgCtrlID() == id) {
            if (out != nullptr) {
                *out = m_unknowns[i];
            }
            return S_OK;
        }
    }
    return E_FAIL;
}

HRESULT CControlPanel::GetOwner(IAddinCommand** owner)
{
    SetOptional(owner, m_owner);
    return S_OK;
}

HRESULT CControlPanel::SetOwner(IAddinCommand* owner)
{
    m_owner = owner;
    return S_OK;
}

HRESULT CControlPanel::AddSpin(const char* text, DWORD style, const RECT* rect, LONG id, LONG* index)
{
    return Add(Kind::Spin, text, style, rect, id, index);
}

HRESULT CControlPanel::AddListBox(const char* text, DWORD style, const RECT* rect, LONG id, LONG* index)
{
    return Add(Kind::ListBox, text, style, rect, id, index);
}

HRESULT CControlPanel::AddStatic(const char* text, DWORD style, const RECT* rect, LONG id, LONG* index)
{
    return Add(Kind::Static, text, style, rect, id, index);
}

HRESULT CControlPanel::AddEdit(const char* text, DWORD style, const RECT* rect, LONG id, LONG* index)
{
    return Add(Kind::Edit, text, style, rect, id, index);
}

HRESULT CControlPanel::AddComboBox(const char* text, DWORD style, const RECT* rect, LONG id, LONG* index)
{
    return Add(Kind::ComboBox, text, style, rect, id, index);
}

HRESULT CControlPanel::AddButton(const char* text, DWORD style, const RECT* rect, LONG id, LONG* index)
{
    return Add(Kind::Button, text, style, rect, id, index);
}

HRESULT CControlPanel::AddSlider(const char* text, DWORD style, const RECT* rect, LONG id, LONG* index)
{
    return Add(Kind::Slider, text, style, rect, id, index);
}

HRESULT CControlPanel::AddRichEdit(const char* text, DWORD style, const RECT* rect, LONG id, LONG* index)
{
    return Add(Kind::RichEdit, text, style, rect, id, index);
}

HRESULT CControlPanel::RemoveAll()
{
    for (size_t i = 0; i < m_controls.size(); ++i) {
        if (m_objects[i] != nullptr) {
            m_objects[i]->Detach();
            m_retired.push_back(std::move(m_objects[i]));
        }
        if (m_controls[i]->GetSafeHwnd() != nullptr) {
            m_controls[i]->DestroyWindow();
        }
    }
    m_controls.clear();
    m_objects.clear();
    m_unknowns.clear();
    m_visibility.clear();
    return S_OK;
}

void CControlPanel::ShowControls(int show)
{
    if (!m_hidden && show == SW_HIDE) {
        for (size_t i = 0; i < m_controls.size(); ++i) {
            m_visibility[i] = m_controls[i]->GetStyle() & WS_VISIBLE;
        }
    }
    m_hidden = show == SW_HIDE;
    for (size_t i = 0; i < m_controls.size(); ++i) {
        if (show != SW_HIDE && m_visibility[i] == 0) {
            continue;
        }
        m_controls[i]->ShowWindow(show);
    }
    Layout();
}

HRESULT CControlPanel::ShowAll()
{
    PanePage& page = m_group.Pages()[static_cast<size_t>(m_page)];
    m_previous = page.currentPanel;
    page.currentPanel = this;
    if (m_group.SelectedPage() == m_page) {
        if (m_previous != nullptr && m_previous != this) {
            m_previous->ShowControls(SW_HIDE);
        }
        ShowControls(SW_SHOW);
    }
    return S_OK;
}

HRESULT CControlPanel::HideAll()
{
    PanePage& page = m_group.Pages()[static_cast<size_t>(m_page)];
    page.currentPanel = m_previous;
    if (m_group.SelectedPage() == m_page) {
        ShowControls(SW_HIDE);
        if (m_previous != nullptr) {
            m_previous->ShowControls(SW_SHOW);
        }
    }
    return S_OK;
}

HRESULT CControlPanel::Destroy()
{
    m_group.DestroyPanel(*this);
    return S_OK;
}

// 1. Notifications off: nothing.
// 2. No owner, no document, or the document in a command object's Create:
//    nothing (what controls send while a command fills its panel is
//    dropped).
// 3. An owner that is not the running command hears event 0x1000000.
// 4. The running command gets the event through the command engine (a
//    click of control 1 as the accept event 0x100), and its answer closes
//    the event: commit, end, or stay.
void CControlPanel::NotifyOwner(LONG value)
{
    if (!m_notify) {
        return;
    }
    LONG state = kNotHandled;
    CNuvexDoc* document = m_group.GetDocument();
    if (m_owner == nullptr || document == nullptr || !document->IsReady()) {
        return;
    }
    if (m_owner != document->GetActiveCommandObject()) {
        m_owner->OnEvent(kEventPanelControl, &value, 1, 0, &state);
        return;
    }
    const LONG event = value == kOkControlValue ? kEventAccept : kEventPanelControl;
    document->SendCommandEvent(event, &value, 1, 0, &state);
    document->EndCommandLevel(event, state, TRUE);
}
