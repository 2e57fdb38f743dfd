// The toolbar controls' state: what each kind saves from its window when its
// document stops being current and shows again when it returns.
#include "host/shell/controls/panel_controls.h"

#include <algorithm>
#include <cstring>

#include "platform/controls/controls.h"

namespace {

std::string WindowText(const CWnd& window)
{
    CString text;
    window.GetWindowText(text);
    return std::string(text.GetString(), static_cast<size_t>(text.GetLength()));
}

// The event of a toolbar combo box's new selection.
constexpr LONG kEventToolbarComboSelection = 0x1000001;

} // namespace

// Button -------------------------------------------------------------------------------

ButtonControlState CPanelButton::SaveState()
{
    ButtonControlState state;
    state.state = static_cast<UINT>(SendMessage(BM_GETSTATE));
    state.check = static_cast<int>(SendMessage(BM_GETCHECK));
    state.style = GetStyle() & 0xFFu;
    state.icon = reinterpret_cast<HICON>(SendMessage(BM_GETIMAGE, IMAGE_ICON));
    state.bitmap = reinterpret_cast<HBITMAP>(SendMessage(BM_GETIMAGE, IMAGE_BITMAP));
    state.text = WindowText(*this);
    return state;
}

void CPanelButton::RestoreState(const ButtonControlState& state)
{
    SendMessage(BM_SETSTATE, state.state);
    SendMessage(BM_SETCHECK, static_cast<WPARAM>(state.check));
    SendMessage(BM_SETSTYLE, state.style, TRUE);
    SendMessage(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(state.icon));
    SendMessage(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(state.bitmap));
    SetWindowText(state.text.c_str());
}

ButtonControlState CPanelButton::NewState()
{
    ButtonControlState state;
    state.style = m_defaultStyle & 0xFFu;
    state.text = m_caption;
    return state;
}

// Combo box ----------------------------------------------------------------------------

ComboBoxControlState CPanelComboBox::SaveState()
{
    ComboBoxControlState state;
    state.selection = static_cast<int>(SendMessage(CB_GETCURSEL));
    state.text = WindowText(*this);
    state.editSelection = static_cast<DWORD>(SendMessage(CB_GETEDITSEL));
    state.topIndex = static_cast<int>(SendMessage(CB_GETTOPINDEX));
    const int count = static_cast<int>(SendMessage(CB_GETCOUNT));
    for (int i = 0; i < count; ++i) {
        CString item;
        GetLBText(i, item);
        state.items.emplace_back(item.GetString(), static_cast<size_t>(item.GetLength()));
    }
    return state;
}

void CPanelComboBox::RestoreState(const ComboBoxControlState& state)
{
    SendMessage(CB_RESETCONTENT);
    for (const std::string& item : state.items) {
        SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    SetWindowText(state.text.c_str());
    SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(LOWORD(state.editSelection), HIWORD(state.editSelection)));
    SendMessage(CB_SETTOPINDEX, static_cast<WPARAM>(state.topIndex));
    SendMessage(CB_SETCURSEL, static_cast<WPARAM>(state.selection));
}

BOOL CPanelComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message != WM_COMMAND || HIWORD(wParam) != CBN_SELCHANGE) {
        return CPanelControl::OnChildNotify(message, wParam, lParam, result);
    }
    if (IAddinCommand* handler = m_binding.CurrentHandler()) {
        int selection = static_cast<int>(SendMessage(CB_GETCURSEL));
        LONG answer = 0;
        handler->OnEvent(kEventToolbarComboSelection, &selection, 1, 0, &answer);
    }
    return TRUE;
}

// Edit ---------------------------------------------------------------------------------

EditControlState CPanelEdit::SaveState()
{
    EditControlState state;
    state.selection = static_cast<DWORD>(SendMessage(EM_GETSEL));
    state.firstVisibleLine = static_cast<int>(SendMessage(EM_GETFIRSTVISIBLELINE));
    state.readOnly = (GetStyle() & ES_READONLY) != 0 ? TRUE : FALSE;
    const int count = static_cast<int>(SendMessage(EM_GETLINECOUNT));
    for (int line = 0; line < count; ++line) {
        // Each line whole, however long: the buffer is sized to the line.
        const auto start = static_cast<WPARAM>(SendMessage(EM_LINEINDEX, static_cast<WPARAM>(line)));
        const auto length = static_cast<size_t>(std::max<LRESULT>(SendMessage(EM_LINELENGTH, start), 0));
        const size_t size = std::min<size_t>(std::max<size_t>(length, sizeof(WORD)), 0xFFFF);
        std::string buffer(size, '\0');
        const auto word = static_cast<WORD>(size);
        std::memcpy(buffer.data(), &word, sizeof word);
        const LRESULT copied = SendMessage(EM_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(buffer.data()));
        buffer.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, static_cast<LRESULT>(size))));
        state.lines.push_back(std::move(buffer));
    }
    return state;
}

void CPanelEdit::RestoreState(const EditControlState& state)
{
    SetWindowText("");
    for (size_t i = 0; i < state.lines.size(); ++i) {
        // The lines come back as lines: a break between two of them.
        if (i > 0) {
            SendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("\r\n"));
        }
        SendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(state.lines[i].c_str()));
    }
    SendMessage(EM_SETREADONLY, static_cast<WPARAM>(state.readOnly));
    SendMessage(EM_LINESCROLL, 0, state.firstVisibleLine);
    SendMessage(EM_SETSEL, LOWORD(state.selection), HIWORD(state.selection));
    SendMessage(EM_SCROLLCARET);
}

// Static -------------------------------------------------------------------------------

StaticControlState CPanelStatic::SaveState()
{
    StaticControlState state;
    state.icon = reinterpret_cast<HICON>(SendMessage(STM_GETICON));
    state.bitmap = reinterpret_cast<HBITMAP>(SendMessage(STM_GETIMAGE, IMAGE_BITMAP));
    state.text = WindowText(*this);
    return state;
}

void CPanelStatic::RestoreState(const StaticControlState& state)
{
    SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(state.icon));
    SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(state.bitmap));
    SetWindowText(state.text.c_str());
}

StaticControlState CPanelStatic::NewState()
{
    StaticControlState state;
    state.text = m_caption;
    return state;
}

// Spin button --------------------------------------------------------------------------

SpinControlState CPanelSpin::SaveState()
{
    SpinControlState state;
    SendMessage(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&state.lower), reinterpret_cast<LPARAM>(&state.upper));
    state.base = LOWORD(static_cast<uintptr_t>(SendMessage(UDM_GETBASE)));
    state.position = static_cast<int>(SendMessage(UDM_GETPOS));
    return state;
}

void CPanelSpin::RestoreState(const SpinControlState& state)
{
    SendMessage(UDM_SETRANGE32, static_cast<WPARAM>(state.lower), state.upper);
    SendMessage(UDM_SETBASE, static_cast<WPARAM>(state.base));
    SendMessage(UDM_SETPOS, 0, MAKELPARAM(static_cast<WORD>(state.position), 0));
}

// Slider -------------------------------------------------------------------------------

SliderControlState CPanelSlider::SaveState()
{
    return SliderControlState{static_cast<int>(SendMessage(TBM_GETPOS))};
}

void CPanelSlider::RestoreState(const SliderControlState& state) { SendMessage(TBM_SETPOS, TRUE, state.position); }
