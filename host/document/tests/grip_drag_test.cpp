// Dragging a grip at the root level: a click on a grip marker starts the
// drag, a typed point places it, and the move is one undo step.
#include <gtest/gtest.h>

#include <cstdio>

#include "host/document/command_engine.h"
#include "host/document/host_entity_set.h"
#include "host/document/tests/document_test_support.h"
#include "iselection.h"
#include "objectmodel/entity_defaults.h"
#include "objectmodel/entity_record.h"
#include "objectmodel/selection_set_object.h"
#include "objectmodel/vector3.h"

namespace {

using namespace command_event;

// An entity with two grip points; its data is the points as text.
class TestGripEntity : public CEntityOperationsNotOffered<IGeometryEntity> {
public:
    TestGripEntity(CVector3 first, CVector3 second) : m_points{first, second} {}
    virtual ~TestGripEntity() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IObjectBase || iid == IID_IEntityBase || iid == IID_IGeometryEntity) {
            *out = static_cast<IEntityBase*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_count; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        if (--m_count == 0) {
            delete this;
            return 0;
        }
        return m_count;
    }
    HRESULT STDMETHODCALLTYPE Clone(IObjectBase** copy) override
    {
        *copy = new TestGripEntity(m_points[0], m_points[1]);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetSize(uint32_t* size) override
    {
        *size = static_cast<uint32_t>(Text().size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Save(BYTE* buffer) override
    {
        const std::string text = Text();
        std::memcpy(buffer, text.data(), text.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID* factory, IID* iid) override
    {
        *factory = kTestAddinClsid;
        *iid = kTestObjectIid;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetGripPoints(IPointList* points) override
    {
        for (CVector3& point : m_points) {
            points->Add(&point);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE MoveGripPoint(uint32_t index, IVector3* position, BOOL) override
    {
        if (index >= 2) {
            return E_FAIL;
        }
        m_points[index] = CVector3(position);
        return S_OK;
    }

private:
    std::string Text() const
    {
        char text[128];
        std::snprintf(text, sizeof text, "%.3f,%.3f;%.3f,%.3f", m_points[0].x.GetValue(), m_points[0].y.GetValue(),
                      m_points[1].x.GetValue(), m_points[1].y.GetValue());
        return text;
    }
    CVector3 m_points[2];
    ULONG m_count = 0;
};

std::string Bytes(CNuvexDoc& document, const TempFolder& folder)
{
    const std::string path = folder.File("grip.nvx");
    EXPECT_TRUE(document.OnSaveDocument(path.c_str()));
    return ReadFileBytes(path);
}

// A final plain pick of one record at the root, closed like the view does.
void PickAtRoot(CNuvexDoc& document, IEntityRecord* record)
{
    CSelectionSetObject set;
    set.Add(ObjectIdOf(record));
    ISelectionSet* pointer = &set;
    LONG result = command_result::kNotHandled;
    document.SendCommandEvent(kPickB, &pointer, 1, 1, &result);
    document.EndCommandLevel(kPickB, result, TRUE);
}

TEST(GripDragTest, APlacedGripIsOneUndoStep)
{
    DocumentFixture fixture;
    TempFolder folder;
    CNuvexDoc& document = fixture.document;
    IEntityRecord* record = MakeHolder(
        static_cast<IEntityBase*>(new TestGripEntity(CVector3(0.0, 0.0, 0.0), CVector3(5.0, 0.0, 0.0))));
    document.AddObject(record);
    document.CommitUndoStep();
    const std::string before = Bytes(document, folder);

    PickAtRoot(document, record);
    ASSERT_EQ(document.GetCommandObjects().size(), 2u);
    ComPtr<IEntityRecord> marker;
    ASSERT_EQ(document.GetCommandObjects()[1].object->QueryInterface(IID_IEntityRecord, marker.ReceiveVoid()), S_OK);
    uint32_t markerFlags = 0;
    marker->GetFlags(&markerFlags);
    EXPECT_EQ(markerFlags, kGripMarkerFlags);

    PickAtRoot(document, marker.Get());
    EXPECT_TRUE(document.SelectionHandler().IsDraggingGrip());
    uint32_t kinds = 0;
    document.GetHostDocument()->GetInputKinds(&kinds, 1);
    EXPECT_EQ(kinds, static_cast<uint32_t>(kModelPoint));

    // The second grip (5, 0) is dragged. A typed point places it; no command name
    // is looked up.
    document.ProcessTypedInput("10,20,0", TRUE);
    EXPECT_FALSE(document.SelectionHandler().IsDraggingGrip());
    const std::string after = Bytes(document, folder);
    EXPECT_EQ(after, I32(1) + Record(kTestAddinClsid, kTestObjectIid, "0.000,0.000;10.000,20.000") + I32(0));
    EXPECT_EQ(document.GetUndoStepCount(), 2u);

    document.OnEditUndo();
    EXPECT_EQ(Bytes(document, folder), before);
    document.OnEditRedo();
    EXPECT_EQ(Bytes(document, folder), after);
}

TEST(GripDragTest, CancellingADragClearsTheSelectionAndChangesNothing)
{
    DocumentFixture fixture;
    TempFolder folder;
    CNuvexDoc& document = fixture.document;
    IEntityRecord* record = MakeHolder(
        static_cast<IEntityBase*>(new TestGripEntity(CVector3(1.0, 1.0, 0.0), CVector3(2.0, 2.0, 0.0))));
    document.AddObject(record);
    document.CommitUndoStep();
    const std::string before = Bytes(document, folder);
    PickAtRoot(document, record);
    ComPtr<IEntityRecord> marker;
    document.GetCommandObjects()[0].object->QueryInterface(IID_IEntityRecord, marker.ReceiveVoid());
    PickAtRoot(document, marker.Get());
    document.CancelCommand();
    EXPECT_FALSE(document.SelectionHandler().IsDraggingGrip());
    EXPECT_TRUE(document.SelectionHandler().GetSelection().empty());
    EXPECT_EQ(Bytes(document, folder), before);
    EXPECT_EQ(document.GetUndoStepCount(), 1u);
}

} // namespace
