// Message boxes and file dialogs: the answer hook and its record, the checks
// a chosen file goes through, and the dialogs a person sees, built from
// templates of standard controls.
#include "platform/user/commdlg.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/gdi/gdi.h"
#include "platform/gdi/dc_guards.h"
#include "platform/gdi/gditext.h"
#include "platform/kernel/path.h"
#include "platform/user/window_system.h"

namespace nuvex::user {
namespace {

constexpr const char* kDialogFace = "MS Shell Dlg";
constexpr WORD kDialogPoints = 8;
constexpr int kMargin = 7;          // dialog units around the contents
constexpr int kButtonWidth = 50;    // dialog units
constexpr int kButtonHeight = 14;
constexpr int kButtonGap = 4;
constexpr int kIconPixels = 32;
constexpr int kTextControlId = 0xFFFF;
constexpr int kMaxRefusedAnswers = 100;

// Standard control styles used by the dialogs made here.
constexpr DWORD kButtonPush = 0x0;
constexpr DWORD kButtonDefPush = 0x1;
constexpr DWORD kStaticNoPrefix = 0x80;
constexpr DWORD kStaticPathEllipsis = 0x8000;
constexpr DWORD kEditAutoScroll = 0x80;
constexpr DWORD kListNotify = 0x1;
constexpr UINT kListAddString = 0x0180;
constexpr UINT kListResetContent = 0x0184;
constexpr UINT kListSetCurSel = 0x0186;
constexpr UINT kListGetCurSel = 0x0188;
constexpr UINT kListGetText = 0x0189;
constexpr UINT kListGetTextLen = 0x018A;
constexpr WORD kListSelChange = 1;
constexpr WORD kListDblClk = 2;

struct HookState {
    std::shared_ptr<DialogAnswerHook> hook; // shared so that it may be replaced while it runs
    std::vector<DialogRequest> record;
};

HookState& AnswerHookState()
{
    static HookState state;
    return state;
}

DWORD& LastCommonDialogError()
{
    static DWORD error = 0;
    return error;
}

// Asks the hook; nothing when there is none or it lets the dialog show.
std::optional<DialogAnswer> AskHook(const DialogRequest& request)
{
    HookState& state = AnswerHookState();
    if (!state.hook) {
        return std::nullopt;
    }
    state.record.push_back(request);
    std::shared_ptr<DialogAnswerHook> hook = state.hook;
    return (*hook)(request);
}

// Message boxes -------------------------------------------------------------------

struct ButtonSpec {
    int id;
    const char* text;
};

std::vector<ButtonSpec> ButtonsOf(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OK: return {{IDOK, "OK"}};
    case MB_OKCANCEL: return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case MB_ABORTRETRYIGNORE: return {{IDABORT, "&Abort"}, {IDRETRY, "&Retry"}, {IDIGNORE, "&Ignore"}};
    case MB_YESNOCANCEL: return {{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO: return {{IDYES, "&Yes"}, {IDNO, "&No"}};
    case MB_RETRYCANCEL: return {{IDRETRY, "&Retry"}, {IDCANCEL, "Cancel"}};
    default: return {};
    }
}

// The button a box gives for `id`: itself, or for IDCANCEL (Esc, the close
// box) Cancel where there is one and OK in a box with only OK; 0 for
// nothing.
int Resolve(const std::vector<ButtonSpec>& buttons, int id)
{
    for (const ButtonSpec& b : buttons) {
        if (b.id == id) {
            return id;
        }
    }
    if (id == IDCANCEL && buttons.size() == 1 && buttons[0].id == IDOK) {
        return IDOK;
    }
    return 0;
}

struct MessageBoxState {
    UINT type = 0;
    std::vector<ButtonSpec> buttons;
    int defaultId = IDOK;
    RECT icon{};
};

void PaintIcon(HDC dc, const RECT& r, UINT icon)
{
    COLORREF fill = RGB(0, 80, 200);
    const char* glyph = "i";
    switch (icon) {
    case MB_ICONHAND: fill = RGB(200, 0, 0); glyph = "X"; break;
    case MB_ICONQUESTION: glyph = "?"; break;
    case MB_ICONEXCLAMATION: fill = RGB(230, 180, 0); glyph = "!"; break;
    default: break;
    }
    HBRUSH brush = CreateSolidBrush(fill);
    {
        const SelectedObject withBrush(dc, brush);
        const SelectedObject withPen(dc, GetStockObject(NULL_PEN));
        Ellipse(dc, r.left, r.top, r.right, r.bottom);
    }
    DeleteObject(brush);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    RECT text = r;
    DrawTextA(dc, glyph, 1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

INT_PTR MessageBoxProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* state = reinterpret_cast<MessageBoxState*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG: {
        state = reinterpret_cast<MessageBoxState*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        SendMessageA(dialog, DM_SETDEFID, static_cast<WPARAM>(state->defaultId), 0);
        if (HWND button = GetDlgItem(dialog, state->defaultId)) {
            SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(button), TRUE);
        }
        return FALSE;
    }
    case WM_COMMAND:
        if (state != nullptr) {
            if (const int id = Resolve(state->buttons, LOWORD(wParam)); id != 0) {
                EndDialog(dialog, id);
            }
        }
        return TRUE;
    case WM_PAINT:
        if (state != nullptr && (state->type & MB_ICONMASK) != 0) {
            PAINTSTRUCT ps{};
            HDC dc = BeginPaint(dialog, &ps);
            PaintIcon(dc, state->icon, state->type & MB_ICONMASK);
            EndPaint(dialog, &ps);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

HFONT DialogFont()
{
    LOGFONTA lf{};
    lf.lfHeight = -((kDialogPoints * 96 + 36) / 72);
    lf.lfWeight = 400;
    std::snprintf(lf.lfFaceName, sizeof(lf.lfFaceName), "%s", kDialogFace);
    return CreateFontIndirectA(&lf);
}

DialogTemplate MessageBoxTemplate(const std::string& text, const std::string& caption, MessageBoxState& state)
{
    HFONT font = DialogFont();
    int baseX = 0;
    int baseY = 0;
    FontBaseUnits(font, &baseX, &baseY);
    RECT measured{0, 0, GetSystemMetrics(SM_CXSCREEN) * 5 / 8, 0};
    {
        const MemoryDC dc;
        const SelectedObject selected(dc.Get(), font);
        DrawTextA(dc.Get(), text.c_str(), -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    }
    DeleteObject(font);
    auto toX = [&](int px) { return (px * 4 + baseX - 1) / baseX; };
    auto toY = [&](int px) { return (px * 8 + baseY - 1) / baseY; };

    const bool hasIcon = (state.type & MB_ICONMASK) != 0;
    const int iconX = toX(kIconPixels);
    const int iconY = toY(kIconPixels);
    const int textX = kMargin + (hasIcon ? iconX + kMargin : 0);
    const int textW = toX(measured.right - measured.left) + 1;
    const int textH = toY(measured.bottom - measured.top);
    const int textTop = hasIcon && textH < iconY ? kMargin + (iconY - textH) / 2 : kMargin;
    const int contentBottom = std::max(textTop + textH, hasIcon ? kMargin + iconY : 0);
    const int count = static_cast<int>(state.buttons.size());
    const int buttonsW = count * kButtonWidth + (count - 1) * kButtonGap;
    const int width = std::max(textX + textW + kMargin, buttonsW + 2 * kMargin);
    const int buttonTop = contentBottom + 10;

    DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER | DS_NOIDLEMSG;
    t.exStyle = WS_EX_DLGMODALFRAME | ((state.type & (MB_TOPMOST | MB_SYSTEMMODAL)) != 0 ? WS_EX_TOPMOST : 0);
    t.cx = static_cast<SHORT>(width);
    t.cy = static_cast<SHORT>(buttonTop + kButtonHeight + kMargin);
    t.fontPointSize = kDialogPoints;
    t.fontFace = kDialogFace;
    t.caption = caption;
    DialogItemTemplate label;
    label.className = "Static";
    label.id = kTextControlId;
    label.style = WS_CHILD | WS_VISIBLE | WS_GROUP | kStaticNoPrefix;
    label.x = static_cast<SHORT>(textX);
    label.y = static_cast<SHORT>(textTop);
    label.cx = static_cast<SHORT>(textW);
    label.cy = static_cast<SHORT>(textH);
    label.text = text;
    t.items.push_back(label);
    int x = (width - buttonsW) / 2;
    for (int i = 0; i < count; ++i) {
        DialogItemTemplate button;
        button.className = "Button";
        button.id = state.buttons[i].id;
        button.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == 0 ? WS_GROUP : 0) |
                       (state.buttons[i].id == state.defaultId ? kButtonDefPush : kButtonPush);
        button.x = static_cast<SHORT>(x);
        button.y = static_cast<SHORT>(buttonTop);
        button.cx = kButtonWidth;
        button.cy = kButtonHeight;
        button.text = state.buttons[i].text;
        t.items.push_back(button);
        x += kButtonWidth + kButtonGap;
    }
    const int iconLeft = kMargin * baseX / 4;
    const int iconTop = kMargin * baseY / 8;
    state.icon = RECT{iconLeft, iconTop, iconLeft + kIconPixels, iconTop + kIconPixels};
    return t;
}

// File dialogs ------------------------------------------------------------------

namespace fs = std::filesystem;

std::vector<std::pair<std::string, std::string>> ParseFilters(LPCSTR filter)
{
    std::vector<std::pair<std::string, std::string>> out;
    if (filter == nullptr) {
        return out;
    }
    const char* p = filter;
    while (*p != '\0') {
        std::string description = p;
        p += description.size() + 1;
        if (*p == '\0') {
            break; // a description without patterns ends the list
        }
        std::string patterns = p;
        p += patterns.size() + 1;
        out.emplace_back(std::move(description), std::move(patterns));
    }
    return out;
}

bool MatchesAny(const std::string& patterns, const std::string& name)
{
    size_t start = 0;
    while (start <= patterns.size()) {
        size_t end = patterns.find(';', start);
        if (end == std::string::npos) {
            end = patterns.size();
        }
        std::string one = patterns.substr(start, end - start);
        one.erase(0, one.find_first_not_of(' '));
        if (!one.empty() && MatchesWildcard(one, name)) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

bool Exists(const fs::path& p)
{
    std::error_code error;
    return fs::exists(p, error);
}

bool IsFolder(const fs::path& p)
{
    std::error_code error;
    return fs::is_directory(p, error);
}

struct FileDialogState {
    bool save = false;
    std::string folder;
    std::vector<std::pair<std::string, std::string>> filters;
    int filterIndex = 1;
    std::string name;   // proposed, then chosen
    std::string chosen; // set when the person accepted a name
};

constexpr int kFileList = 1120;
constexpr int kTypeList = 1136;
constexpr int kFolderText = 1088;
constexpr int kNameEdit = 1152;

std::string ItemText(HWND list, int index)
{
    const auto length = SendMessageA(list, kListGetTextLen, static_cast<WPARAM>(index), 0);
    if (length < 0) {
        return {};
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(list, kListGetText, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::strlen(text.c_str()));
    return text;
}

void FillFileList(HWND dialog, FileDialogState& state)
{
    SetDlgItemTextA(dialog, kFolderText, state.folder.c_str());
    HWND list = GetDlgItem(dialog, kFileList);
    SendMessageA(list, kListResetContent, 0, 0);
    const std::string patterns = state.filterIndex >= 1 && state.filterIndex <= static_cast<int>(state.filters.size())
                                     ? state.filters[state.filterIndex - 1].second
                                     : std::string("*");
    std::vector<std::string> folders{"[..]"};
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(state.folder, error)) {
        const std::string name = entry.path().filename().string();
        std::error_code kindError;
        if (entry.is_directory(kindError)) {
            folders.push_back("[" + name + "]");
        } else if (MatchesAny(patterns, name)) {
            files.push_back(name);
        }
    }
    std::sort(folders.begin() + 1, folders.end());
    std::sort(files.begin(), files.end());
    for (const auto* group : {&folders, &files}) {
        for (const std::string& name : *group) {
            SendMessageA(list, kListAddString, 0, reinterpret_cast<LPARAM>(name.c_str()));
        }
    }
}

// Takes what the person typed or picked: a folder opens, a pattern filters,
// anything else is the answer.
void Accept(HWND dialog, FileDialogState& state, std::string typed)
{
    if (typed.size() >= 2 && typed.front() == '[' && typed.back() == ']') {
        typed = typed.substr(1, typed.size() - 2);
        if (typed == "..") {
            state.folder = fs::path(state.folder).parent_path().string();
            if (state.folder.empty()) {
                state.folder = "/";
            }
        } else {
            state.folder = (fs::path(state.folder) / typed).string();
        }
        FillFileList(dialog, state);
        return;
    }
    if (typed.empty()) {
        return;
    }
    fs::path target = fs::path(NativePath(typed));
    if (target.is_relative()) {
        target = fs::path(state.folder) / target;
    }
    if (IsFolder(target)) {
        state.folder = fs::weakly_canonical(target).string();
        SetDlgItemTextA(dialog, kNameEdit, "");
        FillFileList(dialog, state);
        return;
    }
    if (typed.find_first_of("*?") != std::string::npos) {
        state.filters.insert(state.filters.begin(), {typed, typed});
        state.filterIndex = 1;
        FillFileList(dialog, state);
        return;
    }
    state.chosen = typed;
    EndDialog(dialog, IDOK);
}

INT_PTR FileDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* state = reinterpret_cast<FileDialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG: {
        state = reinterpret_cast<FileDialogState*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        HWND types = GetDlgItem(dialog, kTypeList);
        for (const auto& [description, patterns] : state->filters) {
            SendMessageA(types, kListAddString, 0, reinterpret_cast<LPARAM>(description.c_str()));
        }
        SendMessageA(types, kListSetCurSel, static_cast<WPARAM>(state->filterIndex - 1), 0);
        SetDlgItemTextA(dialog, kNameEdit, state->name.c_str());
        FillFileList(dialog, *state);
        SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, kNameEdit)), TRUE);
        return FALSE;
    }
    case WM_COMMAND: {
        if (state == nullptr) {
            return TRUE;
        }
        const int id = LOWORD(wParam);
        const WORD code = HIWORD(wParam);
        if (id == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
        } else if (id == IDOK) {
            char typed[1024]{};
            GetDlgItemTextA(dialog, kNameEdit, typed, sizeof(typed));
            std::string text = typed;
            if (text.empty()) {
                HWND list = GetDlgItem(dialog, kFileList);
                const auto index = SendMessageA(list, kListGetCurSel, 0, 0);
                if (index >= 0) {
                    text = ItemText(list, static_cast<int>(index));
                }
            }
            Accept(dialog, *state, text);
        } else if (id == kFileList && (code == kListSelChange || code == kListDblClk)) {
            HWND list = GetDlgItem(dialog, kFileList);
            const auto index = SendMessageA(list, kListGetCurSel, 0, 0);
            if (index >= 0) {
                const std::string text = ItemText(list, static_cast<int>(index));
                if (code == kListDblClk) {
                    Accept(dialog, *state, text);
                } else if (text.empty() || text.front() != '[') {
                    SetDlgItemTextA(dialog, kNameEdit, text.c_str());
                }
            }
        } else if (id == kTypeList && code == kListSelChange) {
            const auto index = SendMessageA(GetDlgItem(dialog, kTypeList), kListGetCurSel, 0, 0);
            if (index >= 0) {
                state->filterIndex = static_cast<int>(index) + 1;
                FillFileList(dialog, *state);
            }
        }
        return TRUE;
    }
    default:
        return FALSE;
    }
}

DialogItemTemplate Control(const char* className, int id, DWORD style, int x, int y, int cx, int cy,
                           const char* text = "")
{
    DialogItemTemplate item;
    item.className = className;
    item.id = id;
    item.style = WS_CHILD | WS_VISIBLE | style;
    item.x = static_cast<SHORT>(x);
    item.y = static_cast<SHORT>(y);
    item.cx = static_cast<SHORT>(cx);
    item.cy = static_cast<SHORT>(cy);
    item.text = text;
    return item;
}

DialogTemplate FileDialogTemplate(const std::string& title, bool save)
{
    DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER;
    t.cx = 280;
    t.cy = 200;
    t.fontPointSize = kDialogPoints;
    t.fontFace = kDialogFace;
    t.caption = title;
    t.items = {
        Control("Static", kTextControlId, WS_GROUP, 7, 9, 40, 8, "Look &in:"),
        Control("Static", kFolderText, kStaticNoPrefix | kStaticPathEllipsis, 50, 9, 223, 8),
        Control("ListBox", kFileList, WS_TABSTOP | WS_BORDER | WS_VSCROLL | kListNotify, 7, 22, 266, 110),
        Control("Static", kTextControlId, WS_GROUP, 7, 141, 50, 8, "File &name:"),
        Control("Edit", kNameEdit, WS_TABSTOP | WS_BORDER | kEditAutoScroll, 60, 139, 156, 12),
        Control("Static", kTextControlId, WS_GROUP, 7, 160, 50, 8, "Files of &type:"),
        Control("ListBox", kTypeList, WS_TABSTOP | WS_BORDER | WS_VSCROLL | kListNotify, 60, 158, 156, 34),
        Control("Button", IDOK, WS_TABSTOP | WS_GROUP | kButtonDefPush, 223, 138, 50, 14, save ? "&Save" : "&Open"),
        Control("Button", IDCANCEL, WS_TABSTOP | kButtonPush, 223, 157, 50, 14, "Cancel"),
    };
    return t;
}

// The checks a chosen name goes through; the answer is empty when the name
// was refused (the person has been told why).
std::optional<fs::path> Check(HWND owner, const std::string& title, const FileDialogState& state, DWORD flags,
                              const std::string& defaultExtension, const std::string& chosen)
{
    fs::path target = fs::path(NativePath(chosen));
    if (target.is_relative()) {
        target = fs::path(state.folder) / target;
    }
    target = target.lexically_normal();
    if (target.filename().empty() || IsFolder(target)) {
        return std::nullopt;
    }
    if (!target.has_extension() && !defaultExtension.empty()) {
        fs::path withExtension = target;
        withExtension += "." + defaultExtension;
        if (state.save || !Exists(target)) {
            target = withExtension;
        }
    }
    if ((flags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)) != 0 && !IsFolder(target.parent_path())) {
        const std::string text = target.parent_path().string() + "\nPath does not exist.\nCheck the path and try again.";
        MessageBoxA(owner, text.c_str(), title.c_str(), MB_OK | MB_ICONEXCLAMATION);
        return std::nullopt;
    }
    if (!state.save && (flags & OFN_FILEMUSTEXIST) != 0 && !Exists(target)) {
        const std::string text = target.filename().string() + "\nFile not found.\nCheck the file name and try again.";
        MessageBoxA(owner, text.c_str(), title.c_str(), MB_OK | MB_ICONEXCLAMATION);
        return std::nullopt;
    }
    if (state.save && (flags & OFN_OVERWRITEPROMPT) != 0 && Exists(target)) {
        const std::string text = target.filename().string() + " already exists.\nDo you want to replace it?";
        if (MessageBoxA(owner, text.c_str(), title.c_str(), MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES) {
            return std::nullopt;
        }
    }
    return target;
}

bool CopyOut(char* buffer, DWORD size, const std::string& text)
{
    if (buffer == nullptr || size <= text.size()) {
        return false;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

enum class FileDialogKind : uint8_t { Open, Save };

BOOL RunFileDialog(LPOPENFILENAMEA ofn, FileDialogKind kind)
{
    const bool save = kind == FileDialogKind::Save;
    DWORD& error = LastCommonDialogError();
    error = 0;
    if (ofn == nullptr || (ofn->lStructSize != sizeof(OPENFILENAMEA) &&
                           ofn->lStructSize != OPENFILENAME_SIZE_VERSION_400A)) {
        error = CDERR_STRUCTSIZE;
        return FALSE;
    }
    if (ofn->lpstrFile == nullptr || ofn->nMaxFile == 0) {
        error = CDERR_INITIALIZATION;
        return FALSE;
    }
    FileDialogState state;
    state.save = save;
    state.filters = ParseFilters(ofn->lpstrFilter);
    state.filterIndex = ofn->nFilterIndex >= 1 && ofn->nFilterIndex <= state.filters.size()
                            ? static_cast<int>(ofn->nFilterIndex)
                            : 1;
    // The proposed name is read within its buffer only.
    const char* proposed = ofn->lpstrFile;
    state.name.assign(proposed, strnlen(proposed, ofn->nMaxFile));
    std::error_code cwdError;
    state.folder = fs::current_path(cwdError).string();
    if (ofn->lpstrInitialDir != nullptr && ofn->lpstrInitialDir[0] != '\0') {
        state.folder = AbsolutePath(NativePath(ofn->lpstrInitialDir));
    } else if (!state.name.empty()) {
        fs::path named = fs::path(NativePath(state.name));
        if (named.has_parent_path() && IsFolder(named.parent_path())) {
            state.folder = fs::absolute(named.parent_path()).lexically_normal().string();
            state.name = named.filename().string();
        }
    }
    const std::string title = ofn->lpstrTitle != nullptr ? ofn->lpstrTitle : (save ? "Save As" : "Open");
    const std::string defaultExtension = ofn->lpstrDefExt != nullptr ? ofn->lpstrDefExt : "";

    for (int attempt = 0; attempt < kMaxRefusedAnswers; ++attempt) {
        DialogRequest request;
        request.kind = save ? DialogRequestKind::SaveFile : DialogRequestKind::OpenFile;
        request.owner = ofn->hwndOwner;
        request.text = state.name;
        request.caption = title;
        request.type = ofn->Flags;
        request.folder = state.folder;
        request.filters = state.filters;
        request.filterIndex = state.filterIndex;
        request.defaultExtension = defaultExtension;
        std::string chosen;
        if (auto answer = AskHook(request)) {
            if (answer->button != IDOK || answer->path.empty()) {
                return FALSE;
            }
            chosen = answer->path;
            if (answer->filterIndex >= 1 && answer->filterIndex <= static_cast<int>(state.filters.size())) {
                state.filterIndex = answer->filterIndex;
            }
        } else {
            state.chosen.clear();
            const INT_PTR result = DialogBoxIndirectParamA(nullptr, FileDialogTemplate(title, save), ofn->hwndOwner,
                                                           FileDialogProc, reinterpret_cast<LPARAM>(&state));
            if (result == -1) {
                error = CDERR_INITIALIZATION;
                return FALSE;
            }
            if (result != IDOK || state.chosen.empty()) {
                return FALSE;
            }
            chosen = state.chosen;
        }
        auto target = Check(ofn->hwndOwner, title, state, ofn->Flags, defaultExtension, chosen);
        if (!target) {
            state.name = chosen;
            continue;
        }
        const std::string path = target->string();
        if (!CopyOut(ofn->lpstrFile, ofn->nMaxFile, path)) {
            error = FNERR_BUFFERTOOSMALL;
            if (ofn->nMaxFile >= 2) {
                const auto needed = static_cast<WORD>(std::min<size_t>(path.size() + 1, 0xFFFF));
                std::memcpy(ofn->lpstrFile, &needed, sizeof(needed));
            }
            return FALSE;
        }
        const std::string name = target->filename().string();
        ofn->nFileOffset = static_cast<WORD>(path.size() - name.size());
        const size_t dot = name.rfind('.');
        ofn->nFileExtension =
            static_cast<WORD>(dot == std::string::npos ? path.size() : ofn->nFileOffset + dot + 1);
        if (ofn->lpstrFileTitle != nullptr && ofn->nMaxFileTitle > 0) {
            std::snprintf(ofn->lpstrFileTitle, ofn->nMaxFileTitle, "%s", name.c_str());
        }
        ofn->nFilterIndex = static_cast<DWORD>(state.filterIndex);
        if ((ofn->Flags & OFN_HIDEREADONLY) != 0) {
            ofn->Flags &= ~OFN_READONLY;
        }
        return TRUE;
    }
    std::fprintf(stderr, "window system: a file dialog was refused %d answers in a row; it is cancelled\n",
                 kMaxRefusedAnswers);
    return FALSE;
}

} // namespace
} // namespace nuvex::user

using namespace nuvex::user;

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    MessageBoxState state;
    state.type = type;
    state.buttons = ButtonsOf(type);
    if (state.buttons.empty()) {
        return 0;
    }
    const size_t defaultIndex = std::min<size_t>((type & MB_DEFMASK) >> 8, state.buttons.size() - 1);
    state.defaultId = state.buttons[defaultIndex].id;
    DialogRequest request;
    request.kind = DialogRequestKind::MessageBox;
    request.owner = owner;
    request.text = text != nullptr ? text : "";
    request.caption = caption != nullptr ? caption : "Error";
    request.type = type;
    if (auto answer = AskHook(request)) {
        // An answer the box cannot give is refused as a failure.
        return Resolve(state.buttons, answer->button);
    }
    const INT_PTR result = DialogBoxIndirectParamA(nullptr, MessageBoxTemplate(request.text, request.caption, state),
                                                   owner, MessageBoxProc, reinterpret_cast<LPARAM>(&state));
    return result == -1 ? 0 : static_cast<int>(result);
}

BOOL GetOpenFileNameA(LPOPENFILENAMEA ofn) { return RunFileDialog(ofn, FileDialogKind::Open); }
BOOL GetSaveFileNameA(LPOPENFILENAMEA ofn) { return RunFileDialog(ofn, FileDialogKind::Save); }
DWORD CommDlgExtendedError() { return LastCommonDialogError(); }

void SetDialogAnswerHook(DialogAnswerHook hook)
{
    HookState& state = AnswerHookState();
    state.hook = hook ? std::make_shared<DialogAnswerHook>(std::move(hook)) : nullptr;
    state.record.clear();
}

std::vector<DialogRequest> RecordedDialogRequests() { return AnswerHookState().record; }
