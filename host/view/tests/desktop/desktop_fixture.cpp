// The fixture drawing, its services, and the frame that shows it.
#include "host/view/tests/desktop/desktop_fixture.h"

#include <cmath>
#include <new>
#include <numbers>

#include "host/view/tests/test_segment.h"
#include "host/view/tests/view_test_support.h"
#include "ientitycomponent.h"
#include "objectmodel/byte_io.h"
#include "objectmodel/entity_record.h"
#include "platform/framework/ids.h"
#include "platform/kernel/classobject.h"
#include "platform/kernel/module.h"
#include "platform/user/winuser.h"

const std::vector<FixtureLine> kFixtureMoves = {
    {-40.0, 0.0, 40.0, 0.0},
};
const std::vector<FixtureLine> kFixtureLines = {
    {-100.0, -60.0, 100.0, -60.0},
    {100.0, -60.0, 100.0, 60.0},
    {-100.0, 60.0, -100.0, -60.0},
};
const std::vector<FixtureArc> kFixtureArcs = {
    {0.0, 60.0, 100.0, 0.0, 180.0},
    {0.0, 0.0, 25.0, 0.0, 360.0},
};

namespace {

// The byte forms of the component's line (start, end) and arc (start, end,
// centre, normal, reference direction, radius).
constexpr size_t kLineBytes = 48;
constexpr size_t kArcBytes = 128;
// The class id under which the fixture's drawing lines are stored.
constexpr CLSID kFixtureSegmentClsid = {0x4b7e21d0, 0x6c1f, 0x4d3a, {0x8e, 0x55, 0x2f, 0x90, 0x13, 0x47, 0xa6, 0x0c}};
constexpr const char* kEntityModulePath = NUVEX_TEST_BIN_DIR "/AddIns/entities.so";

// A drawing line of the fixture: a finite segment that picks and snaps,
// with its start and end as its byte form.
class FixtureSegment : public TestSegment {
public:
    FixtureSegment() : TestSegment(CVector3(), CVector3()) {}
    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID* factory, IID* iid) override
    {
        *factory = kFixtureSegmentClsid;
        *iid = IID_ILine;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Load(uint32_t size, const BYTE* data) override
    {
        if (size != kLineBytes || data == nullptr) {
            return E_FAIL;
        }
        ByteReader reader(data, size);
        double v[6] = {};
        for (double& value : v) {
            if (!reader.ReadF64(value) || !std::isfinite(value)) {
                return E_FAIL;
            }
        }
        SetEnds(CVector3(v[0], v[1], v[2]), CVector3(v[3], v[4], v[5]));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetSize(uint32_t* size) override
    {
        *size = kLineBytes;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Save(BYTE* buffer) override
    {
        ByteWriter writer(buffer, kLineBytes);
        CVector3 start;
        CVector3 end;
        GetStartPoint(&start);
        GetEndPoint(&end);
        for (const CVector3* p : {&start, &end}) {
            writer.WriteF64(p->x.GetValue());
            writer.WriteF64(p->y.GetValue());
            writer.WriteF64(p->z.GetValue());
        }
        return writer.Full() ? S_OK : E_FAIL;
    }
};

class CFixtureSegmentFactory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        *out = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        const auto segment = ComPtr<FixtureSegment>::Share(new FixtureSegment());
        return segment->QueryInterface(iid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

CFixtureSegmentFactory g_segmentFactory;

// The entity component's class factory, from the built module (loaded once;
// it stays loaded, as every in-process server does).
IClassFactory* EntityFactory()
{
    static IClassFactory* factory = [] {
        IClassFactory* made = nullptr;
        HMODULE module = LoadLibraryA(kEntityModulePath);
        auto get = module != nullptr
                       ? reinterpret_cast<DllGetClassObjectFunction>(GetProcAddress(module, "DllGetClassObject"))
                       : nullptr;
        if (get == nullptr ||
            FAILED(get(CLSID_EntityComponent, IID_IClassFactory, reinterpret_cast<void**>(&made)))) {
            made = nullptr;
        }
        return made;
    }();
    return factory;
}

void WritePoint(ByteWriter& writer, double x, double y, double z)
{
    writer.WriteF64(x);
    writer.WriteF64(y);
    writer.WriteF64(z);
}

// A record holding a new entity of the component made by `iid` from its
// byte form; null when the component cannot make it.
IEntityRecord* EntityRecord(const IID& iid, const BYTE* bytes, size_t size)
{
    IClassFactory* factory = EntityFactory();
    ComPtr<ILineEntity> entity;
    if (factory == nullptr || FAILED(factory->CreateInstance(nullptr, iid, entity.ReceiveVoid()))) {
        return nullptr;
    }
    if (FAILED(entity->Load(static_cast<uint32_t>(size), bytes))) {
        return nullptr;
    }
    return new CEntityRecord(static_cast<IEntityBase*>(entity.Get()));
}

IEntityRecord* SegmentRecord(const FixtureLine& line)
{
    BYTE bytes[kLineBytes];
    ByteWriter writer(bytes, sizeof bytes);
    WritePoint(writer, line.fromX, line.fromY, 0.0);
    WritePoint(writer, line.toX, line.toY, 0.0);
    ComPtr<IObjectBase> segment;
    if (FAILED(g_segmentFactory.CreateInstance(nullptr, IID_IObjectBase, segment.ReceiveVoid())) ||
        FAILED(segment->Load(static_cast<uint32_t>(writer.Written()), bytes))) {
        return nullptr;
    }
    return new CEntityRecord(static_cast<IUnknown*>(segment.Get()));
}

IEntityRecord* MoveRecord(const FixtureLine& line)
{
    BYTE bytes[kLineBytes];
    ByteWriter writer(bytes, sizeof bytes);
    WritePoint(writer, line.fromX, line.fromY, 0.0);
    WritePoint(writer, line.toX, line.toY, 0.0);
    return EntityRecord(IID_ILineEntity, bytes, writer.Written());
}

IEntityRecord* ArcRecord(const FixtureArc& arc)
{
    const double start = arc.startDeg * std::numbers::pi / 180.0;
    const double end = arc.endDeg * std::numbers::pi / 180.0;
    BYTE bytes[kArcBytes];
    ByteWriter writer(bytes, sizeof bytes);
    WritePoint(writer, arc.centreX + arc.radius * std::cos(start), arc.centreY + arc.radius * std::sin(start), 0.0);
    WritePoint(writer, arc.centreX + arc.radius * std::cos(end), arc.centreY + arc.radius * std::sin(end), 0.0);
    WritePoint(writer, arc.centreX, arc.centreY, 0.0);
    WritePoint(writer, 0.0, 0.0, 1.0);
    WritePoint(writer, 1.0, 0.0, 0.0);
    writer.WriteF64(arc.radius);
    return EntityRecord(IID_IArcEntity, bytes, writer.Written());
}

} // namespace

DesktopServices::DesktopServices() { AddViewVariables(*this); }

IClassFactory* DesktopServices::GetClassFactoryForClsid(const CLSID& clsid)
{
    if (clsid == CLSID_EntityComponent) {
        return EntityFactory();
    }
    if (clsid == kFixtureSegmentClsid) {
        return &g_segmentFactory;
    }
    return TestServices::GetClassFactoryForClsid(clsid);
}

void DesktopOutput::UpdateAllViews()
{
    if (view != nullptr) {
        view->OnUpdate();
    }
}

int32_t DesktopOutput::GetModifierKind()
{
    if (::GetKeyState(VK_CONTROL) < 0) {
        return 2;
    }
    return ::GetKeyState(VK_SHIFT) < 0 ? 4 : 1;
}

bool WriteFixtureDrawing(const std::string& path)
{
    if (EntityFactory() == nullptr) {
        return false;
    }
    DesktopServices services;
    TestOutput output;
    CNuvexDoc document(services, output);
    document.SyncSystemVariables();
    for (const FixtureLine& line : kFixtureLines) {
        IEntityRecord* record = SegmentRecord(line);
        if (record == nullptr) {
            return false;
        }
        document.AddObject(record);
    }
    for (const FixtureLine& line : kFixtureMoves) {
        IEntityRecord* record = MoveRecord(line);
        if (record == nullptr) {
            return false;
        }
        document.AddObject(record);
    }
    for (const FixtureArc& arc : kFixtureArcs) {
        IEntityRecord* record = ArcRecord(arc);
        if (record == nullptr) {
            return false;
        }
        document.AddObject(record);
    }
    return document.OnSaveDocument(path.c_str()) != FALSE;
}

BOOL CDesktopViewFrame::CreateWithView(CNuvexDoc& document, const char* title, const RECT& rect)
{
    if (!Create(nullptr, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, rect, nullptr, nullptr)) {
        return FALSE;
    }
    CNuvexDoc* previous = CNuvexView::SetDocumentForNewViews(&document);
    m_view = static_cast<CNuvexView*>(CNuvexView::CreateObject());
    CNuvexView::SetDocumentForNewViews(previous);
    if (m_view == nullptr ||
        !m_view->Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, AFX_IDW_PANE_FIRST)) {
        delete m_view;
        m_view = nullptr;
        return FALSE;
    }
    // The view has the keyboard focus, so the wheel and keys reach it.
    SetActiveView(m_view, TRUE);
    RecalcLayout();
    m_view->OnInitialUpdate();
    m_view->SetFocus();
    return TRUE;
}

LRESULT CDesktopViewFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        m_view = nullptr;
        if (quitOnDestroy) {
            ::PostQuitMessage(0);
        }
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
}

DesktopSession::DesktopSession() : m_document(std::make_unique<CNuvexDoc>(m_services, m_output))
{
    m_document->SyncSystemVariables();
}

DesktopSession::~DesktopSession()
{
    m_output.view = nullptr;
    if (m_frame.GetSafeHwnd() != nullptr) {
        m_frame.DestroyWindow();
    }
}

bool DesktopSession::Open(const std::string& path, const RECT& rect, std::string& error)
{
    if (!m_document->OnOpenDocument(path.c_str())) {
        error = "the drawing " + path + " cannot be read";
        return false;
    }
    if (!m_frame.CreateWithView(*m_document, "Nuvex view", rect)) {
        error = "the frame or its view cannot be made";
        return false;
    }
    m_output.view = m_frame.View();
    m_frame.View()->SendMessage(WM_COMMAND, kCommandZoomAll, 0);
    return true;
}
