// CPoint2 and CRealRect.
#include <gtest/gtest.h>

#include "objectmodel/point2.h"

namespace {

TEST(Point2, FromScreenPointAndInterface)
{
    CPoint2 p(POINT{3, -4});
    EXPECT_DOUBLE_EQ(p.x.GetValue(), 3.0);
    EXPECT_DOUBLE_EQ(p.y.GetValue(), -4.0);
    CReal x, y;
    ASSERT_EQ(p.Get(&x, &y), S_OK);
    EXPECT_DOUBLE_EQ(x.GetValue(), 3.0);
    EXPECT_DOUBLE_EQ(y.GetValue(), -4.0);

    CReal newX(1.5, 4), newY(2.5, 5);
    ASSERT_EQ(p.Set(&newX, &newY), S_OK);
    auto copy = ComPtr<IPoint2>::Adopt(new CPoint2());
    ASSERT_EQ(copy->CopyFrom(&p), S_OK);
    CReal gotY;
    ASSERT_EQ(copy->GetY(&gotY), S_OK);
    EXPECT_DOUBLE_EQ(gotY.GetValue(), 2.5);
    EXPECT_EQ(gotY.GetFlag(), 5);
    CReal newOnlyX(-7.0, 1);
    ASSERT_EQ(copy->SetX(&newOnlyX), S_OK);
    CPoint2 read(copy.Get());
    copy.Reset();
    EXPECT_DOUBLE_EQ(read.x.GetValue(), -7.0);
    EXPECT_EQ(read.x.GetFlag(), 1);
    EXPECT_EQ(read.Set(nullptr, &newY), E_POINTER);

    Point2Components c = read.GetComponents();
    EXPECT_DOUBLE_EQ(c.x.value, -7.0);
    EXPECT_EQ(c.x.flag, 1);
    EXPECT_DOUBLE_EQ(c.y.value, 2.5);
    EXPECT_EQ(c.y.flag, 5);
    EXPECT_EQ(sizeof(Point2Components), 32u);

    CPoint2 assigned;
    assigned.Assign(read);
    EXPECT_EQ(assigned.y.GetFlag(), 5);
}

TEST(Point2, TolerantEquality)
{
    EXPECT_TRUE(CPoint2(1.0, 2.0) == CPoint2(1.0000005, 2.0));
    EXPECT_TRUE(CPoint2(1.0, 2.0) != CPoint2(1.000002, 2.0));
    EXPECT_TRUE(CPoint2(1.0, 2.0) != CPoint2(1.0, 1.999998));
}

TEST(Point2, Normalize)
{
    CPoint2 p(3.0, 4.0);
    p.Normalize();
    EXPECT_DOUBLE_EQ(p.x.GetValue(), 0.6);
    EXPECT_DOUBLE_EQ(p.y.GetValue(), 0.8);
    CPoint2 unit(0.6, 0.8);
    unit.Normalize();
    EXPECT_DOUBLE_EQ(unit.x.GetValue(), 0.6);
    EXPECT_DOUBLE_EQ(unit.y.GetValue(), 0.8);
    // The zero vector stays zero instead of becoming NaN.
    CPoint2 zero;
    zero.Normalize();
    EXPECT_DOUBLE_EQ(zero.x.GetValue(), 0.0);
    EXPECT_DOUBLE_EQ(zero.y.GetValue(), 0.0);
}

struct RectCase {
    const char* name;
    CPoint2 p;
    CPoint2 q;
    double left, top, right, bottom;
};

TEST(RealRect, FromTwoCorners)
{
    const RectCase cases[] = {
        {"swapped_x", {5.0, 1.0}, {2.0, 7.0}, 2.0, 7.0, 5.0, 1.0},
        {"ordered", {2.0, 7.0}, {5.0, 1.0}, 2.0, 7.0, 5.0, 1.0},
        // Within the tolerance q's value wins on both sides.
        {"equal_x_takes_q", {2.0, 1.0}, {2.0000001, 7.0}, 2.0000001, 7.0, 2.0000001, 1.0},
        {"equal_y_takes_q", {0.0, 3.0}, {1.0, 3.0000004}, 0.0, 3.0000004, 1.0, 3.0000004},
    };
    for (const RectCase& c : cases) {
        SCOPED_TRACE(c.name);
        CRealRect r(c.p, c.q);
        EXPECT_DOUBLE_EQ(r.left.GetValue(), c.left);
        EXPECT_DOUBLE_EQ(r.top.GetValue(), c.top);
        EXPECT_DOUBLE_EQ(r.right.GetValue(), c.right);
        EXPECT_DOUBLE_EQ(r.bottom.GetValue(), c.bottom);
    }
}

} // namespace
