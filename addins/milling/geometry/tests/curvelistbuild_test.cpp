// Building curve lists from the approximations of curve entities.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "addins/milling/geometry/curvelistdebug.h"
#include "addins/milling/geometry/tests/shapes.h"
#include "ientitycomponent.h"
#include "igeometry.h"
#include "objectmodel/entity_defaults.h"
#include "objectmodel/polylineset.h"

namespace {

struct List {
    uint32_t tag;
    std::vector<CPoint3D> points;
};

// A curve entity that hands out a fixed approximation. The object model's
// own plane offers no approximation, so the tests stand in for the curve
// entities of the entity component with this one.
class CApproximatedCurve : public CEntityOperationsNotOffered<IPlane> {
public:
    explicit CApproximatedCurve(std::vector<List> lists, HRESULT answer = S_OK) : m_lists(std::move(lists)), m_answer(answer) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID*, IID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetApproximation(double, IPolylineSet** approximation, uint32_t mode) override
    {
        modeAsked = mode;
        if (m_answer != S_OK)
            return m_answer;
        auto* set = new CPolylineSet();
        set->AddRef();
        for (size_t i = 0; i < m_lists.size(); ++i) {
            set->AddPolyline(static_cast<uint32_t>(m_lists[i].points.size()), m_lists[i].tag);
            for (size_t k = 0; k < m_lists[i].points.size(); ++k) {
                const CPoint3D& p = m_lists[i].points[k];
                set->SetPoint(static_cast<int32_t>(i), static_cast<int32_t>(k), p.x, p.y, p.z);
            }
        }
        *approximation = set;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetParts(IPlane**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPartCount(int32_t* count) override
    {
        *count = 0;
        return E_NOTIMPL;
    }
    uint32_t modeAsked = 0;

private:
    std::vector<List> m_lists;
    HRESULT m_answer;
};

// Every segment starts where the one before it ends.
void ExpectChained(const CCurveList& list)
{
    for (int k = 1; k < list.GetCount(); ++k)
        EXPECT_EQ(list.segments[k - 1]->GetEndPoint().IsEqual(list.segments[k]->GetStartPoint()), 1)
            << "segment " << k << "\n" << ToInitializer(list);
}

TEST(AddEntityCurveTest, TagsInOrder)
{
    struct Case {
        const char* name;
        std::vector<List> lists;
        int segments;
        double length;
    };
    const CPoint3D up(0, 0, 1), down(0, 0, -1);
    const Case cases[] = {
        {"pieces_skip_repeated_pairs", {{1, {{0, 0, 0}, {1, 0, 0}, {1, 0, 0}, {1, 0, 0}, {1, 0, 0}, {1, 2, 0}}}}, 2,
         3.0},
        {"polyline_skips_repeated_points", {{2, {{0, 0, 0}, {1, 0, 0}, {1, 0, 5}, {1, 1, 0}}}}, 2, 2.0},
        {"arc_in_plane_ccw", {{7, {{1, 0, 0}, {0, 0, 0}, up, {0, 1, 0}}}}, 1, kPi / 2},
        {"arc_in_plane_cw", {{7, {{1, 0, 0}, {0, 0, 0}, down, {0, 1, 0}}}}, 1, 3 * kPi / 2},
        {"polyline_then_continued_arc",
         {{2, {{-1, 0, 0}, {1, 0, 0}}}, {8, {{0, 0, 0}, up, {-1, 0, 0}}}}, 2, 2.0 + kPi},
        {"polyline_then_continued_polyline", {{2, {{0, 0, 0}, {1, 0, 0}}}, {10, {{1, 1, 0}, {0, 1, 0}}}}, 3, 3.0},
        {"continued_polyline_first_starts_at_its_own_point", {{10, {{0, 0, 0}, {2, 0, 0}}}}, 1, 2.0},
        {"continued_arc_first_is_skipped", {{8, {{0, 0, 0}, up, {1, 0, 0}}}, {2, {{1, 0, 0}, {1, 1, 0}}}}, 1, 1.0},
        {"unknown_tag", {{4, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}}}, 0, 0.0},
        {"short_lists", {{7, {{0, 0, 0}, {1, 0, 0}}}, {1, {{0, 0, 0}}}}, 0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CApproximatedCurve curve(c.lists);
        CCurveList list;
        list.AddEntityCurve(&curve, nullptr, 0.003);
        EXPECT_EQ(curve.modeAsked, 1u);
        ASSERT_EQ(list.GetCount(), c.segments) << ToInitializer(list);
        EXPECT_NEAR(list.GetLength(), c.length, 1e-9);
        ExpectChained(list);
    }
}

TEST(AddEntityCurveTest, FailedApproximationAddsNothing)
{
    CApproximatedCurve curve({{2, {{0, 0, 0}, {1, 0, 0}}}}, E_FAIL);
    CCurveList list;
    list.AddEntityCurve(&curve, nullptr, 0.003);
    list.AddEntityCurve(nullptr, nullptr, 0.003);
    EXPECT_EQ(list.GetCount(), 0);
}

// A reversed curve gives the same segments turned round, in the reversed
// order, each starting where the one before it ends.
TEST(AddEntityCurveTest, ReversedCurveRunsBackwardsAsAChain)
{
    const CPoint3D up(0, 0, 1);
    const std::vector<List> lists = {
        {2, {{-1, 0, 0}, {1, 0, 0}}},
        {8, {{0, 0, 0}, up, {-1, 0, 0}}},
        {10, {{-1, -1, 0}, {0, -2, 0}}},
    };
    CApproximatedCurve curve(lists);
    CCurveList forward, backward;
    forward.AddEntityCurve(&curve, nullptr, 0.003);
    int flag = 1;
    backward.AddEntityCurve(&curve, &flag, 0.003);
    ASSERT_EQ(backward.GetCount(), forward.GetCount());
    ExpectChained(backward);
    EXPECT_EQ(backward.GetStartPoint().IsEqual(forward.GetEndPoint()), 1);
    EXPECT_EQ(backward.GetEndPoint().IsEqual(forward.GetStartPoint()), 1);
    EXPECT_NEAR(backward.GetLength(), forward.GetLength(), 1e-12);
    ASSERT_EQ(backward.segments[2]->GetType(), kSegmentTypeArc);
    EXPECT_EQ(static_cast<CArcSegment2D&>(*backward.segments[2]).ccw, 0);
}

// A chain of the entity component's shape: curves by index, each with its
// reversal; an index listed in missing cannot be handed out.
class CFixedChain : public ICurveSetEntity {
public:
    struct Entry {
        CApproximatedCurve* curve;
        bool reversed;
    };
    CFixedChain(std::vector<Entry> entries, std::vector<int> missing = {})
        : m_entries(std::move(entries)), m_missing(std::move(missing))
    {
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetCurveCount(int32_t* count) override
    {
        *count = static_cast<int32_t>(m_entries.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCurve(int32_t index, IPlane** curve, void** companion) override
    {
        if (index < 0 || static_cast<size_t>(index) >= m_entries.size() ||
            std::find(m_missing.begin(), m_missing.end(), index) != m_missing.end())
            return E_FAIL;
        *curve = m_entries[static_cast<size_t>(index)].curve;
        *companion = m_entries[static_cast<size_t>(index)].reversed ? this : nullptr;
        return S_OK;
    }

private:
    std::vector<Entry> m_entries;
    std::vector<int> m_missing;
};

// The curves of a chain follow each other in chain order, a reversed one
// turned round; a curve the chain cannot hand out is skipped.
TEST(AddEntitySegmentsTest, CurvesInChainOrderAndDirection)
{
    const CPoint3D down(0, 0, -1);
    CApproximatedCurve bottom({{2, {{0, 0, 0}, {10, 0, 0}}}});
    // Clockwise from (15, 5) to (10, 0); the chain runs it the other way.
    CApproximatedCurve corner({{7, {{15, 5, 0}, {10, 5, 0}, down, {10, 0, 0}}}});
    CApproximatedCurve unused({{2, {{50, 50, 0}, {60, 60, 0}}}});
    CApproximatedCurve right({{2, {{15, 10, 0}, {15, 5, 0}}}});
    CApproximatedCurve top({{2, {{15, 10, 0}, {0, 10, 0}}}});
    CFixedChain chain({{&bottom, false}, {&corner, true}, {&unused, false}, {&right, true}, {&top, false}}, {2});
    CCurveList list;
    list.AddEntitySegments(&chain, 0.003);
    ASSERT_EQ(list.GetCount(), 4) << ToInitializer(list);
    ExpectChained(list);
    ASSERT_EQ(list.segments[1]->GetType(), kSegmentTypeArc);
    EXPECT_EQ(static_cast<CArcSegment2D&>(*list.segments[1]).ccw, 1);
    EXPECT_EQ(list.segments[1]->GetStartPoint().IsEqual(CPoint2D(10, 0)), 1);
    EXPECT_EQ(list.segments[2]->GetStartPoint().IsEqual(CPoint2D(15, 5)), 1);
    EXPECT_EQ(list.GetEndPoint().IsEqual(CPoint2D(0, 10)), 1);

    CCurveList none;
    none.AddEntitySegments(nullptr, 0.003);
    EXPECT_EQ(none.GetCount(), 0);
}

// An arc out of the drawing plane becomes a polyline within the tolerance,
// once and in the right direction, also for a reversed curve.
TEST(AddEntityCurveTest, OutOfPlaneArcBecomesPolyline)
{
    const double tilt = std::sqrt(0.5);
    // A quarter arc of radius 10 about a tilted normal, from (10, 0, 0) to
    // (0, 10*tilt, 10*tilt).
    const std::vector<List> lists = {{7, {{10, 0, 0}, {0, 0, 0}, {0, -tilt, tilt}, {0, 10 * tilt, 10 * tilt}}}};
    CApproximatedCurve curve(lists);
    for (int reversed = 0; reversed < 2; ++reversed) {
        SCOPED_TRACE(reversed);
        CCurveList list;
        list.AddEntityCurve(&curve, reversed ? &reversed : nullptr, 0.003);
        ASSERT_GT(list.GetCount(), 10);
        ExpectChained(list);
        const CPoint2D a(10, 0), b(0, 10 * tilt);
        EXPECT_EQ(list.GetStartPoint().IsEqual(reversed ? b : a), 1);
        EXPECT_EQ(list.GetEndPoint().IsEqual(reversed ? a : b), 1);
        // Every vertex lies on the projected ellipse x^2 + (y/tilt)^2 = 100.
        for (const auto& s : list.segments) {
            const CPoint2D p = s->GetStartPoint();
            EXPECT_NEAR(p.x * p.x + (p.y / tilt) * (p.y / tilt), 100.0, 1e-6);
        }
    }
}

} // namespace
