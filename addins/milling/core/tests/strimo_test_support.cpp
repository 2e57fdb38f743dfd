// Fixtures of the milling add-in's tests.
#include "addins/milling/core/tests/strimo_test_support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "addins/milling/core/strimo_ids.h"
#include "addins/milling/features/contourfeature.h"
#include "addins/milling/features/pocketfeature.h"
#include "addins/milling/geometry/tests/shapes.h"
#include "ientitycomponent.h"
#include "ientityrecord.h"
#include "platform/kernel/classobject.h"
#include "platform/kernel/module.h"

namespace {

std::string GuidText(const GUID& id) { return GuidToText(id, GuidCase::Upper); }

std::string Text(const char* text) { return text == nullptr ? "(null)" : "\"" + std::string(text) + "\""; }

// Menus and toolbars are tokens: distinct non-null values the add-in hands back.
HMENU MenuToken(uintptr_t n) { return reinterpret_cast<HMENU>(0x1000 + n); }

std::string MenuName(HMENU menu)
{
    if (menu == nullptr)
        return "null";
    return "menu" + std::to_string(reinterpret_cast<uintptr_t>(menu) - 0x1000);
}

} // namespace

std::vector<DrawnEntity> DrawnEntities(IHostDocument* document)
{
    std::vector<DrawnEntity> drawn;
    LONG count = 0;
    document->GetObjectCount(&count);
    for (LONG i = 0; i < count; ++i) {
        IEntityRecord* holder = nullptr;
        document->GetObject(i, &holder);
        IUnknown* object = nullptr;
        if (holder == nullptr || FAILED(holder->GetObject(&object)) || object == nullptr)
            continue;
        ComPtr<IEntityBase> entity;
        if (FAILED(object->QueryInterface(IID_IEntityBase, entity.ReceiveVoid())))
            continue;
        DrawnEntity entry;
        entry.id = reinterpret_cast<uintptr_t>(holder);
        if (ReadMoveEntity(entity.Get(), entry.view))
            drawn.push_back(entry);
    }
    return drawn;
}

std::string SourcePath(const std::string& relative) { return std::string(NUVEX_TEST_SOURCE_DIR) + "/" + relative; }

std::string ReadText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

HRESULT RecordingToolbar::QueryInterface(REFIID iid, void** out)
{
    if (iid == IID_IUnknown || iid == IID_IToolbarControl) {
        *out = static_cast<IToolbarControl*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT RecordingToolbar::AddBitmap(LONG count, HBITMAP bitmap, LONG* firstImage)
{
    m_log.push_back("AddBitmap " + std::to_string(count) + (bitmap != nullptr ? " bitmap" : " null"));
    if (firstImage != nullptr)
        *firstImage = m_images;
    m_images += count;
    return S_OK;
}

HRESULT RecordingToolbar::AddButton(IAddin* addin, LONG commandId, LONG image, BYTE state, BYTE style,
                                    const char* text)
{
    m_log.push_back("AddButton " + std::string(addin != nullptr ? "addin" : "null") + " " +
                    std::to_string(commandId) + " " + std::to_string(image) + " " + std::to_string(state) + " " +
                    std::to_string(style) + " " + Text(text));
    return S_OK;
}

RecordingHost::RecordingHost()
{
    events = ComPtr<CConnectionPointContainer>::Share(new CConnectionPointContainer());
    events->AddConnectionPoint(IID_IDispatch, kMainEventGroup);
}

RecordingHost::~RecordingHost() = default;

std::string RecordingHost::AddinName(IAddin* candidate) const
{
    if (candidate == nullptr)
        return "null";
    return candidate == addin ? "addin" : "other";
}

HRESULT RecordingHost::QueryInterface(REFIID iid, void** out)
{
    if (iid == IID_IUnknown || iid == IID_IHostApplication) {
        *out = static_cast<IHostApplication*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT RecordingHost::RegisterEventHandlerClass(IAddin* a, GUID classId, LONG eventMask)
{
    Log("RegisterEventHandlerClass " + AddinName(a) + " " + GuidText(classId) + " " + std::to_string(eventMask));
    return S_OK;
}

HRESULT RecordingHost::GetViewContextMenu(HMENU* menu)
{
    Log("GetViewContextMenu");
    *menu = MenuToken(90);
    return S_OK;
}

HRESULT RecordingHost::GetProgressControl(CProgressCtrl** control)
{
    Log("GetProgressControl");
    *control = nullptr;
    return S_OK;
}

HRESULT RecordingHost::RegisterFileType(const char*, const char*, LONG, GUID, LONG)
{
    Log("RegisterFileType");
    return S_OK;
}

HRESULT RecordingHost::FocusCommandLine() { return S_OK; }

HRESULT RecordingHost::GetLanguage(char* chosen, char* fallback)
{
    std::strcpy(chosen, chosenLanguage.c_str());
    std::strcpy(fallback, "EN");
    return S_OK;
}

HRESULT RecordingHost::GetPaneGroupCount(LONG* count)
{
    *count = static_cast<LONG>(groups.size());
    return S_OK;
}

HRESULT RecordingHost::GetPaneGroupName(LONG group, char* name)
{
    if (group < 0 || static_cast<size_t>(group) >= groups.size())
        return E_FAIL;
    std::strcpy(name, groups[static_cast<size_t>(group)].name.c_str());
    return S_OK;
}

HRESULT RecordingHost::FindPaneGroup(const char* name, LONG* index)
{
    Log("FindPaneGroup " + Text(name));
    for (size_t i = 0; i < groups.size(); ++i) {
        if (groups[i].name == name) {
            *index = static_cast<LONG>(i);
            return S_OK;
        }
    }
    return E_FAIL;
}

HRESULT RecordingHost::AddPaneGroup(const char* name, LONG flags, LONG* index)
{
    Log("AddPaneGroup " + Text(name) + " " + std::to_string(flags));
    groups.push_back({name, {}});
    *index = static_cast<LONG>(groups.size()) - 1;
    return S_OK;
}

HRESULT RecordingHost::FindPaneItem(LONG group, const char* name, LONG* index)
{
    Log("FindPaneItem " + std::to_string(group) + " " + Text(name));
    if (group < 0 || static_cast<size_t>(group) >= groups.size())
        return E_FAIL;
    const auto& pages = groups[static_cast<size_t>(group)].pages;
    for (size_t i = 0; i < pages.size(); ++i) {
        if (pages[i] == name) {
            *index = static_cast<LONG>(i);
            return S_OK;
        }
    }
    return E_FAIL;
}

HRESULT RecordingHost::AddPaneItem(LONG group, const char* name, LONG flags, IAddin* a, LONG commandId,
                                   LONG* index)
{
    Log("AddPaneItem " + std::to_string(group) + " " + Text(name) + " " + std::to_string(flags) + " " +
        AddinName(a) + " " + std::to_string(commandId));
    if (group < 0 || static_cast<size_t>(group) >= groups.size())
        return E_FAIL;
    auto& pages = groups[static_cast<size_t>(group)].pages;
    pages.push_back(name);
    *index = static_cast<LONG>(pages.size()) - 1;
    return S_OK;
}

HRESULT RecordingHost::GetAddin(CLSID classId, IAddin** out)
{
    if (classId != CLSID_StrimoAddin || addin == nullptr) {
        *out = nullptr;
        return E_FAIL;
    }
    *out = addin;
    return S_OK;
}

HRESULT RecordingHost::GetProgramFolder(char* folder)
{
    Log("GetProgramFolder");
    std::strcpy(folder, programFolder.c_str());
    return S_OK;
}

HRESULT RecordingHost::SetCommandPresets(IAddin*, LONG, LONG, VARIANT*, VARIANT*, uint32_t*) { return S_OK; }

HRESULT RecordingHost::FindVariable(const char* name, LONG* index)
{
    for (size_t i = 0; i < variables.size(); ++i) {
        if (variables[i] == name) {
            *index = static_cast<LONG>(i);
            return S_OK;
        }
    }
    return E_FAIL;
}

HRESULT RecordingHost::GetVariableName(LONG index, const char** name)
{
    if (index < 0 || static_cast<size_t>(index) >= variables.size())
        return E_FAIL;
    *name = variables[static_cast<size_t>(index)].c_str();
    return S_OK;
}

HRESULT RecordingHost::GetVariableCount(LONG* count)
{
    *count = static_cast<LONG>(variables.size());
    return S_OK;
}

HRESULT RecordingHost::RegisterVariable(const char* name, VARIANT value, LONG* index)
{
    Log("RegisterVariable " + Text(name) + " type " + std::to_string(value.vt) + " value " +
        std::to_string(value.bVal));
    // The built-in variables come first.
    *index = 25 + static_cast<LONG>(variables.size());
    variables.push_back(name);
    return S_OK;
}

HRESULT RecordingHost::SetCommandTexts(IAddin* a, LONG commandId, const char* commandName, const char* shortName)
{
    Log("SetCommandTexts " + AddinName(a) + " " + std::to_string(commandId) + " " + Text(commandName) + " " +
        Text(shortName));
    return S_OK;
}

HRESULT RecordingHost::SetCommandStatusTexts(IAddin* a, LONG commandId, const char* statusText,
                                             const char* toolTip)
{
    Log("SetCommandStatusTexts " + AddinName(a) + " " + std::to_string(commandId) + " " + Text(statusText) + " " +
        Text(toolTip));
    return S_OK;
}

HRESULT RecordingHost::AddAccelerator(IAddin*, LONG, BYTE, WORD) { return S_OK; }
HRESULT RecordingHost::InsertMenuItem(HMENU, LONG, IAddin*, LONG, LONG, const char*) { return S_OK; }

HRESULT RecordingHost::AddMenuItem(HMENU menu, IAddin* a, LONG commandId, LONG flags, const char* text,
                                   HBITMAP)
{
    Log("AddMenuItem " + MenuName(menu) + " " + AddinName(a) + " " + std::to_string(commandId) + " " +
        std::to_string(flags) + " " + Text(text));
    return S_OK;
}

HRESULT RecordingHost::AddMenuSeparator(HMENU menu, IAddin* a, LONG commandId, LONG flags, const char* text)
{
    Log("AddMenuSeparator " + MenuName(menu) + " " + AddinName(a) + " " + std::to_string(commandId) + " " +
        std::to_string(flags) + " " + Text(text));
    return S_OK;
}

HRESULT RecordingHost::GetMenuItemCount(HMENU, LONG* count)
{
    *count = 0;
    return S_OK;
}

HRESULT RecordingHost::InsertPopupMenu(HMENU parent, LONG position, const char* text)
{
    Log("InsertPopupMenu " + MenuName(parent) + " " + std::to_string(position) + " " + Text(text));
    return S_OK;
}

HRESULT RecordingHost::FindMenuPosition(HMENU menu, const char* text, LONG* position)
{
    Log("FindMenuPosition " + MenuName(menu) + " " + Text(text));
    *position = 3;
    return S_OK;
}

HRESULT RecordingHost::GetSubMenu(HMENU menu, LONG position, HMENU* subMenu)
{
    Log("GetSubMenu " + MenuName(menu) + " " + std::to_string(position));
    *subMenu = MenuToken(10 + static_cast<uintptr_t>(position));
    return S_OK;
}

HRESULT RecordingHost::GetMainMenu(HMENU* menu)
{
    Log("GetMainMenu");
    *menu = MenuToken(1);
    return S_OK;
}

HRESULT RecordingHost::GetDefaultMenu(HMENU* menu)
{
    *menu = MenuToken(2);
    return S_OK;
}

HRESULT RecordingHost::GetAddinConnectionPoint(IAddin*, IConnectionPoint**) { return E_NOTIMPL; }

HRESULT RecordingHost::GetEventConnectionPoint(IConnectionPoint** point)
{
    Log("GetEventConnectionPoint");
    return events->FindConnectionPoint(IID_IDispatch, point);
}

HRESULT RecordingHost::GetActiveDocument(IHostDocument** document)
{
    *document = nullptr;
    return E_FAIL;
}

HRESULT RecordingHost::GetAddinClassFactory(CLSID, IClassFactory** factory)
{
    *factory = nullptr;
    return E_FAIL;
}

HRESULT RecordingHost::AddToolbar(const char* name, IToolbarControl** toolbar)
{
    Log("AddToolbar " + Text(name));
    *toolbar = &this->toolbar;
    return S_OK;
}

HRESULT RecordingHost::FindToolbar(const char*, IToolbarControl** toolbar)
{
    *toolbar = nullptr;
    return E_FAIL;
}

HRESULT RecordingHost::GetToolbar(LONG, IToolbarControl** toolbar)
{
    *toolbar = nullptr;
    return E_FAIL;
}

HRESULT RecordingHost::GetToolbarCount(LONG* count)
{
    *count = 0;
    return S_OK;
}

HRESULT RecordingHost::RegisterCommandClass(IAddin* a, LONG commandId, GUID classId)
{
    Log("RegisterCommandClass " + AddinName(a) + " " + std::to_string(commandId) + " " + GuidText(classId));
    return S_OK;
}

HRESULT RecordingHost::GetToolbarCommandControl(IAddin*, LONG, IUnknown**) { return E_NOTIMPL; }

StrimoServices::StrimoServices()
{
    StrimoGetClassObject(CLSID_StrimoAddin, IID_IClassFactory, strimoFactory.ReceiveVoid());
}

StrimoServices::~StrimoServices() = default;

IClassFactory* StrimoServices::GetClassFactoryForClsid(const CLSID& clsid)
{
    if (clsid == CLSID_StrimoAddin)
        return strimoFactory.Get();
    if (clsid == CLSID_EntityComponent) {
        if (!entityFactory)
            CoGetClassObject(clsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, entityFactory.ReceiveVoid());
        return entityFactory.Get();
    }
    return TestServices::GetClassFactoryForClsid(clsid);
}

ScopedRegistry::ScopedRegistry()
{
    if (const char* old = std::getenv("NUVEX_CONFIG_DIR")) {
        m_old = old;
        m_hadOld = true;
    }
    ::setenv("NUVEX_CONFIG_DIR", m_folder.Path().c_str(), 1);
}

ScopedRegistry::~ScopedRegistry()
{
    if (m_hadOld)
        ::setenv("NUVEX_CONFIG_DIR", m_old.c_str(), 1);
    else
        ::unsetenv("NUVEX_CONFIG_DIR");
}

void StrimoTest::SetUp()
{
    m_registry = std::make_unique<ScopedRegistry>();
    m_entities = LoadLibraryA((std::string(NUVEX_TEST_BIN_DIR) + "/AddIns/entities.so").c_str());
    ASSERT_NE(m_entities, nullptr);
    auto registerServer = reinterpret_cast<HRESULT (*)()>(GetProcAddress(m_entities, "DllRegisterServer"));
    ASSERT_NE(registerServer, nullptr);
    ASSERT_EQ(registerServer(), S_OK);

    namespace fs = std::filesystem;
    const std::string folder = m_folder.Path();
    fs::create_directories(folder + "/Language");
    fs::create_directories(folder + "/Toolstore");
    fs::create_directories(folder + "/PostProc");
    fs::copy_file(SourcePath("resources/Language/strimo.txt"), folder + "/Language/strimo.txt");
    fs::copy_file(SourcePath("resources/Toolstore/toolstore.dat"), folder + "/Toolstore/toolstore.dat");
    fs::copy_file(SourcePath("resources/Toolstore/poststore.dat"), folder + "/Toolstore/poststore.dat");
    fs::create_symlink(std::string(NUVEX_TEST_BIN_DIR) + "/PostProc/yelk.so", folder + "/PostProc/yelk.so");

    m_host.programFolder = folder;
    m_addinReference = ComPtr<CMillingAddin>::Share(new CMillingAddin());
    m_addin = m_addinReference.Get();
    m_host.addin = m_addin;
    ASSERT_EQ(m_addin->Connect(&m_host), S_OK);
    m_services.host = &m_host;
    m_services.fakeAddin = m_addin;
    m_document = NewDocument();
}

void StrimoTest::TearDown()
{
    m_document.reset();
    m_addin = nullptr;
    m_addinReference.Reset();
    SetStrimoProgramFolder("");
    if (m_entities != nullptr)
        FreeLibrary(m_entities);
    m_registry.reset();
}

void StrimoTest::WriteProgramFile(const std::string& relative, const std::string& text) const
{
    WriteFileBytes(ProgramFile(relative), text);
}

std::unique_ptr<CNuvexDoc> StrimoTest::NewDocument() { return std::make_unique<CNuvexDoc>(m_services, m_output); }

namespace {

// A pocket's or contour's parameters with one flat end mill.
CMillingParams SquareParams(double bottom, double step, double diameter, double feed, double plunge, double spindle)
{
    CMillingParams params;
    params.zTop = 0.0;
    params.zBottom = bottom;
    params.zSafePlane = 20.0;
    params.zEngage = 2.0;
    params.tool.verticalStep = step;
    params.tool.radialStep = 40.0;
    params.tool.diameter = diameter;
    params.tool.feedSpeed = feed;
    params.tool.plungeSpeed = plunge;
    params.tool.spindleSpeed = spindle;
    params.tool.toolType = 1;
    char name[64];
    std::snprintf(name, sizeof name, "Flat end mill %g mm", diameter);
    params.tool.name = name;
    return params;
}

} // namespace

std::unique_ptr<CMillingFeature> MakeSquarePocket(double size, double islandSize, CMoveEntityFactory* factory)
{
    auto pocket = std::make_unique<CPocketFeature>();
    std::vector<std::unique_ptr<CCurveList>> contours;
    contours.push_back(shapes::Rect(0, 0, size, size));
    const double a = (size - islandSize) / 2.0;
    contours.push_back(shapes::Rect(a, a, a + islandSize, a + islandSize));
    const CMillingParams params = SquareParams(-4.0, 2.0, 6.0, 400.0, 100.0, 12000.0);
    pocket->m_params = params;
    EXPECT_TRUE(pocket->ComputeFromContours(contours, params, factory).ok());
    return pocket;
}

std::unique_ptr<CMillingFeature> MakeSquareContour(double size, CMoveEntityFactory* factory)
{
    auto contour = std::make_unique<CContourFeature>();
    std::vector<std::unique_ptr<CCurveList>> contours;
    contours.push_back(shapes::Rect(0, 0, size, size));
    CMillingParams params = SquareParams(-3.0, 1.5, 4.0, 300.0, 80.0, 15000.0);
    params.outside = 1;
    contour->m_params = params;
    EXPECT_TRUE(contour->ComputeFromContours(contours, params, factory).ok());
    return contour;
}
