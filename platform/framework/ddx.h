// Dialog data exchange and validation: DoDataExchange calls these for each
// control. Loading writes a member to its control; saving reads the control
// back, and a text that is not a number, or a value out of range, shows the
// framework's message, puts the focus on the control and fails the
// exchange (CDataExchange::Fail throws CUserException, which UpdateData
// catches).
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/framework/cstring.h"
#include "platform/framework/exception.h"

class CWnd;

// The exchange was stopped because a value was refused; the person was told.
class NUVEX_PLATFORM_API CUserException : public CException {
    DECLARE_DYNAMIC(CUserException)
public:
    CUserException() = default;
};

class NUVEX_PLATFORM_API CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate);
    // The control `id` of the dialog, remembered for a later failure;
    // throws CUserException when the dialog has no such control.
    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id);
    // Focuses the last prepared control (selecting an edit's text) and
    // throws CUserException.
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    HWND m_idLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;
};

// Texts and numbers in edit controls (or any control's text). Numbers are
// read and written in the "C" locale; blanks around a number are allowed,
// anything else is refused with "Please enter an integer." or "Please
// enter a number.".
NUVEX_PLATFORM_API void DDX_Text(CDataExchange* dx, int id, CString& value);
NUVEX_PLATFORM_API void DDX_Text(CDataExchange* dx, int id, int& value);
NUVEX_PLATFORM_API void DDX_Text(CDataExchange* dx, int id, UINT& value);
NUVEX_PLATFORM_API void DDX_Text(CDataExchange* dx, int id, short& value);
NUVEX_PLATFORM_API void DDX_Text(CDataExchange* dx, int id, BYTE& value);
NUVEX_PLATFORM_API void DDX_Text(CDataExchange* dx, int id, double& value);
NUVEX_PLATFORM_API void DDX_Text(CDataExchange* dx, int id, float& value);
// A check box: 0, 1 or 2 (indeterminate).
NUVEX_PLATFORM_API void DDX_Check(CDataExchange* dx, int id, int& value);
// A group of radio buttons starting at `id` (the one with WS_GROUP): the
// index of the checked one, -1 for none.
NUVEX_PLATFORM_API void DDX_Radio(CDataExchange* dx, int id, int& value);
// The selected index of a combo box or list box, -1 for none.
NUVEX_PLATFORM_API void DDX_CBIndex(CDataExchange* dx, int id, int& index);
NUVEX_PLATFORM_API void DDX_CBString(CDataExchange* dx, int id, CString& value);
NUVEX_PLATFORM_API void DDX_LBIndex(CDataExchange* dx, int id, int& index);
// Subclasses control `id` with `control` the first time.
NUVEX_PLATFORM_API void DDX_Control(CDataExchange* dx, int id, CWnd& control);

// Range checks, on saving only ("Please enter an integer between %1 and
// %2.", "Please enter a number between %1 and %2.").
NUVEX_PLATFORM_API void DDV_MinMaxInt(CDataExchange* dx, int value, int minimum, int maximum);
NUVEX_PLATFORM_API void DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minimum, UINT maximum);
NUVEX_PLATFORM_API void DDV_MinMaxShort(CDataExchange* dx, short value, short minimum, short maximum);
NUVEX_PLATFORM_API void DDV_MinMaxByte(CDataExchange* dx, BYTE value, BYTE minimum, BYTE maximum);
NUVEX_PLATFORM_API void DDV_MinMaxDouble(CDataExchange* dx, double value, double minimum, double maximum);
NUVEX_PLATFORM_API void DDV_MinMaxFloat(CDataExchange* dx, float value, float minimum, float maximum);
inline void DDV_MinMaxLong(CDataExchange* dx, LONG value, LONG minimum, LONG maximum)
{
    DDV_MinMaxInt(dx, value, minimum, maximum);
}
// On loading, limits the edit to `count` characters; on saving refuses a
// longer text ("Please enter no more than %1 characters.").
NUVEX_PLATFORM_API void DDV_MaxChars(CDataExchange* dx, const CString& value, int count);
