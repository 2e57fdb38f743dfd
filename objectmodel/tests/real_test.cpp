// CReal: tolerant comparisons at the edges of the tolerance, the flag rule,
// the interface operations and the functions.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "objectmodel/real.h"

namespace {

struct CompareCase {
    const char* name;
    double a;
    double b;
    bool equal;
    bool less;
    bool greater;
    bool lessOrEqual;
    bool greaterOrEqual;
};

const CompareCase kCompareCases[] = {
    //                                    a    b          ==     <      >      <=     >=
    {"same", 1.0, 1.0, true, false, false, true, true},
    {"inside_above", 1.0, 1.0000009, true, false, false, true, true},
    {"outside_above", 1.0, 1.0000011, false, true, false, true, false},
    // 1.000001 - 1.0 is slightly below 1e-6 in doubles.
    {"literal_boundary_above", 1.0, 1.000001, true, false, false, true, true},
    {"outside_below", 1.0, 0.9999989, false, false, true, false, true},
    {"inside_below", 1.0, 0.9999995, true, false, false, true, true},
    {"inside_half_above", 1.0, 1.0000005, true, false, false, true, true},
    {"large_values", 1e6, 1e6 + 2e-6, false, true, false, true, false},
    {"negative", -2.0, -2.0000005, true, false, false, true, true},
};

TEST(Real, TolerantComparisons)
{
    for (const CompareCase& c : kCompareCases) {
        SCOPED_TRACE(c.name);
        CReal a(c.a);
        CReal b(c.b);
        EXPECT_EQ(a.IsEqual(b), c.equal);
        EXPECT_EQ(a.IsNotEqual(b), !c.equal);
        EXPECT_EQ(a.IsLess(b), c.less);
        EXPECT_EQ(a.IsGreater(b), c.greater);
        EXPECT_EQ(a.IsLessOrEqual(b), c.lessOrEqual);
        EXPECT_EQ(a.IsGreaterOrEqual(b), c.greaterOrEqual);
        // The same rules with a plain number on the right.
        EXPECT_EQ(a.IsEqual(c.b), c.equal);
        EXPECT_EQ(a.IsLess(c.b), c.less);
        EXPECT_EQ(a.IsGreater(c.b), c.greater);
        EXPECT_EQ(a.IsLessOrEqual(c.b), c.lessOrEqual);
        EXPECT_EQ(a.IsGreaterOrEqual(c.b), c.greaterOrEqual);
        // And on the left, answered as 1.0 or 0.0.
        EXPECT_DOUBLE_EQ(IsEqual(c.a, b).GetValue(), c.equal ? 1.0 : 0.0);
        EXPECT_DOUBLE_EQ(IsNotEqual(c.a, b).GetValue(), c.equal ? 0.0 : 1.0);
        EXPECT_DOUBLE_EQ(IsLess(c.a, b).GetValue(), c.less ? 1.0 : 0.0);
        EXPECT_DOUBLE_EQ(IsGreater(c.a, b).GetValue(), c.greater ? 1.0 : 0.0);
        EXPECT_DOUBLE_EQ(IsLessOrEqual(c.a, b).GetValue(), c.lessOrEqual ? 1.0 : 0.0);
        EXPECT_DOUBLE_EQ(IsGreaterOrEqual(c.a, b).GetValue(), c.greaterOrEqual ? 1.0 : 0.0);
    }
}

TEST(Real, ComparisonsAreStrictAtExactlyTheTolerance)
{
    // A number lying exactly at b + 1e-6 (in doubles) is neither greater than
    // b nor less-or-equal to it; at exactly b - 1e-6 neither less nor
    // greater-or-equal.
    for (double b : {0.0, 1.0, -3.0, 1000.0}) {
        SCOPED_TRACE(b);
        CReal above(b + kRealTolerance);
        EXPECT_FALSE(above.IsGreater(b));
        EXPECT_FALSE(above.IsLessOrEqual(b));
        CReal below(b - kRealTolerance);
        EXPECT_FALSE(below.IsLess(b));
        EXPECT_FALSE(below.IsGreaterOrEqual(b));
    }
    // Around zero the difference is exact: 1e-6 apart is not equal.
    CReal atTolerance(kRealTolerance);
    EXPECT_FALSE(atTolerance.IsEqual(0.0));
    EXPECT_TRUE(atTolerance.IsNotEqual(0.0));
    EXPECT_FALSE(CReal(0.0).IsEqual(-kRealTolerance));
    EXPECT_TRUE(CReal(0.0).IsEqual(std::nextafter(kRealTolerance, 0.0)));
}

TEST(Real, FlagRule)
{
    CReal seven(2.5, 7);
    CReal assigned;
    assigned = seven;
    EXPECT_EQ(assigned.GetFlag(), 7);
    CReal copied(seven);
    EXPECT_EQ(copied.GetFlag(), 7);

    CReal sum = seven + CReal(1.0, 3);
    EXPECT_DOUBLE_EQ(sum.GetValue(), 3.5);
    EXPECT_EQ(sum.GetFlag(), 0);
    EXPECT_EQ((seven * 2.0).GetFlag(), 0);
    EXPECT_EQ((2.0 - seven).GetFlag(), 0);
    EXPECT_EQ((-seven).GetFlag(), 0);
    EXPECT_EQ((+seven).GetFlag(), 0);
    EXPECT_EQ(RealAbs(seven).GetFlag(), 0);

    CReal compound(2.0, 5);
    compound += CReal(1.0, 9);
    compound *= 2.0;
    compound -= 1.0;
    compound /= CReal(5.0, 1);
    EXPECT_DOUBLE_EQ(compound.GetValue(), 1.0);
    EXPECT_EQ(compound.GetFlag(), 5);

    CReal set(1.0, 7);
    set.SetValue(4.0);
    EXPECT_DOUBLE_EQ(set.GetValue(), 4.0);
    EXPECT_EQ(set.GetFlag(), 0);
}

TEST(Real, ArithmeticKeepsOperandOrder)
{
    CReal a(6.0);
    EXPECT_DOUBLE_EQ((a - 1.0).GetValue(), 5.0);
    EXPECT_DOUBLE_EQ((1.0 - a).GetValue(), -5.0);
    EXPECT_DOUBLE_EQ((a / 3.0).GetValue(), 2.0);
    EXPECT_DOUBLE_EQ((3.0 / a).GetValue(), 0.5);
    EXPECT_DOUBLE_EQ((a / CReal(4.0)).GetValue(), 1.5);
    EXPECT_TRUE(std::isinf((a / 0.0).GetValue()));
}

TEST(Real, InterfaceCarriesValueAndFlag)
{
    auto source = ComPtr<IReal>::Adopt(new CReal(-3.0, 9));
    CReal target(1.0, 1);
    EXPECT_EQ(target.CopyFrom(source.Get()), S_OK);
    EXPECT_DOUBLE_EQ(target.GetValue(), -3.0);
    EXPECT_EQ(target.GetFlag(), 9);
    source.Reset();

    EXPECT_EQ(target.Set(8.25, 4), S_OK);
    double value = 0.0;
    uint16_t flag = 0;
    EXPECT_EQ(target.Get(&value, &flag), S_OK);
    EXPECT_DOUBLE_EQ(value, 8.25);
    EXPECT_EQ(flag, 4);

    EXPECT_EQ(target.CopyFrom(nullptr), E_POINTER);
    EXPECT_EQ(target.Get(nullptr, &flag), E_POINTER);
    EXPECT_DOUBLE_EQ(target.GetValue(), 8.25);
}

TEST(Real, Functions)
{
    EXPECT_DOUBLE_EQ(RealPow(2.0, 10.0).GetValue(), 1024.0);
    EXPECT_DOUBLE_EQ(RealAbs(-0.5).GetValue(), 0.5);
    EXPECT_DOUBLE_EQ(RealSqrt(2.25).GetValue(), 1.5);
    EXPECT_TRUE(std::isnan(RealSqrt(-1.0).GetValue()));
    EXPECT_NEAR(RealSin(M_PI / 6).GetValue(), 0.5, 1e-15);
    EXPECT_NEAR(RealCos(M_PI / 3).GetValue(), 0.5, 1e-15);
    EXPECT_NEAR(RealTan(M_PI / 4).GetValue(), 1.0, 1e-15);
    EXPECT_NEAR(RealAsin(1.0).GetValue(), M_PI / 2, 1e-15);
    EXPECT_NEAR(RealAcos(-1.0).GetValue(), M_PI, 1e-15);
    EXPECT_NEAR(RealAtan(1.0).GetValue(), M_PI / 4, 1e-15);
}

TEST(Real, ComponentRecordIsSixteenBytesValueThenFlag)
{
    RealComponent c = CReal(1.25, 3).GetComponent();
    EXPECT_DOUBLE_EQ(c.value, 1.25);
    EXPECT_EQ(c.flag, 3);
    EXPECT_EQ(offsetof(RealComponent, flag), 8u);
    CReal back(c);
    EXPECT_EQ(back.GetFlag(), 3);
}

} // namespace
