// The window system instance: handles, classes (with the system classes),
// atoms, registered messages, and the classic desktop's metrics, colours
// and parameters.
#include "platform/user/window_system.h"

#include "platform/gdi/gdi.h"
#include "platform/user/dialog.h"
#include "platform/user/menu_model.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace nuvex::user {
void RegisterSystemClasses(WindowSystem& system);

namespace {

std::unique_ptr<WindowSystem>& Current()
{
    static std::unique_ptr<WindowSystem> instance;
    return instance;
}

COLORREF CurrentSysColor(int index) { return GetSysColor(index); }

LRESULT SystemClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Who a class belongs to: the window system's own classes cannot be
// unregistered.
enum class ClassOwner : uint8_t { Program, System };

WindowClass* AddClass(WindowSystem& system, const std::string& name, UINT style, WNDPROC proc, int windowExtra,
                      HBRUSH background, ClassOwner owner)
{
    const bool isSystem = owner == ClassOwner::System;
    auto cls = std::make_unique<WindowClass>();
    cls->name = name;
    cls->style = style;
    cls->proc = proc;
    cls->windowExtra = windowExtra;
    cls->background = background;
    cls->system = isSystem;
    cls->cursor = LoadCursorA(nullptr, IDC_ARROW);
    cls->atom = GlobalAddAtomA(name.c_str());
    WindowClass* raw = cls.get();
    system.classes[Lower(name)] = std::move(cls);
    return raw;
}

std::vector<SystemClassRegistrar>& Registrars()
{
    static std::vector<SystemClassRegistrar> registrars;
    return registrars;
}

std::vector<SystemClassEntry>& FamilyClasses()
{
    static std::vector<SystemClassEntry> entries;
    return entries;
}

} // namespace

void AddSystemClassEntries(const SystemClassEntry* entries, size_t count)
{
    FamilyClasses().insert(FamilyClasses().end(), entries, entries + count);
}

WindowSystem& System()
{
    auto& current = Current();
    if (!current) {
        current = std::make_unique<WindowSystem>();
        RegisterSystemClasses(*current);
        GdiSetSysColorSource(CurrentSysColor);
        GdiSetScreenSize(current->screenWidth, current->screenHeight);
    }
    return *current;
}

std::string Lower(const std::string& text)
{
    std::string out = text;
    for (char& c : out) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

WindowSystem::WindowSystem()
{
    for (int i = 0; i < kSysColorCount; ++i) {
        sysColors[i] = GdiClassicSysColor(i);
    }
    auto desktop = std::make_unique<Window>();
    desktop->handle = NewWindowHandle();
    desktop->style = WS_VISIBLE | WS_CLIPCHILDREN;
    desktop->rect = {0, 0, screenWidth, screenHeight};
    desktop->client = desktop->rect;
    desktop->created = true;
    m_desktop = Adopt(std::move(desktop));
    screenPixels.assign(static_cast<size_t>(screenWidth) * screenHeight, 0);
}

WindowSystem::~WindowSystem()
{
    for (HBRUSH& brush : sysBrushes) {
        if (brush != nullptr) {
            DeleteObject(brush);
            brush = nullptr;
        }
    }
}

Window* WindowSystem::Find(HWND hwnd) const
{
    auto it = m_windows.find(reinterpret_cast<uintptr_t>(hwnd));
    return it == m_windows.end() ? nullptr : it->second.get();
}

HWND WindowSystem::NewWindowHandle()
{
    HWND hwnd = reinterpret_cast<HWND>(m_nextHandle);
    m_nextHandle += 4;
    return hwnd;
}

Window* WindowSystem::Adopt(std::unique_ptr<Window> window)
{
    Window* raw = window.get();
    m_windows[reinterpret_cast<uintptr_t>(raw->handle)] = std::move(window);
    return raw;
}

void WindowSystem::Forget(HWND hwnd) { m_windows.erase(reinterpret_cast<uintptr_t>(hwnd)); }

WindowClass* WindowSystem::FindClass(LPCSTR name) const
{
    if (name == nullptr) {
        return nullptr;
    }
    std::string key;
    if (UserIsIntName(name)) {
        auto atom = static_cast<ATOM>(reinterpret_cast<uintptr_t>(name));
        for (const auto& [k, cls] : classes) {
            if (cls->atom == atom) {
                return cls.get();
            }
        }
        return nullptr;
    }
    auto it = classes.find(Lower(name));
    return it == classes.end() ? nullptr : it->second.get();
}

const std::string* RegisteredMessageName(UINT id)
{
    auto& names = System().registeredNames;
    auto it = names.find(id);
    return it == names.end() ? nullptr : &it->second;
}

DWORD Now() { return System().now; }

// The system classes our code creates by name. Their procedures grow with
// the menus, dialogs and controls that use them.
void RegisterSystemClasses(WindowSystem& system)
{
    // The popup-menu window keeps its menu in its first extra bytes.
    AddClass(system, "#32768", CS_SAVEBITS | CS_DBLCLKS | CS_DROPSHADOW, PopupMenuWindowProc,
             static_cast<int>(sizeof(LONG_PTR)), nullptr, ClassOwner::System);
    AddClass(system, "#32770", CS_SAVEBITS | CS_DBLCLKS, DefDlgProcA, DLGWINDOWEXTRA, nullptr, ClassOwner::System);
    AddClass(system, "tooltips_class32", CS_SAVEBITS | CS_DBLCLKS, SystemClassProc, 0, nullptr, ClassOwner::System);
    for (const SystemClassEntry& entry : FamilyClasses()) {
        HBRUSH background = entry.backgroundColour > 0
                                ? reinterpret_cast<HBRUSH>(static_cast<intptr_t>(entry.backgroundColour))
                                : nullptr;
        if (auto old = system.classes.find(Lower(entry.name)); old != system.classes.end()) {
            GlobalDeleteAtom(old->second->atom);
            system.classes.erase(old);
        }
        AddClass(system, entry.name, entry.style, entry.proc, entry.windowExtra, background, ClassOwner::System);
    }
    for (SystemClassRegistrar registrar : Registrars()) {
        registrar();
    }
}

void AddSystemClassRegistrar(SystemClassRegistrar registrar)
{
    Registrars().push_back(registrar);
    if (Current()) {
        registrar();
    }
}

ATOM RegisterSystemClass(const WNDCLASSEXA& wc)
{
    WindowSystem& system = System();
    if (wc.lpszClassName == nullptr || UserIsIntName(wc.lpszClassName) || wc.lpszClassName[0] == '\0' ||
        system.FindClass(wc.lpszClassName) != nullptr) {
        return 0;
    }
    WindowClass* cls = AddClass(system, wc.lpszClassName, wc.style, wc.lpfnWndProc, wc.cbWndExtra,
                                wc.hbrBackground, ClassOwner::System);
    cls->classExtra = wc.cbClsExtra;
    if (wc.hCursor != nullptr) {
        cls->cursor = wc.hCursor;
    }
    return cls->atom;
}

} // namespace nuvex::user

using namespace nuvex::user;

// Test and back-end control ------------------------------------------------------

void ResetWindowSystem(int screenWidth, int screenHeight)
{
    auto& current = Current();
    if (current) {
        // Destroy what is left so that window procedures see their last
        // messages, then drop the whole state.
        std::vector<HWND> tops;
        for (Window* child : current->Desktop()->children) {
            tops.push_back(child->handle);
        }
        for (HWND hwnd : tops) {
            DestroyWindow(hwnd);
        }
        current.reset();
    }
    current = std::make_unique<WindowSystem>();
    WindowSystem& system = *current;
    system.screenWidth = std::max(screenWidth, 1);
    system.screenHeight = std::max(screenHeight, 1);
    system.Desktop()->rect = {0, 0, system.screenWidth, system.screenHeight};
    system.Desktop()->client = system.Desktop()->rect;
    system.screenPixels.assign(static_cast<size_t>(system.screenWidth) * system.screenHeight, 0);
    RegisterSystemClasses(system);
    GdiSetSysColorSource(CurrentSysColor);
    GdiSetScreenSize(system.screenWidth, system.screenHeight);
}

void SetMessageSpy(MessageSpy spy) { System().spy = std::move(spy); }
void SetIdleScript(IdleScript script) { System().idleScript = std::move(script); }
DWORD GetWindowSystemTime() { return System().now; }

GdiSurface GetWindowSurface(HWND topLevel)
{
    Window* w = W(topLevel);
    if (w == nullptr || !IsTopLevel(w) || w->pixels.empty()) {
        return {};
    }
    const int width = std::max(Width(w->rect), 1);
    return GdiSurface{w->pixels.data(), width, std::max(Height(w->rect), 1), width};
}

// Classes ---------------------------------------------------------------------

ATOM RegisterClassExA(const WNDCLASSEXA* wc)
{
    if (wc == nullptr || wc->lpszClassName == nullptr || UserIsIntName(wc->lpszClassName) ||
        wc->lpszClassName[0] == '\0' || wc->lpfnWndProc == nullptr || wc->cbWndExtra < 0 ||
        wc->cbClsExtra < 0) {
        return 0;
    }
    WindowSystem& system = System();
    std::string key = Lower(wc->lpszClassName);
    if (system.classes.count(key) != 0) {
        return 0;
    }
    auto cls = std::make_unique<WindowClass>();
    cls->name = wc->lpszClassName;
    cls->style = wc->style;
    cls->proc = wc->lpfnWndProc;
    cls->classExtra = wc->cbClsExtra;
    cls->windowExtra = wc->cbWndExtra;
    cls->instance = wc->hInstance;
    cls->icon = wc->hIcon;
    cls->smallIcon = wc->hIconSm;
    cls->cursor = wc->hCursor;
    cls->background = wc->hbrBackground;
    if (wc->lpszMenuName != nullptr && !UserIsIntName(wc->lpszMenuName)) {
        cls->menuName = wc->lpszMenuName;
    }
    cls->atom = GlobalAddAtomA(wc->lpszClassName);
    ATOM atom = cls->atom;
    system.classes[key] = std::move(cls);
    return atom;
}

ATOM RegisterClassA(const WNDCLASSA* wc)
{
    if (wc == nullptr) {
        return 0;
    }
    WNDCLASSEXA ex{sizeof(WNDCLASSEXA), wc->style,        wc->lpfnWndProc,  wc->cbClsExtra,
                   wc->cbWndExtra,      wc->hInstance,    wc->hIcon,        wc->hCursor,
                   wc->hbrBackground,   wc->lpszMenuName, wc->lpszClassName, nullptr};
    return RegisterClassExA(&ex);
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE)
{
    WindowSystem& system = System();
    WindowClass* cls = system.FindClass(className);
    if (cls == nullptr || cls->system || cls->windowCount > 0) {
        return FALSE;
    }
    GlobalDeleteAtom(cls->atom);
    system.classes.erase(Lower(cls->name));
    return TRUE;
}

BOOL GetClassInfoExA(HINSTANCE, LPCSTR className, WNDCLASSEXA* out)
{
    WindowSystem& system = System();
    WindowClass* cls = system.FindClass(className);
    if (cls == nullptr || out == nullptr) {
        return FALSE;
    }
    *out = WNDCLASSEXA{sizeof(WNDCLASSEXA), cls->style,      cls->proc,   cls->classExtra,
                       cls->windowExtra,    cls->instance,   cls->icon,   cls->cursor,
                       cls->background,     nullptr,         className,   cls->smallIcon};
    return TRUE;
}

BOOL GetClassInfoA(HINSTANCE instance, LPCSTR className, WNDCLASSA* out)
{
    WNDCLASSEXA ex{};
    if (out == nullptr || !GetClassInfoExA(instance, className, &ex)) {
        return FALSE;
    }
    *out = WNDCLASSA{ex.style,  ex.lpfnWndProc,   ex.cbClsExtra,    ex.cbWndExtra,   ex.hInstance,
                     ex.hIcon,  ex.hCursor,       ex.hbrBackground, ex.lpszMenuName, ex.lpszClassName};
    return TRUE;
}

int GetClassNameA(HWND hwnd, LPSTR buffer, int size)
{
    Window* w = W(hwnd);
    if (w == nullptr || buffer == nullptr || size <= 0) {
        return 0;
    }
    const std::string name = w->windowClass != nullptr ? w->windowClass->name : std::string("#32769");
    int n = std::min(static_cast<int>(name.size()), size - 1);
    std::memcpy(buffer, name.data(), static_cast<size_t>(n));
    buffer[n] = '\0';
    return n;
}

ULONG_PTR GetClassLongPtrA(HWND hwnd, int index)
{
    Window* w = W(hwnd);
    if (w == nullptr || w->windowClass == nullptr) {
        return 0;
    }
    const WindowClass* cls = w->windowClass;
    switch (index) {
    case GCLP_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(cls->background);
    case GCLP_HCURSOR: return reinterpret_cast<ULONG_PTR>(cls->cursor);
    case GCLP_HICON: return reinterpret_cast<ULONG_PTR>(cls->icon);
    case GCLP_HICONSM: return reinterpret_cast<ULONG_PTR>(cls->smallIcon);
    case GCLP_WNDPROC: return reinterpret_cast<ULONG_PTR>(cls->proc);
    case GCL_STYLE: return cls->style;
    default: return 0;
    }
}

DWORD GetClassLongA(HWND hwnd, int index) { return static_cast<DWORD>(GetClassLongPtrA(hwnd, index)); }

ULONG_PTR SetClassLongPtrA(HWND hwnd, int index, LONG_PTR value)
{
    Window* w = W(hwnd);
    if (w == nullptr || w->windowClass == nullptr) {
        return 0;
    }
    WindowClass* cls = w->windowClass;
    ULONG_PTR old = GetClassLongPtrA(hwnd, index);
    switch (index) {
    case GCLP_HBRBACKGROUND: cls->background = reinterpret_cast<HBRUSH>(value); break;
    case GCLP_HCURSOR: cls->cursor = reinterpret_cast<HCURSOR>(value); break;
    case GCLP_HICON: cls->icon = reinterpret_cast<HICON>(value); break;
    case GCLP_HICONSM: cls->smallIcon = reinterpret_cast<HICON>(value); break;
    case GCLP_WNDPROC: cls->proc = reinterpret_cast<WNDPROC>(value); break;
    case GCL_STYLE: cls->style = static_cast<UINT>(value); break;
    default: return 0;
    }
    return old;
}

// Atoms and registered messages ------------------------------------------------

namespace {

// "#123" names the integer atom 123 (1..0xBFFF).
bool IntegerAtomName(LPCSTR name, ATOM* atom)
{
    if (UserIsIntName(name)) {
        *atom = static_cast<ATOM>(reinterpret_cast<uintptr_t>(name));
        return *atom != 0 && *atom < 0xC000;
    }
    if (name[0] != '#' || name[1] == '\0') {
        return false;
    }
    unsigned long value = 0;
    for (const char* p = name + 1; *p != '\0'; ++p) {
        if (!std::isdigit(static_cast<unsigned char>(*p)) || value > 0xFFFF) {
            return false;
        }
        value = value * 10 + static_cast<unsigned long>(*p - '0');
    }
    *atom = static_cast<ATOM>(value);
    return value != 0 && value < 0xC000;
}

} // namespace

ATOM GlobalAddAtomA(LPCSTR name)
{
    if (name == nullptr) {
        return 0;
    }
    ATOM integer = 0;
    if (IntegerAtomName(name, &integer)) {
        return integer;
    }
    if (UserIsIntName(name) || name[0] == '\0' || std::strlen(name) > 255) {
        return 0;
    }
    WindowSystem& system = System();
    std::string key = Lower(name);
    for (auto& [atom, entry] : system.atoms) {
        if (Lower(entry.name) == key) {
            ++entry.references;
            return atom;
        }
    }
    if (system.nextAtom == 0) {
        return 0; // all string atoms used
    }
    ATOM atom = system.nextAtom++;
    system.atoms[atom] = {name, 1};
    return atom;
}

ATOM GlobalFindAtomA(LPCSTR name)
{
    if (name == nullptr) {
        return 0;
    }
    ATOM integer = 0;
    if (IntegerAtomName(name, &integer)) {
        return integer;
    }
    if (UserIsIntName(name)) {
        return 0;
    }
    std::string key = Lower(name);
    for (auto& [atom, entry] : System().atoms) {
        if (Lower(entry.name) == key) {
            return atom;
        }
    }
    return 0;
}

ATOM GlobalDeleteAtom(ATOM atom)
{
    auto& atoms = System().atoms;
    auto it = atoms.find(atom);
    if (it != atoms.end() && --it->second.references <= 0) {
        atoms.erase(it);
    }
    return 0;
}

UINT GlobalGetAtomNameA(ATOM atom, LPSTR buffer, int size)
{
    if (buffer == nullptr || size <= 0) {
        return 0;
    }
    std::string name;
    if (atom > 0 && atom < 0xC000) {
        name = std::string("#").append(std::to_string(atom));
    } else {
        auto& atoms = System().atoms;
        auto it = atoms.find(atom);
        if (it == atoms.end()) {
            buffer[0] = '\0';
            return 0;
        }
        name = it->second.name;
    }
    int n = std::min(static_cast<int>(name.size()), size - 1);
    std::memcpy(buffer, name.data(), static_cast<size_t>(n));
    buffer[n] = '\0';
    return static_cast<UINT>(n);
}

UINT RegisterWindowMessageA(LPCSTR name)
{
    if (name == nullptr || UserIsIntName(name) || name[0] == '\0') {
        return 0;
    }
    WindowSystem& system = System();
    std::string key = Lower(name);
    auto it = system.registeredMessages.find(key);
    if (it != system.registeredMessages.end()) {
        return it->second;
    }
    if (system.nextRegisteredMessage > 0xFFFF) {
        return 0;
    }
    UINT id = system.nextRegisteredMessage++;
    system.registeredMessages[key] = id;
    system.registeredNames[id] = name;
    return id;
}

// Metrics, colours, parameters -----------------------------------------------------

int GetSystemMetrics(int index)
{
    const WindowSystem& system = System();
    switch (index) {
    case SM_CXSCREEN: return system.screenWidth;
    case SM_CYSCREEN: return system.screenHeight;
    case SM_CXVSCROLL: case SM_CYHSCROLL: case SM_CYVSCROLL: case SM_CXHSCROLL: return 16;
    case SM_CYVTHUMB: case SM_CXHTHUMB: return 16;
    case SM_CYCAPTION: return 19;
    case SM_CXBORDER: case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME: case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME: case SM_CYFRAME: return 4;
    case SM_CXICON: case SM_CYICON: case SM_CXCURSOR: case SM_CYCURSOR: return 32;
    case SM_CYMENU: return 19;
    case SM_CXFULLSCREEN: return system.screenWidth;
    case SM_CYFULLSCREEN: return system.screenHeight - 19;
    case SM_CXMIN: return 112;
    case SM_CYMIN: return 27;
    case SM_CXSIZE: case SM_CYSIZE: return 18;
    case SM_CXMINTRACK: return 112;
    case SM_CYMINTRACK: return 27;
    case SM_CXDOUBLECLK: case SM_CYDOUBLECLK: return 4;
    case SM_CXEDGE: case SM_CYEDGE: return 2;
    case SM_CXSMICON: case SM_CYSMICON: return 16;
    case SM_CYSMCAPTION: return 15;
    case SM_CXSMSIZE: case SM_CYSMSIZE: return 12;
    case SM_CXMENUSIZE: case SM_CYMENUSIZE: return 18;
    case SM_CXMAXIMIZED: return system.screenWidth + 8;
    case SM_CYMAXIMIZED: return system.screenHeight + 8;
    case SM_CXMENUCHECK: case SM_CYMENUCHECK: return 13;
    case SM_CMONITORS: return 1;
    case SM_REMOTESESSION: return 0;
    default: return 0;
    }
}

DWORD GetSysColor(int index)
{
    if (index < 0 || index >= kSysColorCount) {
        return 0;
    }
    return System().sysColors[index];
}

BOOL SetSysColors(int count, const int* indexes, const COLORREF* colours)
{
    if (count < 0 || (count > 0 && (indexes == nullptr || colours == nullptr))) {
        return FALSE;
    }
    WindowSystem& system = System();
    for (int i = 0; i < count; ++i) {
        const int index = indexes[i];
        if (index >= 0 && index < kSysColorCount) {
            system.sysColors[index] = colours[i];
            if (system.sysBrushes[index] != nullptr) {
                DeleteObject(system.sysBrushes[index]);
                system.sysBrushes[index] = nullptr;
            }
        }
    }
    std::vector<HWND> tops;
    for (Window* child : system.Desktop()->children) {
        tops.push_back(child->handle);
    }
    for (HWND hwnd : tops) {
        Send(hwnd, WM_SYSCOLORCHANGE, 0, 0);
    }
    return TRUE;
}

BOOL SystemParametersInfoA(UINT action, UINT param, LPVOID data, UINT)
{
    if (data == nullptr) {
        return FALSE;
    }
    switch (action) {
    case SPI_GETBORDER: *static_cast<int*>(data) = 1; return TRUE;
    case SPI_GETWORKAREA: {
        auto* rect = static_cast<RECT*>(data);
        *rect = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        return TRUE;
    }
    case SPI_GETKEYBOARDCUES:
    case SPI_GETFLATMENU:
    case SPI_GETDROPSHADOW:
        // Classic desktop: underlines only with the keyboard, raised menus,
        // no drop shadows.
        *static_cast<BOOL*>(data) = FALSE;
        return TRUE;
    case SPI_GETMENUSHOWDELAY: *static_cast<int*>(data) = 400; return TRUE;
    case SPI_GETHIGHCONTRAST: {
        auto* hc = static_cast<HIGHCONTRASTA*>(data);
        // The 32-bit record was 12 bytes; both sizes are accepted, and
        // only the flags are written.
        if (param != 12 && param != sizeof(HIGHCONTRASTA) && param != 0) {
            return FALSE;
        }
        if (hc->cbSize != 12 && hc->cbSize != sizeof(HIGHCONTRASTA)) {
            return FALSE;
        }
        hc->dwFlags = 0;
        return TRUE;
    }
    case SPI_GETNONCLIENTMETRICS: {
        auto* m = static_cast<NONCLIENTMETRICSA*>(data);
        if (m->cbSize != sizeof(NONCLIENTMETRICSA)) {
            return FALSE;
        }
        auto font = [](LOGFONTA& lf, LONG weight) {
            lf = LOGFONTA{};
            lf.lfHeight = -11;
            lf.lfWeight = weight;
            std::strncpy(lf.lfFaceName, "Tahoma", LF_FACESIZE - 1);
        };
        m->iBorderWidth = 1;
        m->iScrollWidth = 16;
        m->iScrollHeight = 16;
        m->iCaptionWidth = 18;
        m->iCaptionHeight = 18;
        font(m->lfCaptionFont, 700);
        m->iSmCaptionWidth = 12;
        m->iSmCaptionHeight = 15;
        font(m->lfSmCaptionFont, 700);
        m->iMenuWidth = 18;
        m->iMenuHeight = 18;
        font(m->lfMenuFont, 400);
        font(m->lfStatusFont, 400);
        font(m->lfMessageFont, 400);
        return TRUE;
    }
    default: return FALSE;
    }
}

HBRUSH GetSysColorBrush(int index)
{
    if (index < 0 || index >= kSysColorCount) {
        return nullptr;
    }
    HBRUSH& brush = System().sysBrushes[index];
    if (brush == nullptr) {
        brush = CreateSolidBrush(GetSysColor(index));
    }
    return brush;
}

// Monitors --------------------------------------------------------------------------

namespace {

HMONITOR ThePrimaryMonitor() { return reinterpret_cast<HMONITOR>(static_cast<uintptr_t>(0x4D0001)); }

HMONITOR MonitorFor(const RECT& r, DWORD flags)
{
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT overlap{};
    if (IntersectRect(&overlap, &r, &screen) != FALSE || flags != MONITOR_DEFAULTTONULL) {
        return ThePrimaryMonitor();
    }
    return nullptr;
}

} // namespace

HMONITOR MonitorFromPoint(POINT point, DWORD flags)
{
    return MonitorFor(RECT{point.x, point.y, point.x + 1, point.y + 1}, flags);
}

HMONITOR MonitorFromRect(const RECT* rect, DWORD flags)
{
    if (rect == nullptr) {
        return nullptr;
    }
    RECT r = *rect;
    if (IsRectEmpty(&r) != FALSE) {
        r.right = r.left + 1;
        r.bottom = r.top + 1;
    }
    return MonitorFor(r, flags);
}

HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags)
{
    RECT r{};
    if (GetWindowRect(hwnd, &r) == FALSE) {
        return flags == MONITOR_DEFAULTTONULL ? nullptr : ThePrimaryMonitor();
    }
    return MonitorFromRect(&r, flags);
}

BOOL GetMonitorInfoA(HMONITOR monitor, MONITORINFO* info)
{
    if (monitor != ThePrimaryMonitor() || info == nullptr ||
        (info->cbSize != sizeof(MONITORINFO) && info->cbSize != sizeof(MONITORINFOEXA))) {
        return FALSE;
    }
    info->rcMonitor = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &info->rcWork, 0);
    info->dwFlags = MONITORINFOF_PRIMARY;
    if (info->cbSize == sizeof(MONITORINFOEXA)) {
        std::strncpy(reinterpret_cast<MONITORINFOEXA*>(info)->szDevice, "\\\\.\\DISPLAY1", 31);
    }
    return TRUE;
}
