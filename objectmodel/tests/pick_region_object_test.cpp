// Tests of the pick region: its id list and index checks, the planes, line
// and corners it lends, box and point picks, validity, its interface chain,
// and that lent regions and their members survive a borrower's release.
#include "objectmodel/pick_region_object.h"

#include <gtest/gtest.h>

#include <vector>

#include "objectmodel/tests/entity_test_support.h"

namespace {

using entity_test::Near;
using entity_test::V;

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

// Picked ids are record pointers: wider than 32 bits on this platform.
constexpr uintptr_t kWideId = static_cast<uintptr_t>(0x7ffe00001234ull);

TEST(PickRegionObject, IdListThroughTheInterface)
{
    CPickRegionObject region;
    ISelectionSet& set = region;
    ASSERT_EQ(set.Add(kWideId), S_OK);
    ASSERT_EQ(set.InsertAt(3, 9), S_OK);
    EXPECT_EQ(Ids(set), (std::vector<uintptr_t>{kWideId, 0, 0, 9}));
    ASSERT_EQ(set.RemoveAt(1), S_OK);
    ASSERT_EQ(set.SetAt(1, 8), S_OK);
    EXPECT_EQ(Ids(set), (std::vector<uintptr_t>{kWideId, 8, 9}));
    EXPECT_EQ(region.GetCount(), 3);
    EXPECT_EQ(region.GetAt(0), kWideId);
    EXPECT_EQ(region.GetAt(3), 0u);
    ASSERT_EQ(set.SetSize(1), S_OK);
    EXPECT_EQ(Ids(set), (std::vector<uintptr_t>{kWideId}));
}

TEST(PickRegionObject, BadIndexFailsWithoutEffect)
{
    struct Case {
        const char* name;
        HRESULT (*act)(ISelectionSet&);
    };
    const Case kCases[] = {
        {"set_at_count", [](ISelectionSet& s) { return s.SetAt(1, 5); }},
        {"get_at_negative",
         [](ISelectionSet& s) {
             uintptr_t id = 0;
             return s.GetAt(-1, &id);
         }},
        {"remove_at_count", [](ISelectionSet& s) { return s.RemoveAt(1); }},
        {"insert_at_negative", [](ISelectionSet& s) { return s.InsertAt(-2, 5); }},
        {"set_size_negative", [](ISelectionSet& s) { return s.SetSize(-1, -1); }},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        CPickRegionObject region;
        ASSERT_EQ(region.Add(4), S_OK);
        EXPECT_EQ(c.act(region), E_FAIL);
        EXPECT_EQ(Ids(region), (std::vector<uintptr_t>{4}));
    }
}

TEST(PickRegionObject, PlanesComeLeftBottomRightTop)
{
    CPickRegionObject region;
    region.TopPlane().SetNormalValue(V(0, -1, 0));
    region.BottomPlane().SetNormalValue(V(0, 1, 0));
    region.RightPlane().SetNormalValue(V(-1, 0, 0));
    region.LeftPlane().SetNormalValue(V(1, 0, 0));
    IPlane* left = nullptr;
    IPlane* bottom = nullptr;
    IPlane* right = nullptr;
    IPlane* top = nullptr;
    ASSERT_EQ(region.GetPlanes(&left, &bottom, &right, &top), S_OK);
    EXPECT_EQ(left, &region.LeftPlane());
    EXPECT_EQ(bottom, &region.BottomPlane());
    EXPECT_EQ(right, &region.RightPlane());
    EXPECT_EQ(top, &region.TopPlane());
    EXPECT_TRUE(Near(CPlaneObject(left).GetNormalValue(), V(1, 0, 0)));
    EXPECT_TRUE(Near(CPlaneObject(top).GetNormalValue(), V(0, -1, 0)));

    ILine* line = nullptr;
    region.PickLine().SetDirection(V(0, 0, -1));
    ASSERT_EQ(region.GetLine(&line), S_OK);
    EXPECT_EQ(line, &region.PickLine());
}

TEST(PickRegionObject, BoxAndPointPicks)
{
    struct Case {
        const char* name;
        CPoint2 first;
        CPoint2 second;
        bool box;
    };
    const Case kCases[] = {
        {"single_pick", CPoint2(12.0, -4.0), CPoint2(12.0, -4.0), false},
        {"within_tolerance", CPoint2(12.0, -4.0), CPoint2(12.0000005, -4.0), false},
        {"box", CPoint2(0.0, 0.0), CPoint2(30.0, 20.0), true},
        {"flat_box", CPoint2(0.0, 5.0), CPoint2(0.00001, 5.0), true},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        CPickRegionObject region;
        region.FirstCorner() = c.first;
        region.SecondCorner() = c.second;
        BOOL box = 7;
        BOOL point = 7;
        ASSERT_EQ(region.IsBox(&box), S_OK);
        ASSERT_EQ(region.IsPoint(&point), S_OK);
        EXPECT_EQ(box, c.box ? TRUE : FALSE);
        EXPECT_EQ(point, c.box ? FALSE : TRUE);

        CPoint2 first;
        CPoint2 second;
        ASSERT_EQ(region.GetFirstCorner(&first), S_OK);
        ASSERT_EQ(region.GetSecondCorner(&second), S_OK);
        EXPECT_DOUBLE_EQ(first.x.GetValue(), c.first.x.GetValue());
        EXPECT_DOUBLE_EQ(first.y.GetValue(), c.first.y.GetValue());
        EXPECT_DOUBLE_EQ(second.x.GetValue(), c.second.x.GetValue());
        EXPECT_DOUBLE_EQ(second.y.GetValue(), c.second.y.GetValue());
    }
}

TEST(PickRegionObject, InvalidRegionLendsNothing)
{
    CPickRegionObject region;
    BOOL valid = 7;
    ASSERT_EQ(region.IsValid(&valid), S_OK);
    EXPECT_EQ(valid, TRUE);

    region.SetValid(false);
    region.SecondCorner() = CPoint2(5.0, 5.0);
    ASSERT_EQ(region.IsValid(&valid), S_OK);
    EXPECT_EQ(valid, FALSE);
    IPlane* const marker = reinterpret_cast<IPlane*>(0x1);
    IPlane* planes[4] = {marker, marker, marker, marker};
    EXPECT_EQ(region.GetPlanes(&planes[0], &planes[1], &planes[2], &planes[3]), E_FAIL);
    for (IPlane* plane : planes) {
        EXPECT_EQ(plane, marker);
    }
    ILine* line = reinterpret_cast<ILine*>(0x1);
    EXPECT_EQ(region.GetLine(&line), E_FAIL);
    EXPECT_EQ(line, reinterpret_cast<ILine*>(0x1));
    CPoint2 corner(-1.0, -1.0);
    EXPECT_EQ(region.GetFirstCorner(&corner), E_FAIL);
    EXPECT_EQ(region.GetSecondCorner(&corner), E_FAIL);
    EXPECT_DOUBLE_EQ(corner.x.GetValue(), -1.0);
    BOOL box = 7;
    BOOL point = 7;
    ASSERT_EQ(region.IsBox(&box), S_OK);
    ASSERT_EQ(region.IsPoint(&point), S_OK);
    EXPECT_EQ(box, FALSE);
    EXPECT_EQ(point, FALSE);
}

TEST(PickRegionObject, QueryInterfaceAnswersItsChain)
{
    CPickRegionObject region;
    for (const InterfaceIdEntry& entry : kInterfaceIdTable) {
        SCOPED_TRACE(entry.name);
        const bool inChain = *entry.id == IID_ISelectionSet || *entry.id == IID_IPickRegion;
        void* out = reinterpret_cast<void*>(0x1);
        EXPECT_EQ(region.QueryInterface(*entry.id, &out), inChain ? S_OK : E_NOINTERFACE);
        EXPECT_EQ(out, inChain ? static_cast<void*>(static_cast<IPickRegion*>(&region)) : nullptr);
        // The answer's reference is let go with the loop step.
        const auto answer = ComPtr<IUnknown>::Adopt(static_cast<IUnknown*>(out));
        if (inChain) {
            EXPECT_EQ(region.GetReferenceCount(), 1u);
        }
    }
    EXPECT_EQ(region.GetReferenceCount(), 0u);
}

// The picker's region is a member and the host's hand-over regions are
// locals: what a command does with the lent pointers must not destroy them.
TEST(PickRegionObject, LentRegionAndItsMembersSurviveBorrowers)
{
    CPickRegionObject region;
    ASSERT_EQ(region.Add(kWideId), S_OK);
    ISelectionSet* lent = &region;

    IPickRegion* queried = nullptr;
    ASSERT_EQ(lent->QueryInterface(IID_IPickRegion, reinterpret_cast<void**>(&queried)), S_OK);
    EXPECT_EQ(queried->Release(), 0u);
    EXPECT_EQ(lent->Release(), 0u);

    IPlane* planes[4] = {};
    ASSERT_EQ(queried->GetPlanes(&planes[0], &planes[1], &planes[2], &planes[3]), S_OK);
    for (IPlane* plane : planes) {
        IPlane* again = nullptr;
        ASSERT_EQ(plane->QueryInterface(IID_IPlane, reinterpret_cast<void**>(&again)), S_OK);
        EXPECT_EQ(again->Release(), 0u);
        EXPECT_EQ(plane->Release(), 0u);
    }
    ILine* line = nullptr;
    ASSERT_EQ(queried->GetLine(&line), S_OK);
    ILine* lineAgain = nullptr;
    ASSERT_EQ(line->QueryInterface(IID_ILine, reinterpret_cast<void**>(&lineAgain)), S_OK);
    EXPECT_EQ(lineAgain->Release(), 0u);

    EXPECT_EQ(Ids(region), (std::vector<uintptr_t>{kWideId}));
    BOOL valid = FALSE;
    ASSERT_EQ(region.IsValid(&valid), S_OK);
    EXPECT_EQ(valid, TRUE);
}

TEST(PickRegionObject, CopiedRegionIsLentToo)
{
    CPickRegionObject original;
    ASSERT_EQ(original.Add(3), S_OK);
    original.FirstCorner() = CPoint2(1.0, 2.0);
    original.LeftPlane().SetOriginValue(V(4, 0, 0));
    CPickRegionObject copy(original);
    EXPECT_EQ(Ids(copy), (std::vector<uintptr_t>{3}));
    EXPECT_TRUE(Near(copy.LeftPlane().GetOriginValue(), V(4, 0, 0)));
    copy.LeftPlane().AddRef();
    EXPECT_EQ(copy.LeftPlane().Release(), 0u);
    copy.AddRef();
    EXPECT_EQ(copy.Release(), 0u);
    EXPECT_EQ(copy.GetCount(), 1);
}

TEST(PickRegionObject, CountedRegionIsDestroyedByLastRelease)
{
    CPickRegionObject* region = CPickRegionObject::Create();
    EXPECT_EQ(region->GetReferenceCount(), 0u);
    ISelectionSet* set = nullptr;
    ASSERT_EQ(region->QueryInterface(IID_ISelectionSet, reinterpret_cast<void**>(&set)), S_OK);
    ASSERT_EQ(set->Add(1), S_OK);
    // The sanitizer build reports a leak if this Release does not destroy.
    EXPECT_EQ(set->Release(), 0u);
}

}  // namespace
