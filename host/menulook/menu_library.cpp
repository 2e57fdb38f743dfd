// Library start-up and shut-down: platform probing, the gradient and theme
// entry points, the painters of the twelve style codes, the popup-menu
// hook; and the small holders around them.
#include "host/menulook/menu_library.h"

#include <algorithm>

#include "host/menulook/menu_painter.h"
#include "host/menulook/new_menu.h"

namespace {

// The first and last ids SetUnusedTimer tries.
constexpr UINT_PTR kFirstFreeTimer = 31;
constexpr UINT_PTR kLastFreeTimer = 99;

struct PainterRow {
    int styleCode;
    bool extended;
    MenuMeasureRoutine measure;
    MenuDrawRoutine draw;
    DWORD frameFlag;
};

// The painters in the order they are registered.
const PainterRow kPainters[] = {
    {6, false, &CNewMenu::MeasureItemGradient, &CNewMenu::DrawItemGradient, 1},
    {7, false, &CNewMenu::MeasureItemGradient, &CNewMenu::DrawItemGradient, 0},
    {0, false, &CNewMenu::MeasureItemClassic, &CNewMenu::DrawItemClassic, 1},
    {1, false, &CNewMenu::MeasureItemClassic, &CNewMenu::DrawItemClassic, 0},
    {2, true, &CNewMenu::MeasureItemColumn, &CNewMenu::DrawItemColumn, 1},
    {3, true, &CNewMenu::MeasureItemColumn, &CNewMenu::DrawItemColumn, 0},
    {8, true, &CNewMenu::MeasureItemColumn, &CNewMenu::DrawItemShaded, 1},
    {9, true, &CNewMenu::MeasureItemColumn, &CNewMenu::DrawItemShaded, 0},
    {10, true, &CNewMenu::MeasureItemColumn, &CNewMenu::DrawItemShaded, 1},
    {11, true, &CNewMenu::MeasureItemColumn, &CNewMenu::DrawItemShaded, 0},
    {4, false, &CNewMenu::MeasureItemClassic, &CNewMenu::DrawItemFlatBar, 1},
    {5, false, &CNewMenu::MeasureItemClassic, &CNewMenu::DrawItemFlatBar, 0},
};

} // namespace

MenuLibraryState& MenuLibrary()
{
    static MenuLibraryState state;
    return state;
}

int GetOsStyle()
{
    // The platform reports no Windows version; it behaves as the newest
    // system the looks know (NT 5.1 and later).
    return kOsStyleXp;
}

BOOL IsDropShadowEnabled()
{
    BOOL shadow = FALSE;
    if (SystemParametersInfoA(SPI_GETDROPSHADOW, 0, &shadow, 0) == FALSE) {
        return FALSE;
    }
    return shadow;
}

void CNewMenu::InitLibrary()
{
    MenuLibraryState& state = MenuLibrary();
    if (!state.started) {
        state.started = true;
        state.osStyle = GetOsStyle();
        // 1. Remote sessions.
        state.remoteSession = state.osStyle >= kOsStyle2000 && GetSystemMetrics(SM_REMOTESESSION) != 0;
        // 2. The compatibility layer's marker export.
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        state.wine = kernel != nullptr && GetProcAddress(kernel, "wine_get_unix_file_name") != nullptr;
        // 3. High contrast.
        HIGHCONTRASTA contrast{};
        contrast.cbSize = 12;
        if (SystemParametersInfoA(SPI_GETHIGHCONTRAST, 12, &contrast, 0) != FALSE) {
            state.highContrast = (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
        }
        // 4. The theme library (none on this platform).
        state.themeModule = LoadLibraryA("uxtheme.dll");
        if (state.themeModule != nullptr) {
            state.isThemeActive = reinterpret_cast<IsThemeActiveProc>(GetProcAddress(state.themeModule, "IsThemeActive"));
            state.setWindowTheme =
                reinterpret_cast<SetWindowThemeProc>(GetProcAddress(state.themeModule, "SetWindowTheme"));
        }
        // 5. Gradients: the platform's own GradientFill stands in for the
        // image library's entry point.
        state.gradientFill = state.osStyle != kOsStyle98 ? &::GradientFill : nullptr;
        // 6. The painters.
        for (const PainterRow& row : kPainters) {
            CMenuLookPainter* painter =
                row.extended ? new CMenuLookPainterEx(row.styleCode, row.frameFlag, row.measure, row.draw,
                                                      &CNewMenu::DrawItemTitle)
                             : new CMenuLookPainter(row.styleCode, row.frameFlag, row.measure, row.draw,
                                                    &CNewMenu::DrawItemTitle);
            if (!CMenuLookPainter::Register(painter)) {
                delete painter;
            }
        }
        // 7. Code 2 until the program chooses.
        state.currentPainter = CMenuLookPainter::FindByStyle(2);
    }
    // 8. The hook of this window system (a fresh one forgets the last).
    if (state.hook != nullptr) {
        UnhookWindowsHookEx(state.hook);
    }
    state.hook = SetWindowsHookExA(WH_CALLWNDPROC, &MenuWindowHookProc, nullptr, 0);
    state.pendingMenu = nullptr;
    // Stops the library at program exit, before the window system it
    // hooked (made before this object) goes.
    struct Stopper {
        ~Stopper() { ExitMenuLibrary(); }
    };
    static Stopper stopper;
}

void CNewMenu::ExitLibrary() { ExitMenuLibrary(); }

void ExitMenuLibrary()
{
    MenuLibraryState& state = MenuLibrary();
    if (state.hook != nullptr) {
        UnhookWindowsHookEx(state.hook);
        state.hook = nullptr;
    }
    if (state.painters) {
        while (!state.painters->empty()) {
            CMenuLookPainter* painter = state.painters->front();
            state.painters->erase(state.painters->begin());
            delete painter;
        }
        state.painters.reset();
    }
    state.currentPainter = nullptr;
    state.isThemeActive = nullptr;
    state.setWindowTheme = nullptr;
    if (state.themeModule != nullptr) {
        FreeLibrary(state.themeModule);
        state.themeModule = nullptr;
    }
    state.gradientFill = nullptr;
    if (state.imageModule != nullptr) {
        FreeLibrary(state.imageModule);
        state.imageModule = nullptr;
    }
    state.iconSets.reset();
    state.started = false;
}

BOOL CMenuLookPainter::Register(CMenuLookPainter* painter)
{
    MenuLibraryState& state = MenuLibrary();
    if (painter == nullptr) {
        return FALSE;
    }
    if (!state.painters) {
        state.painters = std::make_unique<std::vector<CMenuLookPainter*>>();
        state.painters->reserve(10);
    }
    auto& list = *state.painters;
    if (std::find(list.begin(), list.end(), painter) != list.end()) {
        return FALSE;
    }
    list.push_back(painter);
    return TRUE;
}

CMenuLookPainter* CMenuLookPainter::Unregister(int styleCode)
{
    MenuLibraryState& state = MenuLibrary();
    if (!state.painters) {
        return nullptr;
    }
    auto& list = *state.painters;
    auto it = std::find_if(list.begin(), list.end(), [&](CMenuLookPainter* p) { return p->StyleCode() == styleCode; });
    if (it == list.end()) {
        return nullptr;
    }
    CMenuLookPainter* painter = *it;
    list.erase(it);
    if (state.currentPainter == painter) {
        state.currentPainter = nullptr;
    }
    if (list.empty()) {
        state.painters.reset();
    }
    return painter;
}

CMenuLookPainter* CMenuLookPainter::FindByStyle(int styleCode)
{
    const MenuLibraryState& state = MenuLibrary();
    if (!state.painters) {
        return nullptr;
    }
    for (CMenuLookPainter* painter : *state.painters) {
        if (painter->StyleCode() == styleCode) {
            return painter;
        }
    }
    return nullptr;
}

CDynLib::CDynLib(LPCSTR fileName, LPCSTR entryName)
{
    m_module = LoadLibraryA(fileName);
    m_entry = m_module != nullptr ? GetProcAddress(m_module, entryName) : nullptr;
}

CDynLib::~CDynLib()
{
    if (m_module != nullptr) {
        FreeLibrary(m_module);
        m_module = nullptr;
    }
}

CMenuHookHolder::CMenuHookHolder() : m_hook(SetWindowsHookExA(WH_CALLWNDPROC, &MenuWindowHookProc, nullptr, 0)) {}

CMenuHookHolder::~CMenuHookHolder()
{
    if (m_hook != nullptr) {
        UnhookWindowsHookEx(m_hook);
        m_hook = nullptr;
    }
}

CMenuOptionScope::CMenuOptionScope(DWORD optionWord)
{
    MenuLibraryState& state = MenuLibrary();
    m_savedOptions = state.optionWord;
    state.optionWord = optionWord;
    m_savedStyle = CNewMenu::GetMenuDrawMode();
    if ((optionWord & kOptionScopeStyle) != 0) {
        CNewMenu::SetMenuDrawMode(m_savedStyle | 1);
    }
}

CMenuOptionScope::CMenuOptionScope(StyleOnly, int styleCode)
{
    m_savedOptions = MenuLibrary().optionWord;
    m_savedStyle = CNewMenu::GetMenuDrawMode();
    CNewMenu::SetMenuDrawMode(styleCode);
}

CMenuOptionScope::~CMenuOptionScope()
{
    CNewMenu::SetMenuDrawMode(m_savedStyle);
    MenuLibrary().optionWord = m_savedOptions;
}

UINT_PTR SetUnusedTimer(HWND window, UINT periodMs)
{
    if (IsWindow(window) == FALSE) {
        return 0;
    }
    for (UINT_PTR id = kFirstFreeTimer; id <= kLastFreeTimer; ++id) {
        if (IsTimerSet(window, id) != FALSE) {
            continue;
        }
        if (const UINT_PTR set = SetTimer(window, id, periodMs, nullptr)) {
            return set;
        }
    }
    return 0;
}
