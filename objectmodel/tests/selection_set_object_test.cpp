// Tests of the plain selection set: the id operations, their index checks,
// QueryInterface, and the lifetime of lent and counted sets.
#include "objectmodel/selection_set_object.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<uintptr_t> Ids(ISelectionSet& set)
{
    uint32_t count = 0;
    EXPECT_EQ(set.GetCount(&count), S_OK);
    std::vector<uintptr_t> ids;
    for (uint32_t i = 0; i < count; ++i) {
        uintptr_t id = 0;
        EXPECT_EQ(set.GetAt(static_cast<int32_t>(i), &id), S_OK);
        ids.push_back(id);
    }
    return ids;
}

// Ids wider than 32 bits survive a round trip: they are record pointers.
constexpr uintptr_t kWideId = static_cast<uintptr_t>(0x7fff12345678ull);

TEST(SelectionSetObject, IdOperationsKeepOrder)
{
    CSelectionSetObject set;
    ASSERT_EQ(set.Add(10), S_OK);
    ASSERT_EQ(set.Add(kWideId), S_OK);
    ASSERT_EQ(set.Add(30), S_OK);
    EXPECT_EQ(Ids(set), (std::vector<uintptr_t>{10, kWideId, 30}));

    ASSERT_EQ(set.InsertAt(1, 15), S_OK);
    EXPECT_EQ(Ids(set), (std::vector<uintptr_t>{10, 15, kWideId, 30}));
    ASSERT_EQ(set.RemoveAt(0), S_OK);
    EXPECT_EQ(Ids(set), (std::vector<uintptr_t>{15, kWideId, 30}));
    ASSERT_EQ(set.SetAt(2, 99), S_OK);
    EXPECT_EQ(Ids(set), (std::vector<uintptr_t>{15, kWideId, 99}));
    ASSERT_EQ(set.SetSize(5), S_OK);
    EXPECT_EQ(Ids(set), (std::vector<uintptr_t>{15, kWideId, 99, 0, 0}));
    ASSERT_EQ(set.SetSize(1, 4), S_OK);
    EXPECT_EQ(Ids(set), (std::vector<uintptr_t>{15}));
    ASSERT_EQ(set.RemoveAll(), S_OK);
    EXPECT_TRUE(Ids(set).empty());
}

TEST(SelectionSetObject, InsertPastTheEndFillsWithZero)
{
    CSelectionSetObject set;
    ASSERT_EQ(set.InsertAt(5, 7), S_OK);
    EXPECT_EQ(Ids(set), (std::vector<uintptr_t>{0, 0, 0, 0, 0, 7}));
}

TEST(SelectionSetObject, InsertWithCountAtIncreasingPositions)
{
    CSelectionSetObject set;
    for (int32_t i = 0; i < 3; ++i) {
        ASSERT_EQ(set.InsertAt(i, static_cast<uintptr_t>(100 + i), 1), S_OK);
    }
    ASSERT_EQ(set.InsertAt(1, 5, 2), S_OK);
    EXPECT_EQ(Ids(set), (std::vector<uintptr_t>{100, 5, 5, 101, 102}));
    EXPECT_EQ(set.GetCount(), 5);
    EXPECT_EQ(set.GetAt(3), 101u);
    EXPECT_EQ(set.GetAt(5), 0u);
}

TEST(SelectionSetObject, BadIndexFailsWithoutEffect)
{
    struct Case {
        const char* name;
        HRESULT (*act)(ISelectionSet&);
    };
    const Case kCases[] = {
        {"set_at_negative", [](ISelectionSet& s) { return s.SetAt(-1, 5); }},
        {"set_at_count", [](ISelectionSet& s) { return s.SetAt(2, 5); }},
        {"remove_at_negative", [](ISelectionSet& s) { return s.RemoveAt(-1); }},
        {"remove_at_count", [](ISelectionSet& s) { return s.RemoveAt(2); }},
        {"insert_at_negative", [](ISelectionSet& s) { return s.InsertAt(-1, 5); }},
        {"insert_far_past_the_end", [](ISelectionSet& s) { return s.InsertAt(INT32_MAX, 5); }},
        {"set_size_negative", [](ISelectionSet& s) { return s.SetSize(-3); }},
        {"set_size_huge", [](ISelectionSet& s) { return s.SetSize(INT32_MAX, 1); }},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        CSelectionSetObject set;
        ASSERT_EQ(set.Add(1), S_OK);
        ASSERT_EQ(set.Add(2), S_OK);
        EXPECT_EQ(c.act(set), E_FAIL);
        EXPECT_EQ(Ids(set), (std::vector<uintptr_t>{1, 2}));
    }
}

TEST(SelectionSetObject, GetAtOutsideLeavesOutputAlone)
{
    CSelectionSetObject set;
    ASSERT_EQ(set.Add(1), S_OK);
    for (int32_t index : {-1, 1, 100}) {
        SCOPED_TRACE(index);
        uintptr_t id = 0xabcd;
        EXPECT_EQ(set.GetAt(index, &id), E_FAIL);
        EXPECT_EQ(id, 0xabcdu);
    }
}

TEST(SelectionSetObject, QueryInterfaceAnswersItsChainOnly)
{
    CSelectionSetObject set;
    for (const IID* iid : {&IID_IUnknown, &IID_ISelectionSet}) {
        ComPtr<IUnknown> answer;
        EXPECT_EQ(set.QueryInterface(*iid, answer.ReceiveVoid()), S_OK);
        EXPECT_EQ(static_cast<void*>(answer.Get()), static_cast<ISelectionSet*>(&set));
    }
    for (const IID* iid : {&IID_IPickRegion, &IID_IPointList, &IID_IReserved38}) {
        void* out = &set;
        EXPECT_EQ(set.QueryInterface(*iid, &out), E_NOINTERFACE);
        EXPECT_EQ(out, nullptr);
    }
    EXPECT_EQ(set.GetReferenceCount(), 0u);
}

// A set lent by its owner (a local here) survives what a borrower may do
// with it: a QueryInterface + Release pair, and even a stray Release.
TEST(SelectionSetObject, LentSetSurvivesBorrowersRelease)
{
    CSelectionSetObject set;
    ASSERT_EQ(set.Add(42), S_OK);
    ISelectionSet* lent = &set;
    ISelectionSet* queried = nullptr;
    ASSERT_EQ(lent->QueryInterface(IID_ISelectionSet, reinterpret_cast<void**>(&queried)), S_OK);
    EXPECT_EQ(queried->Release(), 0u);
    EXPECT_EQ(lent->Release(), 0u);
    EXPECT_EQ(set.GetReferenceCount(), 0u);
    EXPECT_EQ(Ids(set), (std::vector<uintptr_t>{42}));
}

TEST(SelectionSetObject, CountedSetIsDestroyedByLastRelease)
{
    CSelectionSetObject* set = CSelectionSetObject::Create();
    EXPECT_EQ(set->GetReferenceCount(), 0u);
    EXPECT_EQ(set->AddRef(), 1u);
    EXPECT_EQ(set->AddRef(), 2u);
    EXPECT_EQ(set->Release(), 1u);
    // The sanitizer build reports a leak if this Release does not destroy.
    EXPECT_EQ(set->Release(), 0u);
}

}  // namespace
