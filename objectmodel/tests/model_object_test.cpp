// Tests of CModelObject and CIdGroupObject: the model object's byte form,
// the current group, removal, and how a group's flags reach its members.
#include "objectmodel/model_object.h"

#include <gtest/gtest.h>

#include "objectmodel/attribute_set.h"
#include "objectmodel/collection_b.h"
#include "objectmodel/collection_d.h"
#include "objectmodel/entity_record.h"
#include "objectmodel/tests/recording_graphics_context.h"
#include "objectmodel/tests/test_objects.h"

namespace {

std::vector<BYTE> SaveModel(IModelObject* model)
{
    uint32_t size = 0;
    EXPECT_EQ(model->GetSize(&size), S_OK);
    std::vector<BYTE> bytes(size);
    EXPECT_EQ(model->Save(bytes.data()), S_OK);
    return bytes;
}

ComPtr<CIdGroupObject> AddGroup(CModelObject* model, const char* name)
{
    auto group = ComPtr<CIdGroupObject>::Share(new CIdGroupObject(model->OwnerLink()));
    group->SetName(name);
    model->AddChild(group.Get());
    return group;
}

IIdGroup* ChildAt(IModelObject* model, int32_t index)
{
    IIdGroup* group = nullptr;
    model->GetChild(index, &group);
    return group;
}

int32_t CurrentIndex(IModelObject* model)
{
    int32_t index = -2;
    model->GetCurrentIndex(&index);
    return index;
}

TEST(ModelObjectBytes, EmptyModelIsTenBytes)
{
    auto model = ComPtr<CModelObject>::Share(new CModelObject());
    EXPECT_EQ(SaveModel(model.Get()), (std::vector<BYTE>{0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0}));
}

TEST(ModelObjectBytes, GroupEntriesCarryTheirAttachmentsInOrder)
{
    auto model = ComPtr<CModelObject>::Share(new CModelObject());
    model->SetName("M");
    auto group = AddGroup(model.Get(), "G");
    group->SetHidden(TRUE);
    auto colour = ComPtr<CCollectionB>::Share(new CCollectionB(0x00332211, 1));
    auto marker = ComPtr<CCollectionD>::Share(new CCollectionD());
    group->SetColour(colour.Get());
    group->SetMarker(marker.Get());
    model->SetCurrent(0);  // refused: the group is hidden
    const std::vector<BYTE> expected = {
        0x01, 0x00, 0x00, 0x00,              // one group
        0xFF, 0xFF, 0xFF, 0xFF,              // none current
        0x01, 0x00, 'M',                     // name
        0x01, 0x05, 0x00, 0x00,              // hidden | colour | marker
        0x01, 0x00, 'G',                     // group name
        0x05, 0x00, 0x00, 0x00,              // colour size
        0x11, 0x22, 0x33, 0x00, 0x01,        // colour form
        0x00, 0x00, 0x00, 0x00,              // marker size, no data
    };
    EXPECT_EQ(SaveModel(model.Get()), expected);
}

TEST(ModelObjectBytes, LoadThenSaveGivesTheSameBytes)
{
    auto model = ComPtr<CModelObject>::Share(new CModelObject());
    model->SetName("Drawing layers");
    auto a = AddGroup(model.Get(), "Outline");
    auto b = AddGroup(model.Get(), "");
    auto c = AddGroup(model.Get(), "Hidden holes");
    auto colour = ComPtr<CCollectionB>::Share(new CCollectionB(0x00FF8000, 0));
    auto attributes = ComPtr<CAttributeSet>::Share(new CAttributeSet(2, 3, 4, 0x81));
    auto marker = ComPtr<CCollectionD>::Share(new CCollectionD());
    a->SetColour(colour.Get());
    a->SetAttributeSet(attributes.Get());
    a->SetMarker(marker.Get());
    b->SetAttributeSet(attributes.Get());
    c->SetHidden(TRUE);
    c->SetLocked(TRUE);
    model->SetCurrent(1);
    const std::vector<BYTE> saved = SaveModel(model.Get());

    auto loaded = ComPtr<CModelObject>::Share(new CModelObject());
    ASSERT_EQ(loaded->Load(static_cast<uint32_t>(saved.size()), saved.data()), S_OK);
    EXPECT_EQ(SaveModel(loaded.Get()), saved);
    EXPECT_EQ(CurrentIndex(loaded.Get()), 1);
    uint32_t count = 0;
    loaded->GetChildCount(&count);
    ASSERT_EQ(count, 3u);
    // The attachment bits never stay set in memory, and the loaded groups
    // belong to the loaded model.
    IIdGroup* first = ChildAt(loaded.Get(), 0);
    uint32_t flags = 0;
    first->GetFlags(&flags);
    EXPECT_EQ(flags, 0u);
    IModelObject* owner = nullptr;
    EXPECT_EQ(first->GetOwner(&owner), S_OK);
    EXPECT_EQ(owner, static_cast<IModelObject*>(loaded.Get()));
    ICollectionD* loadedMarker = nullptr;
    EXPECT_EQ(first->GetMarker(&loadedMarker), S_OK);
    EXPECT_NE(loadedMarker, nullptr);
    char name[64] = {};
    ChildAt(loaded.Get(), 2)->GetName(name);
    EXPECT_STREQ(name, "Hidden holes");
}

TEST(ModelObjectBytes, CurrentIndexOutsideTheTableLoadsAsNone)
{
    // One group, current index 5.
    const std::vector<BYTE> block = {1, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    auto model = ComPtr<CModelObject>::Share(new CModelObject());
    ASSERT_EQ(model->Load(static_cast<uint32_t>(block.size()), block.data()), S_OK);
    EXPECT_EQ(CurrentIndex(model.Get()), -1);
}

TEST(ModelObjectNames, LongNamesAreRefusedAndGetNameCopiesTheTerminator)
{
    auto model = ComPtr<CModelObject>::Share(new CModelObject());
    ASSERT_EQ(model->SetName("short"), S_OK);
    const std::string tooLong(kModelNameMaxLength + 1, 'x');
    EXPECT_EQ(model->SetName(tooLong.c_str()), E_FAIL);
    EXPECT_EQ(model->SetName(nullptr), E_FAIL);
    const std::string longest(kModelNameMaxLength, 'y');
    EXPECT_EQ(model->SetName(longest.c_str()), S_OK);
    std::vector<char> buffer(kModelNameMaxLength + 2, '#');
    model->GetName(buffer.data());
    EXPECT_EQ(std::string(buffer.data()), longest);
    uint32_t size = 0;
    EXPECT_EQ(model->GetSize(&size), S_OK);
    EXPECT_EQ(size, 10 + kModelNameMaxLength);
}

class ModelCurrentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"a", "b", "c", "d"}) {
            groups.push_back(AddGroup(model.Get(), name));
        }
    }
    ComPtr<CModelObject> model = ComPtr<CModelObject>::Share(new CModelObject());
    std::vector<ComPtr<CIdGroupObject>> groups;
};

TEST_F(ModelCurrentTest, HiddenLockedOrRemovedGroupsCannotBecomeCurrent)
{
    ASSERT_EQ(model->SetCurrent(1), S_OK);
    groups[2]->SetHidden(TRUE);
    EXPECT_EQ(model->SetCurrent(2), E_FAIL);
    groups[3]->SetLocked(TRUE);
    EXPECT_EQ(model->SetCurrent(3), E_FAIL);
    groups[0]->MarkRemoved(true);
    EXPECT_EQ(model->SetCurrent(0), E_FAIL);
    EXPECT_EQ(CurrentIndex(model.Get()), 1);
    EXPECT_EQ(model->SetCurrent(7), S_OK);
    EXPECT_EQ(CurrentIndex(model.Get()), -1);
}

TEST_F(ModelCurrentTest, HidingOrLockingTheCurrentGroupLeavesNoneCurrent)
{
    for (auto op : {&IModelObject::SetChildHidden, &IModelObject::SetChildLocked}) {
        ASSERT_EQ(model->SetCurrent(2), S_OK);
        EXPECT_EQ((model.Get()->*op)(2, TRUE), S_OK);
        EXPECT_EQ(CurrentIndex(model.Get()), -1);
        (model.Get()->*op)(2, FALSE);
        EXPECT_EQ((model.Get()->*op)(4, TRUE), E_FAIL);
        EXPECT_EQ((model.Get()->*op)(-1, TRUE), E_FAIL);
    }
    uint32_t hidden = 1;
    groups[2]->IsHidden(&hidden);
    EXPECT_EQ(hidden, 0u);
}

struct RemoveCase {
    const char* name;
    int32_t current;
    int32_t removed;
    int32_t expectedCurrent;
};

TEST_F(ModelCurrentTest, RemovingAGroupKeepsTheSameGroupCurrent)
{
    const RemoveCase kCases[] = {
        {"before_current", 2, 0, 1},
        {"the_current", 2, 2, -1},
        {"after_current", 1, 3, 1},
    };
    for (const RemoveCase& c : kCases) {
        SCOPED_TRACE(c.name);
        auto fresh = ComPtr<CModelObject>::Share(new CModelObject());
        std::vector<ComPtr<CIdGroupObject>> table;
        for (const char* name : {"a", "b", "c", "d"}) {
            table.push_back(AddGroup(fresh.Get(), name));
        }
        fresh->SetCurrent(c.current);
        ASSERT_EQ(fresh->RemoveChild(c.removed), S_OK);
        EXPECT_EQ(CurrentIndex(fresh.Get()), c.expectedCurrent);
        uint32_t removed = 0;
        table[static_cast<size_t>(c.removed)]->IsRemoved(&removed);
        EXPECT_EQ(removed, kGroupRemoved);
        uint32_t count = 0;
        fresh->GetChildCount(&count);
        EXPECT_EQ(count, 3u);
    }
    EXPECT_EQ(model->RemoveChild(4), E_FAIL);
    EXPECT_EQ(model->RemoveChild(-1), E_FAIL);
}

TEST_F(ModelCurrentTest, GroupRemovedFlagTakesItOutAndPutsItBackAtTheEnd)
{
    ASSERT_EQ(groups[1]->SetRemoved(TRUE), S_OK);
    int32_t index = 0;
    EXPECT_EQ(model->IndexOf(groups[1].Get(), &index), E_FAIL);
    EXPECT_EQ(index, -1);
    ASSERT_EQ(groups[1]->SetRemoved(FALSE), S_OK);
    EXPECT_EQ(model->IndexOf(groups[1].Get(), &index), S_OK);
    EXPECT_EQ(index, 3);
    uint32_t removed = 1;
    groups[1]->IsRemoved(&removed);
    EXPECT_EQ(removed, 0u);
}

TEST_F(ModelCurrentTest, GroupSetCurrentAsksItsOwner)
{
    BOOL current = TRUE;
    ASSERT_EQ(groups[2]->SetCurrent(TRUE), S_OK);
    EXPECT_EQ(CurrentIndex(model.Get()), 2);
    groups[2]->IsCurrent(&current);
    EXPECT_EQ(current, TRUE);
    groups[1]->SetCurrent(FALSE);  // not current: nothing changes
    EXPECT_EQ(CurrentIndex(model.Get()), 2);
    groups[2]->SetCurrent(FALSE);
    EXPECT_EQ(CurrentIndex(model.Get()), -1);
    // A refusing owner is no failure of the group's call.
    groups[3]->SetHidden(TRUE);
    EXPECT_EQ(groups[3]->SetCurrent(TRUE), S_OK);
    EXPECT_EQ(CurrentIndex(model.Get()), -1);

    auto loose = ComPtr<CIdGroupObject>::Share(new CIdGroupObject());
    EXPECT_EQ(loose->SetCurrent(TRUE), E_FAIL);
    EXPECT_EQ(loose->IsCurrent(&current), E_FAIL);
}

TEST_F(ModelCurrentTest, IndexTakingOperationsRefuseBadIndexes)
{
    IIdGroup* group = reinterpret_cast<IIdGroup*>(1);
    for (int32_t bad : {-1, 4, 0x7FFFFFFF}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(model->GetChild(bad, &group), E_FAIL);
        EXPECT_EQ(group, nullptr);
        EXPECT_EQ(model->CopyChildFrom(bad, groups[0].Get()), E_FAIL);
    }
    EXPECT_EQ(model->GetCurrentChild(&group), E_FAIL);
    EXPECT_EQ(model->AddChild(nullptr), E_FAIL);
    EXPECT_EQ(model->CopyChildFrom(0, nullptr), E_FAIL);
}

TEST_F(ModelCurrentTest, CloneSharesTheGroupsAndCopiesNameAndCurrent)
{
    model->SetName("shared");
    model->SetCurrent(3);
    IObjectBase* cloned = nullptr;
    ASSERT_EQ(model->Clone(&cloned), S_OK);
    ComPtr<IModelObject> clone;
    ASSERT_EQ(cloned->QueryInterface(IID_IModelObject, clone.ReceiveVoid()), S_OK);
    EXPECT_EQ(ChildAt(clone.Get(), 3), static_cast<IIdGroup*>(groups[3].Get()));
    EXPECT_EQ(CurrentIndex(clone.Get()), 3);
    char name[16] = {};
    clone->GetName(name);
    EXPECT_STREQ(name, "shared");
}

TEST(IdGroup, CopiesTakeOwnerFlagsNameAndCopiesOfTheAttachments)
{
    auto model = ComPtr<CModelObject>::Share(new CModelObject());
    auto group = AddGroup(model.Get(), "source");
    auto colour = ComPtr<CCollectionB>::Share(new CCollectionB(0x00AABBCC, 1));
    group->SetColour(colour.Get());
    group->SetLocked(TRUE);
    const BYTE reference[8] = {1, 0, 0, 0, 2, 0, 0, 0};
    group->Load(nullptr, 8, reference);

    auto copy = ComPtr<CIdGroupObject>::Share(new CIdGroupObject(group.Get()));
    IModelObject* owner = nullptr;
    copy->GetOwner(&owner);
    EXPECT_EQ(owner, static_cast<IModelObject*>(model.Get()));
    EXPECT_EQ(copy->Name(), "source");
    uint32_t flags = 0;
    copy->GetFlags(&flags);
    EXPECT_EQ(flags, kGroupLocked);
    ICollectionB* copiedColour = nullptr;
    ASSERT_EQ(copy->GetColour(&copiedColour), S_OK);
    EXPECT_NE(copiedColour, static_cast<ICollectionB*>(colour.Get()));
    uint32_t value = 0;
    copiedColour->GetValue(&value);
    EXPECT_EQ(value, 0x00AABBCCu);
    EXPECT_EQ(copy->OwnerFileIndex(), -1);
    EXPECT_EQ(copy->GroupPosition(), -1);
    IAttributeSet* none = reinterpret_cast<IAttributeSet*>(1);
    EXPECT_EQ(copy->GetAttributeSet(&none), E_FAIL);
    EXPECT_EQ(none, nullptr);

    // CopyFrom replaces the attachments with copies of the source's.
    auto target = ComPtr<CIdGroupObject>::Share(new CIdGroupObject());
    auto attributes = ComPtr<CAttributeSet>::Share(new CAttributeSet());
    target->SetAttributeSet(attributes.Get());
    ASSERT_EQ(model->CopyChildFrom(0, target.Get()), S_OK);
    IAttributeSet* copiedSet = nullptr;
    EXPECT_EQ(group->GetAttributeSet(&copiedSet), S_OK);
    EXPECT_NE(copiedSet, static_cast<IAttributeSet*>(attributes.Get()));
    EXPECT_EQ(group->GetColour(&copiedColour), E_FAIL);
}

struct MemberCase {
    const char* name;
    bool hidden;
    bool locked;
    uint32_t expectedHolderBits;
    bool drawn;
};

TEST(IdGroupMembers, HiddenAndLockedReachEveryMemberAtOnce)
{
    const MemberCase kCases[] = {
        {"visible", false, false, 0, true},
        {"hidden", true, false, kHolderHiddenByGroup, false},
        {"locked", false, true, kHolderLockedByGroup, true},
        {"hidden_and_locked", true, true, kHolderHiddenByGroup, false},
    };
    for (const MemberCase& c : kCases) {
        SCOPED_TRACE(c.name);
        auto model = ComPtr<CModelObject>::Share(new CModelObject());
        auto group = AddGroup(model.Get(), "g");
        auto line = ComPtr<TestLineEntity>::Share(new TestLineEntity(CVector3(), CVector3(1.0, 0.0, 0.0), false));
        auto holder = ComPtr<CEntityRecord>::Share(new CEntityRecord(line.Get()));
        holder->AddChild(group.Get());
        EXPECT_EQ(group->MemberCount(), 1u);

        ASSERT_EQ(model->SetChildHidden(0, c.hidden ? TRUE : FALSE), S_OK);
        ASSERT_EQ(model->SetChildLocked(0, c.locked ? TRUE : FALSE), S_OK);
        uint32_t flags = 0;
        holder->GetFlags(&flags);
        EXPECT_EQ(flags, c.expectedHolderBits);

        RecordingGraphicsContext context;
        holder->Draw(&context);
        EXPECT_EQ(context.Calls().size(), c.drawn ? 1u : 0u);
        holder->RemoveChild(0);
        EXPECT_EQ(group->MemberCount(), 0u);
    }
}

TEST(IdGroupOwner, GroupsOutlivingTheirModelObjectSeeNoOwner)
{
    auto model = ComPtr<CModelObject>::Share(new CModelObject());
    auto group = AddGroup(model.Get(), "g");
    model->SetCurrent(0);
    model.Reset();
    IModelObject* owner = reinterpret_cast<IModelObject*>(1);
    EXPECT_EQ(group->GetOwner(&owner), E_FAIL);
    EXPECT_EQ(owner, nullptr);
    BOOL current = TRUE;
    EXPECT_EQ(group->IsCurrent(&current), E_FAIL);
    EXPECT_EQ(group->SetCurrent(TRUE), E_FAIL);
    EXPECT_EQ(group->SetRemoved(TRUE), S_OK);
    EXPECT_EQ(group->SetRemoved(FALSE), S_OK);
}

} // namespace
