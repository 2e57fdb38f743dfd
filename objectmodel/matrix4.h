// CMatrix4: the 4x4 transform of the geometry model, sixteen CReal in
// row-major order (element (r, c) is entry r*4 + c).
//
// Conventions: points are row vectors (x, y, z, 1) multiplied on the left,
// so row 3 is the translation and column 3 is ignored by point transforms;
// a * b applies a first, then b. Angles in radians; each rotation turns
// counter-clockwise about its positive axis. Arithmetic results carry flag 0;
// builders copy the flag of an element they take from an argument and give
// every constant or computed element flag 0.
#pragma once

#include <cstdint>
#include <span>

#include "ivalues.h"
#include "objectmodel/com_object.h"
#include "objectmodel/real.h"

class CVector3;

class CMatrix4 : public CValueObject<IMatrix4, IID_IMatrix4> {
public:
    // The identity.
    CMatrix4();
    // Reads every element through source's GetElement, rows outer; a null
    // source gives the identity.
    explicit CMatrix4(IMatrix4* source);
    CMatrix4(const CMatrix4& other) = default;
    CMatrix4& operator=(const CMatrix4& other) = default;
    ~CMatrix4() override = default;

    // IMatrix4. Row and column outside 0..3, or a null value, answer E_FAIL
    // (E_POINTER for null) and touch nothing.
    HRESULT STDMETHODCALLTYPE SetElement(uint32_t row, uint32_t column, IReal* value) override;
    HRESULT STDMETHODCALLTYPE GetElement(uint32_t row, uint32_t column, IReal* value) override;

    // Row r (0..3; anything else is a programming error and aborts); element
    // (r, c) is its entry c.
    std::span<CReal, 4> Row(int row);
    std::span<const CReal, 4> Row(int row) const;
    std::span<CReal, 16> Elements() { return m_elements; }
    std::span<const CReal, 16> Elements() const { return m_elements; }
    // Element (row, column), both 0..3 (checked as in Row).
    CReal& operator()(int row, int column) { return Row(row)[column]; }
    const CReal& operator()(int row, int column) const { return Row(row)[column]; }

    friend CMatrix4 operator+(const CMatrix4& a, const CMatrix4& b);
    friend CMatrix4 operator-(const CMatrix4& a, const CMatrix4& b);
    // (a * b)(r, c) = sum over k of a(r, k) * b(k, c), summed from k = 0.
    friend CMatrix4 operator*(const CMatrix4& a, const CMatrix4& b);
    CMatrix4 operator*(const CReal& s) const;
    CMatrix4 operator/(const CReal& s) const;
    CMatrix4& operator+=(const CMatrix4& b);
    CMatrix4& operator-=(const CMatrix4& b);
    CMatrix4& operator*=(const CMatrix4& b);
    CMatrix4& operator*=(const CReal& s);
    CMatrix4& operator/=(const CReal& s);

    CMatrix4 Transposed() const;
    // The full permutation expansion: 24 products of four elements.
    CReal Determinant() const;
    // The inverse by cofactors. A singular matrix (determinant below
    // kMatrixSingularRelativeTolerance relative to the product of its row
    // lengths, a zero row, or anything not finite) has the identity as its
    // inverse; nothing is reported, so callers that must know test IsSingular.
    CMatrix4 Inverse() const;
    bool IsSingular() const;

    // Builders, each replacing the whole matrix.
    // The identity with row 3 = (to - from, 1).
    void SetTranslation(const CVector3& from, const CVector3& to);
    // Zero except the diagonal (s, s, s, 1).
    void SetScale(const CReal& s);
    void SetScale3(const CReal& sx, const CReal& sy, const CReal& sz);
    void SetRotationX(const CReal& angleRad);
    void SetRotationY(const CReal& angleRad);
    void SetRotationZ(const CReal& angleRad);
    // Rows (a, 0), (b, 0), (c, 0), (0, 0, 0, 1).
    void SetAxes(const CVector3& a, const CVector3& b, const CVector3& c);
    // SetAxes (x, y, x cross y).
    void SetFromXY(const CVector3& xAxis, const CVector3& yAxis);
    // SetAxes (x, z cross x, z).
    void SetFromAxes(const CVector3& xAxis, const CVector3& zAxis);
    // SetAxes (y cross z, y, z).
    void SetFromYZ(const CVector3& yAxis, const CVector3& zAxis);
    // SetAxes (a, b, c) * translation by -origin: rows 0..2 are the axes and
    // row 3 is (-origin, 1), so p goes to p.x*a + p.y*b + p.z*c - origin.
    void SetFrame(const CVector3& origin, const CVector3& a, const CVector3& b, const CVector3& c);
    void SetFrameXY(const CVector3& origin, const CVector3& xAxis, const CVector3& yAxis);
    void SetFrameXZ(const CVector3& origin, const CVector3& xAxis, const CVector3& zAxis);
    void SetFrameYZ(const CVector3& origin, const CVector3& yAxis, const CVector3& zAxis);

private:
    CReal m_elements[16];
};
