// Run-time classes: names, sizes, base chains, dynamic creation and IsKindOf.
#include <gtest/gtest.h>

#include <memory>

#include "platform/framework/exception.h"
#include "platform/framework/object.h"

namespace {

class CShape : public CObject {
    DECLARE_DYNAMIC(CShape)
public:
    int m_sides = 0;
};

class CSquare : public CShape {
    DECLARE_DYNCREATE(CSquare)
public:
    CSquare() { m_sides = 4; }
    double m_edge = 1.0;
};

class CTriangle : public CShape {
    DECLARE_DYNCREATE(CTriangle)
public:
    CTriangle() { m_sides = 3; }
};

// No run-time class of its own: it answers with its base's.
class CPlainSquare : public CSquare {};

IMPLEMENT_DYNAMIC(CShape, CObject)
IMPLEMENT_DYNCREATE(CSquare, CShape)
IMPLEMENT_DYNCREATE(CTriangle, CShape)

TEST(RuntimeClass, RecordsNameSizeAndBase)
{
    struct RecordCase {
        const CRuntimeClass* cls;
        const char* name;
        int size;
        const CRuntimeClass* base;
        bool creatable;
    };
    const RecordCase kCases[] = {
        {RUNTIME_CLASS(CObject), "CObject", static_cast<int>(sizeof(CObject)), nullptr, false},
        {RUNTIME_CLASS(CShape), "CShape", static_cast<int>(sizeof(CShape)), RUNTIME_CLASS(CObject), false},
        {RUNTIME_CLASS(CSquare), "CSquare", static_cast<int>(sizeof(CSquare)), RUNTIME_CLASS(CShape), true},
        {RUNTIME_CLASS(CTriangle), "CTriangle", static_cast<int>(sizeof(CTriangle)), RUNTIME_CLASS(CShape), true},
        {RUNTIME_CLASS(CInvalidArgException), "CInvalidArgException",
         static_cast<int>(sizeof(CInvalidArgException)), RUNTIME_CLASS(CException), false},
    };
    for (const RecordCase& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_STREQ(c.cls->m_lpszClassName, c.name);
        EXPECT_EQ(c.cls->m_nObjectSize, c.size);
        EXPECT_EQ(c.cls->m_pBaseClass, c.base);
        EXPECT_EQ(c.cls->m_pfnCreateObject != nullptr, c.creatable);
        if (!c.creatable) {
            EXPECT_EQ(c.cls->CreateObject(), nullptr);
        }
    }
}

TEST(RuntimeClass, CreatesObjectsOfTheRecordedClass)
{
    const std::unique_ptr<CObject> square(RUNTIME_CLASS(CSquare)->CreateObject());
    const std::unique_ptr<CObject> triangle(RUNTIME_CLASS(CTriangle)->CreateObject());
    ASSERT_NE(square, nullptr);
    ASSERT_NE(triangle, nullptr);
    EXPECT_EQ(square->GetRuntimeClass(), RUNTIME_CLASS(CSquare));
    EXPECT_EQ(static_cast<CSquare*>(square.get())->m_sides, 4) << "made by the default constructor";
    EXPECT_EQ(static_cast<CTriangle*>(triangle.get())->m_sides, 3);
}

TEST(RuntimeClass, IsKindOfWalksTheBaseChain)
{
    const CSquare square;
    const CTriangle triangle;
    const CPlainSquare plain;
    struct KindCase {
        const char* name;
        const CObject& object;
        const CRuntimeClass* cls;
        bool expected;
    };
    const KindCase kCases[] = {
        {"own_class", square, RUNTIME_CLASS(CSquare), true},
        {"base", square, RUNTIME_CLASS(CShape), true},
        {"root", triangle, RUNTIME_CLASS(CObject), true},
        {"sibling", triangle, RUNTIME_CLASS(CSquare), false},
        {"derived", square, RUNTIME_CLASS(CTriangle), false},
        {"unrelated", square, RUNTIME_CLASS(CException), false},
        {"without_own_record", plain, RUNTIME_CLASS(CSquare), true},
        {"null_class", square, nullptr, false},
    };
    for (const KindCase& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.object.IsKindOf(c.cls) != FALSE, c.expected);
    }
    EXPECT_FALSE(RUNTIME_CLASS(CShape)->IsDerivedFrom(RUNTIME_CLASS(CSquare)));
}

} // namespace
