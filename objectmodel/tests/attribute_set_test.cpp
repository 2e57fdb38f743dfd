// Tests of CAttributeSet: applying it to a graphics context (own values or
// the holder's group values) and its 13-byte form.
#include "objectmodel/attribute_set.h"

#include <gtest/gtest.h>

#include "objectmodel/entity_record.h"
#include "objectmodel/id_group_object.h"
#include "objectmodel/tests/recording_graphics_context.h"

namespace {

struct ApplyCase {
    const char* name;
    uint8_t flags;
    bool holderHasGroup;
    std::vector<GraphicsCall> expected;
};

// Own set: style 1, factor 2, width 4. Group set: style 3, factor 5, width 7.
TEST(AttributeSetApply, TakesEachValueFromOwnSetOrGroupAsFlagsSay)
{
    const ApplyCase kCases[] = {
        {"no_flags", 0x00, true, {{GraphicsOp::SetLineStyle, {1, 2}}, {GraphicsOp::SetLineWidth, {4}}}},
        {"style_from_group", 0x01, true, {{GraphicsOp::SetLineStyle, {3, 2}}, {GraphicsOp::SetLineWidth, {4}}}},
        {"factor_from_group", 0x04, true, {{GraphicsOp::SetLineStyle, {1, 5}}, {GraphicsOp::SetLineWidth, {4}}}},
        {"width_from_group", 0x02, true, {{GraphicsOp::SetLineWidth, {7}}, {GraphicsOp::SetLineStyle, {1, 2}}}},
        {"all_from_group",
         0x07,
         true,
         {{GraphicsOp::SetLineStyle, {3, 5}}, {GraphicsOp::SetLineWidth, {7}}}},
        {"all_flags_without_group",
         0x07,
         false,
         {{GraphicsOp::SetLineStyle, {1, 2}}, {GraphicsOp::SetLineWidth, {4}}}},
        {"other_bits_have_no_effect",
         0xF8,
         true,
         {{GraphicsOp::SetLineStyle, {1, 2}}, {GraphicsOp::SetLineWidth, {4}}}},
    };
    for (const ApplyCase& c : kCases) {
        SCOPED_TRACE(c.name);
        auto holder = ComPtr<CEntityRecord>::Share(new CEntityRecord());
        if (c.holderHasGroup) {
            auto group = ComPtr<CIdGroupObject>::Share(new CIdGroupObject());
            auto groupSet = ComPtr<CAttributeSet>::Share(new CAttributeSet(3, 7, 5, 0));
            group->SetAttributeSet(groupSet.Get());
            holder->AddChild(group.Get());
        }
        auto set = ComPtr<CAttributeSet>::Share(new CAttributeSet(1, 4, 2, c.flags));
        RecordingGraphicsContext context;
        EXPECT_EQ(set->Apply(&context, static_cast<IEntityRecord*>(holder.Get())), S_OK);
        EXPECT_TRUE(CallsAre(context.Calls(), c.expected));
    }
}

TEST(AttributeSetApply, DefaultSetAppliesSolidFactorTwoWidthOne)
{
    auto set = ComPtr<CAttributeSet>::Share(new CAttributeSet());
    RecordingGraphicsContext context;
    EXPECT_EQ(set->Apply(&context, nullptr), S_OK);
    EXPECT_TRUE(CallsAre(context.Calls(), {{GraphicsOp::SetLineStyle, {0, 2}}, {GraphicsOp::SetLineWidth, {1}}}));
}

TEST(AttributeSetApply, GroupWithoutAttributeSetFallsBackToOwnValues)
{
    auto holder = ComPtr<CEntityRecord>::Share(new CEntityRecord());
    auto group = ComPtr<CIdGroupObject>::Share(new CIdGroupObject());
    holder->AddChild(group.Get());
    auto set = ComPtr<CAttributeSet>::Share(new CAttributeSet(2, 3, 1, 0x07));
    RecordingGraphicsContext context;
    set->Apply(&context, static_cast<IEntityRecord*>(holder.Get()));
    EXPECT_TRUE(CallsAre(context.Calls(), {{GraphicsOp::SetLineStyle, {2, 1}}, {GraphicsOp::SetLineWidth, {3}}}));
}

TEST(AttributeSetApply, NullContextDoesNothing)
{
    auto set = ComPtr<CAttributeSet>::Share(new CAttributeSet());
    EXPECT_EQ(set->Apply(nullptr, nullptr), S_OK);
}

TEST(AttributeSetBytes, SavesFieldsLittleEndianAndLoadsThemBack)
{
    auto set = ComPtr<CAttributeSet>::Share(new CAttributeSet(0x04030201, 0x0C0B0A09, 0x08070605, 0xA5));
    uint32_t size = 0;
    ASSERT_EQ(set->GetSize(nullptr, &size), S_OK);
    ASSERT_EQ(size, 13u);
    std::vector<BYTE> bytes(size);
    ASSERT_EQ(set->Save(nullptr, bytes.data()), S_OK);
    const std::vector<BYTE> expected = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0xA5};
    EXPECT_EQ(bytes, expected);

    auto loaded = ComPtr<CAttributeSet>::Share(new CAttributeSet());
    ASSERT_EQ(loaded->Load(nullptr, size, bytes.data()), S_OK);
    uint32_t style = 0;
    uint32_t factor = 0;
    uint32_t width = 0;
    uint8_t flags = 0;
    loaded->GetLineStyle(&style);
    loaded->GetStippleFactor(&factor);
    loaded->GetLineWidth(&width);
    loaded->GetFlags(&flags);
    EXPECT_EQ(style, 0x04030201u);
    EXPECT_EQ(factor, 0x08070605u);
    EXPECT_EQ(width, 0x0C0B0A09u);
    EXPECT_EQ(flags, 0xA5);
}

TEST(AttributeSetFlags, ClearSetAndPutChangeTheFlagByte)
{
    auto set = ComPtr<CAttributeSet>::Share(new CAttributeSet(0, 1, 2, 0x05));
    uint8_t flags = 0;
    set->SetFlags(0x02);
    set->GetFlags(&flags);
    EXPECT_EQ(flags, 0x07);
    set->ClearFlags(0x01);
    set->GetFlags(&flags);
    EXPECT_EQ(flags, 0x06);
    set->PutFlags(0x80);
    set->GetFlags(&flags);
    EXPECT_EQ(flags, 0x80);
}

TEST(AttributeSetCopies, CloneAndCopyConstructionTakeAllFourValues)
{
    auto set = ComPtr<CAttributeSet>::Share(new CAttributeSet(3, 5, 7, 0x42));
    IUnknown* cloned = nullptr;
    ASSERT_EQ(set->Clone(&cloned), S_OK);
    ASSERT_NE(cloned, nullptr);
    ComPtr<IAttributeSet> clone;
    ASSERT_EQ(cloned->QueryInterface(IID_IAttributeSet, clone.ReceiveVoid()), S_OK);
    CAttributeSet copied(clone.Get());
    for (IAttributeSet* candidate : {static_cast<IAttributeSet*>(clone.Get()), static_cast<IAttributeSet*>(&copied)}) {
        uint32_t style = 0;
        uint32_t width = 0;
        uint32_t factor = 0;
        uint8_t flags = 0;
        candidate->GetLineStyle(&style);
        candidate->GetLineWidth(&width);
        candidate->GetStippleFactor(&factor);
        candidate->GetFlags(&flags);
        EXPECT_EQ(style, 3u);
        EXPECT_EQ(width, 5u);
        EXPECT_EQ(factor, 7u);
        EXPECT_EQ(flags, 0x42);
    }
}

TEST(AttributeSetIdentity, AnswersItsChainAndReportsTheHostFactory)
{
    auto set = ComPtr<CAttributeSet>::Share(new CAttributeSet());
    for (const IID* iid : {&IID_IUnknown, &IID_ICollectionBase, &IID_IAttributeSet}) {
        ComPtr<IUnknown> answer;
        EXPECT_EQ(set->QueryInterface(*iid, answer.ReceiveVoid()), S_OK);
        EXPECT_EQ(static_cast<void*>(answer.Get()), static_cast<IAttributeSet*>(set.Get()));
    }
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(set->QueryInterface(IID_ICollectionB, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    CLSID factory = GUID_NULL;
    IID iid = GUID_NULL;
    set->GetClassIds(&factory, &iid);
    EXPECT_EQ(factory, CLSID_HostObjectFactory);
    EXPECT_EQ(iid, IID_IAttributeSet);
    EXPECT_EQ(set->Detach(nullptr), E_NOTIMPL);
    EXPECT_EQ(set->Attach(nullptr), E_NOTIMPL);
    EXPECT_EQ(set->Resolve(nullptr, nullptr), E_NOTIMPL);
}

} // namespace
