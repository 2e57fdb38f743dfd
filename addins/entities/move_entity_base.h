// CMoveEntityBase<Interface>: what the line and arc move entities share: the
// reference count, the start and end point, the point accessors and the
// identity under which the document stores them.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <new>
#include <vector>

#include "ientitycomponent.h"
#include "objectmodel/byte_io.h"
#include "objectmodel/com_object.h"
#include "objectmodel/entity_defaults.h"
#include "objectmodel/out_param.h"
#include "objectmodel/plane_object.h"
#include "objectmodel/tolerance.h"
#include "objectmodel/vector3.h"

// Point values of a byte form are taken only when finite: a stored NaN or
// infinity would poison every later computation with the move.
inline bool ReadFinitePoint(ByteReader& reader, CVector3& point)
{
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    if (!reader.ReadF64(x) || !reader.ReadF64(y) || !reader.ReadF64(z)) {
        return false;
    }
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) {
        return false;
    }
    point = CVector3(CReal(x), CReal(y), CReal(z));
    return true;
}

inline void WritePoint(ByteWriter& writer, const CVector3& point)
{
    writer.WriteF64(point.x.GetValue());
    writer.WriteF64(point.y.GetValue());
    writer.WriteF64(point.z.GetValue());
}

// The byte form of a move entity: its points, x, y, z each, then its
// further values, all little-endian doubles.
template <size_t Points, size_t Values = 0>
struct PointForm {
    static constexpr uint32_t kSize = static_cast<uint32_t>((Points * 3 + Values) * sizeof(double));

    std::array<CVector3, Points> points{};
    std::array<double, Values> values{};

    // Takes a block of exactly kSize bytes of finite values; false, with
    // the form as it was, for anything else.
    bool Read(uint32_t size, const BYTE* data)
    {
        if (size != kSize || data == nullptr) {
            return false;
        }
        ByteReader reader(data, size);
        PointForm read;
        for (CVector3& point : read.points) {
            if (!ReadFinitePoint(reader, point)) {
                return false;
            }
        }
        for (double& value : read.values) {
            if (!reader.ReadF64(value) || !std::isfinite(value)) {
                return false;
            }
        }
        if (!reader.AtEnd()) {
            return false;
        }
        *this = read;
        return true;
    }
    // Fills a buffer of kSize bytes; E_POINTER for null.
    HRESULT Write(BYTE* buffer) const
    {
        if (buffer == nullptr) {
            return E_POINTER;
        }
        ByteWriter writer(buffer, kSize);
        for (const CVector3& point : points) {
            WritePoint(writer, point);
        }
        for (double value : values) {
            writer.WriteF64(value);
        }
        return writer.Full() ? S_OK : E_FAIL;
    }
};

// A copy of `entity` with reference count 0; E_POINTER for a null
// out-parameter, E_OUTOFMEMORY when there is no room.
template <class Entity>
HRESULT CloneEntity(const Entity& entity, IObjectBase** copy)
{
    if (copy == nullptr) {
        return E_POINTER;
    }
    auto* clone = new (std::nothrow) Entity(entity);
    if (clone == nullptr) {
        return E_OUTOFMEMORY;
    }
    *copy = clone;
    return S_OK;
}

// Writes the box of the points as its two corners; E_POINTER for null.
inline HRESULT CopyBoxOut(std::initializer_list<CVector3> points, IVector3* minimum, IVector3* maximum)
{
    if (minimum == nullptr || maximum == nullptr || points.size() == 0) {
        return E_POINTER;
    }
    CVector3 lo = *points.begin();
    CVector3 hi = lo;
    for (const CVector3& p : points) {
        lo = CVector3(std::min(lo.x.GetValue(), p.x.GetValue()), std::min(lo.y.GetValue(), p.y.GetValue()),
                      std::min(lo.z.GetValue(), p.z.GetValue()));
        hi = CVector3(std::max(hi.x.GetValue(), p.x.GetValue()), std::max(hi.y.GetValue(), p.y.GetValue()),
                      std::max(hi.z.GetValue(), p.z.GetValue()));
    }
    minimum->CopyFrom(&lo);
    maximum->CopyFrom(&hi);
    return S_OK;
}

// Copies a point out through the interface; E_POINTER for null.
inline HRESULT CopyPointOut(const CVector3& value, IVector3* out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    CVector3 copy = value;
    return out->CopyFrom(&copy);
}

// Reads a point given through the interface; E_POINTER for null.
inline HRESULT CopyPointIn(IVector3* in, CVector3& value)
{
    if (in == nullptr) {
        return E_POINTER;
    }
    value = CVector3(in);
    return S_OK;
}

// Whether a move's curve, given as a polyline, lies in a pick region bounded
// by four side planes whose normals point into it. A point is inside a side
// when (P - O) . N exceeds the tolerance. With a non-zero mode (a click or a
// crossing box) any part of the curve inside all four sides is a hit; with
// mode 0 (a window box) all of it must be inside.
inline HRESULT HitTestPolyline(const std::vector<CVector3>& points, IPlane* side1, IPlane* side2, IPlane* side3,
                               IPlane* side4, uint32_t mode, BOOL* hit)
{
    if (side1 == nullptr || side2 == nullptr || side3 == nullptr || side4 == nullptr || hit == nullptr) {
        return E_POINTER;
    }
    *hit = FALSE;
    const CPlaneObject sides[] = {CPlaneObject(side1), CPlaneObject(side2), CPlaneObject(side3),
                                  CPlaneObject(side4)};
    const auto height = [](const CVector3& point, const CPlaneObject& side) {
        const CVector3& o = side.GetOriginValue();
        const CVector3& n = side.GetNormalValue();
        return (point.x.GetValue() - o.x.GetValue()) * n.x.GetValue() +
               (point.y.GetValue() - o.y.GetValue()) * n.y.GetValue() +
               (point.z.GetValue() - o.z.GetValue()) * n.z.GetValue() - kRealTolerance;
    };
    if (mode == 0) {
        for (const CVector3& point : points) {
            for (const CPlaneObject& side : sides) {
                if (height(point, side) <= 0.0) {
                    return S_OK;
                }
            }
        }
        *hit = points.empty() ? FALSE : TRUE;
        return S_OK;
    }
    for (size_t i = 0; i < points.size(); ++i) {
        const CVector3& a = points[i];
        const CVector3& b = i + 1 < points.size() ? points[i + 1] : points[i];
        // The part a + t (b - a), t in [low, high], that stays inside.
        double low = 0.0;
        double high = 1.0;
        bool inside = true;
        for (const CPlaneObject& side : sides) {
            const double ha = height(a, side);
            const double hb = height(b, side);
            if (ha <= 0.0 && hb <= 0.0) {
                inside = false;
                break;
            }
            if (ha > 0.0 && hb > 0.0) {
                continue;
            }
            const double t = ha / (ha - hb);
            if (ha <= 0.0) {
                low = std::max(low, t);
            } else {
                high = std::min(high, t);
            }
        }
        if (inside && low <= high) {
            *hit = TRUE;
            return S_OK;
        }
    }
    return S_OK;
}

template <class Interface, const IID& MostDerived, const IID&... Chain>
class CMoveEntityBase : public CCountedObject<CEntityOperationsNotOffered<Interface>, IID_IObjectBase,
                                              IID_IEntityBase, IID_IGeometryEntity, Chain...> {
public:
    HRESULT STDMETHODCALLTYPE SetHostDocument(IHostDocument*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID* factory, IID* iid) override
    {
        if (factory != nullptr) {
            *factory = CLSID_EntityComponent;
        }
        if (iid != nullptr) {
            *iid = MostDerived;
        }
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE SetStartPoint(IVector3* point) override { return CopyPointIn(point, m_start); }
    HRESULT STDMETHODCALLTYPE GetStartPoint(IVector3* point) override { return CopyPointOut(m_start, point); }
    HRESULT STDMETHODCALLTYPE SetEndPoint(IVector3* point) override { return CopyPointIn(point, m_end); }
    HRESULT STDMETHODCALLTYPE GetEndPoint(IVector3* point) override { return CopyPointOut(m_end, point); }

    const CVector3& StartValue() const { return m_start; }
    const CVector3& EndValue() const { return m_end; }

protected:
    CVector3 m_start;
    CVector3 m_end;
};
