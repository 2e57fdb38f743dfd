// Move entities made through a document from the entity component: a
// computed toolpath gets one entity per move, and a document that refuses
// creation makes the computation fail without moves.
#include <gtest/gtest.h>

#include "addins/milling/features/contourfeature.h"
#include "addins/milling/features/documentmoveentities.h"
#include "addins/milling/features/tests/entitycomponentdocument.h"
#include "addins/milling/features/tests/toolpathtestsupport.h"

namespace {

using namespace shapes;
using namespace toolpathtest;

class DocumentMoveEntities : public EntityComponentTest {};

TEST_F(DocumentMoveEntities, EveryMoveGetsItsEntity)
{
    FactoryDocument document;
    CContourFeature f;
    {
        CDocumentMoveEntityFactory factory(&document);
        ASSERT_TRUE(f.ComputeFromContours(Make(RoundedRect(0, 0, 60, 40, 8)), Params(0, -1, 1, 6, 0), &factory).ok());
    }
    ASSERT_FALSE(f.Moves().empty());
    int arcs = 0;
    for (const CMove& m : f.Moves()) {
        CMoveEntityView view;
        ASSERT_TRUE(ReadMoveEntity(m.entity.Get(), view));
        EXPECT_EQ(view.arc, IsArcMove(m.flag));
        EXPECT_NEAR(view.start.x, m.start.x, 1e-9);
        EXPECT_NEAR(view.end.y, m.end.y, 1e-9);
        EXPECT_NEAR(view.end.z, m.end.z, 1e-9);
        if (view.arc) {
            ++arcs;
            EXPECT_EQ(view.normalZ, IsClockwiseArc(m.flag) ? -1 : 1);
            EXPECT_NEAR(view.centre.x, m.centre.x, 1e-9);
        }
    }
    EXPECT_GT(arcs, 0);
}

TEST_F(DocumentMoveEntities, RefusedCreationFailsWithoutMoves)
{
    FactoryDocument document;
    document.refuse = true;
    CDocumentMoveEntityFactory factory(&document);
    CContourFeature f;
    Status status = f.ComputeFromContours(Make(Rect(0, 0, 60, 40)), Params(0, -1, 1, 6, 0), &factory);
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().code, FeatureError::EntityCreationFailed);
    EXPECT_TRUE(f.Moves().empty());
}

} // namespace
