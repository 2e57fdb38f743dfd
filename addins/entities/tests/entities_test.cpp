// Tests of the entity component: the move entities' byte forms, clones,
// drawing and approximations; the curve chainer; and the module found and
// served through the registry like any add-in.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "addins/entities/arc_entity.h"
#include "addins/entities/curve_chainer.h"
#include "addins/entities/line_entity.h"
#include "objectmodel/entity_record.h"
#include "objectmodel/plane_object.h"
#include "objectmodel/polylineset.h"
#include "objectmodel/selection_set_object.h"
#include "objectmodel/tests/recording_graphics_context.h"
#include "platform/kernel/classobject.h"
#include "platform/kernel/module.h"
#include "platform/kernel/tests/kernel_test_support.h"

namespace {

constexpr double kExact = 1e-12;

ComPtr<ILineEntity> MakeLine(double x1, double y1, double x2, double y2, double z = 0.0)
{
    ComPtr<ILineEntity> line = ComPtr<ILineEntity>::Share(new CLineEntity());
    CVector3 start(x1, y1, z);
    CVector3 end(x2, y2, z);
    line->SetStartPoint(&start);
    line->SetEndPoint(&end);
    return line;
}

ComPtr<IArcEntity> MakeArc(const CVector3& start, const CVector3& end, const CVector3& center, double normalZ)
{
    ComPtr<IArcEntity> arc = ComPtr<IArcEntity>::Share(new CArcEntity());
    CVector3 s = start, e = end, c = center, n(0.0, 0.0, normalZ), r(1.0, 0.0, 0.0);
    arc->SetStartPoint(&s);
    arc->SetEndPoint(&e);
    arc->SetCenter(&c);
    arc->SetNormal(&n);
    arc->SetReferenceDirection(&r);
    CReal radius((start - center).Length().GetValue());
    arc->SetRadius(&radius);
    return arc;
}

std::vector<BYTE> Bytes(IObjectBase* object)
{
    uint32_t size = 0;
    EXPECT_EQ(object->GetSize(&size), S_OK);
    std::vector<BYTE> bytes(size);
    EXPECT_EQ(object->Save(bytes.data()), S_OK);
    return bytes;
}

void PutDouble(std::vector<BYTE>& bytes, size_t offset, double value)
{
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

struct Approximation {
    uint32_t tag = 0;
    std::vector<double> coordinates;
};

Approximation Approximate(ILineEntity* curve)
{
    ComPtr<IPolylineSet> set;
    EXPECT_EQ(curve->GetApproximation(0.003, set.Receive(), 1), S_OK);
    Approximation result;
    uint32_t count = 0;
    set->GetCount(&count);
    EXPECT_EQ(count, 1u);
    uint32_t points = 0;
    set->GetTag(0, &result.tag);
    set->GetPointCount(0, &points);
    for (uint32_t j = 0; j < points; ++j) {
        double x = 0, y = 0, z = 0;
        set->GetPoint(0, static_cast<int32_t>(j), &x, &y, &z);
        result.coordinates.insert(result.coordinates.end(), {x, y, z});
    }
    return result;
}

void ExpectNear(const std::vector<double>& actual, const std::vector<double>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        EXPECT_NEAR(actual[i], expected[i], kExact) << "value " << i;
    }
}

}  // namespace

TEST(MoveEntities, LineAndArcSaveLoadAndCloneKeepEverything)
{
    ComPtr<ILineEntity> line = MakeLine(1.5, -2.0, 7.25, 3.0, -1.0);
    const std::vector<BYTE> lineBytes = Bytes(line.Get());
    ASSERT_EQ(lineBytes.size(), CLineEntity::kByteSize);
    ComPtr<ILineEntity> loaded = ComPtr<ILineEntity>::Share(new CLineEntity());
    ASSERT_EQ(loaded->Load(static_cast<uint32_t>(lineBytes.size()), lineBytes.data()), S_OK);
    EXPECT_EQ(Bytes(loaded.Get()), lineBytes);

    IObjectBase* raw = nullptr;
    ASSERT_EQ(line->Clone(&raw), S_OK);
    ComPtr<IObjectBase> clone = ComPtr<IObjectBase>::Share(raw);
    EXPECT_EQ(Bytes(clone.Get()), lineBytes);
    CLSID factory{};
    IID iid{};
    clone->GetClassIds(&factory, &iid);
    EXPECT_EQ(factory, CLSID_EntityComponent);
    EXPECT_EQ(iid, IID_ILineEntity);

    ComPtr<IArcEntity> arc = MakeArc(CVector3(0, 0, 2), CVector3(10, 0, 2), CVector3(5, 0, 2), -1.0);
    const std::vector<BYTE> arcBytes = Bytes(arc.Get());
    ASSERT_EQ(arcBytes.size(), CArcEntity::kByteSize);
    ASSERT_EQ(arc->Clone(&raw), S_OK);
    ComPtr<IObjectBase> arcClone = ComPtr<IObjectBase>::Share(raw);
    EXPECT_EQ(Bytes(arcClone.Get()), arcBytes);
    arcClone->GetClassIds(&factory, &iid);
    EXPECT_EQ(iid, IID_IArcEntity);
    ComPtr<IArcEntity> arcLoaded = ComPtr<IArcEntity>::Share(new CArcEntity());
    ASSERT_EQ(arcLoaded->Load(static_cast<uint32_t>(arcBytes.size()), arcBytes.data()), S_OK);
    CReal radius;
    arcLoaded->GetRadius(&radius);
    EXPECT_NEAR(radius.GetValue(), 5.0, kExact);
    CVector3 end;
    arcLoaded->GetEndPoint(&end);
    ExpectNear({end.x.GetValue(), end.y.GetValue(), end.z.GetValue()}, {10, 0, 2});
}

TEST(MoveEntities, HostileByteFormsLoadNothing)
{
    const std::vector<BYTE> good = Bytes(MakeArc(CVector3(0, 0, 0), CVector3(2, 0, 0), CVector3(1, 0, 0), 1).Get());
    struct HostileCase {
        const char* name;
        size_t size;
        size_t poisonOffset;  // where a bad double goes; SIZE_MAX: none
        double poison;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const HostileCase kCases[] = {
        {"empty", 0, SIZE_MAX, 0},
        {"one_byte_short", CArcEntity::kByteSize - 1, SIZE_MAX, 0},
        {"one_byte_long", CArcEntity::kByteSize + 1, SIZE_MAX, 0},
        {"nan_start", CArcEntity::kByteSize, 0, nan},
        {"infinite_centre", CArcEntity::kByteSize, 48, inf},
        {"negative_radius", CArcEntity::kByteSize, 120, -1.0},
        {"nan_radius", CArcEntity::kByteSize, 120, nan},
    };
    for (const HostileCase& c : kCases) {
        SCOPED_TRACE(c.name);
        std::vector<BYTE> bytes = good;
        bytes.resize(c.size + 1);
        if (c.poisonOffset != SIZE_MAX) {
            PutDouble(bytes, c.poisonOffset, c.poison);
        }
        ComPtr<IArcEntity> arc = MakeArc(CVector3(7, 7, 7), CVector3(9, 7, 7), CVector3(8, 7, 7), 1);
        const std::vector<BYTE> before = Bytes(arc.Get());
        EXPECT_EQ(arc->Load(static_cast<uint32_t>(c.size), bytes.data()), E_FAIL);
        EXPECT_EQ(Bytes(arc.Get()), before) << "a refused load changes nothing";
    }
    ComPtr<ILineEntity> line = MakeLine(0, 0, 1, 1);
    EXPECT_EQ(line->Load(CLineEntity::kByteSize, nullptr), E_FAIL);
    EXPECT_EQ(line->Load(CArcEntity::kByteSize, good.data()), E_FAIL);
}

TEST(MoveEntities, DrawAndApproximationFollowTheCurve)
{
    RecordingGraphicsContext context;
    ComPtr<ILineEntity> line = MakeLine(0, 0, 3, 4, 1);
    EXPECT_EQ(line->Draw(&context), S_OK);
    ComPtr<IArcEntity> arc = MakeArc(CVector3(10, 0, 0), CVector3(0, 10, 0), CVector3(0, 0, 0), 1);
    EXPECT_EQ(arc->Draw(&context), S_OK);
    const std::vector<GraphicsCall> calls = context.DrawingCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].op, GraphicsOp::DrawLine);
    ExpectNear(calls[0].values, {0, 0, 1, 3, 4, 1});
    EXPECT_EQ(calls[1].op, GraphicsOp::DrawArc);
    ExpectNear(calls[1].values, {0, 0, 0, 0, 0, 1, 10, 0, 0, 0, 10, 0});

    const Approximation lineShape = Approximate(line.Get());
    EXPECT_EQ(lineShape.tag, 2u);
    ExpectNear(lineShape.coordinates, {0, 0, 1, 3, 4, 1});
    const Approximation arcShape = Approximate(arc.Get());
    EXPECT_EQ(arcShape.tag, 7u);
    ExpectNear(arcShape.coordinates, {10, 0, 0, 0, 0, 0, 0, 0, 1, 0, 10, 0});
}

// Zoom to fit needs every curve's box: the line's ends, the arc's ends and
// the extreme points of its circle that the arc passes.
TEST(MoveEntities, ExtentsEncloseTheCurveAsDrawn)
{
    struct Case {
        const char* name;
        ComPtr<ILineEntity> curve;
        std::vector<double> box;  // min x, y, z, max x, y, z
    };
    const CVector3 origin(0, 0, 0);
    auto arc = [](const CVector3& start, const CVector3& end, const CVector3& centre, double normalZ) {
        return ComPtr<ILineEntity>::Share(MakeArc(start, end, centre, normalZ).Get());
    };
    const Case cases[] = {
        {"line", MakeLine(3, -1, -2, 4, 5), {-2, -1, 5, 3, 4, 5}},
        {"quarter arc, counter-clockwise", arc(CVector3(2, 0, 0), CVector3(0, 2, 0), origin, 1),
         {0, 0, 0, 2, 2, 0}},
        {"three-quarter arc, clockwise", arc(CVector3(2, 0, 0), CVector3(0, 2, 0), origin, -1),
         {-2, -2, 0, 2, 2, 0}},
        {"half arc over the top", arc(CVector3(1, 0, 0), CVector3(-1, 0, 0), origin, 1), {-1, 0, 0, 1, 1, 0}},
        {"full circle", arc(CVector3(11, 5, 0), CVector3(11, 5, 0), CVector3(10, 5, 0), 1),
         {9, 4, 0, 11, 6, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CVector3 minimum, maximum;
        ASSERT_EQ(c.curve->GetExtents(&minimum, &maximum, 0), S_OK);
        ExpectNear({minimum.x.GetValue(), minimum.y.GetValue(), minimum.z.GetValue(), maximum.x.GetValue(),
                    maximum.y.GetValue(), maximum.z.GetValue()},
                   c.box);
    }
}

// The view picks a move where its curve passes through the pick region
// (a click or a crossing box, mode 1), or lies wholly inside it (a window
// box, mode 0); the region is four side planes whose normals point in.
TEST(MoveEntities, APickHitsWhereTheCurveItselfPasses)
{
    struct Case {
        const char* name;
        ComPtr<ILineEntity> curve;
        double left, bottom, right, top;
        uint32_t mode;
        BOOL hit;
    };
    const CVector3 origin(0, 0, 0);
    auto arc = [](const CVector3& start, const CVector3& end, const CVector3& centre, double normalZ) {
        return ComPtr<ILineEntity>::Share(MakeArc(start, end, centre, normalZ).Get());
    };
    const double apex = 10.0 / std::sqrt(2.0);
    const ComPtr<ILineEntity> quarter = arc(CVector3(10, 0, 0), CVector3(0, 10, 0), origin, 1);
    const ComPtr<ILineEntity> longWay = arc(CVector3(10, 0, 0), CVector3(0, 10, 0), origin, -1);
    const Case cases[] = {
        {"click on a line", MakeLine(0, 0, 10, 0), 4, -1, 6, 1, 1, TRUE},
        {"click beside a line", MakeLine(0, 0, 10, 0), 4, 1, 6, 2, 1, FALSE},
        {"click past a line's end", MakeLine(0, 0, 10, 0), 11, -1, 12, 1, 1, FALSE},
        {"click inside a slanted line's box, off the line", MakeLine(0, 0, 10, 10), 6, 0, 8, 2, 1, FALSE},
        {"window over part of a line", MakeLine(0, 0, 10, 0), 4, -1, 6, 1, 0, FALSE},
        {"window round a whole line", MakeLine(0, 0, 10, 0), -1, -1, 11, 1, 0, TRUE},
        {"click on an arc's middle, far from its chord", quarter, apex - 0.5, apex - 0.5, apex + 0.5, apex + 0.5,
         1, TRUE},
        {"click on its circle, off the arc", quarter, -apex - 0.5, -apex - 0.5, -apex + 0.5, -apex + 0.5, 1,
         FALSE},
        {"click on the chord, inside the arc", quarter, 4.5, 4.5, 5.5, 5.5, 1, FALSE},
        {"clockwise the long way round", longWay, -apex - 0.5, -apex - 0.5, -apex + 0.5, -apex + 0.5, 1, TRUE},
        {"clockwise, not through the short way", longWay, apex - 0.5, apex - 0.5, apex + 0.5, apex + 0.5, 1,
         FALSE},
        {"window round the quarter arc", quarter, -0.5, -0.5, 10.5, 10.5, 0, TRUE},
        {"window round its chord only", quarter, -0.5, -0.5, 10.5, 8, 0, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPlaneObject left(CVector3(c.left, 0, 0), CVector3(1, 0, 0));
        CPlaneObject bottom(CVector3(0, c.bottom, 0), CVector3(0, 1, 0));
        CPlaneObject right(CVector3(c.right, 0, 0), CVector3(-1, 0, 0));
        CPlaneObject top(CVector3(0, c.top, 0), CVector3(0, -1, 0));
        BOOL hit = 2;
        ASSERT_EQ(c.curve->HitTest(&left, &bottom, &right, &top, c.mode, &hit), S_OK);
        EXPECT_EQ(hit, c.hit);
    }
    BOOL hit = FALSE;
    CPlaneObject side;
    EXPECT_EQ(quarter->HitTest(&side, nullptr, &side, &side, 1, &hit), E_POINTER);
    EXPECT_EQ(quarter->HitTest(&side, &side, &side, &side, 1, nullptr), E_POINTER);
}

TEST(MoveEntities, PlainCurvesAreNoGroups)
{
    // The milling features treat an entity that answers IPlane as a group of
    // member curves; a plain move must not.
    ComPtr<ILineEntity> line = MakeLine(0, 0, 1, 0);
    ComPtr<IArcEntity> arc = MakeArc(CVector3(1, 0, 0), CVector3(-1, 0, 0), CVector3(0, 0, 0), 1);
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(line->QueryInterface(IID_IPlane, &out), E_NOINTERFACE);
    EXPECT_EQ(arc->QueryInterface(IID_IPlane, &out), E_NOINTERFACE);
    EXPECT_EQ(line->QueryInterface(IID_IArcEntity, &out), E_NOINTERFACE);
    ComPtr<ILineEntity> arcAsLine;
    EXPECT_EQ(arc->QueryInterface(IID_ILineEntity, arcAsLine.ReceiveVoid()), S_OK);
}

namespace {

// Picks held in document records, and the chains made of them, written as
// "index" or "index~" (reversed) per curve.
class ChainerFixture {
public:
    void Pick(IUnknown* object)
    {
        m_records.push_back(ComPtr<IEntityRecord>::Share(new CEntityRecord(object)));
        m_picks.Add(reinterpret_cast<uintptr_t>(m_records.back().Get()));
        m_objects.push_back(object);
    }
    void PickNull() { m_picks.Add(0); }

    std::vector<std::string> Chain()
    {
        // Held through a reference, as the component's callers hold it.
        const auto chainer = ComPtr<CCurveChainer>::Share(new CCurveChainer());
        EXPECT_EQ(chainer->SetEntities(&m_picks), S_OK);
        int32_t count = 0;
        chainer->GetChainCount(&count);
        std::vector<std::string> result;
        for (int32_t i = 0; i < count; ++i) {
            ComPtr<ICurveSetEntity> chain;
            EXPECT_EQ(chainer->GetChain(i, chain.Receive()), S_OK);
            int32_t curves = 0;
            chain->GetCurveCount(&curves);
            std::string text;
            for (int32_t k = 0; k < curves; ++k) {
                ComPtr<IPlane> curve;
                void* companion = nullptr;
                EXPECT_EQ(chain->GetCurve(k, curve.Receive(), &companion), S_OK);
                ComPtr<IPolylineSet> set;
                EXPECT_EQ(curve->GetApproximation(0.003, set.Receive(), 1), S_OK);
                int32_t parts = -1;
                EXPECT_FAILED_OR_ZERO(curve.Get(), parts);
                text += (text.empty() ? "" : " ") + std::to_string(IndexOf(set.Get())) + (companion ? "~" : "");
            }
            result.push_back(text);
        }
        ComPtr<ICurveSetEntity> none;
        EXPECT_EQ(chainer->GetChain(count, none.Receive()), E_FAIL);
        return result;
    }

private:
    static void EXPECT_FAILED_OR_ZERO(IPlane* curve, int32_t& parts)
    {
        const HRESULT result = curve->GetPartCount(&parts);
        EXPECT_TRUE(FAILED(result) || parts == 0);
    }
    // The pick whose start and end points are those of the approximation
    // (its first and last point).
    size_t IndexOf(IPolylineSet* set)
    {
        uint32_t points = 0;
        set->GetPointCount(0, &points);
        double x0 = 0, y0 = 0, z0 = 0, x1 = 0, y1 = 0, z1 = 0;
        set->GetPoint(0, 0, &x0, &y0, &z0);
        set->GetPoint(0, static_cast<int32_t>(points) - 1, &x1, &y1, &z1);
        for (size_t i = 0; i < m_objects.size(); ++i) {
            ComPtr<ILineEntity> curve;
            if (m_objects[i]->QueryInterface(IID_ILineEntity, curve.ReceiveVoid()) != S_OK) {
                continue;
            }
            CVector3 start;
            CVector3 end;
            curve->GetStartPoint(&start);
            curve->GetEndPoint(&end);
            if (std::fabs(start.x.GetValue() - x0) < kExact && std::fabs(start.y.GetValue() - y0) < kExact &&
                std::fabs(end.x.GetValue() - x1) < kExact && std::fabs(end.y.GetValue() - y1) < kExact) {
                return i;
            }
        }
        return SIZE_MAX;
    }

    std::vector<ComPtr<IEntityRecord>> m_records;
    std::vector<IUnknown*> m_objects;
    CSelectionSetObject m_picks;
};

}  // namespace

TEST(CurveChainer, JoinsTouchingCurvesInRunningOrder)
{
    struct Piece {
        double x1, y1, x2, y2;
    };
    struct ChainCase {
        const char* name;
        std::vector<Piece> pieces;
        std::vector<std::string> chains;
    };
    const ChainCase kCases[] = {
        {"square_in_order", {{0, 0, 1, 0}, {1, 0, 1, 1}, {1, 1, 0, 1}, {0, 1, 0, 0}}, {"0 1 2 3"}},
        {"square_shuffled_and_reversed", {{0, 0, 1, 0}, {0, 1, 1, 1}, {0, 0, 0, 1}, {1, 0, 1, 1}}, {"0 3 1~ 2~"}},
        {"grows_at_its_start", {{1, 0, 2, 0}, {0, 0, 1, 0}, {2, 0, 3, 0}}, {"1 0 2"}},
        {"gap_within_touch_distance", {{0, 0, 1, 0}, {1.0005, 0, 2, 0}}, {"0 1"}},
        {"gap_too_wide_makes_two_chains", {{0, 0, 1, 0}, {1.01, 0, 2, 0}}, {"0", "1"}},
        {"branch_takes_the_first_pick", {{0, 0, 1, 0}, {1, 0, 2, 0}, {1, 0, 1, 5}}, {"0 1", "2"}},
    };
    for (const ChainCase& c : kCases) {
        SCOPED_TRACE(c.name);
        std::vector<ComPtr<ILineEntity>> lines;
        ChainerFixture fixture;
        for (const Piece& p : c.pieces) {
            lines.push_back(MakeLine(p.x1, p.y1, p.x2, p.y2));
            fixture.Pick(lines.back().Get());
        }
        EXPECT_EQ(fixture.Chain(), c.chains);
    }
}

TEST(CurveChainer, ChainsArcsAndSkipsWhatIsNoCurve)
{
    // A slot: two lines and two half circles, with a non-curve and a null id
    // among the picks (indices count the objects picked: the null id has none).
    ComPtr<ILineEntity> bottom = MakeLine(0, 0, 10, 0);
    ComPtr<IArcEntity> right = MakeArc(CVector3(10, 0, 0), CVector3(10, 4, 0), CVector3(10, 2, 0), 1);
    ComPtr<ILineEntity> top = MakeLine(0, 4, 10, 4);
    ComPtr<IArcEntity> left = MakeArc(CVector3(0, 4, 0), CVector3(0, 0, 0), CVector3(0, 2, 0), 1);
    ComPtr<IPolylineSet> notACurve = ComPtr<IPolylineSet>::Share(new CPolylineSet());
    ChainerFixture fixture;
    fixture.Pick(bottom.Get());
    fixture.Pick(notACurve.Get());
    fixture.PickNull();
    fixture.Pick(top.Get());
    fixture.Pick(right.Get());
    fixture.Pick(left.Get());
    EXPECT_EQ(fixture.Chain(), std::vector<std::string>{"0 3 2~ 4"});
}

TEST(CurveChainer, RefusesNullPicksAndStartsAfreshOnEachCall)
{
    // Held through a reference, as the component's callers hold it.
    const auto chainer = ComPtr<CCurveChainer>::Share(new CCurveChainer());
    EXPECT_EQ(chainer->SetEntities(nullptr), E_POINTER);
    CSelectionSetObject empty;
    EXPECT_EQ(chainer->SetEntities(&empty), S_OK);
    int32_t count = -1;
    chainer->GetChainCount(&count);
    EXPECT_EQ(count, 0);
}

namespace {

// The module as the host finds it: its configuration file names the class
// id, and the registry (a private one for the test) names the module.
class EntityComponentModule : public IsolatedRegistry {
protected:
    std::string ModulePath() const { return std::string(NUVEX_TEST_BIN_DIR) + "/AddIns/entities.so"; }
};

using RegisterFunction = HRESULT (*)();

}  // namespace

TEST_F(EntityComponentModule, ConfigurationNamesTheClassId)
{
    std::ifstream file(std::string(NUVEX_TEST_BIN_DIR) + "/AddInsCfg/entities.cfg", std::ios::binary);
    ASSERT_TRUE(file.is_open());
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_EQ(text.size(), 50u);
    EXPECT_EQ(text.substr(0, 12), "ADDIN_CLSID ");
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromString(text.substr(12).c_str(), &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_EntityComponent);
}

TEST_F(EntityComponentModule, RegisteredModuleServesEntitiesAndChainer)
{
    IClassFactory* factory = nullptr;
    EXPECT_EQ(CoGetClassObject(CLSID_EntityComponent, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&factory)),
              REGDB_E_CLASSNOTREG);

    HMODULE module = LoadLibraryA(ModulePath().c_str());
    ASSERT_NE(module, nullptr);
    auto registerServer = reinterpret_cast<RegisterFunction>(GetProcAddress(module, "DllRegisterServer"));
    auto unregisterServer = reinterpret_cast<RegisterFunction>(GetProcAddress(module, "DllUnregisterServer"));
    ASSERT_NE(registerServer, nullptr);
    ASSERT_NE(unregisterServer, nullptr);
    ASSERT_EQ(registerServer(), S_OK);

    ASSERT_EQ(CoGetClassObject(CLSID_EntityComponent, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&factory)),
              S_OK);
    struct MadeCase {
        const char* name;
        const IID* iid;
        HRESULT result;
    };
    const MadeCase kCases[] = {
        {"line", &IID_ILineEntity, S_OK},
        {"arc", &IID_IArcEntity, S_OK},
        {"chainer", &IID_ICurveChainer, S_OK},
        {"plane_is_not_served", &IID_IPlane, E_NOINTERFACE},
    };
    for (const MadeCase& c : kCases) {
        SCOPED_TRACE(c.name);
        IUnknown* object = nullptr;
        EXPECT_EQ(factory->CreateInstance(nullptr, *c.iid, reinterpret_cast<void**>(&object)), c.result);
        EXPECT_EQ(object != nullptr, c.result == S_OK);
        if (object != nullptr) {
            EXPECT_EQ(object->Release(), 0u) << "made with exactly one reference";
        }
    }
    // An arc made by the module keeps and reports what it is given.
    ComPtr<IArcEntity> arc;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IArcEntity, arc.ReceiveVoid()), S_OK);
    CVector3 end(3, 4, 0);
    arc->SetEndPoint(&end);
    CVector3 back;
    arc->GetEndPoint(&back);
    EXPECT_EQ(back, end);

    ASSERT_EQ(unregisterServer(), S_OK);
    IClassFactory* again = nullptr;
    EXPECT_EQ(CoGetClassObject(CLSID_EntityComponent, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&again)),
              REGDB_E_CLASSNOTREG);
    arc.Reset();
    FreeLibrary(module);
}
