// Wheel zoom, pan, orbit, zoom all and zoom window arithmetic, and the
// extents that zoom all reads from the document.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "host/document/tests/document_test_support.h"
#include "host/view/view_navigation.h"
#include "igeometry.h"
#include "objectmodel/entity_defaults.h"
#include "objectmodel/entity_record.h"
#include "objectmodel/real.h"

namespace {

constexpr double kExact = 1e-12;

TEST(WheelZoomTest, KeepsTheModelPointUnderTheCursorAndStopsAtTheLimits)
{
    struct Case {
        const char* name;
        ViewScalePan view;
        int16_t delta;
        POINT cursor;
        double scale;
    };
    const Case cases[] = {
        {"one notch forward", {1.0, 0.0, 0.0}, 120, {100, 0}, 1.2},
        {"one notch back", {1.2, 5.0, -3.0}, -120, {-40, 70}, 1.0},
        {"half a notch", {2.0, 0.0, 0.0}, 60, {10, 10}, 2.0 * std::sqrt(1.2)},
        {"cut at the top", {45000.0, 1.0, 1.0}, 120, {30, -20}, kMaxWheelScale},
        {"at the top already", {kMaxWheelScale, 1.0, 2.0}, 120, {30, -20}, kMaxWheelScale},
        {"cut at the bottom", {2.1e-5, 7.0, 8.0}, -120, {-250, 120}, kMinWheelScale},
        {"at the bottom already", {kMinWheelScale, 7.0, 8.0}, -120, {-250, 120}, kMinWheelScale},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ViewScalePan after = WheelZoom(c.view, c.delta, c.cursor);
        EXPECT_NEAR(after.scale, c.scale, c.scale * kExact);
        // The model point under the cursor: view / scale - pan, both before
        // and after.
        const double modelXBefore = c.cursor.x / c.view.scale - c.view.panX;
        const double modelYBefore = c.cursor.y / c.view.scale - c.view.panY;
        const double modelXAfter = c.cursor.x / after.scale - after.panX;
        const double modelYAfter = c.cursor.y / after.scale - after.panY;
        const double tolerance = 1e-9 * (std::fabs(modelXBefore) + std::fabs(modelYBefore) + 1.0);
        EXPECT_NEAR(modelXAfter, modelXBefore, tolerance);
        EXPECT_NEAR(modelYAfter, modelYBefore, tolerance);
    }
}

TEST(WheelZoomTest, LimitsAreReachedExactlyAndANotchPastThemChangesNothing)
{
    const ViewScalePan top = WheelZoom({45000.0, 3.0, 4.0}, 120, {100, 50});
    EXPECT_TRUE(Exactly(top.scale, kMaxWheelScale));
    const ViewScalePan further = WheelZoom(top, 120, {100, 50});
    EXPECT_TRUE(Exactly(further.scale, top.scale));
    EXPECT_TRUE(Exactly(further.panX, top.panX));
    EXPECT_TRUE(Exactly(further.panY, top.panY));
    const ViewScalePan bottom = WheelZoom({2.1e-5, 0.0, 0.0}, -120, {0, 0});
    EXPECT_TRUE(Exactly(bottom.scale, kMinWheelScale));
    EXPECT_NEAR(WheelZoom({1.0, 0.0, 0.0}, 120, {100, 0}).panX, 100.0 * (1.0 / 1.2 - 1.0), kExact);
}

TEST(PanStepTest, TheModelFollowsTheMouse)
{
    // Client y grows downward: dragging down moves the model down (pan y
    // decreases), dragging right moves it right.
    const ViewScalePan after = PanStep({2.0, 1.0, 1.0}, {100, 100}, {110, 120});
    EXPECT_NEAR(after.panX, 1.0 + 10.0 / 2.0, kExact);
    EXPECT_NEAR(after.panY, 1.0 - 20.0 / 2.0, kExact);
    EXPECT_TRUE(Exactly(after.scale, 2.0));
}

TEST(OrbitStepTest, ADragOfOneClientWidthTurnsBySixteenOverTheRootOfTheScale)
{
    struct Case {
        const char* name;
        double scale;
        POINT from;
        POINT to;
        double aboutX;
        double aboutY;
    };
    const int32_t width = 400;
    const Case cases[] = {
        {"right by one width", 4.0, {0, 0}, {400, 0}, 0.0, 16.0 / 2.0 / 1.0},
        {"up by a quarter width", 1.0, {0, 100}, {0, 0}, -16.0 / 4.0, 0.0},
        {"no move", 9.0, {5, 5}, {5, 5}, 0.0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CMatrix4 identity;
        const CMatrix4 turned = OrbitStep(identity, c.scale, width, c.from, c.to);
        CMatrix4 rx;
        rx.SetRotationX(CReal(c.aboutX));
        CMatrix4 ry;
        ry.SetRotationY(CReal(c.aboutY));
        const CMatrix4 expected = rx * ry;
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 4; ++column) {
                EXPECT_NEAR(turned(row, column).GetValue(), expected(row, column).GetValue(), 1e-12);
            }
        }
    }
    // No client width: nothing turns.
    CMatrix4 start;
    start.SetRotationZ(CReal(0.3));
    const CMatrix4 same = OrbitStep(start, 1.0, 0, {0, 0}, {100, 0});
    EXPECT_TRUE(Exactly(same(0, 1).GetValue(), start(0, 1).GetValue()));
}

TEST(FitExtentsTest, FillsTheClientAreaWithTheLargerRelativeSideMinusTheMargin)
{
    struct Case {
        const char* name;
        ModelExtents extents;
        double scale;
        double panX;
        double panY;
    };
    auto margin = [](double s) { return s - s / (s + 100.0); };
    const Case cases[] = {
        {"wider than the window", {0.0, 0.0, 200.0, 10.0}, margin(800.0 / 200.0), -100.0, -5.0},
        {"taller than the window", {-10.0, -50.0, 10.0, 50.0}, margin(600.0 / 100.0), 0.0, 0.0},
        {"flat in y fits by x", {1.0, 3.0, 5.0, 3.0}, margin(800.0 / 4.0), -3.0, -3.0},
        {"flat in x fits by y", {2.0, 0.0, 2.0, 6.0}, margin(600.0 / 6.0), -2.0, -3.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto fit = FitExtents(c.extents, 800, 600);
        ASSERT_TRUE(fit.has_value());
        EXPECT_NEAR(fit->scale, c.scale, 1e-12);
        EXPECT_NEAR(fit->panX, c.panX, 1e-12);
        EXPECT_NEAR(fit->panY, c.panY, 1e-12);
    }
}

TEST(FitExtentsTest, LeavesTheViewAloneWithoutAUsableExtent)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* name;
        ModelExtents extents;
        int32_t width;
        int32_t height;
    };
    const Case cases[] = {
        {"a single point", {4.0, 4.0, 4.0, 4.0}, 800, 600},
        {"below the tolerance", {0.0, 0.0, 5e-7, 5e-7}, 800, 600},
        {"infinite", {-inf, 0.0, inf, 0.0}, 800, 600},
        {"not a number", {nan, nan, nan, nan}, 800, 600},
        {"no client area", {0.0, 0.0, 10.0, 10.0}, 0, 600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(FitExtents(c.extents, c.width, c.height).has_value());
    }
}

TEST(ZoomAllFramesTest, PansFirstThenScalesAndEndsOnTheTarget)
{
    const ViewScalePan start{1.0, 10.0, -10.0};
    const ViewScalePan target{3.0, -2.0, 4.0};
    const auto frames = ZoomAllFrames(start, target);
    ASSERT_EQ(frames.size(), 22u);
    EXPECT_TRUE(Exactly(frames.front().panX, start.panX));
    EXPECT_TRUE(Exactly(frames[15].panX, target.panX));
    EXPECT_TRUE(Exactly(frames[15].panY, target.panY));
    EXPECT_TRUE(Exactly(frames[15].scale, start.scale));
    EXPECT_NEAR(frames[1].panX, 10.0 + (-12.0) / 29.0, 1e-12);
    EXPECT_TRUE(Exactly(frames.back().scale, target.scale));
    EXPECT_NEAR(frames[17].scale, 1.0 + 2.0 / 9.0, 1e-12);
}

TEST(ZoomWindowFitTest, CornersInEitherOrderGiveTheSameViewAndCoincidingCornersNone)
{
    const auto a = ZoomWindowFit(0.0, 0.0, 40.0, 10.0, 800, 600);
    const auto b = ZoomWindowFit(40.0, 10.0, 0.0, 0.0, 800, 600);
    const auto c = ZoomWindowFit(0.0, 10.0, 40.0, 0.0, 800, 600);
    ASSERT_TRUE(a && b && c);
    for (const auto& fit : {*b, *c}) {
        EXPECT_TRUE(Exactly(fit.scale, a->scale));
        EXPECT_TRUE(Exactly(fit.panX, a->panX));
        EXPECT_TRUE(Exactly(fit.panY, a->panY));
    }
    EXPECT_NEAR(a->scale, 20.0, 1e-12);
    EXPECT_NEAR(a->panX, -20.0, 1e-12);
    EXPECT_NEAR(a->panY, -5.0, 1e-12);
    EXPECT_FALSE(ZoomWindowFit(3.0, 1.0, 3.0, 9.0, 800, 600).has_value());
    EXPECT_FALSE(ZoomWindowFit(1.0, 3.0, 9.0, 3.0, 800, 600).has_value());
    EXPECT_FALSE(ZoomWindowFit(1.0, 3.0, 9.0, 8.0, 800, 0).has_value());
}

// An object with line and plane interfaces whose extents are scripted;
// a missing answer stands for E_NOTIMPL.
class ExtentObject
    : public CCountedObject<CEntityOperationsNotOffered<IGeometryEntity>, IID_IObjectBase, IID_IEntityBase, IID_IGeometryEntity> {
public:
    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID*, IID*) override { return E_NOTIMPL; }
    ExtentObject(std::optional<ModelExtents> line, std::optional<ModelExtents> plane) : m_line(line), m_plane(plane)
    {
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_ILine || iid == IID_IPlane) {
            // The next GetExtents answers for the interface asked for last.
            m_asked = iid == IID_ILine ? &m_line : &m_plane;
            *out = static_cast<IEntityBase*>(this);
            AddRef();
            return S_OK;
        }
        return CCountedObject::QueryInterface(iid, out);
    }
    HRESULT STDMETHODCALLTYPE GetExtents(IVector3* minimum, IVector3* maximum, uint32_t) override
    {
        if (!*m_asked) {
            return E_NOTIMPL;
        }
        const ModelExtents& e = **m_asked;
        CReal minX(e.minX), minY(e.minY), maxX(e.maxX), maxY(e.maxY), zero(0.0);
        minimum->Set(&minX, &minY, &zero);
        maximum->Set(&maxX, &maxY, &zero);
        return S_OK;
    }

private:
    std::optional<ModelExtents> m_line;
    std::optional<ModelExtents> m_plane;
    const std::optional<ModelExtents>* m_asked = &m_line;
};

TEST(CollectExtentsTest, JoinsTheLineAndPlaneAnswersAndSkipsObjectsWithout)
{
    DocumentFixture fixture;
    EXPECT_FALSE(CollectExtents(fixture.document).has_value());
    auto add = [&](IUnknown* object) {
        fixture.document.AddObject(new CEntityRecord(object));
    };
    add(static_cast<IEntityBase*>(new ExtentObject(std::nullopt, std::nullopt)));
    EXPECT_FALSE(CollectExtents(fixture.document).has_value());
    add(static_cast<IEntityBase*>(new ExtentObject(ModelExtents{1.0, 2.0, 3.0, 4.0}, std::nullopt)));
    add(static_cast<IEntityBase*>(new ExtentObject(std::nullopt, ModelExtents{-5.0, 3.0, 2.0, 9.0})));
    const auto extents = CollectExtents(fixture.document);
    ASSERT_TRUE(extents.has_value());
    EXPECT_TRUE(Exactly(extents->minX, -5.0));
    EXPECT_TRUE(Exactly(extents->minY, 2.0));
    EXPECT_TRUE(Exactly(extents->maxX, 3.0));
    EXPECT_TRUE(Exactly(extents->maxY, 9.0));
}

// An add-in's entity: neither a line nor a plane object, with extents of
// its own.
class EntityWithExtents
    : public CCountedObject<CEntityOperationsNotOffered<IGeometryEntity>, IID_IObjectBase, IID_IEntityBase, IID_IGeometryEntity> {
public:
    explicit EntityWithExtents(ModelExtents extents) : m_extents(extents) {}
    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID*, IID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetExtents(IVector3* minimum, IVector3* maximum, uint32_t) override
    {
        CReal minX(m_extents.minX), minY(m_extents.minY), maxX(m_extents.maxX), maxY(m_extents.maxY), zero(0.0);
        minimum->Set(&minX, &minY, &zero);
        maximum->Set(&maxX, &maxY, &zero);
        return S_OK;
    }

private:
    ModelExtents m_extents;
};

TEST(CollectExtentsTest, AnEntityThatIsNeitherLineNorPlaneGivesItsOwnExtents)
{
    DocumentFixture fixture;
    fixture.document.AddObject(new CEntityRecord(static_cast<IEntityBase*>(new EntityWithExtents({-100.0, -60.0, 100.0, 160.0}))));
    fixture.document.AddObject(
        new CEntityRecord(static_cast<IEntityBase*>(new ExtentObject(ModelExtents{150.0, 0.0, 170.0, 10.0}, std::nullopt))));
    const auto extents = CollectExtents(fixture.document);
    ASSERT_TRUE(extents.has_value());
    EXPECT_TRUE(Exactly(extents->minX, -100.0));
    EXPECT_TRUE(Exactly(extents->minY, -60.0));
    EXPECT_TRUE(Exactly(extents->maxX, 170.0));
    EXPECT_TRUE(Exactly(extents->maxY, 160.0));
}

} // namespace
