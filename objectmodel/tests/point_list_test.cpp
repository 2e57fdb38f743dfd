// Tests of the point list: appending, inserting past the end, the index
// checks of every index-taking operation, nearest point to a line, and its
// lifetime.
#include "objectmodel/point_list.h"

#include <gtest/gtest.h>

#include <vector>

#include "objectmodel/line_object.h"
#include "objectmodel/tests/entity_test_support.h"

namespace {

using entity_test::Near;
using entity_test::V;

void Fill(CPointList& list, const std::vector<CVector3>& points)
{
    for (CVector3 point : points) {
        ASSERT_EQ(list.Add(&point), S_OK);
    }
}

void ExpectPoints(const CPointList& list, const std::vector<CVector3>& expected)
{
    ASSERT_EQ(list.GetCount(), static_cast<int32_t>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(Near(list.GetAt(static_cast<int32_t>(i)), expected[i]));
    }
}

// A source list that reports a count but cannot hand out its points.
class CBrokenPointList : public IPointList {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Append(IPointList*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE SetAt(int32_t, IVector3*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE GetAt(int32_t index, IVector3** point) override
    {
        if (index == 0) {
            *point = &m_point;
            return S_OK;
        }
        return E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE RemoveAll() override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE RemoveAt(int32_t) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE InsertAt(int32_t, IVector3*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE Add(IVector3*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE GetCount(int32_t* count) override
    {
        *count = m_count;
        return m_countResult;
    }
    HRESULT STDMETHODCALLTYPE SetSize(int32_t) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE SetSize(int32_t, int32_t) override { return E_FAIL; }

    int32_t m_count = 3;
    HRESULT m_countResult = S_OK;

private:
    CVector3 m_point = V(1, 1, 1);
};

TEST(PointList, NewListIsEmptyAndUncounted)
{
    CPointList list;
    int32_t count = -1;
    ASSERT_EQ(list.GetCount(&count), S_OK);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(list.GetReferenceCount(), 0u);
}

TEST(PointList, AppendKeepsOrder)
{
    CPointList list;
    Fill(list, {V(1, 0, 0), V(2, 0, 0)});
    CPointList other;
    Fill(other, {V(3, 0, 0), V(4, 0, 0), V(5, 0, 0)});
    ASSERT_EQ(list.Append(&other), S_OK);
    ExpectPoints(list, {V(1, 0, 0), V(2, 0, 0), V(3, 0, 0), V(4, 0, 0), V(5, 0, 0)});
    ExpectPoints(other, {V(3, 0, 0), V(4, 0, 0), V(5, 0, 0)});
}

TEST(PointList, AppendToItselfDoublesTheList)
{
    CPointList list;
    Fill(list, {V(1, 2, 3), V(4, 5, 6)});
    ASSERT_EQ(list.Append(&list), S_OK);
    ExpectPoints(list, {V(1, 2, 3), V(4, 5, 6), V(1, 2, 3), V(4, 5, 6)});
}

TEST(PointList, AppendFromAFailingSourceChangesNothing)
{
    struct Case {
        const char* name;
        int32_t count;
        HRESULT countResult;
    };
    const Case kCases[] = {
        {"count_fails", 1, E_FAIL},
        {"negative_count", -4, S_OK},
        {"points_missing", 3, S_OK},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        CBrokenPointList source;
        source.m_count = c.count;
        source.m_countResult = c.countResult;
        CPointList list;
        Fill(list, {V(7, 7, 7)});
        EXPECT_EQ(list.Append(&source), E_FAIL);
        ExpectPoints(list, {V(7, 7, 7)});
    }
}

TEST(PointList, InsertPastTheEndFillsWithOrigin)
{
    CPointList list;
    Fill(list, {V(1, 1, 1), V(2, 2, 2)});
    CVector3 p = V(9, 8, 7);
    ASSERT_EQ(list.InsertAt(5, &p), S_OK);
    ExpectPoints(list, {V(1, 1, 1), V(2, 2, 2), V(0, 0, 0), V(0, 0, 0), V(0, 0, 0), V(9, 8, 7)});
    CVector3 q = V(5, 5, 5);
    ASSERT_EQ(list.InsertAt(1, &q), S_OK);
    EXPECT_TRUE(Near(list.GetAt(1), q));
    EXPECT_TRUE(Near(list.GetAt(2), V(2, 2, 2)));
}

TEST(PointList, SetAtRemoveAtAndSetSize)
{
    CPointList list;
    Fill(list, {V(1, 0, 0), V(2, 0, 0), V(3, 0, 0)});
    CVector3 p = V(0, 0, 9);
    ASSERT_EQ(list.SetAt(2, &p), S_OK);
    ASSERT_EQ(list.RemoveAt(0), S_OK);
    ExpectPoints(list, {V(2, 0, 0), V(0, 0, 9)});
    ASSERT_EQ(list.SetSize(4), S_OK);
    ExpectPoints(list, {V(2, 0, 0), V(0, 0, 9), V(0, 0, 0), V(0, 0, 0)});
    ASSERT_EQ(list.SetSize(1, 3), S_OK);
    ExpectPoints(list, {V(2, 0, 0)});
    ASSERT_EQ(list.SetSize(2, -1), S_OK);
    ExpectPoints(list, {V(2, 0, 0), V(0, 0, 0)});
    ASSERT_EQ(list.RemoveAll(), S_OK);
    EXPECT_EQ(list.GetCount(), 0);
}

TEST(PointList, GetAtLendsTheStoredPoint)
{
    CPointList list;
    Fill(list, {V(1, 2, 3)});
    IVector3* stored = nullptr;
    ASSERT_EQ(list.GetAt(0, &stored), S_OK);
    CVector3 changed = V(4, 5, 6);
    ASSERT_EQ(stored->CopyFrom(&changed), S_OK);
    EXPECT_TRUE(Near(list.GetAt(0), changed));
}

TEST(PointList, BadIndexFailsWithoutEffect)
{
    struct Case {
        const char* name;
        HRESULT (*act)(CPointList&);
    };
    static CVector3 point = V(5, 5, 5);
    const Case kCases[] = {
        {"set_at_negative", [](CPointList& l) { return l.SetAt(-1, &point); }},
        {"set_at_count", [](CPointList& l) { return l.SetAt(2, &point); }},
        {"remove_at_negative", [](CPointList& l) { return l.RemoveAt(-1); }},
        {"remove_at_count", [](CPointList& l) { return l.RemoveAt(2); }},
        {"insert_at_negative", [](CPointList& l) { return l.InsertAt(-1, &point); }},
        {"insert_far_past_the_end", [](CPointList& l) { return l.InsertAt(INT32_MAX, &point); }},
        {"set_size_negative", [](CPointList& l) { return l.SetSize(-1); }},
        {"set_size_huge", [](CPointList& l) { return l.SetSize(INT32_MAX, 2); }},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        CPointList list;
        Fill(list, {V(1, 0, 0), V(2, 0, 0)});
        EXPECT_EQ(c.act(list), E_FAIL);
        ExpectPoints(list, {V(1, 0, 0), V(2, 0, 0)});
    }
}

TEST(PointList, GetAtOutsideLeavesOutputAlone)
{
    CPointList list;
    Fill(list, {V(1, 0, 0)});
    IVector3* const marker = reinterpret_cast<IVector3*>(0x1);
    for (int32_t index : {-1, 1, 1000}) {
        SCOPED_TRACE(index);
        IVector3* out = marker;
        EXPECT_EQ(list.GetAt(index, &out), E_FAIL);
        EXPECT_EQ(out, marker);
        EXPECT_TRUE(Near(list.GetAt(index), V(0, 0, 0)));
    }
}

TEST(PointList, NearestToLine)
{
    CLineObject xAxis;
    struct Case {
        const char* name;
        std::vector<CVector3> points;
        CVector3 nearest;
    };
    const Case kCases[] = {
        {"single", {V(3, 4, 0)}, V(3, 4, 0)},
        {"tie_keeps_first", {V(1, 2, 0), V(9, 0, 2)}, V(1, 2, 0)},
        {"within_tolerance_keeps_first", {V(1, 2, 0), V(5, 2 - 5e-7, 0)}, V(1, 2, 0)},
        {"closer_by_more_replaces", {V(1, 2, 0), V(5, 2 - 2e-6, 0)}, V(5, 2 - 2e-6, 0)},
        {"best_in_the_middle", {V(0, 5, 0), V(0, 0, 1), V(0, 3, 0)}, V(0, 0, 1)},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        CPointList list;
        Fill(list, c.points);
        const std::optional<CVector3> nearest = list.NearestToLine(&xAxis);
        ASSERT_TRUE(nearest.has_value());
        EXPECT_TRUE(Near(*nearest, c.nearest, 1e-12));
    }
    CPointList empty;
    EXPECT_FALSE(empty.NearestToLine(&xAxis).has_value());
}

TEST(PointList, QueryInterfaceAnswersItsChain)
{
    ComPtr<CPointList> list = ComPtr<CPointList>::Share(new CPointList());
    entity_test::ExpectQueryInterfaceChain(*list.Get(), {&IID_IPointList});
}

TEST(PointList, LentListSurvivesBorrowersRelease)
{
    CPointList list(Lifetime::OwnerHeld);
    Fill(list, {V(1, 1, 1)});
    IPointList* queried = nullptr;
    ASSERT_EQ(list.QueryInterface(IID_IPointList, reinterpret_cast<void**>(&queried)), S_OK);
    EXPECT_EQ(queried->Release(), 0u);
    EXPECT_EQ(queried->Release(), 0u);
    ExpectPoints(list, {V(1, 1, 1)});
}

}  // namespace
