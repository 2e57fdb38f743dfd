// The dialog manager's control helpers: texts, numbers and check states of
// a dialog's controls reached by their ids.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/user/dialog_internal.h"

using namespace nuvex::user;

BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text)
{
    HWND item = GetDlgItem(dialog, id);
    return item != nullptr ? SetWindowTextA(item, text) : FALSE;
}

UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int size)
{
    if (buffer != nullptr && size > 0) {
        buffer[0] = '\0';
    }
    HWND item = GetDlgItem(dialog, id);
    return item != nullptr ? static_cast<UINT>(GetWindowTextA(item, buffer, size)) : 0;
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned)
{
    char text[16];
    if (isSigned != FALSE) {
        std::snprintf(text, sizeof(text), "%d", static_cast<int>(value));
    } else {
        std::snprintf(text, sizeof(text), "%u", value);
    }
    return SetDlgItemTextA(dialog, id, text);
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned)
{
    if (translated != nullptr) {
        *translated = FALSE;
    }
    HWND item = GetDlgItem(dialog, id);
    if (item == nullptr) {
        return 0;
    }
    const int length = GetWindowTextLengthA(item);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(item, text.data(), length + 1);
    text.resize(std::strlen(text.c_str()));
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])) != 0) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && text[i] == '-' && isSigned != FALSE) {
        negative = true;
        ++i;
    }
    const size_t digitsStart = i;
    unsigned long long value = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0) {
        value = value * 10 + static_cast<unsigned>(text[i] - '0');
        if (value > 0xFFFFFFFFull) {
            return 0;
        }
        ++i;
    }
    if (i == digitsStart) {
        return 0;
    }
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])) != 0) {
        ++i;
    }
    if (i != text.size()) {
        return 0;
    }
    if (isSigned != FALSE) {
        const unsigned long long limit = negative ? 0x80000000ull : 0x7FFFFFFFull;
        if (value > limit) {
            return 0;
        }
    }
    if (translated != nullptr) {
        *translated = TRUE;
    }
    if (negative) {
        return static_cast<UINT>(-static_cast<long long>(value));
    }
    return static_cast<UINT>(value);
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check)
{
    HWND item = GetDlgItem(dialog, id);
    if (item == nullptr) {
        return FALSE;
    }
    SendMessageA(item, kButtonSetCheck, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id)
{
    HWND item = GetDlgItem(dialog, id);
    return item != nullptr ? static_cast<UINT>(SendMessageA(item, kButtonGetCheck, 0, 0)) : 0;
}

BOOL CheckRadioButton(HWND dialog, int first, int last, int check)
{
    if (W(dialog) == nullptr || first > last) {
        return FALSE;
    }
    for (int id = first; id <= last; ++id) {
        if (HWND item = GetDlgItem(dialog, id)) {
            SendMessageA(item, kButtonSetCheck, id == check ? kButtonChecked : kButtonUnchecked, 0);
        }
    }
    return TRUE;
}

LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND item = GetDlgItem(dialog, id);
    return item != nullptr ? SendMessageA(item, msg, wParam, lParam) : 0;
}
