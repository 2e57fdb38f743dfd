// CMillingAddin: connection to the host, help, the context menu and the
// postprocessor plug-ins.
#include "addins/milling/core/milling_addin.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "addins/milling/core/addin_event_sink.h"
#include "addins/milling/core/addin_resources.h"
#include "addins/milling/core/strimo_ids.h"
#include "icontrols.h"
#include "platform/com/connpoint.h"
#include "platform/kernel/help.h"
#include "platform/kernel/module.h"

namespace {

std::string g_programFolder;
// The add-in objects of this module alive now, so that an IAddin the host
// hands back can be told from another module's.
std::set<const IAddin*>& LiveAddins()
{
    static std::set<const IAddin*> addins;
    return addins;
}

// Pane group flags: dock left, tabs, may dock left and right.
constexpr LONG kWorkshopFlags = 0x311;
constexpr LONG kTreePage = 1;
constexpr LONG kTextPage = 2;
constexpr LONG kControlPanelPage = 4;
constexpr LONG kSeparatorItem = 0x800;
constexpr BYTE kButtonEnabled = 4;
constexpr BYTE kButtonPlain = 0;
constexpr BYTE kButtonSeparator = 1;

// One command as Connect registers it, in registration order.
struct CommandRegistration {
    long command;
    int bitmap;        // the command's image resource
    long toolbarText;  // MENUITEM id of the toolbar button's text
    long menuText;     // MENUITEM id of the menu item's text
    const char* text;  // English default of both
    const GUID* classId;
    bool separatorAfter;
};

constexpr CommandRegistration kCommands[] = {
    {kCommandAddOperation, 6017, 101, 101, "Add Milling 2.5D Operation", &CLSID_AddOperationCommand, false},
    {kCommandToolStore, 6002, 100, 100, "Toolstore", &CLSID_ToolStoreCommand, false},
    {kCommandMachineSettings, 6027, 210, 99, "Machine postprocesor settings...",
     &CLSID_PostprocessorSettingsCommand, false},
    {kCommandOpenNcFile, 6014, 104, 104, "Open NC File", &CLSID_NcFileCommand, true},
    {kCommandContourMilling, 6019, 102, 102, "Add a contour milling operation", &CLSID_ContourMillingCommand,
     false},
    {kCommandPocketMilling, 6020, 103, 103, "Add a pocket milling operation", &CLSID_PocketMillingCommand, true},
    {kCommandSimulation, 6030, 106, 106, "Simulate current phase", &CLSID_SimulationCommand, false},
    {kCommandSaveNcFile, 6015, 105, 105, "Save NC File", &CLSID_NcFileCommand, false},
};

struct HelpTopic {
    long command;
    const char* topic;
};

constexpr HelpTopic kHelpTopics[] = {
    {kCommandAddOperation, "operation.htm"},      {kCommandCurveMilling, "curve_feature.htm"},
    {kCommandContourMilling, "contour_feature.htm"}, {kCommandPocketMilling, "pocket_feature.htm"},
    {kCommandSimulation, "simulation.htm"},       {kCommandToolStore, "toolstore.htm"},
    {kCommandMachineSettings, "postprocessor.htm"},
};

} // namespace

const std::string& StrimoProgramFolder() { return g_programFolder; }

void SetStrimoProgramFolder(const std::string& folder)
{
    g_programFolder = folder;
    std::replace(g_programFolder.begin(), g_programFolder.end(), '\\', '/');
    while (g_programFolder.size() > 1 && g_programFolder.back() == '/')
        g_programFolder.pop_back();
}

void LoadAddinLanguage(IHostApplication* host, CLanguageTable& table)
{
    char chosen[1024] = "EN";
    char fallback[1024] = "EN";
    if (host != nullptr && SUCCEEDED(host->GetLanguage(chosen, fallback))) {
        chosen[sizeof chosen - 1] = '\0';
        fallback[sizeof fallback - 1] = '\0';
    }
    table.SetLanguages(chosen[0] != '\0' ? chosen : "EN", fallback[0] != '\0' ? fallback : "EN");
    table.Load(AddinLanguageFilePath(StrimoProgramFolder()));
}

CMillingAddin* AddinWithLanguage(IHostDocument* document, CLanguageTable& table)
{
    IHostApplication* host = nullptr;
    CMillingAddin* addin = CMillingAddin::FromDocument(document, &host);
    LoadAddinLanguage(host, table);
    return addin;
}

HWND FirstViewWindow(IHostDocument* document)
{
    IHostView* view = nullptr; // borrowed from the document
    HWND window = nullptr;
    if (document != nullptr && SUCCEEDED(document->GetFirstView(&view)) && view != nullptr)
        view->GetWindow(&window);
    return window;
}

std::string AddinHelpPath(const std::string& language, const char* topic)
{
    return "help\\" + language + "\\nuvex.chm::/khtml/" + topic;
}

void ShowAddinHelp(const std::string& language, const char* topic)
{
    HtmlHelpA(nullptr, AddinHelpPath(language, topic).c_str(), HH_DISPLAY_TOPIC, 0);
}

CMillingAddin::CMillingAddin() { LiveAddins().insert(this); }

CMillingAddin::~CMillingAddin()
{
    LiveAddins().erase(this);
    m_eventSink.Reset();
    // The postprocessors' code lives in the plug-ins, so they go first.
    m_postprocessors.clear();
    for (HMODULE plugin : m_plugins)
        FreeLibrary(plugin);
}

CMillingAddin* CMillingAddin::FromInterface(IAddin* addin)
{
    if (addin == nullptr || LiveAddins().count(addin) == 0)
        return nullptr;
    return static_cast<CMillingAddin*>(addin);
}

CMillingAddin* CMillingAddin::FromHost(IHostApplication* host)
{
    if (host == nullptr)
        return nullptr;
    IAddin* addin = nullptr;
    if (FAILED(host->GetAddin(CLSID_StrimoAddin, &addin)))
        return nullptr;
    return FromInterface(addin);
}

CMillingAddin* CMillingAddin::FromDocument(IHostDocument* document, IHostApplication** host)
{
    IHostApplication* application = nullptr;
    if (document != nullptr)
        document->GetApplication(&application);
    if (host != nullptr)
        *host = application;
    return FromHost(application);
}

HRESULT CMillingAddin::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IAddin) {
        *out = static_cast<IAddin*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

ULONG CMillingAddin::AddRef() { return static_cast<ULONG>(++m_references); }

ULONG CMillingAddin::Release()
{
    if (--m_references == 0) {
        delete this;
        return 0;
    }
    return static_cast<ULONG>(m_references);
}

HRESULT CMillingAddin::Connect(IHostApplication* host)
{
    if (host == nullptr)
        return E_POINTER;
    m_host = host;
    // The language file and the plug-ins lie under the program folder, so
    // it is asked for before anything is read.
    char folder[4096] = {};
    if (SUCCEEDED(host->GetProgramFolder(folder))) {
        folder[sizeof folder - 1] = '\0';
        SetStrimoProgramFolder(folder);
    }
    LoadAddinLanguage(host, m_language);

    const std::string group = m_language.GetStaticText(15001, "Workshop");
    LONG index = -1;
    if (FAILED(host->FindPaneGroup(group.c_str(), &index)))
        host->AddPaneGroup(group.c_str(), kWorkshopFlags, &index);
    m_paneGroup = index;

    index = -1;
    host->AddPaneItem(m_paneGroup, m_language.GetStaticText(15003, "Features"), kTreePage, this, kPaneFeatures,
                      &index);
    m_featuresPage = index;
    host->RegisterCommandClass(this, kPaneFeatures, CLSID_FeaturesPane);

    const std::string properties = m_language.GetStaticText(15002, "Properties");
    index = -1;
    if (FAILED(host->FindPaneItem(m_paneGroup, properties.c_str(), &index)))
        host->AddPaneItem(m_paneGroup, properties.c_str(), kControlPanelPage, nullptr, 0, &index);
    m_propertiesPage = index;

    const std::string ncCode = m_language.GetStaticText(15004, "NC code");
    index = -1;
    if (SUCCEEDED(host->FindPaneItem(m_paneGroup, ncCode.c_str(), &index))) {
        m_ncCodePageFound = index;
    } else {
        host->AddPaneItem(m_paneGroup, ncCode.c_str(), kTextPage, this, kPaneNcCode, &index);
        m_ncCodePageCreated = index;
    }
    host->RegisterCommandClass(this, kPaneNcCode, CLSID_NcCodePane);

    HMENU menu = nullptr;
    host->GetMainMenu(&menu);
    LONG position = -1;
    host->FindMenuPosition(menu, m_language.GetMenuText(3, "&Tools"), &position);
    host->InsertPopupMenu(menu, position, m_language.GetMenuText(10003, ""));
    HMENU popup = nullptr;
    host->GetSubMenu(menu, position, &popup);

    VARIANT on{};
    on.vt = VT_UI1;
    on.bVal = 1;
    index = -1;
    host->RegisterVariable("Show/hide tool", on, &index);
    m_showToolVariable = index;
    index = -1;
    host->RegisterVariable("Toggle wireframe/shaded tool", on, &index);
    m_shadedToolVariable = index;

    IToolbarControl* toolbar = nullptr;
    host->AddToolbar(m_language.GetMenuItemText(98, "Manufacturing"), &toolbar);

    for (const CommandRegistration& entry : kCommands) {
        // The toolbar and the menu item show the same image; the bitmaps
        // stay with the toolbar and the menu for the life of the process.
        HBITMAP bitmap = LoadAddinBitmap(entry.bitmap);
        LONG image = 0;
        if (toolbar != nullptr) {
            toolbar->AddBitmap(1, bitmap, &image);
            toolbar->AddButton(this, entry.command, image, kButtonEnabled, kButtonPlain,
                               m_language.GetMenuItemText(entry.toolbarText, entry.text));
        }
        const std::string name = m_language.Get(LanguageKeyword::ShortCommand, entry.command, "");
        const std::string shortName = m_language.Get(LanguageKeyword::Command, entry.command, "");
        host->SetCommandTexts(this, entry.command, name.c_str(), shortName.c_str());
        const std::string status = m_language.Get(LanguageKeyword::StatusHelp, entry.command, "");
        const std::string tooltip = m_language.Get(LanguageKeyword::Tooltip, entry.command, "");
        host->SetCommandStatusTexts(this, entry.command, status.c_str(), tooltip.c_str());
        host->RegisterCommandClass(this, entry.command, *entry.classId);
        host->AddMenuItem(popup, this, entry.command, 0, m_language.GetMenuItemText(entry.menuText, entry.text),
                          bitmap);
        if (entry.separatorAfter) {
            host->AddMenuSeparator(popup, this, 0, kSeparatorItem, "");
            if (toolbar != nullptr)
                toolbar->AddButton(nullptr, 0, 0, kButtonEnabled, kButtonSeparator, "");
        }
    }

    host->RegisterEventHandlerClass(this, CLSID_SelectionInfoHandler, 0x20004);

    ComPtr<IConnectionPoint> point;
    if (SUCCEEDED(host->GetEventConnectionPoint(point.Receive())) && point) {
        if (!m_eventSink)
            m_eventSink = ComPtr<IDispatch>::Share(new CAddinEventSink(this));
        ComPtr<IUnknown> unknown;
        if (SUCCEEDED(m_eventSink->QueryInterface(IID_IUnknown, unknown.ReceiveVoid()))) {
            DWORD cookie = 0;
            point->Advise(unknown.Get(), &cookie);
        }
    }

    LoadPostprocessors();
    return S_OK;
}

HRESULT CMillingAddin::OnContextMenu(IHostApplication* host)
{
    if (host == nullptr)
        return S_OK;
    HMENU menu = nullptr;
    host->GetViewContextMenu(&menu);
    for (const CommandRegistration& entry : kCommands) {
        if (entry.command != kCommandContourMilling && entry.command != kCommandPocketMilling)
            continue;
        host->RegisterCommandClass(this, entry.command, *entry.classId);
        host->AddMenuItem(menu, this, entry.command, 0, m_language.GetMenuItemText(entry.menuText, entry.text),
                          LoadAddinBitmap(entry.bitmap));
    }
    return S_OK;
}

HRESULT CMillingAddin::Help(LONG commandNumber, LONG)
{
    for (const HelpTopic& topic : kHelpTopics) {
        if (topic.command == commandNumber) {
            ShowAddinHelp(m_language.ChosenLanguage(), topic.topic);
            break;
        }
    }
    return S_OK;
}

void CMillingAddin::LoadPostprocessors()
{
    const std::string folder = StrimoProgramFolder().empty() ? "PostProc" : StrimoProgramFolder() + "/PostProc";
    LoadPostprocessorsFrom(folder);
}

void CMillingAddin::LoadPostprocessorsFrom(const std::string& folder)
{
    if (m_postprocessorsLoaded)
        return;
    m_postprocessorsLoaded = true;
    // The plug-ins in name order, so the first dialect is the same on every
    // machine.
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().extension() == ".so")
            files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    for (const std::string& file : files) {
        HMODULE plugin = LoadLibraryA(file.c_str());
        if (plugin == nullptr)
            continue;
        m_plugins.push_back(plugin);
        auto count = reinterpret_cast<GetPostprocessorCountFunction>(
            GetProcAddress(plugin, kGetPostprocessorCountExport));
        auto create = reinterpret_cast<CreatePostprocessorFunction>(
            GetProcAddress(plugin, kCreatePostprocessorExport));
        if (count == nullptr || create == nullptr)
            continue;
        INT n = 0;
        if (count(&n) != S_OK)
            continue;
        for (INT i = 0; i < n; ++i) {
            ComPtr<IPostprocessor> postprocessor;
            if (create(i, postprocessor.Receive()) == S_OK && postprocessor)
                m_postprocessors.push_back(std::move(postprocessor));
        }
    }
}

std::vector<IPostprocessor*> CMillingAddin::Postprocessors() const
{
    std::vector<IPostprocessor*> borrowed;
    for (const ComPtr<IPostprocessor>& postprocessor : m_postprocessors)
        borrowed.push_back(postprocessor.Get());
    return borrowed;
}

IPostprocessor* CMillingAddin::FindPostprocessor(const char* name) const
{
    if (name == nullptr)
        return nullptr;
    for (const ComPtr<IPostprocessor>& postprocessor : m_postprocessors) {
        char buffer[1024] = {};
        if (SUCCEEDED(postprocessor->GetName(buffer))) {
            buffer[sizeof buffer - 1] = '\0';
            if (std::string(buffer) == name)
                return postprocessor.Get();
        }
    }
    return nullptr;
}
