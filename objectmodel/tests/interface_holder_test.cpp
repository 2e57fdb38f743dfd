// Tests of the interface holder: finding a record's attachments by kind,
// copying into an existing colour or attribute attachment or adding one,
// and placing the group attachment.
#include "objectmodel/interface_holder.h"

#include <gtest/gtest.h>

#include <vector>

#include "objectmodel/attribute_set.h"
#include "objectmodel/collection_b.h"
#include "objectmodel/collection_c.h"
#include "objectmodel/entity_record.h"
#include "objectmodel/id_group_object.h"
#include "objectmodel/tests/test_objects.h"

namespace {

// A record with its attachments, made as the document makes them.
class InterfaceHolderTest : public ::testing::Test {
protected:
    template <class T>
    T* Attach(T* child)
    {
        EXPECT_EQ(m_record->AddChild(child), S_OK);
        return child;
    }
    std::vector<ICollectionBase*> Children() const
    {
        int32_t count = 0;
        EXPECT_EQ(m_record->GetChildCount(&count), S_OK);
        std::vector<ICollectionBase*> children;
        for (int32_t i = 0; i < count; ++i) {
            ICollectionBase* child = nullptr;
            EXPECT_EQ(m_record->GetChild(i, &child), S_OK);
            children.push_back(child);
        }
        return children;
    }

    ComPtr<CEntityRecord> m_record = ComPtr<CEntityRecord>::Share(new CEntityRecord());
};

TEST_F(InterfaceHolderTest, FindsTheFirstAttachmentOfEachKind)
{
    CCollectionC* text = Attach(new CCollectionC("label"));
    CCollectionB* firstColour = Attach(new CCollectionB(0x0000FF, 0));
    Attach(new CCollectionB(0x00FF00, 0));
    CAttributeSet* attributes = Attach(new CAttributeSet(1, 2, 3, 0));
    CIdGroupObject* group = Attach(new CIdGroupObject());

    CInterfaceHolder holder(m_record.Get());
    EXPECT_EQ(holder.FindCollectionB(), static_cast<ICollectionB*>(firstColour));
    EXPECT_EQ(holder.FindCollectionC(), static_cast<ICollectionC*>(text));
    EXPECT_EQ(holder.FindAttributeSet(), static_cast<IAttributeSet*>(attributes));
    EXPECT_EQ(holder.FindIdGroup(), static_cast<IIdGroup*>(group));
    // Finding borrows: the record still holds the only reference.
    EXPECT_EQ(ReferenceCountOf(firstColour), 1u);
}

TEST_F(InterfaceHolderTest, FindsNothingWithoutAttachmentsOrRecord)
{
    CInterfaceHolder holder(m_record.Get());
    EXPECT_EQ(holder.FindCollectionB(), nullptr);
    EXPECT_EQ(holder.FindIdGroup(), nullptr);
    CInterfaceHolder empty;
    EXPECT_EQ(empty.FindAttributeSet(), nullptr);
    CCollectionB colour(1, 0);
    EXPECT_EQ(empty.AssignCollectionB(&colour), FALSE);
}

TEST_F(InterfaceHolderTest, AssignColourIntoTheFirstAttachment)
{
    CCollectionB* first = Attach(new CCollectionB(0x0000FF, 0));
    CCollectionB* second = Attach(new CCollectionB(0x00FF00, 0));
    CInterfaceHolder holder(m_record.Get());
    CCollectionB source(0x123456, 2);
    EXPECT_EQ(holder.AssignCollectionB(&source), TRUE);
    uint32_t value = 0;
    uint8_t kind = 0;
    ASSERT_EQ(first->GetValue(&value), S_OK);
    ASSERT_EQ(first->GetKind(&kind), S_OK);
    EXPECT_EQ(value, 0x123456u);
    EXPECT_EQ(kind, 2);
    ASSERT_EQ(second->GetValue(&value), S_OK);
    EXPECT_EQ(value, 0x00FF00u);
    EXPECT_EQ(Children().size(), 2u);
    EXPECT_EQ(holder.AssignCollectionB(nullptr), FALSE);
}

TEST_F(InterfaceHolderTest, AssignAddsACopyWhenMissing)
{
    CInterfaceHolder holder(m_record.Get());
    CCollectionB colour(0xABCDEF, 2);
    CAttributeSet attributes(2, 5, 3, kAttributeWidthFromGroup);
    EXPECT_EQ(holder.AssignCollectionB(&colour), TRUE);
    EXPECT_EQ(holder.AssignAttributeSet(&attributes), TRUE);
    ASSERT_EQ(Children().size(), 2u);

    ICollectionB* addedColour = holder.FindCollectionB();
    ASSERT_NE(addedColour, nullptr);
    EXPECT_NE(addedColour, static_cast<ICollectionB*>(&colour));
    uint32_t value = 0;
    ASSERT_EQ(addedColour->GetValue(&value), S_OK);
    EXPECT_EQ(value, 0xABCDEFu);

    IAttributeSet* added = holder.FindAttributeSet();
    ASSERT_NE(added, nullptr);
    uint32_t style = 0;
    uint32_t width = 0;
    uint32_t factor = 0;
    uint8_t flags = 0;
    ASSERT_EQ(added->GetLineStyle(&style), S_OK);
    ASSERT_EQ(added->GetLineWidth(&width), S_OK);
    ASSERT_EQ(added->GetStippleFactor(&factor), S_OK);
    ASSERT_EQ(added->GetFlags(&flags), S_OK);
    EXPECT_EQ(style, 2u);
    EXPECT_EQ(width, 5u);
    EXPECT_EQ(factor, 3u);
    EXPECT_EQ(flags, kAttributeWidthFromGroup);
}

TEST_F(InterfaceHolderTest, AssignAttributesIntoTheExistingSet)
{
    CAttributeSet* existing = Attach(new CAttributeSet(0, 1, 1, 0));
    CInterfaceHolder holder(m_record.Get());
    CAttributeSet source(3, 4, 6, kAttributeStyleFromGroup | kAttributeFactorFromGroup);
    EXPECT_EQ(holder.AssignAttributeSet(&source), TRUE);
    uint32_t style = 0;
    uint32_t width = 0;
    uint32_t factor = 0;
    uint8_t flags = 0;
    ASSERT_EQ(existing->GetLineStyle(&style), S_OK);
    ASSERT_EQ(existing->GetLineWidth(&width), S_OK);
    ASSERT_EQ(existing->GetStippleFactor(&factor), S_OK);
    ASSERT_EQ(existing->GetFlags(&flags), S_OK);
    EXPECT_EQ(style, 3u);
    EXPECT_EQ(width, 4u);
    EXPECT_EQ(factor, 6u);
    EXPECT_EQ(flags, kAttributeStyleFromGroup | kAttributeFactorFromGroup);
    EXPECT_EQ(Children().size(), 1u);
}

TEST_F(InterfaceHolderTest, SetIdGroupAppendsOrReplacesInPlace)
{
    CInterfaceHolder holder(m_record.Get());
    ComPtr<CIdGroupObject> first = ComPtr<CIdGroupObject>::Share(new CIdGroupObject());
    EXPECT_EQ(holder.SetIdGroup(first.Get()), TRUE);
    EXPECT_EQ(Children(), (std::vector<ICollectionBase*>{first.Get()}));

    CCollectionB* colour = Attach(new CCollectionB(1, 0));
    ComPtr<CIdGroupObject> second = ComPtr<CIdGroupObject>::Share(new CIdGroupObject());
    EXPECT_EQ(holder.SetIdGroup(second.Get()), TRUE);
    // The group keeps its place before the colour attachment.
    EXPECT_EQ(Children(), (std::vector<ICollectionBase*>{second.Get(), colour}));
    EXPECT_EQ(holder.SetIdGroup(nullptr), FALSE);
    EXPECT_EQ(Children().size(), 2u);
}

}  // namespace
