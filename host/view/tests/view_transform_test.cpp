// The view's transforms: orientation from the document, matrices, cursor
// line and edge planes, at ordinary and extreme scales.
#include <gtest/gtest.h>

#include <cmath>

#include "host/view/tests/view_test_support.h"
#include "host/view/view_transform.h"

namespace {

// Relative closeness for coordinates that may be large.
void ExpectClose(const CVector3& actual, const CVector3& expected, double tolerance)
{
    const double size = std::max(1.0, expected.Length().GetValue());
    EXPECT_NEAR(actual.x.GetValue(), expected.x.GetValue(), tolerance * size);
    EXPECT_NEAR(actual.y.GetValue(), expected.y.GetValue(), tolerance * size);
    EXPECT_NEAR(actual.z.GetValue(), expected.z.GetValue(), tolerance * size);
}

class ViewTransformTest : public ::testing::Test {
protected:
    ViewDocumentFixture fixture;
    CNuvexDoc& document = fixture.document;
    CViewTransform view;

    void Orient(const CVector3& d, const CVector3& r)
    {
        for (int j = 0; j < 3; ++j) {
            SetDouble(document, kViewDirectionVariable + j, std::array{d.x, d.y, d.z}[j].GetValue());
            SetDouble(document, kViewRightDirectionVariable + j, std::array{r.x, r.y, r.z}[j].GetValue());
        }
    }
    void Update()
    {
        view.ReadViewOrientation(document);
        view.UpdateCursorCentre();
        view.BuildViewMatrices();
        view.UpdateCursorLine();
        view.UpdateEdgePlanes();
    }
};

TEST_F(ViewTransformTest, DefaultOrientationMapsTheXyPlaneByScaleAndPan)
{
    view.SetClientSize(400, 300);
    view.SetScale(2.5);
    view.SetPan(10.0, -4.0);
    Update();
    const CVector3 v = CVector3(3.0, 7.0, 0.0).Transform(view.ModelToView());
    ExpectClose(v, CVector3(2.5 * 13.0, 2.5 * 3.0, 0.0), 1e-12);
    const POINT client = view.ClientPointOf(view.ViewPointOf(CVector3(3.0, 7.0, 0.0)));
    EXPECT_EQ(client.x, 200 + 32);
    EXPECT_EQ(client.y, 150 - 7);
}

TEST_F(ViewTransformTest, CursorCentreUsesIntegerHalves)
{
    struct Case {
        int width, height;
        POINT client;
        POINT view;
    };
    const Case cases[] = {
        {101, 51, {50, 25}, {0, 0}},
        {100, 50, {0, 0}, {-50, 25}},
        {100, 50, {99, 49}, {49, -24}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        view.SetClientSize(c.width, c.height);
        view.SetCursorClient(c.client);
        view.UpdateCursorCentre();
        EXPECT_EQ(view.CursorView().x, c.view.x);
        EXPECT_EQ(view.CursorView().y, c.view.y);
        EXPECT_EQ(view.ClientPointOf(c.view).x, c.client.x);
        EXPECT_EQ(view.ClientPointOf(c.view).y, c.client.y);
    }
}

// Model -> view -> model, and the cursor line back onto the cursor, over
// the wheel's extreme scales and several orientations.
TEST_F(ViewTransformTest, RoundTripsAtExtremeScalesAndOrientations)
{
    const double s = 1.0 / std::sqrt(3.0);
    struct Orientation {
        const char* name;
        CVector3 d, r;
    };
    const Orientation orientations[] = {
        {"top", CVector3(0, 0, -1), CVector3(1, 0, 0)},
        {"front", CVector3(0, 1, 0), CVector3(1, 0, 0)},
        {"side", CVector3(-1, 0, 0), CVector3(0, 1, 0)},
        {"iso", CVector3(-s, s, -s), CVector3(1 / std::sqrt(2.0), 1 / std::sqrt(2.0), 0)},
    };
    const double scales[] = {2e-5, 1e-3, 1.0, 1e3, 1e5};
    const CVector3 points[] = {CVector3(0, 0, 0), CVector3(123.25, -98.5, 7.0), CVector3(-4e4, 2e4, 1e3)};
    for (const Orientation& o : orientations) {
        for (double scale : scales) {
            SCOPED_TRACE(std::string(o.name) + " scale " + std::to_string(scale));
            Orient(o.d, o.r);
            view.SetClientSize(640, 480);
            view.SetScale(scale);
            view.SetPan(1.5e3, -2.25e2);
            view.SetCursorClient(POINT{517, 33});
            Update();
            ASSERT_FALSE(view.ModelToView().IsSingular());
            for (const CVector3& p : points) {
                const CVector3 back = p.Transform(view.ModelToView()).Transform(view.ViewToModel());
                ExpectClose(back, p, 1e-9);
            }
            // The cursor line's point lies under the cursor at depth 0.
            const CVector3 cursor = view.CursorLine().GetPointValue().Transform(view.ModelToView());
            EXPECT_NEAR(cursor.x.GetValue(), view.CursorView().x, 1e-6);
            EXPECT_NEAR(cursor.y.GetValue(), view.CursorView().y, 1e-6);
            EXPECT_NEAR(cursor.z.GetValue(), 0.0, 1e-6);
            // Its direction is a unit vector along the view axis, toward
            // the viewer: it moves a point in depth only, forward.
            const CVector3& direction = view.CursorLine().GetDirectionValue();
            EXPECT_NEAR(direction.Length().GetValue(), 1.0, 1e-12);
            const CVector3 ahead = (view.CursorLine().GetPointValue() + direction).Transform(view.ModelToView());
            EXPECT_NEAR(ahead.x.GetValue(), cursor.x.GetValue(), 1e-6 * std::max(1.0, scale));
            EXPECT_NEAR(ahead.y.GetValue(), cursor.y.GetValue(), 1e-6 * std::max(1.0, scale));
            EXPECT_GT(ahead.z.GetValue(), 0.0);
        }
    }
}

TEST_F(ViewTransformTest, EdgePlanesPointInwardAndEncloseTheVisibleRegion)
{
    Orient(CVector3(0, 1, 0), CVector3(1, 0, 0));
    view.SetClientSize(300, 200);
    view.SetScale(4e-5);
    view.SetPan(20.0, 30.0);
    Update();
    const auto& planes = view.EdgePlanes();
    ExpectClose(planes[kEdgeLeft].GetNormalValue(), -planes[kEdgeRight].GetNormalValue(), 1e-12);
    ExpectClose(planes[kEdgeTop].GetNormalValue(), -planes[kEdgeBottom].GetNormalValue(), 1e-12);
    struct Probe {
        double a, b;
        bool inside;
    };
    const Probe probes[] = {{0, 0, true}, {149, 99, true}, {-149, -99, true}, {151, 0, false}, {0, -101, false}};
    for (const Probe& probe : probes) {
        SCOPED_TRACE(std::to_string(probe.a) + ", " + std::to_string(probe.b));
        const CVector3 p = view.ModelPointAt(probe.a, probe.b);
        bool inside = true;
        for (const CPlaneObject& plane : planes) {
            // Normals are one pixel long in model units: compare in pixels.
            const double pixels = (p - plane.GetOriginValue()).Dot(plane.GetNormalValue()).GetValue() /
                                  plane.GetNormalValue().Dot(plane.GetNormalValue()).GetValue();
            inside = inside && pixels > 0.0;
        }
        EXPECT_EQ(inside, probe.inside);
    }
}

TEST_F(ViewTransformTest, StoreWritesBackWhatWasRead)
{
    struct Case {
        CVector3 d, r;
    };
    const Case cases[] = {
        {CVector3(0, 0, -1), CVector3(1, 0, 0)},
        {CVector3(0, 0.6, -0.8), CVector3(1, 0, 0)},
        // Neither unit length nor perpendicular: stored as read.
        {CVector3(0, 2, -2), CVector3(3, 1, 0)},
    };
    for (const Case& c : cases) {
        Orient(c.d, c.r);
        view.ReadViewOrientation(document);
        Orient(CVector3(9, 9, 9), CVector3(9, 9, 9));
        view.StoreViewOrientation(document);
        const double expected[6] = {c.d.x.GetValue(), c.d.y.GetValue(), c.d.z.GetValue(),
                                    c.r.x.GetValue(), c.r.y.GetValue(), c.r.z.GetValue()};
        for (int i = 0; i < 6; ++i) {
            VARIANT value{};
            ASSERT_EQ(document.GetVariable(kViewDirectionVariable + i, &value), S_OK);
            EXPECT_EQ(value.vt, VT_R8);
            EXPECT_NEAR(value.dblVal, expected[i], 1e-15) << "variable " << kViewDirectionVariable + i;
        }
    }
}

}  // namespace
