// Dialog data exchange and validation over the controls' messages.
#include "platform/framework/ddx.h"

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

#include "platform/controls/controls.h"
#include "platform/framework/app.h"
#include "platform/framework/ids.h"
#include "platform/framework/wnd.h"
#include "platform/user/commdlg.h"

IMPLEMENT_DYNAMIC(CUserException, CException)

CDataExchange::CDataExchange(CWnd* dialog, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog)
{
}

HWND CDataExchange::PrepareCtrl(int id)
{
    HWND control = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
    if (control == nullptr) {
        throw CUserException();
    }
    m_idLastControl = control;
    m_bEditLastControl = FALSE;
    return control;
}

HWND CDataExchange::PrepareEditCtrl(int id)
{
    HWND control = PrepareCtrl(id);
    m_bEditLastControl = TRUE;
    return control;
}

void CDataExchange::Fail()
{
    if (!m_bSaveAndValidate) {
        throw CUserException();
    }
    if (m_idLastControl != nullptr) {
        ::SetFocus(m_idLastControl);
        if (m_bEditLastControl) {
            ::SendMessageA(m_idLastControl, EM_SETSEL, 0, -1);
        }
    }
    throw CUserException();
}

namespace {

CString TextOf(HWND control)
{
    const int length = ::GetWindowTextLengthA(control);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    ::GetWindowTextA(control, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
}

// Runs `work` with the calling thread in the "C" numeric locale.
template <class Work>
auto InCLocale(Work work)
{
    locale_t c = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
    locale_t previous = c != static_cast<locale_t>(0) ? uselocale(c) : static_cast<locale_t>(0);
    auto result = work();
    if (c != static_cast<locale_t>(0)) {
        uselocale(previous);
        freelocale(c);
    }
    return result;
}

// A whole decimal integer with blanks around it; nothing else.
bool ParseInteger(const CString& text, long long& value)
{
    const char* begin = text.GetString();
    char* end = nullptr;
    errno = 0;
    value = strtoll(begin, &end, 10);
    if (end == begin || errno == ERANGE) {
        return false;
    }
    while (*end == ' ' || *end == '\t') {
        ++end;
    }
    return *end == '\0';
}

bool ParseReal(const CString& text, double& value)
{
    return InCLocale([&]() {
        const char* begin = text.GetString();
        char* end = nullptr;
        errno = 0;
        value = strtod(begin, &end);
        if (end == begin || errno == ERANGE || !std::isfinite(value)) {
            return false;
        }
        while (*end == ' ' || *end == '\t') {
            ++end;
        }
        return *end == '\0';
    });
}

template <class Integer>
void ExchangeInteger(CDataExchange* dx, int id, Integer& value, long long minimum, long long maximum, UINT prompt)
{
    HWND control = dx->PrepareEditCtrl(id);
    if (dx->m_bSaveAndValidate) {
        long long parsed = 0;
        if (!ParseInteger(TextOf(control), parsed) || parsed < minimum || parsed > maximum) {
            AfxMessageBox(prompt, MB_ICONEXCLAMATION);
            dx->Fail();
        }
        value = static_cast<Integer>(parsed);
    } else {
        char text[32];
        snprintf(text, sizeof text, "%lld", static_cast<long long>(value));
        ::SetWindowTextA(control, text);
    }
}

void ExchangeReal(CDataExchange* dx, int id, double& value, int digits)
{
    HWND control = dx->PrepareEditCtrl(id);
    if (dx->m_bSaveAndValidate) {
        double parsed = 0.0;
        if (!ParseReal(TextOf(control), parsed)) {
            AfxMessageBox(AFX_IDP_PARSE_REAL, MB_ICONEXCLAMATION);
            dx->Fail();
        }
        value = parsed;
    } else {
        char text[64];
        InCLocale([&]() { return snprintf(text, sizeof text, "%.*g", digits, value); });
        ::SetWindowTextA(control, text);
    }
}

// "Please enter ... between %1 and %2." with the limits, then Fail.
void FailRange(CDataExchange* dx, UINT prompt, const CString& minimum, const CString& maximum)
{
    CString message;
    AfxFormatString2(message, prompt, minimum, maximum);
    AfxMessageBox(message, MB_ICONEXCLAMATION, prompt);
    dx->Fail();
}

CString FormatInteger(long long value)
{
    CString text;
    text.Format("%lld", value);
    return text;
}

CString FormatReal(double value, int digits)
{
    CString text;
    text.Format("%.*g", digits, value);
    return text;
}

} // namespace

void DDX_Text(CDataExchange* dx, int id, CString& value)
{
    HWND control = dx->PrepareEditCtrl(id);
    if (dx->m_bSaveAndValidate) {
        value = TextOf(control);
    } else {
        ::SetWindowTextA(control, value);
    }
}

void DDX_Text(CDataExchange* dx, int id, int& value)
{
    ExchangeInteger(dx, id, value, INT32_MIN, INT32_MAX, AFX_IDP_PARSE_INT);
}

void DDX_Text(CDataExchange* dx, int id, UINT& value)
{
    ExchangeInteger(dx, id, value, 0, UINT32_MAX, AFX_IDP_PARSE_UINT);
}

void DDX_Text(CDataExchange* dx, int id, short& value)
{
    ExchangeInteger(dx, id, value, INT16_MIN, INT16_MAX, AFX_IDP_PARSE_INT);
}

void DDX_Text(CDataExchange* dx, int id, BYTE& value) { ExchangeInteger(dx, id, value, 0, 255, AFX_IDP_PARSE_BYTE); }

void DDX_Text(CDataExchange* dx, int id, double& value) { ExchangeReal(dx, id, value, 15); }

void DDX_Text(CDataExchange* dx, int id, float& value)
{
    double wide = value;
    ExchangeReal(dx, id, wide, 6);
    if (dx->m_bSaveAndValidate) {
        if (std::fabs(wide) > 3.4e38) {
            AfxMessageBox(AFX_IDP_PARSE_REAL, MB_ICONEXCLAMATION);
            dx->Fail();
        }
        value = static_cast<float>(wide);
    }
}

void DDX_Check(CDataExchange* dx, int id, int& value)
{
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessageA(control, BM_GETCHECK, 0, 0));
    } else {
        if (value < 0 || value > 2) {
            value = 0;  // not a check state: shown unchecked
        }
        ::SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
}

void DDX_Radio(CDataExchange* dx, int id, int& value)
{
    HWND first = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        value = -1;
    }
    // The group runs from `first` up to the next control with WS_GROUP.
    int index = 0;
    for (HWND control = first; control != nullptr; control = ::GetWindow(control, GW_HWNDNEXT), ++index) {
        if (control != first && (GetWindowLongPtrA(control, GWL_STYLE) & WS_GROUP) != 0) {
            break;
        }
        const auto type = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE)) & BS_TYPEMASK;
        if (type != BS_RADIOBUTTON && type != BS_AUTORADIOBUTTON) {
            continue;
        }
        if (dx->m_bSaveAndValidate) {
            if (::SendMessageA(control, BM_GETCHECK, 0, 0) != 0) {
                value = index;
            }
        } else {
            ::SendMessageA(control, BM_SETCHECK, index == value ? 1 : 0, 0);
        }
    }
}

void DDX_CBIndex(CDataExchange* dx, int id, int& index)
{
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        index = static_cast<int>(::SendMessageA(control, CB_GETCURSEL, 0, 0));
    } else {
        ::SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

void DDX_CBString(CDataExchange* dx, int id, CString& value)
{
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        value = TextOf(control);
    } else if (::SendMessageA(control, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                              reinterpret_cast<LPARAM>(value.GetString())) == CB_ERR) {
        ::SetWindowTextA(control, value);
    }
}

void DDX_LBIndex(CDataExchange* dx, int id, int& index)
{
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        index = static_cast<int>(::SendMessageA(control, LB_GETCURSEL, 0, 0));
    } else {
        ::SendMessageA(control, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (control.m_hWnd == nullptr) {
        HWND item = dx->PrepareCtrl(id);
        control.SubclassWindow(item);
    }
}

void DDV_MinMaxInt(CDataExchange* dx, int value, int minimum, int maximum)
{
    if (dx->m_bSaveAndValidate && (value < minimum || value > maximum)) {
        FailRange(dx, AFX_IDP_PARSE_INT_RANGE, FormatInteger(minimum), FormatInteger(maximum));
    }
}

void DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minimum, UINT maximum)
{
    if (dx->m_bSaveAndValidate && (value < minimum || value > maximum)) {
        FailRange(dx, AFX_IDP_PARSE_INT_RANGE, FormatInteger(minimum), FormatInteger(maximum));
    }
}

void DDV_MinMaxShort(CDataExchange* dx, short value, short minimum, short maximum)
{
    DDV_MinMaxInt(dx, value, minimum, maximum);
}

void DDV_MinMaxByte(CDataExchange* dx, BYTE value, BYTE minimum, BYTE maximum)
{
    DDV_MinMaxInt(dx, value, minimum, maximum);
}

void DDV_MinMaxDouble(CDataExchange* dx, double value, double minimum, double maximum)
{
    if (dx->m_bSaveAndValidate && (value < minimum || value > maximum)) {
        FailRange(dx, AFX_IDP_PARSE_REAL_RANGE, FormatReal(minimum, 15), FormatReal(maximum, 15));
    }
}

void DDV_MinMaxFloat(CDataExchange* dx, float value, float minimum, float maximum)
{
    if (dx->m_bSaveAndValidate && (value < minimum || value > maximum)) {
        FailRange(dx, AFX_IDP_PARSE_REAL_RANGE, FormatReal(minimum, 6), FormatReal(maximum, 6));
    }
}

void DDV_MaxChars(CDataExchange* dx, const CString& value, int count)
{
    if (!dx->m_bSaveAndValidate) {
        if (dx->m_idLastControl != nullptr && dx->m_bEditLastControl) {
            ::SendMessageA(dx->m_idLastControl, EM_LIMITTEXT, static_cast<WPARAM>(count), 0);
        }
        return;
    }
    if (value.GetLength() > count) {
        CString message;
        AfxFormatString1(message, AFX_IDP_PARSE_STRING_SIZE, FormatInteger(count));
        AfxMessageBox(message, MB_ICONEXCLAMATION, AFX_IDP_PARSE_STRING_SIZE);
        dx->Fail();
    }
}
