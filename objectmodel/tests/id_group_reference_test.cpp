// Tests of a group's reference form: what it writes while the document
// saves, and what it resolves to once a document file has been read.
#include <gtest/gtest.h>

#include "objectmodel/id_group_object.h"
#include "objectmodel/model_object.h"
#include "objectmodel/tests/test_objects.h"

namespace {

std::vector<BYTE> Bytes(int32_t fileIndex, int32_t position)
{
    std::vector<BYTE> bytes(8);
    for (int i = 0; i < 4; ++i) {
        bytes[static_cast<size_t>(i)] = static_cast<BYTE>(static_cast<uint32_t>(fileIndex) >> (8 * i));
        bytes[static_cast<size_t>(4 + i)] = static_cast<BYTE>(static_cast<uint32_t>(position) >> (8 * i));
    }
    return bytes;
}

class GroupReferenceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (CModelObject* model : {first.Get(), second.Get()}) {
            for (int i = 0; i < 2; ++i) {
                auto group = ComPtr<CIdGroupObject>::Share(new CIdGroupObject(model->OwnerLink()));
                model->AddChild(group.Get());
            }
        }
    }
    IIdGroup* GroupOf(CModelObject* model, int32_t index)
    {
        IIdGroup* group = nullptr;
        model->GetChild(index, &group);
        return group;
    }

    ComPtr<CModelObject> first = ComPtr<CModelObject>::Share(new CModelObject());
    ComPtr<CModelObject> second = ComPtr<CModelObject>::Share(new CModelObject());
    ComPtr<TestLineEntity> line =
        ComPtr<TestLineEntity>::Share(new TestLineEntity(CVector3(), CVector3(), false));
    ComPtr<FileIndexDocument> document = ComPtr<FileIndexDocument>::Share(new FileIndexDocument());
};

TEST_F(GroupReferenceTest, SaveWritesTheOwnersFileIndexAndTheGroupsPosition)
{
    document->AddWritten(static_cast<IModelObject*>(second.Get()), 3);
    std::vector<BYTE> bytes(8);
    EXPECT_EQ(GroupOf(second.Get(), 1)->Save(document->AsHostDocument(), bytes.data()), S_OK);
    EXPECT_EQ(bytes, Bytes(3, 1));
}

struct UnwrittenCase {
    const char* name;
    bool ownerWritten;
    bool groupInTable;
    bool withDocument;
};

TEST_F(GroupReferenceTest, SaveWritesNoneWhenTheReferenceCannotBeMade)
{
    const UnwrittenCase kCases[] = {
        {"owner_not_written", false, true, true},
        {"group_removed_from_owner", true, false, true},
        {"no_document", true, true, false},
    };
    for (const UnwrittenCase& c : kCases) {
        SCOPED_TRACE(c.name);
        auto model = ComPtr<CModelObject>::Share(new CModelObject());
        auto group = ComPtr<CIdGroupObject>::Share(new CIdGroupObject(model->OwnerLink()));
        if (c.groupInTable) {
            model->AddChild(group.Get());
        }
        if (c.ownerWritten) {
            document->AddWritten(static_cast<IModelObject*>(model.Get()), 0);
        }
        std::vector<BYTE> bytes(8, 0xAA);
        EXPECT_EQ(group->Save(c.withDocument ? document->AsHostDocument() : nullptr, bytes.data()), E_FAIL);
        EXPECT_EQ(bytes, Bytes(-1, -1));
    }
    auto loose = ComPtr<CIdGroupObject>::Share(new CIdGroupObject());
    std::vector<BYTE> bytes(8);
    EXPECT_EQ(loose->Save(document->AsHostDocument(), bytes.data()), E_FAIL);
    EXPECT_EQ(bytes, Bytes(-1, -1));
}

struct ResolveCase {
    const char* name;
    int32_t fileIndex;
    int32_t position;
    // Expected model (0 none, 1 first, 2 second) and its group index.
    int expectedModel;
    int32_t expectedGroup;
};

// The file held: index 0 the first model, index 1 a record that was
// skipped (unknown class), index 2 the second model, index 3 a line.
TEST_F(GroupReferenceTest, ResolveFindsTheSharedGroupByFileIndex)
{
    document->AddLoaded(0, static_cast<IModelObject*>(first.Get()));
    document->AddLoaded(2, static_cast<IModelObject*>(second.Get()));
    document->AddLoaded(3, static_cast<IEntityBase*>(line.Get()));
    const ResolveCase kCases[] = {
        {"first_model", 0, 1, 1, 1},
        {"model_behind_a_skipped_record", 2, 0, 2, 0},
        {"the_skipped_record", 1, 0, 0, -1},
        {"not_a_model_object", 3, 0, 0, -1},
        {"past_the_file", 9, 0, 0, -1},
        {"position_outside_the_model", 2, 2, 0, -1},
        {"no_owner", -1, 0, 0, -1},
        {"no_position", 0, -1, 0, -1},
    };
    for (const ResolveCase& c : kCases) {
        SCOPED_TRACE(c.name);
        auto reference = ComPtr<CIdGroupObject>::Share(new CIdGroupObject());
        const std::vector<BYTE> bytes = Bytes(c.fileIndex, c.position);
        ASSERT_EQ(reference->Load(document->AsHostDocument(), 8, bytes.data()), S_OK);
        IUnknown* resolved = static_cast<IIdGroup*>(reference.Get());
        const HRESULT result = reference->Resolve(document->AsHostDocument(), &resolved);
        if (c.expectedModel == 0) {
            EXPECT_EQ(result, E_FAIL);
            EXPECT_EQ(resolved, nullptr);
            continue;
        }
        CModelObject* model = c.expectedModel == 1 ? first.Get() : second.Get();
        EXPECT_EQ(result, S_OK);
        EXPECT_EQ(resolved, static_cast<IUnknown*>(GroupOf(model, c.expectedGroup)));
    }
}

TEST_F(GroupReferenceTest, ResolveWithoutAFileIndexServiceResolvesToNothing)
{
    auto reference = ComPtr<CIdGroupObject>::Share(new CIdGroupObject());
    const std::vector<BYTE> bytes = Bytes(0, 0);
    reference->Load(nullptr, 8, bytes.data());
    IUnknown* resolved = static_cast<IIdGroup*>(reference.Get());
    EXPECT_EQ(reference->Resolve(nullptr, &resolved), E_FAIL);
    EXPECT_EQ(resolved, nullptr);
    EXPECT_EQ(reference->Resolve(nullptr, nullptr), E_FAIL);
}

} // namespace
