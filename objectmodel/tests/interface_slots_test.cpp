// The table positions of the operations that add-ins call by position: the
// vtable order of these interfaces is the contract between the host and
// modules built separately, so each position is pinned here.
#include <gtest/gtest.h>

#include <cstring>

#include "igeometry.h"
#include "ipointlist.h"
#include "iselection.h"

namespace {

// The table position of a virtual operation, from the pointer to member
// that the compiler makes for it (the common C++ ABI of x86-64 and arm64:
// the table offset in bytes, plus one on x86-64; on arm64 the virtual mark
// sits in the adjustment word instead).
template <class Member>
size_t SlotOf(Member member)
{
    struct Representation {
        uintptr_t pointer;
        ptrdiff_t adjustment;
    };
    static_assert(sizeof(Member) == sizeof(Representation));
    Representation representation{};
    std::memcpy(&representation, &member, sizeof representation);
#if defined(__aarch64__) || defined(__arm__)
    return representation.pointer / sizeof(void*);
#else
    return (representation.pointer - 1) / sizeof(void*);
#endif
}

TEST(InterfaceSlots, EntityChain)
{
    EXPECT_EQ(SlotOf(&IObjectBase::Clone), 3u);
    EXPECT_EQ(SlotOf(&IObjectBase::GetClassIds), 8u);
    EXPECT_EQ(SlotOf(&IEntityBase::Draw), 11u);
    EXPECT_EQ(SlotOf(&IEntityBase::Tessellate), 20u);
    EXPECT_EQ(SlotOf(&IGeometryEntity::Distance), 24u);
}

TEST(InterfaceSlots, PlaneAndCoordinateSystem)
{
    EXPECT_EQ(SlotOf(&IPlane::GetApproximation), 25u);
    EXPECT_EQ(SlotOf(&IPlane::GetParts), 26u);
    EXPECT_EQ(SlotOf(&IPlane::GetPartCount), 27u);
    EXPECT_EQ(SlotOf(&IPlaneEx::SetNormal), 28u);
    EXPECT_EQ(SlotOf(&IPlaneEx::SetOrigin), 30u);
    EXPECT_EQ(SlotOf(&IPlaneEx::GetOrigin), 31u);
    EXPECT_EQ(SlotOf(&ICoordinateSystem::CopyFrom), 25u);
    EXPECT_EQ(SlotOf(&ICoordinateSystem::GetZAxis), 27u);
    EXPECT_EQ(SlotOf(&ICoordinateSystem::GetYAxis), 29u);
    EXPECT_EQ(SlotOf(&ICoordinateSystem::GetXAxis), 31u);
    EXPECT_EQ(SlotOf(&ICoordinateSystem::GetOrigin), 33u);
    EXPECT_EQ(SlotOf(&IPoint3::SetPosition), 25u);
    EXPECT_EQ(SlotOf(&IPoint3::GetPosition), 26u);
}

TEST(InterfaceSlots, Line)
{
    EXPECT_EQ(SlotOf(&ILine::GetDirectionAt), 27u);
    EXPECT_EQ(SlotOf(&ILine::GetDefinition), 36u);
    EXPECT_EQ(SlotOf(&ILine::IsClosed), 38u);
    EXPECT_EQ(SlotOf(&ILine::GetEndPoint), 43u);
    EXPECT_EQ(SlotOf(&ILine::GetStartPoint), 44u);
    EXPECT_EQ(SlotOf(&ILine::IntersectLine), 46u);
    EXPECT_EQ(SlotOf(&ILine::IntersectPlane), 47u);
    EXPECT_EQ(SlotOf(&ILineEx::SetDirection), 48u);
    EXPECT_EQ(SlotOf(&ILineEx::GetPoint), 51u);
}

TEST(InterfaceSlots, Lists)
{
    using SelectionSetSize = HRESULT (ISelectionSet::*)(int32_t);
    using SelectionSetSizeGrow = HRESULT (ISelectionSet::*)(int32_t, int32_t);
    EXPECT_EQ(SlotOf(&ISelectionSet::SetAt), 3u);
    EXPECT_EQ(SlotOf(&ISelectionSet::GetAt), 4u);
    EXPECT_EQ(SlotOf(&ISelectionSet::RemoveAll), 5u);
    EXPECT_EQ(SlotOf(&ISelectionSet::RemoveAt), 6u);
    EXPECT_EQ(SlotOf(&ISelectionSet::InsertAt), 7u);
    EXPECT_EQ(SlotOf(&ISelectionSet::Add), 8u);
    EXPECT_EQ(SlotOf(&ISelectionSet::GetCount), 9u);
    EXPECT_EQ(SlotOf(static_cast<SelectionSetSize>(&ISelectionSet::SetSize)), 10u);
    EXPECT_EQ(SlotOf(static_cast<SelectionSetSizeGrow>(&ISelectionSet::SetSize)), 11u);
    EXPECT_EQ(SlotOf(&IPickRegion::GetPlanes), 12u);
    EXPECT_EQ(SlotOf(&IPickRegion::IsValid), 18u);

    using PointListSize = HRESULT (IPointList::*)(int32_t);
    using PointListSizeGrow = HRESULT (IPointList::*)(int32_t, int32_t);
    EXPECT_EQ(SlotOf(&IPointList::Append), 3u);
    EXPECT_EQ(SlotOf(&IPointList::GetAt), 5u);
    EXPECT_EQ(SlotOf(&IPointList::Add), 9u);
    EXPECT_EQ(SlotOf(&IPointList::GetCount), 10u);
    EXPECT_EQ(SlotOf(static_cast<PointListSize>(&IPointList::SetSize)), 11u);
    EXPECT_EQ(SlotOf(static_cast<PointListSizeGrow>(&IPointList::SetSize)), 12u);
}

}  // namespace
