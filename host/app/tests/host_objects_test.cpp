// The host objects that add-ins borrow, in the running program with a
// drawing and its view: the document's and the view's operations with good
// and bad arguments, their events, and their lives, which no balanced or
// unbalanced AddRef/Release of a borrower ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "host/app/nuvex_app.h"
#include "host/app/tests/program_folder_support.h"
#include "host/document/nuvex_doc.h"
#include "host/shell/host_application.h"
#include "host/shell/main_frame.h"
#include "host/shell/tests/recording_sink.h"
#include "host/view/nuvex_view.h"
#include "host/view/view_commands.h"
#include "imodelobject.h"
#include "objectmodel/entity_record.h"
#include "objectmodel/id_group_object.h"
#include "objectmodel/plane_object.h"
#include "objectmodel/vector3.h"

namespace {

constexpr GUID kUnknownClass = {0x01234567, 0x89AB, 0xCDEF, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};

class HostObjectsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        program = std::make_unique<RunningProgram>();
        ASSERT_TRUE(program->Start());
        document = program->ActiveDocument();
        ASSERT_NE(document, nullptr);
        host = document->GetHostDocument();
        IHostView* first = nullptr;
        ASSERT_EQ(host->GetFirstView(&first), S_OK);
        ASSERT_NE(first, nullptr);
        view = first;
    }
    void TearDown() override { program.reset(); }
    CNuvexView& ViewWindow()
    {
        POSITION position = document->GetFirstViewPosition();
        return *dynamic_cast<CNuvexView*>(document->GetNextView(position));
    }
    static double Number(const VARIANT& value) { return value.dblVal; }
    static double Component(const CVector3& v, int axis)
    {
        return axis == 0 ? v.x.GetValue() : (axis == 1 ? v.y.GetValue() : v.z.GetValue());
    }

    TestProgramFolder folder;
    std::unique_ptr<RunningProgram> program;
    CNuvexDoc* document = nullptr;
    IHostDocument* host = nullptr;
    IHostView* view = nullptr;
    std::vector<std::string> log;
};

TEST_F(HostObjectsTest, BorrowersReleasesNeverEndTheHostsObjects)
{
    IHostApplication* application = nullptr;
    ASSERT_EQ(host->GetApplication(&application), S_OK);
    struct Lent {
        const char* name;
        IUnknown* object;
        IID iid;
    };
    const Lent lent[] = {
        {"application", application, IID_IHostApplication},
        {"document", host, IID_IHostDocument},
        {"view", view, IID_IHostView},
    };
    for (const Lent& object : lent) {
        SCOPED_TRACE(object.name);
        IUnknown* asked = nullptr;
        ASSERT_EQ(object.object->QueryInterface(object.iid, reinterpret_cast<void**>(&asked)), S_OK);
        EXPECT_EQ(asked, object.object);
        asked->Release();
        // Unbalanced: more releases than references.
        object.object->Release();
        object.object->Release();
        IUnknown* again = nullptr;
        EXPECT_EQ(object.object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&again)), S_OK);
        again->Release();
        EXPECT_EQ(object.object->QueryInterface(IID_IAddin, reinterpret_cast<void**>(&again)), E_NOINTERFACE);
        EXPECT_EQ(again, nullptr);
    }
    // Still in use afterwards.
    LONG count = -1;
    EXPECT_EQ(host->GetObjectCount(&count), S_OK);
    double scale = 0.0;
    EXPECT_EQ(view->GetScale(&scale), S_OK);
    LONG variables = -1;
    EXPECT_EQ(application->GetVariableCount(&variables), S_OK);
    EXPECT_EQ(variables, 25);
}

TEST_F(HostObjectsTest, ObjectsByIndexAreRefusedOutsideTheListsWithoutEffect)
{
    host->AddObject(new CEntityRecord(static_cast<IUnknown*>(new CIdGroupObject())));
    host->AddTemporary(static_cast<IUnknown*>(new CIdGroupObject()), 0, 0, 0);
    for (LONG index : {-1, 1, 1000}) {
        SCOPED_TRACE(index);
        IEntityRecord* holder = reinterpret_cast<IEntityRecord*>(0x1);
        EXPECT_EQ(host->GetObject(index, &holder), E_FAIL);
        EXPECT_EQ(holder, nullptr);
        IUnknown* temporary = reinterpret_cast<IUnknown*>(0x1);
        EXPECT_EQ(host->GetTemporary(index, &temporary), E_FAIL);
        EXPECT_EQ(temporary, nullptr);
        EXPECT_EQ(host->RemoveObjectAt(index), E_FAIL);
        EXPECT_EQ(host->ModifyObjectAt(index), E_FAIL);
        EXPECT_EQ(host->RemoveTemporaryAt(index), S_OK);
    }
    LONG count = 0;
    host->GetObjectCount(&count);
    EXPECT_EQ(count, 1);
    host->GetTemporaryCount(&count);
    EXPECT_EQ(count, 1);
    IEntityRecord* holder = nullptr;
    EXPECT_EQ(host->GetObject(0, &holder), S_OK);
    EXPECT_NE(holder, nullptr);
}

TEST_F(HostObjectsTest, CreateObjectGivesTheFactorysAnswerAndNoObjectOnFailure)
{
    ComPtr<IUnknown> object;
    EXPECT_EQ(host->CreateObject(CLSID_HostObjectFactory, IID_IModelObject, object.ReceiveVoid()), S_OK);
    ASSERT_TRUE(object);
    object.Reset();
    IUnknown* made = reinterpret_cast<IUnknown*>(0x1);
    EXPECT_EQ(host->CreateObject(CLSID_HostObjectFactory, kUnknownClass, reinterpret_cast<void**>(&made)),
              E_NOINTERFACE);
    EXPECT_EQ(made, nullptr);
    made = reinterpret_cast<IUnknown*>(0x1);
    EXPECT_EQ(host->CreateObject(kUnknownClass, IID_IModelObject, reinterpret_cast<void**>(&made)), E_FAIL);
    EXPECT_EQ(made, nullptr);
}

TEST_F(HostObjectsTest, VariablesAreWrittenOnlyWithTheirOwnType)
{
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_UI1;
    value.bVal = 0;
    EXPECT_EQ(host->SetVariable(14, value), E_FAIL);
    VARIANT read;
    ASSERT_EQ(host->GetVariable(14, &read), S_OK);
    EXPECT_EQ(read.vt, VT_R8);
    EXPECT_DOUBLE_EQ(read.dblVal, -1.0);
    EXPECT_EQ(host->SetVariableByName("Osnap", value), S_OK);
    ASSERT_EQ(host->GetVariableByName("Osnap", &read), S_OK);
    EXPECT_EQ(read.bVal, 0);
    EXPECT_EQ(host->GetVariable(25, &read), E_FAIL);
    EXPECT_EQ(host->SetVariableByName("Nothing", value), E_FAIL);
}

TEST_F(HostObjectsTest, TheDocumentsSinksHearItsEventsAndAddinsHaveTheirOwnPoints)
{
    RecordingSink sink(log, "document");
    ComPtr<IConnectionPoint> point;
    ASSERT_EQ(host->GetEventConnectionPoint(point.Receive()), S_OK);
    ASSERT_TRUE(point);
    DWORD cookie = 0;
    ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
    EXPECT_EQ(cookie, 101u);
    // A committed change, its undo and its redo.
    host->AddObject(new CEntityRecord(static_cast<IUnknown*>(new CIdGroupObject())));
    document->CommitUndoStep();
    document->OnEditUndo();
    document->OnEditRedo();
    const std::vector<std::string> expected = {"document 2", "document 2", "document 2"};
    EXPECT_EQ(log, expected);
    ComPtr<IConnectionPoint> addinPoint;
    ASSERT_EQ(host->GetAddinConnectionPoint(reinterpret_cast<IAddin*>(0x5), addinPoint.Receive()), S_OK);
    // An add-in that is not loaded gets the main point.
    EXPECT_EQ(addinPoint.Get(), point.Get());
    EXPECT_EQ(point->Unadvise(cookie), S_OK);
}

TEST_F(HostObjectsTest, ViewsPanesAndThePopupMenu)
{
    EXPECT_EQ(host->HasView(), S_OK);
    EXPECT_EQ(host->HasView2(), S_OK);
    // No add-in registered a pane group.
    LONG item = 5;
    EXPECT_EQ(host->GetActivePane(0, &item), E_FAIL);
    EXPECT_EQ(item, -1);
    EXPECT_EQ(host->ShowPane(0, 0), E_FAIL);
    EXPECT_EQ(host->ShowPane(-1, 0), E_FAIL);
    IUnknown* pane = reinterpret_cast<IUnknown*>(0x1);
    EXPECT_EQ(host->GetPaneObject(0, 0, &pane), E_FAIL);
    EXPECT_EQ(pane, nullptr);
    // The popup's items are numbered from 1 in the view's commands.
    EXPECT_EQ(host->CreatePopupMenu(), S_OK);
    EXPECT_EQ(host->AddPopupMenuItem(nullptr, MF_STRING, 42, "First"), S_OK);
    EXPECT_EQ(host->AddPopupMenuItem(nullptr, MF_STRING, 43, "Second"), S_OK);
    ASSERT_EQ(document->GetPopupItemCount(), 2u);
    EXPECT_EQ(document->GetPopupItemId(1), 43u);
    EXPECT_EQ(host->DestroyPopupMenu(), S_OK);
    EXPECT_EQ(document->GetPopupItemCount(), 0u);
    EXPECT_EQ(host->DestroyPopupMenu(), S_OK);
}

TEST_F(HostObjectsTest, TheWorkPlaneBuildsAnOrthonormalFrameWhereverThePlaneLies)
{
    // Planes come to the host counted, as an add-in makes them.
    const ComPtr<CPlaneObject> plane = ComPtr<CPlaneObject>::Share(new CPlaneObject());
    CVector3 origin(0.0, 0.0, 5.0);
    CVector3 normal(0.0, 0.0, 2.0);
    plane->SetOrigin(&origin);
    plane->SetNormal(&normal);
    ASSERT_EQ(host->SetWorkPlane(plane.Get()), S_OK);
    const CCoordSystemObject& frame = document->UserFrame();
    EXPECT_NEAR(frame.GetOriginValue().z.GetValue(), 5.0, 1e-12);
    EXPECT_NEAR(frame.GetZAxisValue().z.GetValue(), 1.0, 1e-12);
    // The X axis lies across the normal although the plane is off the origin.
    EXPECT_NEAR(frame.GetXAxisValue().Dot(frame.GetZAxisValue()).GetValue(), 0.0, 1e-12);
    EXPECT_NEAR(frame.GetXAxisValue().Length().GetValue(), 1.0, 1e-12);
    EXPECT_NEAR(frame.GetYAxisValue().Dot(frame.GetXAxisValue()).GetValue(), 0.0, 1e-12);
    const ComPtr<CPlaneObject> read = ComPtr<CPlaneObject>::Share(new CPlaneObject());
    ASSERT_EQ(host->GetWorkPlane(read.Get()), S_OK);
    CVector3 readOrigin;
    read->GetOrigin(&readOrigin);
    EXPECT_NEAR(readOrigin.z.GetValue(), 5.0, 1e-12);
    // A tilted plane: the Y axis is Z x X.
    CVector3 tilted(1.0, 1.0, 1.0);
    plane->SetNormal(&tilted);
    ASSERT_EQ(host->SetWorkPlane(plane.Get()), S_OK);
    const CVector3 y = frame.GetZAxisValue().Cross(frame.GetXAxisValue());
    EXPECT_NEAR((y - frame.GetYAxisValue()).Length().GetValue(), 0.0, 1e-9);
    EXPECT_NEAR(frame.GetXAxisValue().Dot(frame.GetZAxisValue()).GetValue(), 0.0, 1e-12);
}

TEST_F(HostObjectsTest, TheActiveObjectIsAGroup)
{
    const ComPtr<CIdGroupObject> group = ComPtr<CIdGroupObject>::Share(new CIdGroupObject());
    EXPECT_EQ(host->SetActiveObject(static_cast<IIdGroup*>(group.Get())), S_OK);
    IUnknown* active = nullptr;
    EXPECT_EQ(host->GetActiveObject(&active), S_OK);
    EXPECT_EQ(active, static_cast<IIdGroup*>(group.Get()));
    // Anything else is refused and leaves the group active.
    const ComPtr<CPlaneObject> notAGroup = ComPtr<CPlaneObject>::Share(new CPlaneObject());
    EXPECT_EQ(host->SetActiveObject(static_cast<IPlaneEx*>(notAGroup.Get())), E_NOINTERFACE);
    EXPECT_EQ(host->GetActiveObject(&active), S_OK);
    EXPECT_EQ(active, static_cast<IIdGroup*>(group.Get()));
    EXPECT_EQ(host->SetActiveObject(nullptr), S_OK);
    EXPECT_EQ(host->GetActiveObject(&active), S_OK);
    EXPECT_EQ(active, nullptr);
}

TEST_F(HostObjectsTest, TheViewsScaleOffsetsAndWindow)
{
    // Stored as given: only the wheel clamps the scale.
    EXPECT_EQ(view->SetScale(1e9), S_OK);
    double scale = 0.0;
    EXPECT_EQ(view->GetScale(&scale), S_OK);
    EXPECT_DOUBLE_EQ(scale, 1e9);
    EXPECT_EQ(view->SetOffset(3.0, -4.0), S_OK);
    double x = 0.0;
    double y = 0.0;
    view->GetOffsetX(&x);
    view->GetOffsetY(&y);
    EXPECT_DOUBLE_EQ(x, 3.0);
    EXPECT_DOUBLE_EQ(y, -4.0);
    HWND window = nullptr;
    EXPECT_EQ(view->GetWindow(&window), S_OK);
    EXPECT_EQ(window, ViewWindow().GetSafeHwnd());
    IHostDocument* owner = nullptr;
    EXPECT_EQ(view->GetDocument(&owner), S_OK);
    EXPECT_EQ(owner, host);
    IHostApplication* application = nullptr;
    EXPECT_EQ(view->GetApplication(&application), S_OK);
    EXPECT_EQ(application, program->App().HostApplication());
    IGraphicsContext* context = nullptr;
    EXPECT_EQ(view->GetGraphicsContext(&context), S_OK);
    EXPECT_NE(context, nullptr);
    uint32_t reserved = 7;
    EXPECT_EQ(view->Reserved6(&reserved), S_OK);
    EXPECT_EQ(reserved, 0u);
    // Outside a paint nothing is drawn.
    EXPECT_EQ(view->DrawBitmap(nullptr, 0, 0, 0, 0, 0, 0), S_OK);
}

TEST_F(HostObjectsTest, TheViewsOrientationGoesIntoTheViewVariables)
{
    struct Row {
        const char* name;
        CVector3 viewDirection;
        CVector3 right;
        CVector3 expectedRight;
    };
    const Row rows[] = {
        {"from_above", CVector3(0.0, 0.0, -1.0), CVector3(1.0, 0.0, 0.0), CVector3(1.0, 0.0, 0.0)},
        {"right_made_perpendicular", CVector3(0.0, -1.0, 0.0), CVector3(1.0, 1.0, 0.0), CVector3(1.0, 0.0, 0.0)},
        {"right_along_the_view", CVector3(0.0, 0.0, -2.0), CVector3(0.0, 0.0, 3.0), CVector3(1.0, 0.0, 0.0)},
        {"zero_right", CVector3(1.0, 0.0, 0.0), CVector3(0.0, 0.0, 0.0), CVector3(0.0, 1.0, 0.0)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CVector3 direction = row.viewDirection;
        CVector3 right = row.right;
        ASSERT_EQ(view->SetViewOrientation(&direction, &right), S_OK);
        VARIANT value;
        CVector3 unit = row.viewDirection;
        unit.Normalize();
        for (int axis = 0; axis < 3; ++axis) {
            ASSERT_EQ(host->GetVariable(12 + axis, &value), S_OK);
            EXPECT_NEAR(Number(value), Component(unit, axis), 1e-9) << "view " << axis;
            ASSERT_EQ(host->GetVariable(15 + axis, &value), S_OK);
            EXPECT_NEAR(Number(value), Component(row.expectedRight, axis), 1e-9) << "right " << axis;
        }
    }
    CVector3 zero;
    CVector3 right(1.0, 0.0, 0.0);
    EXPECT_EQ(view->SetViewOrientation(&zero, &right), E_INVALIDARG);
}

TEST_F(HostObjectsTest, TheViewsPointsAndTrackingLines)
{
    {
        ComPtr<IConnectionPoint> main;
        ASSERT_EQ(view->GetEventConnectionPoint(main.Receive()), S_OK);
        ASSERT_TRUE(main);
        ComPtr<IConnectionPoint> stranger;
        ASSERT_EQ(view->GetAddinConnectionPoint(reinterpret_cast<IAddin*>(0x5), stranger.Receive()), S_OK);
        EXPECT_EQ(stranger.Get(), main.Get());
        ComPtr<IConnectionPointContainer> container;
        ASSERT_EQ(main->GetConnectionPointContainer(container.Receive()), S_OK);
        EXPECT_EQ(container.Get(), &ViewWindow().EventSource());
    }

    const size_t before = document->SnapEngine().TrackingLines().size();
    CVector3 point(1.0, 2.0, 0.0);
    CVector3 direction(1.0, 0.0, 0.0);
    EXPECT_EQ(view->AddTrackingLine(&point, &direction, 0), S_OK);
    EXPECT_EQ(view->AddTrackingLine(&point, &direction, 0), S_OK);
    EXPECT_EQ(document->SnapEngine().TrackingLines().size(), before + 1);
}

TEST(ContextMenu, EveryAddinObjectHearsOfItWhateverRecordsWithoutOneStandBefore)
{
    TestProgramFolder folder;
    // The component's record comes first and has no add-in object.
    folder.AddEntityComponent();
    TestAddinModule addin(folder.AddTestAddin("testaddin"));
    addin.Reset();
    RunningProgram program;
    ASSERT_TRUE(program.Start());
    ASSERT_EQ(program.App().AddinRecords().size(), 2u);
    ASSERT_EQ(program.App().AddinRecords()[0].addin, nullptr);
    CNuvexDoc* document = program.ActiveDocument();
    ASSERT_NE(document, nullptr);
    CNewMenu menu;
    BuildViewContextMenu(*document, menu);
    const std::vector<std::string> log = addin.Log();
    EXPECT_EQ(std::count(log.begin(), log.end(), "testaddin.so context menu"), 1);
}

} // namespace
