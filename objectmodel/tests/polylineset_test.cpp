// CPolylineSet: building, resizing, clearing, and every index-taking
// operation with indices out of range.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>

#include "objectmodel/polylineset.h"

namespace {

// A set holding three polylines: 0 with two points (tag 2), 1 empty (tag 3),
// 2 with one point (tag 6).
class PolylineSetFixture : public testing::Test {
protected:
    void SetUp() override
    {
        m_set = ComPtr<IPolylineSet>::Share(new CPolylineSet());
        ASSERT_EQ(m_set->AddPolyline(2, 2), S_OK);
        ASSERT_EQ(m_set->SetPoint(0, 0, 1.0, 2.0, 3.0), S_OK);
        ASSERT_EQ(m_set->SetPoint(0, 1, 4.0, 5.0, 6.0), S_OK);
        ASSERT_EQ(m_set->AddPolylines(1, 3), S_OK);
        ASSERT_EQ(m_set->AddPolyline(1, 6), S_OK);
        ASSERT_EQ(m_set->SetPoint(2, 0, 7.0, 8.0, 9.0), S_OK);
    }

    // Count, point counts, tags and every coordinate, to show that nothing changed.
    std::vector<double> Fingerprint()
    {
        std::vector<double> result;
        uint32_t count = 0;
        EXPECT_EQ(m_set->GetCount(&count), S_OK);
        result.push_back(count);
        for (int32_t i = 0; i < static_cast<int32_t>(count); ++i) {
            uint32_t points = 0;
            uint32_t tag = 0;
            EXPECT_EQ(m_set->GetPointCount(i, &points), S_OK);
            EXPECT_EQ(m_set->GetTag(i, &tag), S_OK);
            result.push_back(points);
            result.push_back(tag);
            for (int32_t j = 0; j < static_cast<int32_t>(points); ++j) {
                double x = 0, y = 0, z = 0;
                EXPECT_EQ(m_set->GetPoint(i, j, &x, &y, &z), S_OK);
                result.insert(result.end(), {x, y, z});
            }
        }
        return result;
    }

    ComPtr<IPolylineSet> m_set;
};

TEST(PolylineSet, NewSetIsEmpty)
{
    ComPtr<IPolylineSet> set = ComPtr<IPolylineSet>::Share(new CPolylineSet());
    uint32_t count = 99;
    EXPECT_EQ(set->GetCount(&count), S_OK);
    EXPECT_EQ(count, 0u);
    uint32_t points = 99;
    EXPECT_EQ(set->GetPointCount(0, &points), S_OK);
    EXPECT_EQ(points, 0u);
    uint32_t tag = 99;
    EXPECT_EQ(set->GetTag(0, &tag), E_FAIL);
    EXPECT_EQ(tag, 99u);
    EXPECT_EQ(set->NotImplemented(nullptr), E_NOTIMPL);
}

TEST(PolylineSet, AddPointsToOneOfSeveralPolylines)
{
    ComPtr<IPolylineSet> set = ComPtr<IPolylineSet>::Share(new CPolylineSet());
    ASSERT_EQ(set->AddPolylines(3, 3), S_OK);
    ASSERT_EQ(set->AddPoint(1, 1.0, 2.0, 3.0), S_OK);
    ASSERT_EQ(set->AddPoint(1, 4.0, 5.0, 6.0), S_OK);
    const uint32_t expectedCounts[] = {0, 2, 0};
    for (int32_t i = 0; i < 3; ++i) {
        uint32_t points = 99;
        uint32_t tag = 0;
        EXPECT_EQ(set->GetPointCount(i, &points), S_OK);
        EXPECT_EQ(points, expectedCounts[i]);
        EXPECT_EQ(set->GetTag(i, &tag), S_OK);
        EXPECT_EQ(tag, 3u);
    }
    double x = 0, y = 0, z = 0;
    ASSERT_EQ(set->GetPoint(1, 0, &x, &y, &z), S_OK);
    EXPECT_DOUBLE_EQ(x, 1.0);
    ASSERT_EQ(set->GetPoint(1, 1, &x, &y, &z), S_OK);
    EXPECT_DOUBLE_EQ(x, 4.0);
    EXPECT_DOUBLE_EQ(y, 5.0);
    EXPECT_DOUBLE_EQ(z, 6.0);
}

TEST(PolylineSet, SetPointCountKeepsTheFirstPointsAndZeroesNewOnes)
{
    ComPtr<IPolylineSet> set = ComPtr<IPolylineSet>::Share(new CPolylineSet());
    ASSERT_EQ(set->AddPolyline(5, 2), S_OK);
    for (int32_t j = 0; j < 5; ++j) {
        ASSERT_EQ(set->SetPoint(0, j, j, 10.0 * j, 100.0 * j), S_OK);
    }
    ASSERT_EQ(set->SetPointCount(0, 2), S_OK);
    uint32_t points = 0;
    set->GetPointCount(0, &points);
    EXPECT_EQ(points, 2u);
    ASSERT_EQ(set->SetPointCount(0, 5), S_OK);
    set->GetPointCount(0, &points);
    EXPECT_EQ(points, 5u);
    const double expectedX[] = {0.0, 1.0, 0.0, 0.0, 0.0};
    const double expectedY[] = {0.0, 10.0, 0.0, 0.0, 0.0};
    for (int32_t j = 0; j < 5; ++j) {
        SCOPED_TRACE(j);
        double x = -1, y = -1, z = -1;
        ASSERT_EQ(set->GetPoint(0, j, &x, &y, &z), S_OK);
        EXPECT_DOUBLE_EQ(x, expectedX[j]);
        EXPECT_DOUBLE_EQ(y, expectedY[j]);
        EXPECT_DOUBLE_EQ(z, 10.0 * expectedY[j]);
    }
}

TEST(PolylineSet, NewPolylinePointsAreZero)
{
    ComPtr<IPolylineSet> set = ComPtr<IPolylineSet>::Share(new CPolylineSet());
    ASSERT_EQ(set->AddPolyline(3, 1), S_OK);
    for (int32_t j = 0; j < 3; ++j) {
        double x = -1, y = -1, z = -1;
        ASSERT_EQ(set->GetPoint(0, j, &x, &y, &z), S_OK);
        EXPECT_DOUBLE_EQ(x, 0.0);
        EXPECT_DOUBLE_EQ(y, 0.0);
        EXPECT_DOUBLE_EQ(z, 0.0);
    }
}

TEST_F(PolylineSetFixture, ClearEmptiesTheSet)
{
    ASSERT_EQ(m_set->Clear(), S_OK);
    uint32_t count = 99;
    EXPECT_EQ(m_set->GetCount(&count), S_OK);
    EXPECT_EQ(count, 0u);
    double x = 0, y = 0, z = 0;
    EXPECT_EQ(m_set->GetPoint(0, 0, &x, &y, &z), E_FAIL);
    // Still usable afterwards.
    ASSERT_EQ(m_set->AddPolyline(1, 2), S_OK);
    EXPECT_EQ(m_set->GetCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
}

struct OutOfRangeCase {
    const char* name;
    std::function<HRESULT(IPolylineSet*)> call;
    HRESULT expected;
};

TEST_F(PolylineSetFixture, IndicesOutOfRangeChangeNothing)
{
    double x = -1, y = -1, z = -1;
    uint32_t value = 77;
    const int32_t kMin = std::numeric_limits<int32_t>::min();
    const OutOfRangeCase cases[] = {
        {"set_tag_past_end", [](IPolylineSet* s) { return s->SetTag(3, 9); }, E_FAIL},
        {"set_tag_negative", [](IPolylineSet* s) { return s->SetTag(-1, 9); }, E_FAIL},
        {"set_point_polyline_past_end", [](IPolylineSet* s) { return s->SetPoint(3, 0, 9, 9, 9); }, E_FAIL},
        {"set_point_polyline_negative", [&](IPolylineSet* s) { return s->SetPoint(kMin, 0, 9, 9, 9); }, E_FAIL},
        {"set_point_point_past_end", [](IPolylineSet* s) { return s->SetPoint(0, 2, 9, 9, 9); }, E_FAIL},
        {"set_point_point_negative", [](IPolylineSet* s) { return s->SetPoint(0, -1, 9, 9, 9); }, E_FAIL},
        {"set_point_in_empty_polyline", [](IPolylineSet* s) { return s->SetPoint(1, 0, 9, 9, 9); }, E_FAIL},
        {"get_point_polyline_past_end", [&](IPolylineSet* s) { return s->GetPoint(3, 0, &x, &y, &z); }, E_FAIL},
        {"get_point_polyline_negative", [&](IPolylineSet* s) { return s->GetPoint(-2, 0, &x, &y, &z); }, E_FAIL},
        {"get_point_point_past_end", [&](IPolylineSet* s) { return s->GetPoint(2, 1, &x, &y, &z); }, E_FAIL},
        {"get_point_point_negative", [&](IPolylineSet* s) { return s->GetPoint(0, -1, &x, &y, &z); }, E_FAIL},
        {"get_tag_past_end", [&](IPolylineSet* s) { return s->GetTag(3, &value); }, E_FAIL},
        {"get_tag_negative", [&](IPolylineSet* s) { return s->GetTag(-1, &value); }, E_FAIL},
        {"add_point_past_end", [](IPolylineSet* s) { return s->AddPoint(4, 9, 9, 9); }, S_OK},
        {"add_point_at_count", [](IPolylineSet* s) { return s->AddPoint(3, 9, 9, 9); }, S_OK},
        {"add_point_negative", [](IPolylineSet* s) { return s->AddPoint(-1, 9, 9, 9); }, S_OK},
        {"set_point_count_past_end", [](IPolylineSet* s) { return s->SetPointCount(3, 4); }, S_OK},
        {"set_point_count_negative", [&](IPolylineSet* s) { return s->SetPointCount(kMin, 4); }, S_OK},
        // Counts no i32 index could address are refused before any allocation.
        {"set_point_count_too_large", [](IPolylineSet* s) { return s->SetPointCount(0, 0x80000000u); },
         E_INVALIDARG},
        {"add_polyline_too_large", [](IPolylineSet* s) { return s->AddPolyline(0xFFFFFFFFu, 2); }, E_INVALIDARG},
        {"add_polylines_too_many", [](IPolylineSet* s) { return s->AddPolylines(0x7FFFFFFFu, 2); }, E_INVALIDARG},
        {"get_count_null", [](IPolylineSet* s) { return s->GetCount(nullptr); }, E_POINTER},
        {"get_point_null", [&](IPolylineSet* s) { return s->GetPoint(0, 0, &x, nullptr, &z); }, E_POINTER},
    };
    const std::vector<double> before = Fingerprint();
    for (const OutOfRangeCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.call(m_set.Get()), c.expected);
        EXPECT_EQ(Fingerprint(), before);
    }
    // Out-parameters were never written.
    EXPECT_DOUBLE_EQ(x, -1.0);
    EXPECT_DOUBLE_EQ(z, -1.0);
    EXPECT_EQ(value, 77u);
}

TEST_F(PolylineSetFixture, PointCountOfABadIndexIsZero)
{
    for (int32_t bad : {3, 100, -1, std::numeric_limits<int32_t>::min()}) {
        SCOPED_TRACE(bad);
        uint32_t points = 99;
        EXPECT_EQ(m_set->GetPointCount(bad, &points), S_OK);
        EXPECT_EQ(points, 0u);
    }
}

TEST_F(PolylineSetFixture, InRangeIndicesWork)
{
    ASSERT_EQ(m_set->SetTag(1, 5), S_OK);
    uint32_t tag = 0;
    ASSERT_EQ(m_set->GetTag(1, &tag), S_OK);
    EXPECT_EQ(tag, 5u);
    ASSERT_EQ(m_set->SetPoint(0, 1, -1.0, -2.0, -3.0), S_OK);
    double x = 0, y = 0, z = 0;
    ASSERT_EQ(m_set->GetPoint(0, 1, &x, &y, &z), S_OK);
    EXPECT_DOUBLE_EQ(y, -2.0);
    const auto& polylines = static_cast<CPolylineSet*>(m_set.Get())->Polylines();
    ASSERT_EQ(polylines.size(), 3u);
    EXPECT_EQ(polylines[2].tag, 6u);
    EXPECT_DOUBLE_EQ(polylines[2].points[0].z, 9.0);
}

} // namespace
