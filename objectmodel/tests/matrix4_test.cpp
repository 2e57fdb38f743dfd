// CMatrix4: element access with checked indices, products, builders, the
// determinant and the inverse with its relative singularity test.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

#include "objectmodel/matrix4.h"
#include "objectmodel/vector3.h"

namespace {

constexpr double kPi = 3.141592653589793;

CMatrix4 FromRows(const double (&rows)[4][4])
{
    CMatrix4 m;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            m(r, c) = rows[r][c];
        }
    }
    return m;
}

void ExpectMatrixNear(const CMatrix4& actual, const CMatrix4& expected, double tolerance)
{
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            SCOPED_TRACE(testing::Message() << "element (" << r << ", " << c << ")");
            EXPECT_NEAR(actual(r, c).GetValue(), expected(r, c).GetValue(), tolerance);
        }
    }
}

void ExpectIdentity(const CMatrix4& m)
{
    ExpectMatrixNear(m, CMatrix4(), 0.0);
}

CMatrix4 Scale(double s)
{
    CMatrix4 m;
    m.SetScale(s);
    return m;
}

CMatrix4 Translation(double x, double y, double z)
{
    CMatrix4 m;
    m.SetTranslation(CVector3(), CVector3(x, y, z));
    return m;
}

void ExpectPointNear(const CVector3& p, double x, double y, double z)
{
    EXPECT_NEAR(p.x.GetValue(), x, 1e-12);
    EXPECT_NEAR(p.y.GetValue(), y, 1e-12);
    EXPECT_NEAR(p.z.GetValue(), z, 1e-12);
}

TEST(Matrix4, DefaultIsTheIdentity)
{
    CMatrix4 m;
    ExpectIdentity(m);
    EXPECT_DOUBLE_EQ(m.Determinant().GetValue(), 1.0);
    ExpectIdentity(m.Inverse());
    EXPECT_FALSE(m.IsSingular());
}

TEST(Matrix4, ElementAccessThroughTheInterface)
{
    CMatrix4 m;
    CReal v(7.5, 3);
    ASSERT_EQ(m.SetElement(1, 2, &v), S_OK);
    CReal w;
    ASSERT_EQ(m.GetElement(1, 2, &w), S_OK);
    EXPECT_DOUBLE_EQ(w.GetValue(), 7.5);
    EXPECT_EQ(w.GetFlag(), 3);
    EXPECT_DOUBLE_EQ(m.Elements()[6].GetValue(), 7.5);
    EXPECT_EQ(m.Row(1)[2].GetFlag(), 3);

    CMatrix4 copy(static_cast<IMatrix4*>(&m));
    EXPECT_EQ(copy(1, 2).GetFlag(), 3);
}

TEST(Matrix4, ElementIndicesOutsideZeroToThreeAreRefused)
{
    const std::pair<uint32_t, uint32_t> outside[] = {{4, 0}, {0, 4}, {4, 4}, {0xFFFFFFFFu, 1}, {2, 0x80000000u}};
    CMatrix4 m;
    const CMatrix4 before = m;
    for (auto [row, column] : outside) {
        SCOPED_TRACE(testing::Message() << row << ", " << column);
        CReal v(5.0, 1);
        EXPECT_EQ(m.SetElement(row, column, &v), E_FAIL);
        CReal w(-1.0, 9);
        EXPECT_EQ(m.GetElement(row, column, &w), E_FAIL);
        EXPECT_DOUBLE_EQ(w.GetValue(), -1.0);
        EXPECT_EQ(w.GetFlag(), 9);
    }
    ExpectMatrixNear(m, before, 0.0);
    EXPECT_EQ(m.SetElement(0, 0, nullptr), E_POINTER);
}

TEST(Matrix4, BuildersMapPointsAsDocumented)
{
    CMatrix4 translation;
    translation.SetTranslation(CVector3(1.0, 2.0, 3.0), CVector3(4.0, 6.0, 8.0));
    EXPECT_DOUBLE_EQ(translation(3, 0).GetValue(), 3.0);
    EXPECT_DOUBLE_EQ(translation(3, 1).GetValue(), 4.0);
    EXPECT_DOUBLE_EQ(translation(3, 2).GetValue(), 5.0);
    EXPECT_DOUBLE_EQ(translation(3, 3).GetValue(), 1.0);
    ExpectPointNear(CVector3().Transform(translation), 3.0, 4.0, 5.0);

    CMatrix4 rotation;
    rotation.SetRotationZ(kPi / 2);
    ExpectPointNear(CVector3(1.0, 0.0, 0.0).Transform(rotation), 0.0, 1.0, 0.0);
    rotation.SetRotationX(kPi / 2);
    ExpectPointNear(CVector3(0.0, 1.0, 0.0).Transform(rotation), 0.0, 0.0, 1.0);
    rotation.SetRotationY(kPi / 2);
    ExpectPointNear(CVector3(0.0, 0.0, 1.0).Transform(rotation), 1.0, 0.0, 0.0);

    // a * b applies a first: translate by (1, 0, 0), then scale by 2.
    ExpectPointNear(CVector3().Transform(Translation(1.0, 0.0, 0.0) * Scale(2.0)), 2.0, 0.0, 0.0);

    CMatrix4 frame;
    frame.SetFrame(CVector3(1.0, 1.0, 1.0), CVector3(1.0, 0.0, 0.0), CVector3(0.0, 1.0, 0.0),
                   CVector3(0.0, 0.0, 1.0));
    ExpectPointNear(CVector3(1.0, 1.0, 1.0).Transform(frame), 0.0, 0.0, 0.0);
    EXPECT_DOUBLE_EQ(frame(3, 0).GetValue(), -1.0);
}

TEST(Matrix4, TwoAxisBuildersCompleteTheFrame)
{
    const CVector3 x(1.0, 0.0, 0.0), y(0.0, 1.0, 0.0), z(0.0, 0.0, 1.0);
    const std::function<void(CMatrix4&)> builders[] = {
        [&](CMatrix4& m) { m.SetFromXY(x, y); },
        [&](CMatrix4& m) { m.SetFromAxes(x, z); },
        [&](CMatrix4& m) { m.SetFromYZ(y, z); },
    };
    for (const auto& build : builders) {
        CMatrix4 m = Scale(3.0);
        build(m);
        ExpectIdentity(m);
    }
    CMatrix4 framed;
    framed.SetFrameXZ(CVector3(0.0, 0.0, 2.0), x, z);
    ExpectPointNear(CVector3(0.0, 0.0, 2.0).Transform(framed), 0.0, 0.0, 0.0);
    framed.SetFrameYZ(CVector3(1.0, 0.0, 0.0), y, z);
    ExpectPointNear(CVector3(1.0, 0.0, 0.0).Transform(framed), 0.0, 0.0, 0.0);
    framed.SetFrameXY(CVector3(0.0, 3.0, 0.0), x, y);
    ExpectPointNear(CVector3(0.0, 3.0, 0.0).Transform(framed), 0.0, 0.0, 0.0);
}

TEST(Matrix4, BuilderFlags)
{
    CMatrix4 scale;
    scale.SetScale(CReal(2.0, 6));
    EXPECT_EQ(scale(0, 0).GetFlag(), 6);
    EXPECT_EQ(scale(2, 2).GetFlag(), 6);
    EXPECT_EQ(scale(3, 3).GetFlag(), 0);
    CMatrix4 axes;
    axes.SetAxes(CVector3(CReal(1.0, 1), 0.0, 0.0), CVector3(0.0, CReal(1.0, 2), 0.0),
                 CVector3(0.0, 0.0, CReal(1.0, 3)));
    EXPECT_EQ(axes(0, 0).GetFlag(), 1);
    EXPECT_EQ(axes(2, 2).GetFlag(), 3);
    EXPECT_EQ((axes * axes)(0, 0).GetFlag(), 0);
    EXPECT_EQ((axes + axes)(1, 1).GetFlag(), 0);
}

TEST(Matrix4, ArithmeticAndTranspose)
{
    const CMatrix4 a = FromRows({{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16}});
    CMatrix4 t = a.Transposed();
    EXPECT_DOUBLE_EQ(t(0, 3).GetValue(), 13.0);
    EXPECT_DOUBLE_EQ(t(3, 0).GetValue(), 4.0);
    CMatrix4 sum = a + a;
    EXPECT_DOUBLE_EQ(sum(2, 1).GetValue(), 20.0);
    ExpectMatrixNear(sum - a, a, 0.0);
    ExpectMatrixNear(a * CReal(2.0), sum, 0.0);
    ExpectMatrixNear(sum / CReal(2.0), a, 0.0);
    CMatrix4 product = a * a;
    EXPECT_DOUBLE_EQ(product(0, 0).GetValue(), 1 * 1 + 2 * 5 + 3 * 9 + 4 * 13);
    CMatrix4 inPlace = a;
    inPlace *= a;
    ExpectMatrixNear(inPlace, product, 0.0);
    EXPECT_DOUBLE_EQ(a.Determinant().GetValue(), 0.0);
    EXPECT_DOUBLE_EQ(FromRows({{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 0}, {1, 2, 3, 5}}).Determinant().GetValue(),
                     120.0);
    EXPECT_DOUBLE_EQ(FromRows({{0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}).Determinant().GetValue(),
                     -1.0);
}

struct InverseCase {
    const char* name;
    CMatrix4 matrix;
    CMatrix4 expected;
};

TEST(Matrix4, InverseOfWellConditionedMatrices)
{
    CMatrix4 rotation;
    rotation.SetRotationZ(0.7);
    CMatrix4 backRotation;
    backRotation.SetRotationZ(-0.7);
    CMatrix4 perAxis;
    perAxis.SetScale3(1e-4, 1.0, 1e5);
    CMatrix4 perAxisInverse;
    perAxisInverse.SetScale3(1e4, 1.0, 1e-5);
    const InverseCase cases[] = {
        {"scale_2", Scale(2.0), Scale(0.5)},
        // Determinant 1.25e-7: a scaling, not a singular matrix.
        {"scale_0.005", Scale(0.005), Scale(200.0)},
        {"scale_1e-9", Scale(1e-9), Scale(1e9)},
        {"per_axis_scale", perAxis, perAxisInverse},
        {"translation", Translation(3.0, 4.0, 5.0), Translation(-3.0, -4.0, -5.0)},
        {"far_translation", Translation(1e6, -2e6, 5e5), Translation(-1e6, 2e6, -5e5)},
        {"rotation", rotation, backRotation},
        {"rotated_far_translation", rotation * Translation(1e7, 0.0, 0.0),
         Translation(-1e7, 0.0, 0.0) * backRotation},
    };
    for (const InverseCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(c.matrix.IsSingular());
        CMatrix4 inverse = c.matrix.Inverse();
        for (int r = 0; r < 4; ++r) {
            for (int col = 0; col < 4; ++col) {
                double expected = c.expected(r, col).GetValue();
                EXPECT_NEAR(inverse(r, col).GetValue(), expected, 1e-12 * std::max(1.0, std::fabs(expected)));
            }
        }
    }
}

TEST(Matrix4, InverseTimesMatrixIsTheIdentityForRandomMatrices)
{
    const unsigned seed = 20240607;
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> element(-10.0, 10.0);
    for (int n = 0; n < 200; ++n) {
        CMatrix4 m;
        for (CReal& e : m.Elements()) {
            e = element(random);
        }
        if (m.IsSingular()) {
            continue;
        }
        ExpectMatrixNear(m * m.Inverse(), CMatrix4(), 1e-8);
    }
}

TEST(Matrix4, SingularMatricesInvertToTheIdentity)
{
    CMatrix4 zero;
    for (CReal& e : zero.Elements()) {
        e = 0.0;
    }
    const InverseCase cases[] = {
        {"all_zero", zero, {}},
        {"zero_row", FromRows({{1, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}), {}},
        {"rank_deficient", FromRows({{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16}}), {}},
        {"rank_deficient_inexact",
         FromRows({{0.1, 0.2, 0.3, 0.7}, {0.3, 0.6, 0.9, 2.1}, {0.5, 0.1, 0.3, 0.9}, {0.0, 0.0, 1.0, 1.0}}), {}},
        {"flattened_axis", FromRows({{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 0, 0}, {5, 6, 7, 1}}), {}},
        // Rows 0 and 1 differ by 1e-14 relative: numerically dependent.
        {"nearly_equal_rows", FromRows({{1, 2, 3, 4}, {1, 2, 3, 4 + 4e-14}, {0, 0, 1, 0}, {0, 1, 0, 0}}), {}},
        {"nearly_equal_rows_large", FromRows({{1e8, 2e8, 0, 0}, {1e8, 2e8 + 1e-6, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}),
         {}},
        {"not_finite", FromRows({{NAN, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}), {}},
    };
    for (const InverseCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(c.matrix.IsSingular());
        ExpectIdentity(c.matrix.Inverse());
    }
}

TEST(Matrix4, RowsThatAreCloseButIndependentStillInvert)
{
    // Rows 0 and 1 differ by 1e-9 relative: ill-conditioned but invertible.
    const CMatrix4 m = FromRows({{1, 0, 0, 0}, {1, 1e-9, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}});
    EXPECT_FALSE(m.IsSingular());
    CMatrix4 inverse = m.Inverse();
    EXPECT_NEAR(inverse(1, 1).GetValue(), 1e9, 1e-3);
    EXPECT_NEAR(inverse(1, 0).GetValue(), -1e9, 1e-3);
    ExpectMatrixNear(m * inverse, CMatrix4(), 1e-6);
}

} // namespace
