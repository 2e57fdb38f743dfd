// The dialog manager's templates: base units of the dialog font, dialog
// units to pixels, templates from module resources or in memory, and the
// making of a dialog and its controls.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>

#include "platform/gdi/gdi.h"
#include "platform/gdi/dc_guards.h"
#include "platform/gdi/gditext.h"
#include "platform/kernel/resource.h"
#include "platform/user/dialog_internal.h"

namespace nuvex::user {
namespace {

constexpr int kPointsPerInch = 72;
constexpr int kPixelsPerInch = 96;

// Base units of a font: the average width of the 52 letters (rounded) and
// the character height.
void MeasureBaseUnits(HFONT font, int* baseX, int* baseY)
{
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    TEXTMETRICA metrics{};
    SIZE extent{};
    {
        const MemoryDC dc;
        const SelectedObject selected(dc.Get(), font != nullptr ? font : GetStockObject(SYSTEM_FONT));
        GetTextMetricsA(dc.Get(), &metrics);
        GetTextExtentPoint32A(dc.Get(), kLetters, 52, &extent);
    }
    *baseX = std::max(1, static_cast<int>((extent.cx / 26 + 1) / 2));
    *baseY = std::max(1, static_cast<int>(metrics.tmHeight));
}

HFONT MakeDialogFont(const DialogTemplate& t)
{
    LOGFONTA lf{};
    const int points = t.fontPointSize != 0 ? t.fontPointSize : 8;
    lf.lfHeight = -((points * kPixelsPerInch + kPointsPerInch / 2) / kPointsPerInch);
    lf.lfWeight = 400;
    std::snprintf(lf.lfFaceName, sizeof(lf.lfFaceName), "%s", t.fontFace.c_str());
    return CreateFontIndirectA(&lf);
}

RECT ToPixels(const DialogInfo& info, int x, int y, int cx, int cy)
{
    return RECT{Scale(x, info.baseX, 4), Scale(y, info.baseY, 8), Scale(x + cx, info.baseX, 4),
                Scale(y + cy, info.baseY, 8)};
}

} // namespace

std::optional<DialogTemplate> TemplateFromBytes(LPCDLGTEMPLATEA bytes)
{
    auto span = FindResourceBytesAt(kResourceDialog, bytes);
    if (!span) {
        return std::nullopt;
    }
    return DecodeDialogTemplate(*span);
}

std::optional<DialogTemplate> TemplateFromResource(HINSTANCE instance, LPCSTR name)
{
    HRSRC found = FindResourceA(instance, name, RT_DIALOG);
    if (found == nullptr) {
        return std::nullopt;
    }
    HGLOBAL loaded = LoadResource(instance, found);
    const auto* data = static_cast<const BYTE*>(LockResource(loaded));
    const DWORD size = SizeofResource(instance, found);
    if (data == nullptr) {
        return std::nullopt;
    }
    return DecodeDialogTemplate(std::span<const BYTE>(data, size));
}

int Scale(int value, int base, int divisor)
{
    // Rounds half away from zero like the platform's MulDiv.
    const long long product = static_cast<long long>(value) * base;
    const long long rounded = product >= 0 ? (product + divisor / 2) / divisor : -((-product + divisor / 2) / divisor);
    return static_cast<int>(rounded);
}

HWND CreateFromTemplate(HINSTANCE instance, const DialogTemplate& t, HWND parent, DLGPROC proc, LPARAM param,
                        DialogRun run)
{
    auto info = std::make_shared<DialogInfo>();
    if ((t.style & DS_SETFONT) != 0) {
        info->font = MakeDialogFont(t);
        info->ownsFont = info->font != nullptr;
    }
    MeasureBaseUnits(info->font, &info->baseX, &info->baseY);

    DWORD style = t.style;
    if (run == DialogRun::Modal) {
        style &= ~WS_VISIBLE;
    }
    const bool child = (style & WS_CHILD) != 0;
    if (child && parent == nullptr) {
        return nullptr;
    }
    DWORD exStyle = t.exStyle;
    if ((style & DS_MODALFRAME) != 0) {
        exStyle |= WS_EX_DLGMODALFRAME;
    }
    if ((style & DS_CONTROL) != 0) {
        exStyle |= WS_EX_CONTROLPARENT;
    }
    RECT rect = ToPixels(*info, t.x, t.y, t.cx, t.cy);
    AdjustWindowRectEx(&rect, style & ~WS_VISIBLE, FALSE, exStyle);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HWND owner = parent;
    if (!child && owner != nullptr) {
        owner = GetAncestor(owner, GA_ROOT);
    }
    if (!child && (style & DS_CENTER) != 0) {
        RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        if (owner != nullptr && IsWindowVisible(owner)) {
            GetWindowRect(owner, &area);
        }
        rect.left = area.left + (area.right - area.left - width) / 2;
        rect.top = area.top + (area.bottom - area.top - height) / 2;
    } else if (!child && (style & DS_ABSALIGN) == 0 && owner != nullptr) {
        POINT origin{0, 0};
        ClientToScreen(owner, &origin);
        rect.left += origin.x;
        rect.top += origin.y;
    }
    const char* className = t.className.empty() ? "#32770" : t.className.c_str();
    HWND dialog = CreateWindowExA(exStyle, className, t.caption.c_str(), style & ~WS_VISIBLE, rect.left, rect.top,
                                  width, height, child ? parent : owner, nullptr, instance, nullptr);
    if (dialog == nullptr) {
        if (info->ownsFont) {
            DeleteObject(info->font);
        }
        return nullptr;
    }
    W(dialog)->dialog = info;
    SetWindowLongPtrA(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
    if (info->font != nullptr) {
        SendMessageA(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(info->font), FALSE);
    }

    for (const DialogItemTemplate& item : t.items) {
        const RECT r = ToPixels(*info, item.x, item.y, item.cx, item.cy);
        HWND control =
            CreateWindowExA(item.exStyle | WS_EX_NOPARENTNOTIFY, item.className.c_str(), item.text.c_str(),
                            (item.style | WS_CHILD) & ~WS_POPUP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                            dialog, reinterpret_cast<HMENU>(static_cast<uintptr_t>(static_cast<WORD>(item.id))),
                            instance, nullptr);
        if (control == nullptr) {
            if ((t.style & DS_NOFAILCREATE) != 0) {
                continue;
            }
            DestroyWindow(dialog);
            return nullptr;
        }
        if (info->font != nullptr) {
            SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(info->font), FALSE);
        }
    }

    // The default push button of the template is the dialog's default.
    for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        if ((DialogCode(c, nullptr) & DLGC_DEFPUSHBUTTON) != 0) {
            info->defaultId = GetDlgCtrlID(c);
            break;
        }
    }

    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    const LRESULT setFocus = SendMessageA(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
    if (!IsWindow(dialog)) {
        return nullptr;
    }
    if (setFocus != 0 && first != nullptr && !info->ended) {
        FocusControl(dialog, first);
    }
    if ((style & WS_VISIBLE) != 0 && !info->ended) {
        ShowWindow(dialog, SW_SHOWNORMAL);
        UpdateWindow(dialog);
    }
    return dialog;
}

void FontBaseUnits(HFONT font, int* baseX, int* baseY) { MeasureBaseUnits(font, baseX, baseY); }

} // namespace nuvex::user

using namespace nuvex::user;

HWND CreateDialogIndirectParamA(HINSTANCE instance, const DialogTemplate& dialogTemplate, HWND parent, DLGPROC proc,
                                LPARAM initParam)
{
    return CreateFromTemplate(instance, dialogTemplate, parent, proc, initParam, DialogRun::Modeless);
}

HWND CreateDialogIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA dialogTemplate, HWND parent, DLGPROC proc,
                                LPARAM initParam)
{
    auto t = TemplateFromBytes(dialogTemplate);
    return t ? CreateFromTemplate(instance, *t, parent, proc, initParam, DialogRun::Modeless) : nullptr;
}

HWND CreateDialogParamA(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc, LPARAM initParam)
{
    auto t = TemplateFromResource(instance, templateName);
    return t ? CreateFromTemplate(instance, *t, parent, proc, initParam, DialogRun::Modeless) : nullptr;
}

BOOL MapDialogRect(HWND dialog, RECT* rect)
{
    DialogInfo* info = InfoOf(dialog);
    if (info == nullptr || rect == nullptr) {
        return FALSE;
    }
    *rect = RECT{Scale(rect->left, info->baseX, 4), Scale(rect->top, info->baseY, 8), Scale(rect->right, info->baseX, 4),
                 Scale(rect->bottom, info->baseY, 8)};
    return TRUE;
}

LONG GetDialogBaseUnits()
{
    int x = 0;
    int y = 0;
    MeasureBaseUnits(nullptr, &x, &y);
    return static_cast<LONG>(MAKELONG(static_cast<WORD>(x), static_cast<WORD>(y)));
}
