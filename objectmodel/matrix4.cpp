// CMatrix4: element access, arithmetic, determinant, inverse and the
// transform builders.
#include "objectmodel/matrix4.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "objectmodel/vector3.h"

namespace {

void CheckRow(int row)
{
    if (row < 0 || row > 3) {
        std::fprintf(stderr, "CMatrix4: row %d outside 0..3\n", row);
        std::abort();
    }
}

// The 24 permutations of (0, 1, 2, 3) with their signs, for the expansion of
// the determinant.
struct Permutation {
    std::array<int, 4> columns;
    int sign;
};

constexpr std::array<Permutation, 24> MakePermutations()
{
    std::array<Permutation, 24> result{};
    std::array<int, 4> p = {0, 1, 2, 3};
    for (int n = 0; n < 24; ++n) {
        int inversions = 0;
        for (int i = 0; i < 4; ++i) {
            for (int j = i + 1; j < 4; ++j) {
                inversions += p[i] > p[j] ? 1 : 0;
            }
        }
        result[n] = {p, inversions % 2 == 0 ? 1 : -1};
        // Next permutation in lexicographic order.
        int i = 2;
        while (i >= 0 && p[i] > p[i + 1]) {
            --i;
        }
        if (i < 0) {
            break;
        }
        int j = 3;
        while (p[j] < p[i]) {
            --j;
        }
        std::swap(p[i], p[j]);
        for (int a = i + 1, b = 3; a < b; ++a, --b) {
            std::swap(p[a], p[b]);
        }
    }
    return result;
}

constexpr std::array<Permutation, 24> kPermutations = MakePermutations();

// Determinant of 16 plain doubles in row-major order, by the same expansion.
double DeterminantOf(const std::array<double, 16>& e)
{
    double sum = 0.0;
    for (const Permutation& p : kPermutations) {
        double product = e[0 * 4 + p.columns[0]] * e[1 * 4 + p.columns[1]] * e[2 * 4 + p.columns[2]] *
                         e[3 * 4 + p.columns[3]];
        sum += p.sign > 0 ? product : -product;
    }
    return sum;
}

} // namespace

CMatrix4::CMatrix4()
{
    for (int i = 0; i < 4; ++i) {
        m_elements[i * 4 + i] = CReal(1.0);
    }
}

CMatrix4::CMatrix4(IMatrix4* source) : CMatrix4()
{
    if (source == nullptr) {
        return;
    }
    for (uint32_t r = 0; r < 4; ++r) {
        for (uint32_t c = 0; c < 4; ++c) {
            source->GetElement(r, c, &m_elements[r * 4 + c]);
        }
    }
}

HRESULT CMatrix4::SetElement(uint32_t row, uint32_t column, IReal* value)
{
    if (value == nullptr) {
        return E_POINTER;
    }
    if (row > 3 || column > 3) {
        return E_FAIL;
    }
    CReal read;
    HRESULT hr = read.CopyFrom(value);
    if (FAILED(hr)) {
        return hr;
    }
    m_elements[row * 4 + column] = read;
    return S_OK;
}

HRESULT CMatrix4::GetElement(uint32_t row, uint32_t column, IReal* value)
{
    if (value == nullptr) {
        return E_POINTER;
    }
    if (row > 3 || column > 3) {
        return E_FAIL;
    }
    return value->CopyFrom(&m_elements[row * 4 + column]);
}

std::span<CReal, 4> CMatrix4::Row(int row)
{
    CheckRow(row);
    return std::span<CReal, 4>(m_elements + row * 4, 4);
}

std::span<const CReal, 4> CMatrix4::Row(int row) const
{
    CheckRow(row);
    return std::span<const CReal, 4>(m_elements + row * 4, 4);
}

CMatrix4 operator+(const CMatrix4& a, const CMatrix4& b)
{
    CMatrix4 result(a);
    for (int i = 0; i < 16; ++i) {
        result.m_elements[i] = a.m_elements[i] + b.m_elements[i];
    }
    return result;
}

CMatrix4 operator-(const CMatrix4& a, const CMatrix4& b)
{
    CMatrix4 result(a);
    for (int i = 0; i < 16; ++i) {
        result.m_elements[i] = a.m_elements[i] - b.m_elements[i];
    }
    return result;
}

CMatrix4 operator*(const CMatrix4& a, const CMatrix4& b)
{
    CMatrix4 result;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) {
                sum += a.m_elements[r * 4 + k].GetValue() * b.m_elements[k * 4 + c].GetValue();
            }
            result.m_elements[r * 4 + c] = CReal(sum);
        }
    }
    return result;
}

CMatrix4 CMatrix4::operator*(const CReal& s) const
{
    CMatrix4 result;
    for (int i = 0; i < 16; ++i) {
        result.m_elements[i] = m_elements[i] * s;
    }
    return result;
}

CMatrix4 CMatrix4::operator/(const CReal& s) const
{
    CMatrix4 result;
    for (int i = 0; i < 16; ++i) {
        result.m_elements[i] = m_elements[i] / s;
    }
    return result;
}

CMatrix4& CMatrix4::operator+=(const CMatrix4& b)
{
    *this = *this + b;
    return *this;
}

CMatrix4& CMatrix4::operator-=(const CMatrix4& b)
{
    *this = *this - b;
    return *this;
}

CMatrix4& CMatrix4::operator*=(const CMatrix4& b)
{
    *this = *this * b;
    return *this;
}

CMatrix4& CMatrix4::operator*=(const CReal& s)
{
    *this = *this * s;
    return *this;
}

CMatrix4& CMatrix4::operator/=(const CReal& s)
{
    *this = *this / s;
    return *this;
}

CMatrix4 CMatrix4::Transposed() const
{
    CMatrix4 result;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            result.m_elements[r * 4 + c] = m_elements[c * 4 + r];
        }
    }
    return result;
}

CReal CMatrix4::Determinant() const
{
    std::array<double, 16> values;
    for (int i = 0; i < 16; ++i) {
        values[i] = m_elements[i].GetValue();
    }
    return CReal(DeterminantOf(values));
}

bool CMatrix4::IsSingular() const
{
    // The determinant of the matrix with every row scaled to unit length is
    // det / (product of the row lengths): independent of the scale of each
    // row, 1 for orthogonal rows and 0 for dependent ones. Scaling the rows
    // first keeps the test free of overflow and underflow.
    std::array<double, 16> unitRows;
    for (int r = 0; r < 4; ++r) {
        // Divided by the largest magnitude first, so that squaring can
        // neither overflow nor underflow.
        double largest = 0.0;
        for (int c = 0; c < 4; ++c) {
            largest = std::fmax(largest, std::fabs(m_elements[r * 4 + c].GetValue()));
        }
        if (!(largest > 0.0) || !std::isfinite(largest)) {
            return true; // a zero row, or one that is not finite
        }
        double squares = 0.0;
        for (int c = 0; c < 4; ++c) {
            unitRows[r * 4 + c] = m_elements[r * 4 + c].GetValue() / largest;
            squares += unitRows[r * 4 + c] * unitRows[r * 4 + c];
        }
        double length = std::sqrt(squares);
        for (int c = 0; c < 4; ++c) {
            unitRows[r * 4 + c] /= length;
        }
    }
    double ratio = std::fabs(DeterminantOf(unitRows));
    return !(ratio >= kMatrixSingularRelativeTolerance);
}

CMatrix4 CMatrix4::Inverse() const
{
    if (IsSingular()) {
        return CMatrix4();
    }
    CReal determinant = Determinant();
    if (!std::isfinite(determinant.GetValue()) || Exactly(determinant.GetValue(), 0.0)) {
        // Rows of lengths beyond the double range (or below it) can leave the
        // plain determinant unrepresentable although their directions are
        // independent; there is no inverse in doubles then either.
        return CMatrix4();
    }
    // Cofactor C(i, j): the 3x3 determinant of rows i+1, i+2, i+3 and columns
    // j+1, j+2, j+3 (mod 4) in that cyclic order, signed by the parity of
    // i + j; the inverse is the transposed cofactor matrix over det.
    CMatrix4 result;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            auto e = [&](int r, int c) { return m_elements[((i + r) % 4) * 4 + (j + c) % 4].GetValue(); };
            double minor = e(1, 1) * e(2, 2) * e(3, 3) + e(1, 2) * e(2, 3) * e(3, 1) + e(1, 3) * e(2, 1) * e(3, 2) -
                           e(1, 3) * e(2, 2) * e(3, 1) - e(1, 1) * e(2, 3) * e(3, 2) - e(1, 2) * e(2, 1) * e(3, 3);
            double cofactor = (i + j) % 2 == 0 ? minor : -minor;
            result.m_elements[j * 4 + i] = CReal(cofactor / determinant.GetValue());
        }
    }
    return result;
}

void CMatrix4::SetTranslation(const CVector3& from, const CVector3& to)
{
    *this = CMatrix4();
    CVector3 offset = to - from;
    m_elements[12] = offset.x;
    m_elements[13] = offset.y;
    m_elements[14] = offset.z;
}

void CMatrix4::SetScale(const CReal& s)
{
    SetScale3(s, s, s);
}

void CMatrix4::SetScale3(const CReal& sx, const CReal& sy, const CReal& sz)
{
    for (CReal& element : m_elements) {
        element = CReal();
    }
    m_elements[0] = sx;
    m_elements[5] = sy;
    m_elements[10] = sz;
    m_elements[15] = CReal(1.0);
}

void CMatrix4::SetRotationX(const CReal& angleRad)
{
    *this = CMatrix4();
    CReal c = RealCos(angleRad);
    CReal s = RealSin(angleRad);
    m_elements[5] = c;
    m_elements[6] = s;
    m_elements[9] = -s;
    m_elements[10] = c;
}

void CMatrix4::SetRotationY(const CReal& angleRad)
{
    *this = CMatrix4();
    CReal c = RealCos(angleRad);
    CReal s = RealSin(angleRad);
    m_elements[0] = c;
    m_elements[2] = -s;
    m_elements[8] = s;
    m_elements[10] = c;
}

void CMatrix4::SetRotationZ(const CReal& angleRad)
{
    *this = CMatrix4();
    CReal c = RealCos(angleRad);
    CReal s = RealSin(angleRad);
    m_elements[0] = c;
    m_elements[1] = s;
    m_elements[4] = -s;
    m_elements[5] = c;
}

void CMatrix4::SetAxes(const CVector3& a, const CVector3& b, const CVector3& c)
{
    const CVector3* axes[3] = {&a, &b, &c};
    for (int r = 0; r < 3; ++r) {
        m_elements[r * 4 + 0] = axes[r]->x;
        m_elements[r * 4 + 1] = axes[r]->y;
        m_elements[r * 4 + 2] = axes[r]->z;
        m_elements[r * 4 + 3] = CReal();
    }
    m_elements[12] = CReal();
    m_elements[13] = CReal();
    m_elements[14] = CReal();
    m_elements[15] = CReal(1.0);
}

void CMatrix4::SetFromXY(const CVector3& xAxis, const CVector3& yAxis)
{
    SetAxes(xAxis, yAxis, xAxis.Cross(yAxis));
}

void CMatrix4::SetFromAxes(const CVector3& xAxis, const CVector3& zAxis)
{
    SetAxes(xAxis, zAxis.Cross(xAxis), zAxis);
}

void CMatrix4::SetFromYZ(const CVector3& yAxis, const CVector3& zAxis)
{
    SetAxes(yAxis.Cross(zAxis), yAxis, zAxis);
}

namespace {

CMatrix4 TranslationToOrigin(const CVector3& origin)
{
    CMatrix4 translation;
    translation.SetTranslation(origin, CVector3());
    return translation;
}

} // namespace

void CMatrix4::SetFrame(const CVector3& origin, const CVector3& a, const CVector3& b, const CVector3& c)
{
    CMatrix4 axes;
    axes.SetAxes(a, b, c);
    *this = axes * TranslationToOrigin(origin);
}

void CMatrix4::SetFrameXY(const CVector3& origin, const CVector3& xAxis, const CVector3& yAxis)
{
    CMatrix4 axes;
    axes.SetFromXY(xAxis, yAxis);
    *this = axes * TranslationToOrigin(origin);
}

void CMatrix4::SetFrameXZ(const CVector3& origin, const CVector3& xAxis, const CVector3& zAxis)
{
    CMatrix4 axes;
    axes.SetFromAxes(xAxis, zAxis);
    *this = axes * TranslationToOrigin(origin);
}

void CMatrix4::SetFrameYZ(const CVector3& origin, const CVector3& yAxis, const CVector3& zAxis)
{
    CMatrix4 axes;
    axes.SetFromYZ(yAxis, zAxis);
    *this = axes * TranslationToOrigin(origin);
}
