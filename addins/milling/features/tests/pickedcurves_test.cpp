// Toolpaths from picks: line and arc entities of the entity component held
// by document records, chained by its curve chainer, and groups whose member
// curves are contours of their own.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "addins/milling/features/contourfeature.h"
#include "addins/milling/features/curvefeature.h"
#include "addins/milling/features/documentmoveentities.h"
#include "addins/milling/features/pickedcurves.h"
#include "addins/milling/features/pocketfeature.h"
#include "addins/milling/features/tests/entitycomponentdocument.h"
#include "addins/milling/features/tests/toolpathtestsupport.h"
#include "igeometry.h"
#include "objectmodel/entity_defaults.h"
#include "objectmodel/entity_record.h"
#include "objectmodel/polylineset.h"
#include "objectmodel/selection_set_object.h"

namespace {

using namespace shapes;
using namespace toolpathtest;

// A closed polyline curve, handed out as a member of a group.
class PolygonCurve : public CEntityOperationsNotOffered<IPlane> {
public:
    explicit PolygonCurve(std::vector<CPoint2D> points) : m_points(std::move(points)) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        *out = (iid == IID_IUnknown || iid == IID_IPlane) ? this : nullptr;
        return *out != nullptr ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID*, IID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetApproximation(double, IPolylineSet** approximation, uint32_t) override
    {
        ComPtr<CPolylineSet> set = ComPtr<CPolylineSet>::Share(new CPolylineSet());
        set->AddPolyline(static_cast<uint32_t>(m_points.size() + 1), 2);
        for (size_t k = 0; k <= m_points.size(); ++k) {
            const CPoint2D& p = m_points[k % m_points.size()];
            set->SetPoint(0, static_cast<int32_t>(k), p.x, p.y, 0.0);
        }
        *approximation = set.Detach();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetParts(IPlane**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPartCount(int32_t* count) override
    {
        *count = 0;
        return E_NOTIMPL;
    }

private:
    std::vector<CPoint2D> m_points;
};

// A grouped entity: reports `reported` members and hands out `members`.
class Group : public PolygonCurve {
public:
    Group(std::vector<PolygonCurve*> members, int32_t reported)
        : PolygonCurve({}), m_members(std::move(members)), m_reported(reported)
    {
    }
    HRESULT STDMETHODCALLTYPE GetParts(IPlane** parts) override
    {
        if (static_cast<size_t>(m_reported) > m_members.size())
            return E_FAIL;
        for (size_t i = 0; i < m_members.size(); ++i)
            parts[i] = m_members[i];
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPartCount(int32_t* count) override
    {
        *count = m_reported;
        return S_OK;
    }

private:
    std::vector<PolygonCurve*> m_members;
    int32_t m_reported;
};

// The picks of a command: document records around entities made through the
// document.
class Picks {
public:
    explicit Picks(IHostDocument& document) : m_document(document) {}

    // Every segment of the list as its own entity, picked in the given order
    // (default: chain order); reversed[i] turns the i-th pick round.
    void Curves(const CCurveList& list, std::vector<int> order = {}, std::vector<bool> reversed = {})
    {
        if (order.empty()) {
            order.resize(list.segments.size());
            std::iota(order.begin(), order.end(), 0);
        }
        for (size_t i = 0; i < order.size(); ++i)
            Segment(*list.segments[static_cast<size_t>(order[i])], i < reversed.size() && reversed[i]);
    }
    // A line between two points in space, as a move drawn between levels.
    void Line(const CMovePoint& a, const CMovePoint& b)
    {
        CDocumentMoveEntityFactory factory(&m_document);
        ComPtr<IEntityBase> entity = factory.CreateLine(a, b);
        ASSERT_TRUE(entity);
        Object(entity.Get());
    }
    void Object(IUnknown* object)
    {
        m_records.push_back(ComPtr<IEntityRecord>::Share(new CEntityRecord(object)));
        m_set.Add(reinterpret_cast<uintptr_t>(m_records.back().Get()));
    }
    ISelectionSet* Set() { return &m_set; }

private:
    // The entity is made through the document by the features' own factory.
    void Segment(const CSegment2D& segment, bool reversed)
    {
        CPoint2D a = segment.GetStartPoint(), b = segment.GetEndPoint();
        if (reversed)
            std::swap(a, b);
        CDocumentMoveEntityFactory factory(&m_document);
        ComPtr<IEntityBase> entity;
        if (segment.GetType() != kSegmentTypeArc) {
            entity = factory.CreateLine({a.x, a.y, 0.0}, {b.x, b.y, 0.0});
        } else {
            const auto& arc = static_cast<const CArcSegment2D&>(segment);
            const bool ccw = (arc.ccw != 0) != reversed;
            entity = factory.CreateArc({arc.centre.x, arc.centre.y, 0.0}, ccw ? 1 : -1, {a.x, a.y, 0.0},
                                       {b.x, b.y, 0.0}, arc.radius);
        }
        ASSERT_TRUE(entity);
        Object(entity.Get());
    }

    IHostDocument& m_document;
    std::vector<ComPtr<IEntityRecord>> m_records;
    CSelectionSetObject m_set;
};

enum class Kind { Contour, Pocket, Curve };

const char* Name(Kind kind) { return kind == Kind::Contour ? "contour" : kind == Kind::Pocket ? "pocket" : "curve"; }

struct Computed {
    Status status;
    std::vector<CMove> moves;
};

Computed FromPicks(Kind kind, ISelectionSet* picks, const CMillingParams& params, IHostDocument* document,
                   CToolpathProgressBar* bar = nullptr)
{
    CContourFeature contour;
    CPocketFeature pocket;
    CCurveFeature curve;
    switch (kind) {
    case Kind::Contour: {
        Status s = contour.ComputeToolpath(picks, params, document, bar);
        return {s, contour.Moves()};
    }
    case Kind::Pocket: {
        Status s = pocket.GenerateToolpath(picks, params, document, bar);
        return {s, pocket.Moves()};
    }
    case Kind::Curve:
    default: {
        Status s = curve.ComputeToolpath(picks, params, document);
        return {s, curve.Moves()};
    }
    }
}

Computed FromContours(Kind kind, const std::vector<std::unique_ptr<CCurveList>>& contours,
                      const CMillingParams& params)
{
    CContourFeature contour;
    CPocketFeature pocket;
    CCurveFeature curve;
    switch (kind) {
    case Kind::Contour: {
        Status s = contour.ComputeFromContours(contours, params, nullptr);
        return {s, contour.Moves()};
    }
    case Kind::Pocket: {
        Status s = pocket.ComputeFromContours(contours, params, nullptr);
        return {s, pocket.Moves()};
    }
    case Kind::Curve:
    default: {
        Status s = curve.ComputeFromChains(contours, params);
        return {s, curve.Moves()};
    }
    }
}

class PickedCurves : public EntityComponentTest {};

// Curves picked in any order and direction are chained into the contours
// they form: the toolpath cuts as much per level as the one computed from
// those contours directly, keeps its clearance, and every move has its
// entity.
TEST_F(PickedCurves, ScrambledPicksGiveTheContoursToolpath)
{
    FactoryDocument document;
    const auto outer = RoundedRect(0, 0, 60, 40, 8);
    const auto island = Rect(20, 15, 32, 25);
    const int n = outer->GetCount();
    std::vector<int> order(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        order[static_cast<size_t>(i)] = (i * 3 + 2) % n;
    std::vector<bool> reversed(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        reversed[static_cast<size_t>(i)] = i % 3 == 1;
    const CMillingParams params = Params(0, -2, 1, 6, 0.5);
    for (Kind kind : {Kind::Contour, Kind::Pocket, Kind::Curve}) {
        SCOPED_TRACE(Name(kind));
        Picks picks(document);
        picks.Curves(*island, {2, 0, 3, 1}, {true, false, false, true});
        picks.Curves(*outer, order, reversed);
        const Computed picked = FromPicks(kind, picks.Set(), params, &document);
        ASSERT_TRUE(picked.status.ok()) << FeatureErrorMessage(picked.status.error().code);
        const Computed direct = FromContours(kind, Make(outer->Copy(), island->Copy()), params);
        ASSERT_TRUE(direct.status.ok());
        ASSERT_FALSE(picked.moves.empty());
        ExpectContinuous(picked.moves);
        const auto pickedLengths = CutLengthByLevel(picked.moves), directLengths = CutLengthByLevel(direct.moves);
        ASSERT_EQ(pickedLengths.size(), directLengths.size());
        for (const auto& [z, length] : directLengths)
            EXPECT_NEAR(pickedLengths.at(z), length, 1e-3 * length) << "level " << z;
        if (kind != Kind::Curve)
            ExpectClearance(picked.moves, Make(outer->Copy(), island->Copy()), 3.5, true);
        for (const CMove& m : picked.moves)
            EXPECT_NE(m.entity.Get(), nullptr);
    }
}

// A drawing of a program read back holds the moves between the outlines
// too: down onto the boundary, round it, up, across and down onto the
// island. Picked together with the outlines, they touch the outlines' ends
// in space but outline nothing in the plane: the boundary and the island are
// still the contours of the toolpath, which keeps clear of the island.
TEST_F(PickedCurves, MovesDrawnBetweenLevelsLeaveTheOutlinesClosed)
{
    FactoryDocument document;
    const auto outer = RoundedRect(0, 0, 60, 40, 8);
    const auto island = Rect(20, 15, 32, 25);
    const CPoint2D o = outer->segments.front()->GetStartPoint(), i = island->segments.front()->GetStartPoint();
    const CMillingParams params = Params(0, -2, 1, 6, 0.5);
    for (Kind kind : {Kind::Contour, Kind::Pocket}) {
        SCOPED_TRACE(Name(kind));
        Picks picks(document);
        picks.Line({o.x, o.y, 5}, {o.x, o.y, 0});
        picks.Curves(*outer);
        picks.Line({o.x, o.y, 0}, {o.x, o.y, 5});
        picks.Line({o.x, o.y, 5}, {i.x, i.y, 5});
        picks.Line({i.x, i.y, 5}, {i.x, i.y, 0});
        picks.Curves(*island);
        picks.Line({i.x, i.y, 0}, {i.x, i.y, 5});
        const Computed picked = FromPicks(kind, picks.Set(), params, &document);
        ASSERT_TRUE(picked.status.ok()) << FeatureErrorMessage(picked.status.error().code);
        const Computed direct = FromContours(kind, Make(outer->Copy(), island->Copy()), params);
        ASSERT_TRUE(direct.status.ok());
        const auto pickedLengths = CutLengthByLevel(picked.moves), directLengths = CutLengthByLevel(direct.moves);
        ASSERT_EQ(pickedLengths.size(), directLengths.size());
        for (const auto& [z, length] : directLengths)
            EXPECT_NEAR(pickedLengths.at(z), length, 1e-3 * length) << "level " << z;
        ExpectClearance(picked.moves, Make(outer->Copy(), island->Copy()), 3.5, true);
    }
}

// Each member of a picked group is a contour of its own, next to the chains
// of plain picks; a group that reports more members than can be read, or
// fails to hand them out, contributes nothing.
TEST_F(PickedCurves, GroupMembersAreContours)
{
    FactoryDocument document;
    PolygonCurve outer({{0, 0}, {50, 0}, {50, 30}, {0, 30}});
    PolygonCurve island({{20, 10}, {30, 10}, {30, 20}, {20, 20}});
    Group group({&outer, &island}, 2);
    Group huge({&outer}, kMaxGroupParts + 1);
    Group failing({&outer}, 2);
    const CMillingParams params = Params(0, -1, 1, 4, 0);

    Picks picks(document);
    picks.Object(&huge);
    picks.Object(&group);
    picks.Object(&failing);
    const Computed picked = FromPicks(Kind::Contour, picks.Set(), params, &document);
    ASSERT_TRUE(picked.status.ok());
    const Computed direct = FromContours(
        Kind::Contour, Make(Rect(0, 0, 50, 30), Rect(20, 10, 30, 20)), params);
    const auto pickedLengths = CutLengthByLevel(picked.moves), directLengths = CutLengthByLevel(direct.moves);
    ASSERT_EQ(pickedLengths.size(), directLengths.size());
    for (const auto& [z, length] : directLengths)
        EXPECT_NEAR(pickedLengths.at(z), length, 1e-9) << "level " << z;

    Picks onlyBad(document);
    onlyBad.Object(&huge);
    onlyBad.Object(&failing);
    const Computed none = FromPicks(Kind::Contour, onlyBad.Set(), params, &document);
    ASSERT_FALSE(none.status.ok());
    EXPECT_EQ(none.status.error().code, FeatureError::NoUsableContour);
}

// Failures are reported as failures and leave no moves, also after an
// earlier computation that made some.
TEST_F(PickedCurves, FailuresLeaveNoMoves)
{
    enum class Doc { None, Refusing, Working };
    struct Case {
        const char* name;
        Kind kind;
        Doc doc;
        std::shared_ptr<CCurveList> shape; // picked as its segments
        std::shared_ptr<CCurveList> other;
        FeatureError code;
    };
    const std::vector<Case> cases = {
        {"contour_without_document", Kind::Contour, Doc::None, Rect(0, 0, 10, 10), nullptr, FeatureError::NoDocument},
        {"pocket_without_document", Kind::Pocket, Doc::None, Rect(0, 0, 10, 10), nullptr, FeatureError::NoDocument},
        {"curve_without_document", Kind::Curve, Doc::None, Rect(0, 0, 10, 10), nullptr, FeatureError::NoDocument},
        {"contour_without_chainer", Kind::Contour, Doc::Refusing, Rect(0, 0, 10, 10), nullptr, FeatureError::NoChainer},
        {"pocket_without_chainer", Kind::Pocket, Doc::Refusing, Rect(0, 0, 10, 10), nullptr, FeatureError::NoChainer},
        {"curve_without_chainer", Kind::Curve, Doc::Refusing, Rect(0, 0, 10, 10), nullptr, FeatureError::NoChainer},
        {"contour_of_open_chain", Kind::Contour, Doc::Working, Polygon({{0, 0}, {10, 0}, {10, 10}}, false), nullptr,
         FeatureError::NoUsableContour},
        {"pocket_of_open_chain", Kind::Pocket, Doc::Working, Polygon({{0, 0}, {10, 0}, {10, 10}}, false), nullptr,
         FeatureError::NoUsableContour},
        {"contour_of_crossing_chains", Kind::Contour, Doc::Working, Rect(0, 0, 10, 10), Rect(5, 5, 15, 15),
         FeatureError::ContoursCross},
        {"curve_of_crossing_chains", Kind::Curve, Doc::Working, Polygon({{0, 0}, {10, 10}}, false),
         Polygon({{0, 10}, {10, 0}}, false), FeatureError::ContoursCross},
    };
    const CMillingParams params = Params(0, -1, 1, 4, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FactoryDocument document;
        Picks picks(document);
        picks.Curves(*c.shape);
        if (c.other)
            picks.Curves(*c.other);
        document.refuseChainer = c.doc == Doc::Refusing;
        IHostDocument* doc = c.doc == Doc::None ? nullptr : &document;

        // A feature that held moves loses them.
        Picks good(document);
        good.Curves(*Rect(0, 0, 30, 30));
        CContourFeature contour;
        CPocketFeature pocket;
        CCurveFeature curve;
        FactoryDocument working;
        Status status = Ok{};
        const std::vector<CMove>* moves = nullptr;
        switch (c.kind) {
        case Kind::Contour:
            ASSERT_TRUE(contour.ComputeToolpath(good.Set(), params, &working, nullptr).ok());
            status = contour.ComputeToolpath(picks.Set(), params, doc, nullptr);
            moves = &contour.Moves();
            break;
        case Kind::Pocket:
            ASSERT_TRUE(pocket.GenerateToolpath(good.Set(), params, &working, nullptr).ok());
            status = pocket.GenerateToolpath(picks.Set(), params, doc, nullptr);
            moves = &pocket.Moves();
            break;
        case Kind::Curve:
            ASSERT_TRUE(curve.ComputeToolpath(good.Set(), params, &working).ok());
            status = curve.ComputeToolpath(picks.Set(), params, doc);
            moves = &curve.Moves();
            break;
        }
        ASSERT_FALSE(status.ok());
        EXPECT_EQ(status.error().code, c.code);
        EXPECT_TRUE(moves->empty());
    }
}

// Records every step a computation takes on the bar.
class RecordingBar : public CToolpathProgressBar {
public:
    void GetRange(int& lower, int& upper) override
    {
        ++rangeReads;
        lower = 100;
        upper = 900;
    }
    void DeltaPos(int delta) override { deltas.push_back(delta); }
    int rangeReads = 0;
    std::vector<int> deltas;
};

TEST_F(PickedCurves, ProgressStepsOfContourAndPocket)
{
    FactoryDocument document;
    PolygonCurve square({{0, 0}, {40, 0}, {40, 40}, {0, 40}});
    Group group({&square}, 1);
    const CMillingParams params = Params(0, -1, 1, 6, 0); // two levels
    struct Case {
        const char* name;
        Kind kind;
        bool plain;
        std::vector<int> deltas;
    };
    const Case cases[] = {
        {"contour_plain_picks", Kind::Contour, true, {100, 100, 200, 200, 100, 100}},
        {"contour_group_only", Kind::Contour, false, {100, 200, 200, 100, 100}},
        {"pocket_plain_picks", Kind::Pocket, true, std::vector<int>(9, 100)},
        {"pocket_group_only", Kind::Pocket, false, std::vector<int>(8, 100)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Picks picks(document);
        if (c.plain)
            picks.Curves(*Rect(0, 0, 40, 40));
        else
            picks.Object(&group);
        RecordingBar bar;
        ASSERT_TRUE(FromPicks(c.kind, picks.Set(), params, &document, &bar).status.ok());
        EXPECT_EQ(bar.rangeReads, 1);
        EXPECT_EQ(bar.deltas, c.deltas);
    }
}

} // namespace
