// Helpers shared by the entity tests: vector comparison within a stated
// tolerance, an object of a foreign kind, and the reserved-slot checks.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "objectmodel/entity_defaults.h"
#include "objectmodel/real.h"
#include "objectmodel/vector3.h"

namespace entity_test {

// Tolerance of the expected values in these tests: far below the model
// tolerance, far above the rounding of the few operations involved.
inline constexpr double kExpectTolerance = 1e-9;

inline CVector3 V(double x, double y, double z) { return CVector3(x, y, z); }

inline std::string Text(const CVector3& v)
{
    return "(" + std::to_string(v.x.GetValue()) + ", " + std::to_string(v.y.GetValue()) + ", " +
           std::to_string(v.z.GetValue()) + ")";
}

inline ::testing::AssertionResult Near(const CVector3& actual, const CVector3& expected,
                                       double tolerance = kExpectTolerance)
{
    const CVector3 d = actual - expected;
    if (std::abs(d.x.GetValue()) <= tolerance && std::abs(d.y.GetValue()) <= tolerance &&
        std::abs(d.z.GetValue()) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "actual " << Text(actual) << ", expected " << Text(expected);
}

// A sentinel that an out-parameter keeps when an operation must not write it.
inline CVector3 Sentinel() { return V(-123.0, 456.0, -789.0); }

// An entity whose class ids name a kind of its own: neither a line nor a
// plane. Counted, made on the heap by the tests through ComPtr.
class CForeignEntity : public CEntityOperationsNotOffered<IGeometryEntity> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        return AnswerQueryInterface(this, true, iid, out, {&IID_IObjectBase, &IID_IEntityBase, &IID_IGeometryEntity});
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_count; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        if (--m_count == 0) {
            delete this;
            return 0;
        }
        return m_count;
    }
    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID* factory, IID* iid) override
    {
        *factory = CLSID_HostObjectFactory;
        *iid = IID_IGeometryEntity;
        return S_OK;
    }
    virtual ~CForeignEntity() = default;

private:
    ULONG m_count = 0;
};

// The operations of the entity chain that a class may leave unoffered,
// called with sentinel outputs: each must answer E_NOTIMPL and write
// nothing. `offered` names the ones the class does offer, which are skipped.
struct Offered {
    bool draw = false;
    bool nearestPointToLine = false;
    bool hitTest = false;
    bool tessellate = false;
    bool getDistanceTo = false;
    bool getExtents = false;
};

inline void ExpectNotOfferedOperations(IGeometryEntity& entity, const Offered& offered)
{
    IObjectBase* clone = reinterpret_cast<IObjectBase*>(0x1);
    EXPECT_EQ(entity.Clone(&clone), E_NOTIMPL);
    EXPECT_EQ(clone, reinterpret_cast<IObjectBase*>(0x1));
    const BYTE data[4] = {1, 2, 3, 4};
    EXPECT_EQ(entity.Load(sizeof data, data), E_NOTIMPL);
    uint32_t size = 77;
    EXPECT_EQ(entity.GetSize(&size), E_NOTIMPL);
    EXPECT_EQ(size, 77u);
    BYTE buffer[4] = {9, 9, 9, 9};
    EXPECT_EQ(entity.Save(buffer), E_NOTIMPL);
    EXPECT_EQ(buffer[0], 9);
    EXPECT_EQ(entity.SetHostDocument(nullptr), E_NOTIMPL);

    EXPECT_EQ(entity.Reserved1(1, 2), E_NOTIMPL);
    EXPECT_EQ(entity.Reserved2(1), E_NOTIMPL);
    EXPECT_EQ(entity.Reserved3(1, 2, 3), E_NOTIMPL);
    EXPECT_EQ(entity.Reserved4(nullptr), E_NOTIMPL);
    EXPECT_EQ(entity.Reserved5(1, 2, 3, 4, 5, 6, 7, 8), E_NOTIMPL);
    EXPECT_EQ(entity.Reserved6(1, 2, 3), E_NOTIMPL);

    if (!offered.getExtents) {
        CVector3 minimum = Sentinel();
        CVector3 maximum = Sentinel();
        EXPECT_EQ(entity.GetExtents(&minimum, &maximum, 0), E_NOTIMPL);
        EXPECT_TRUE(Near(minimum, Sentinel()));
        EXPECT_TRUE(Near(maximum, Sentinel()));
    }
    CVector3 grip = V(1, 2, 3);
    EXPECT_EQ(entity.MoveGripPoint(0, &grip, TRUE), E_NOTIMPL);
    EXPECT_EQ(entity.GetGripPoints(nullptr), E_NOTIMPL);

    if (!offered.draw) {
        EXPECT_EQ(entity.Draw(nullptr), E_NOTIMPL);
    }
    if (!offered.nearestPointToLine) {
        CVector3 point = Sentinel();
        EXPECT_EQ(entity.NearestPointToLine(nullptr, &point, 1), E_NOTIMPL);
        EXPECT_TRUE(Near(point, Sentinel()));
    }
    if (!offered.hitTest) {
        BOOL hit = 7;
        EXPECT_EQ(entity.HitTest(nullptr, nullptr, nullptr, nullptr, 1, &hit), E_NOTIMPL);
        EXPECT_EQ(hit, 7);
    }
    if (!offered.tessellate) {
        IPolylineSet* set = reinterpret_cast<IPolylineSet*>(0x1);
        EXPECT_EQ(entity.Tessellate(nullptr, nullptr, nullptr, nullptr, 1.0, &set), E_NOTIMPL);
        EXPECT_EQ(set, reinterpret_cast<IPolylineSet*>(0x1));
    }
    if (!offered.getDistanceTo) {
        CReal distance(-5.0);
        EXPECT_EQ(entity.GetDistanceTo(nullptr, &distance, TRUE), E_NOTIMPL);
        EXPECT_DOUBLE_EQ(distance.GetValue(), -5.0);
    }
}

// QueryInterface answers every identifier of `chain` (and IUnknown) with the
// object itself, adding one reference each time, and every other entry of
// the identifier table with E_NOINTERFACE and a null pointer.
template <class T>
void ExpectQueryInterfaceChain(T& object, std::initializer_list<const IID*> chain)
{
    const ULONG before = object.GetReferenceCount();
    for (const InterfaceIdEntry& entry : kInterfaceIdTable) {
        SCOPED_TRACE(entry.name);
        const bool inChain = IsInterfaceOfChain(*entry.id, chain);
        void* out = reinterpret_cast<void*>(0x1);
        const HRESULT result = object.QueryInterface(*entry.id, &out);
        if (inChain) {
            EXPECT_EQ(result, S_OK);
            EXPECT_EQ(out, static_cast<void*>(static_cast<IUnknown*>(&object)));
            EXPECT_EQ(object.GetReferenceCount(), before + 1);
            object.Release();
        } else {
            EXPECT_EQ(result, E_NOINTERFACE);
            EXPECT_EQ(out, nullptr);
            EXPECT_EQ(object.GetReferenceCount(), before);
        }
    }
    void* unknown = nullptr;
    EXPECT_EQ(object.QueryInterface(IID_IUnknown, &unknown), S_OK);
    EXPECT_EQ(unknown, static_cast<void*>(static_cast<IUnknown*>(&object)));
    object.Release();
}

}  // namespace entity_test
