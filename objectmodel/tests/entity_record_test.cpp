// Tests of CEntityRecord: highlighted and suppressed drawing through the
// recording context, the child and link lists, and CopyFrom.
#include "objectmodel/entity_record.h"

#include <gtest/gtest.h>

#include "objectmodel/attribute_set.h"
#include "objectmodel/id_group_object.h"
#include "objectmodel/tests/recording_graphics_context.h"
#include "objectmodel/tests/test_objects.h"

namespace {

class EntityRecordTest : public ::testing::Test {
protected:
    ComPtr<TestLineEntity> line = ComPtr<TestLineEntity>::Share(
        new TestLineEntity(CVector3(1.0, 2.0, 3.0), CVector3(4.0, 5.0, 6.0), true));
    ComPtr<CEntityRecord> record = ComPtr<CEntityRecord>::Share(new CEntityRecord(line.Get()));
    const GraphicsCall kLineCall{GraphicsOp::DrawLine, {1, 2, 3, 4, 5, 6}};

    uint32_t Flags() const
    {
        uint32_t flags = 0;
        record->GetFlags(&flags);
        return flags;
    }
};

struct HighlightCase {
    const char* name;
    uint32_t flags;
    int32_t widthBefore;
    uint32_t expectedColour;
    int32_t expectedWidth;
};

TEST_F(EntityRecordTest, HighlightBitsDrawInTheirColourWiderAndRestoreTheContext)
{
    const HighlightCase kCases[] = {
        {"orange", 0x100000, 1, 0xff8000, 2},
        {"magenta", 0x200000, 1, 0xff00ff, 2},
        {"purple", 0x400000, 1, 0xa000a0, 2},
        {"red", 0x800000, 1, 0x0000ff, 2},
        {"green", 0x1000000, 1, 0x00ff00, 2},
        {"first_bit_wins", 0x300000, 1, 0xff8000, 2},
        {"last_two_bits", 0x1800000, 1, 0x0000ff, 2},
        {"wide_line_grows_by_two", 0x100000, 3, 0xff8000, 5},
        {"zero_width_grows_by_one", 0x100000, 0, 0xff8000, 1},
    };
    for (const HighlightCase& c : kCases) {
        SCOPED_TRACE(c.name);
        record->SetFlags(c.flags);
        RecordingGraphicsContext context;
        context.colour = 0x123456;
        context.lineWidth = c.widthBefore;
        EXPECT_EQ(record->Draw(&context), S_OK);
        EXPECT_TRUE(CallsAre(context.DrawingCalls(), {
                                                         {GraphicsOp::SetColor, {double(c.expectedColour)}},
                                                         {GraphicsOp::SetLineWidth, {double(c.expectedWidth)}},
                                                         kLineCall,
                                                         {GraphicsOp::SetColor, {double(0x123456)}},
                                                         {GraphicsOp::SetLineWidth, {double(c.widthBefore)}},
                                                     }));
        EXPECT_EQ(context.colour, 0x123456u);
        EXPECT_EQ(context.lineWidth, c.widthBefore);
    }
}

TEST_F(EntityRecordTest, ChildrenApplyBeforeTheHighlightReadsTheContext)
{
    auto attributes = ComPtr<CAttributeSet>::Share(new CAttributeSet(1, 3, 4, 0));
    record->AddChild(attributes.Get());
    record->SetFlags(0x200000);
    RecordingGraphicsContext context;
    record->Draw(&context);
    EXPECT_TRUE(CallsAre(context.Calls(), {
                                              {GraphicsOp::SetLineStyle, {1, 4}},
                                              {GraphicsOp::SetLineWidth, {3}},
                                              {GraphicsOp::GetColor, {0}},
                                              {GraphicsOp::GetLineWidth, {3}},
                                              {GraphicsOp::SetColor, {double(0xff00ff)}},
                                              {GraphicsOp::SetLineWidth, {5}},
                                              kLineCall,
                                              {GraphicsOp::SetColor, {0}},
                                              {GraphicsOp::SetLineWidth, {3}},
                                          }));
}

TEST_F(EntityRecordTest, PlainRecordDrawsWithTheContextUnchanged)
{
    RecordingGraphicsContext context;
    record->Draw(&context);
    EXPECT_TRUE(CallsAre(context.Calls(), {kLineCall}));
}

TEST_F(EntityRecordTest, HiddenRecordDrawsNothingAndKeepsItsPassBits)
{
    auto child = ComPtr<WatchingChild>::Share(new WatchingChild());
    record->AddChild(child.Get());
    record->SetFlags(kRecordHidden | 0x30000000 | 0x100000);
    RecordingGraphicsContext context;
    EXPECT_EQ(record->Draw(&context), S_OK);
    EXPECT_TRUE(context.Calls().empty());
    EXPECT_EQ(child->applyCount, 0);
    EXPECT_EQ(Flags(), kRecordHidden | 0x30000000u | 0x100000u);
    record->ResetTransientFlags(0);
    EXPECT_EQ(Flags(), kRecordHidden | 0x30000000u | 0x100000u);
}

TEST_F(EntityRecordTest, ResetTransientFlagsClearsOnlyTheTopFourBits)
{
    record->SetFlags(0xF0000010);
    record->ResetTransientFlags(0);
    EXPECT_EQ(Flags(), 0x10u);
}

TEST_F(EntityRecordTest, ChildThatSuppressesDrawingDoesSoForOnePassOnly)
{
    auto child = ComPtr<WatchingChild>::Share(new WatchingChild());
    record->AddChild(child.Get());
    child->flagsOnNextApply = kRecordSkipDraw;
    RecordingGraphicsContext context;
    record->Draw(&context);
    EXPECT_TRUE(context.Calls().empty());
    EXPECT_EQ(Flags() & kRecordSkipDraw, kRecordSkipDraw);
    record->Draw(&context);
    EXPECT_TRUE(CallsAre(context.Calls(), {kLineCall}));
    EXPECT_EQ(Flags() & kRecordSkipDraw, 0u);
    EXPECT_EQ(child->applyCount, 2);
}

TEST_F(EntityRecordTest, NullContextAppliesChildrenAndDrawsNothing)
{
    auto group = ComPtr<CIdGroupObject>::Share(new CIdGroupObject());
    group->SetHidden(TRUE);
    record->AddChild(group.Get());
    EXPECT_EQ(record->Draw(nullptr), S_OK);
    EXPECT_EQ(Flags(), kHolderHiddenByGroup);
}

TEST_F(EntityRecordTest, ObjectThatIsNoEntityIsNotDrawn)
{
    auto notEntity = ComPtr<CAttributeSet>::Share(new CAttributeSet());
    record->SetObject(notEntity.Get());
    RecordingGraphicsContext context;
    EXPECT_EQ(record->Draw(&context), S_OK);
    EXPECT_TRUE(context.Calls().empty());
}

TEST_F(EntityRecordTest, ChildListRejectsNullAndBadIndexesWithoutEffect)
{
    auto a = ComPtr<WatchingChild>::Share(new WatchingChild());
    record->AddChild(a.Get());
    EXPECT_EQ(record->AddChild(nullptr), E_FAIL);
    ICollectionBase* child = reinterpret_cast<ICollectionBase*>(1);
    for (int32_t bad : {-1, 1, 1000}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(record->GetChild(bad, &child), E_FAIL);
        EXPECT_EQ(child, nullptr);
        EXPECT_EQ(record->SetChild(bad, a.Get()), E_FAIL);
        EXPECT_EQ(record->RemoveChild(bad), E_FAIL);
        IUnknown* link = nullptr;
        EXPECT_EQ(record->GetLink(bad, &link), E_FAIL);
    }
    int32_t count = 0;
    record->GetChildCount(&count);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(a->holders.size(), 1u);
    EXPECT_EQ(record->SetObject(nullptr), E_FAIL);
    EXPECT_EQ(record->AddLink(nullptr), E_FAIL);
}

TEST_F(EntityRecordTest, ChildrenAreAttachedOnAddAndDetachedOnEveryRemoval)
{
    auto a = ComPtr<WatchingChild>::Share(new WatchingChild());
    auto b = ComPtr<WatchingChild>::Share(new WatchingChild());
    IEntityRecord* self = record.Get();
    record->AddChild(a.Get());
    record->AddChild(b.Get());
    EXPECT_EQ(a->holders, std::vector<IEntityRecord*>{self});

    // SetChild with null removes the entry.
    EXPECT_EQ(record->SetChild(0, nullptr), S_OK);
    EXPECT_TRUE(a->holders.empty());
    ICollectionBase* child = nullptr;
    record->GetChild(0, &child);
    EXPECT_EQ(child, static_cast<ICollectionBase*>(b.Get()));

    // SetChild replaces: the old entry is detached, the new one attached.
    EXPECT_EQ(record->SetChild(0, a.Get()), S_OK);
    EXPECT_TRUE(b->holders.empty());
    EXPECT_EQ(a->holders, std::vector<IEntityRecord*>{self});

    record->RemoveAllChildren();
    EXPECT_TRUE(a->holders.empty());
}

TEST_F(EntityRecordTest, RemoveChildObjectAndRemoveLinkTakeEveryEqualEntry)
{
    auto a = ComPtr<WatchingChild>::Share(new WatchingChild());
    auto b = ComPtr<WatchingChild>::Share(new WatchingChild());
    for (WatchingChild* child : {a.Get(), a.Get(), b.Get(), a.Get()}) {
        record->AddChild(child);
        record->AddLink(child);
    }
    record->RemoveChildObject(a.Get());
    record->RemoveLink(a.Get());
    int32_t children = 0;
    int32_t links = 0;
    record->GetChildCount(&children);
    record->GetLinkCount(&links);
    EXPECT_EQ(children, 1);
    EXPECT_EQ(links, 1);
    EXPECT_TRUE(a->holders.empty());
    IUnknown* link = nullptr;
    record->GetLink(0, &link);
    EXPECT_EQ(link, static_cast<IUnknown*>(b.Get()));
}

TEST_F(EntityRecordTest, DestructionDetachesEveryChild)
{
    auto child = ComPtr<WatchingChild>::Share(new WatchingChild());
    record->AddChild(child.Get());
    record.Reset();
    EXPECT_TRUE(child->holders.empty());
}

TEST_F(EntityRecordTest, CopyFromClonesTheObjectWhenAskedAndOffered)
{
    record->SetFlags(0x100000);
    auto copy = ComPtr<CEntityRecord>::Share(new CEntityRecord());
    copy->SetFlags(0x55);
    ASSERT_EQ(copy->CopyFrom(record.Get(), TRUE, FALSE), S_OK);
    IUnknown* object = nullptr;
    copy->GetObject(&object);
    ASSERT_NE(object, nullptr);
    EXPECT_NE(object, static_cast<IUnknown*>(static_cast<IEntityBase*>(line.Get())));
    uint32_t flags = 1;
    copy->GetFlags(&flags);
    EXPECT_EQ(flags, 0u);
    // The copy is independent: changing the original does not move it.
    line->from = CVector3(9.0, 9.0, 9.0);
    RecordingGraphicsContext context;
    copy->Draw(&context);
    EXPECT_TRUE(CallsAre(context.Calls(), {kLineCall}));
}

TEST_F(EntityRecordTest, CopyFromSharesAnObjectThatCannotBeCloned)
{
    auto fixed = ComPtr<TestLineEntity>::Share(new TestLineEntity(CVector3(), CVector3(), false));
    auto source = ComPtr<CEntityRecord>::Share(new CEntityRecord(fixed.Get()));
    CEntityRecord copy(source.Get(), TRUE, TRUE);
    IUnknown* object = nullptr;
    copy.GetObject(&object);
    EXPECT_EQ(object, static_cast<IUnknown*>(static_cast<IEntityBase*>(fixed.Get())));
}

TEST_F(EntityRecordTest, CopyFromClonesOrSharesChildrenAndAttachesThem)
{
    auto child = ComPtr<WatchingChild>::Share(new WatchingChild());
    record->AddChild(child.Get());

    auto shared = ComPtr<CEntityRecord>::Share(new CEntityRecord(record.Get(), FALSE, FALSE));
    ICollectionBase* sharedChild = nullptr;
    shared->GetChild(0, &sharedChild);
    EXPECT_EQ(sharedChild, static_cast<ICollectionBase*>(child.Get()));
    EXPECT_EQ(child->holders.size(), 2u);

    auto cloned = ComPtr<CEntityRecord>::Share(new CEntityRecord(record.Get(), FALSE, TRUE));
    ICollectionBase* clonedChild = nullptr;
    cloned->GetChild(0, &clonedChild);
    ASSERT_NE(clonedChild, nullptr);
    EXPECT_NE(clonedChild, static_cast<ICollectionBase*>(child.Get()));
    EXPECT_EQ(static_cast<WatchingChild*>(clonedChild)->holders, std::vector<IEntityRecord*>{cloned.Get()});
}

TEST_F(EntityRecordTest, CopyFromDetachesTheChildrenItDrops)
{
    // A group must not keep a member that no longer carries it: the record
    // could be destroyed and the group would then redraw freed memory.
    auto group = ComPtr<CIdGroupObject>::Share(new CIdGroupObject());
    record->AddChild(group.Get());
    ASSERT_EQ(group->MemberCount(), 1u);
    auto plain = ComPtr<CEntityRecord>::Share(new CEntityRecord(line.Get()));
    ASSERT_EQ(record->CopyFrom(plain.Get(), FALSE, FALSE), S_OK);
    EXPECT_EQ(group->MemberCount(), 0u);
    record.Reset();
    EXPECT_EQ(group->SetHidden(TRUE), S_OK);
}

TEST_F(EntityRecordTest, CopyFromRefusesNullAndItself)
{
    auto child = ComPtr<WatchingChild>::Share(new WatchingChild());
    record->AddChild(child.Get());
    record->SetFlags(0x7);
    EXPECT_EQ(record->CopyFrom(nullptr, TRUE, TRUE), E_FAIL);
    EXPECT_EQ(record->CopyFrom(record.Get(), TRUE, TRUE), E_FAIL);
    EXPECT_EQ(Flags(), 0x7u);
    int32_t count = 0;
    record->GetChildCount(&count);
    EXPECT_EQ(count, 1);
}

TEST_F(EntityRecordTest, HoldsOneReferenceToItsObject)
{
    const ULONG before = ReferenceCountOf(line.Get());
    auto other = ComPtr<CEntityRecord>::Share(new CEntityRecord(line.Get()));
    EXPECT_EQ(ReferenceCountOf(line.Get()), before + 1);
    other.Reset();
    EXPECT_EQ(ReferenceCountOf(line.Get()), before);
}

} // namespace
