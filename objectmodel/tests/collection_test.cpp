// Tests of the attachments: the colour attachment CCollectionB, the text
// attachment CCollectionC and the marker CCollectionD.
#include <gtest/gtest.h>

#include <cstring>

#include "objectmodel/collection_b.h"
#include "objectmodel/collection_c.h"
#include "objectmodel/collection_d.h"
#include "objectmodel/entity_record.h"
#include "objectmodel/id_group_object.h"
#include "objectmodel/tests/recording_graphics_context.h"

namespace {

TEST(ColourAttachment, RgbMakesTheColourWordAndSavesItLittleEndian)
{
    auto colour = ComPtr<CCollectionB>::Share(new CCollectionB());
    colour->SetRGB(255, 128, 0);
    colour->SetKind(0x03);
    uint32_t value = 0;
    colour->GetValue(&value);
    EXPECT_EQ(value, 0x000080FFu);
    uint32_t red = 0;
    uint32_t green = 0;
    uint32_t blue = 0;
    colour->GetRGB(&red, &green, &blue);
    EXPECT_EQ(red, 255u);
    EXPECT_EQ(green, 128u);
    EXPECT_EQ(blue, 0u);

    uint32_t size = 0;
    colour->GetSize(nullptr, &size);
    ASSERT_EQ(size, 5u);
    std::vector<BYTE> bytes(size);
    ASSERT_EQ(colour->Save(nullptr, bytes.data()), S_OK);
    EXPECT_EQ(bytes, (std::vector<BYTE>{0xFF, 0x80, 0x00, 0x00, 0x03}));

    auto loaded = ComPtr<CCollectionB>::Share(new CCollectionB());
    ASSERT_EQ(loaded->Load(nullptr, size, bytes.data()), S_OK);
    uint8_t kind = 0;
    loaded->GetValue(&value);
    loaded->GetKind(&kind);
    EXPECT_EQ(value, 0x000080FFu);
    EXPECT_EQ(kind, 0x03);
}

TEST(ColourAttachment, KindBitsAreClearedAndSetByMask)
{
    CCollectionB colour(0, 3);
    uint8_t kind = 0;
    colour.ClearKindBits(1);
    colour.GetKind(&kind);
    EXPECT_EQ(kind, 2);
    colour.SetKindBits(0x81);
    colour.GetKind(&kind);
    EXPECT_EQ(kind, 0x83);
}

struct ColourApplyCase {
    const char* name;
    uint8_t mode;
    bool holderHasGroup;
    bool groupHasColour;
    uint32_t expected;
};

// Own colour 0x112233; the group's colour 0x445566.
TEST(ColourAttachment, ApplySetsOwnColourOrTheGroupColourWhenAskedAndPresent)
{
    const ColourApplyCase kCases[] = {
        {"own_colour", 0, true, true, 0x112233},
        {"group_colour", kColourFromGroup, true, true, 0x445566},
        {"group_without_colour", kColourFromGroup, true, false, 0x112233},
        {"holder_without_group", kColourFromGroup, false, false, 0x112233},
    };
    for (const ColourApplyCase& c : kCases) {
        SCOPED_TRACE(c.name);
        auto holder = ComPtr<CEntityRecord>::Share(new CEntityRecord());
        if (c.holderHasGroup) {
            auto group = ComPtr<CIdGroupObject>::Share(new CIdGroupObject());
            if (c.groupHasColour) {
                auto groupColour = ComPtr<CCollectionB>::Share(new CCollectionB(0x445566, 0));
                group->SetColour(groupColour.Get());
            }
            holder->AddChild(group.Get());
        }
        auto colour = ComPtr<CCollectionB>::Share(new CCollectionB(0x112233, c.mode));
        RecordingGraphicsContext context;
        EXPECT_EQ(colour->Apply(&context, static_cast<IEntityRecord*>(holder.Get())), S_OK);
        EXPECT_TRUE(CallsAre(context.Calls(), {{GraphicsOp::SetColor, {static_cast<double>(c.expected)}}}));
    }
}

TEST(ColourAttachment, CopiesTakeColourAndMode)
{
    CCollectionB source(0xABCDEF, 0x05);
    CCollectionB copied(&source);
    IUnknown* cloned = nullptr;
    ASSERT_EQ(source.Clone(&cloned), S_OK);
    ComPtr<ICollectionB> clone;
    ASSERT_EQ(cloned->QueryInterface(IID_ICollectionB, clone.ReceiveVoid()), S_OK);
    for (ICollectionB* candidate : {static_cast<ICollectionB*>(&copied), clone.Get()}) {
        uint32_t value = 0;
        uint8_t kind = 0;
        candidate->GetValue(&value);
        candidate->GetKind(&kind);
        EXPECT_EQ(value, 0xABCDEFu);
        EXPECT_EQ(kind, 0x05);
    }
}

TEST(TextAttachment, SavesTextWithItsZeroByteAndLoadsItBack)
{
    auto text = ComPtr<CCollectionC>::Share(new CCollectionC("abc"));
    uint32_t size = 0;
    text->GetSize(nullptr, &size);
    ASSERT_EQ(size, 4u);
    std::vector<BYTE> bytes(size);
    ASSERT_EQ(text->Save(nullptr, bytes.data()), S_OK);
    EXPECT_EQ(bytes, (std::vector<BYTE>{0x61, 0x62, 0x63, 0x00}));

    auto loaded = ComPtr<CCollectionC>::Share(new CCollectionC());
    ASSERT_EQ(loaded->Load(nullptr, size, bytes.data()), S_OK);
    const char* result = nullptr;
    loaded->GetText(&result);
    EXPECT_STREQ(result, "abc");
}

TEST(TextAttachment, EmptyTextIsOneZeroByte)
{
    auto text = ComPtr<CCollectionC>::Share(new CCollectionC("x"));
    const BYTE zero = 0;
    ASSERT_EQ(text->Load(nullptr, 1, &zero), S_OK);
    const char* result = nullptr;
    text->GetText(&result);
    EXPECT_STREQ(result, "");
}

TEST(TextAttachment, CopiesTakeTheTextAndApplyIsNotOffered)
{
    CCollectionC source("name");
    CCollectionC copied(&source);
    const char* result = nullptr;
    copied.GetText(&result);
    EXPECT_STREQ(result, "name");
    EXPECT_EQ(source.SetText(nullptr), E_FAIL);
    source.GetText(&result);
    EXPECT_STREQ(result, "name");
    RecordingGraphicsContext context;
    EXPECT_EQ(source.Apply(&context, nullptr), E_NOTIMPL);
    EXPECT_TRUE(context.Calls().empty());
}

TEST(MarkerAttachment, HasAnEmptyFormAndAppliesNothing)
{
    auto marker = ComPtr<CCollectionD>::Share(new CCollectionD());
    uint32_t size = 99;
    marker->GetSize(nullptr, &size);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(marker->Save(nullptr, nullptr), S_OK);
    EXPECT_EQ(marker->Load(nullptr, 0, nullptr), S_OK);
    RecordingGraphicsContext context;
    EXPECT_EQ(marker->Apply(&context, nullptr), S_OK);
    EXPECT_TRUE(context.Calls().empty());
}

struct IdentityCase {
    const char* name;
    ICollectionBase* object;
    IID ownIid;
};

TEST(Attachments, AnswerTheirChainsAndReportTheHostFactory)
{
    auto colour = ComPtr<CCollectionB>::Share(new CCollectionB());
    auto text = ComPtr<CCollectionC>::Share(new CCollectionC());
    auto marker = ComPtr<CCollectionD>::Share(new CCollectionD());
    const IdentityCase kCases[] = {
        {"colour", colour.Get(), IID_ICollectionB},
        {"text", text.Get(), IID_ICollectionC},
        {"marker", marker.Get(), IID_ICollectionD},
    };
    for (const IdentityCase& c : kCases) {
        SCOPED_TRACE(c.name);
        for (const IID* iid : {&IID_IUnknown, &IID_ICollectionBase, &c.ownIid}) {
            ComPtr<IUnknown> answer;
            EXPECT_EQ(c.object->QueryInterface(*iid, answer.ReceiveVoid()), S_OK);
            EXPECT_EQ(static_cast<void*>(answer.Get()), static_cast<void*>(c.object));
        }
        void* out = nullptr;
        EXPECT_EQ(c.object->QueryInterface(IID_IAttributeSet, &out), E_NOINTERFACE);
        EXPECT_EQ(out, nullptr);
        CLSID factory = GUID_NULL;
        IID iid = GUID_NULL;
        c.object->GetClassIds(&factory, &iid);
        EXPECT_EQ(factory, CLSID_HostObjectFactory);
        EXPECT_EQ(iid, c.ownIid);
        EXPECT_EQ(c.object->Attach(nullptr), E_NOTIMPL);
        EXPECT_EQ(c.object->Detach(nullptr), E_NOTIMPL);
        IUnknown* resolved = nullptr;
        EXPECT_EQ(c.object->Resolve(nullptr, &resolved), E_NOTIMPL);
    }
}

} // namespace
