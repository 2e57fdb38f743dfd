// CDocumentMoveEntityFactory: makes the line and arc entities of moves
// through the host document, from the entity component.
#pragma once

#include "addins/milling/features/millingfeature.h"

struct IHostDocument;

class CDocumentMoveEntityFactory final : public CMoveEntityFactory {
public:
    // The document is not owned and must outlive the factory; null makes
    // every creation fail.
    explicit CDocumentMoveEntityFactory(IHostDocument* document) : m_document(document) {}

    ComPtr<IEntityBase> CreateLine(const CMovePoint& start, const CMovePoint& end) override;
    ComPtr<IEntityBase> CreateArc(const CMovePoint& centre, int normalZ, const CMovePoint& start,
                                  const CMovePoint& end, double radius) override;

private:
    IHostDocument* m_document;
};

// What a move entity reports back: its kind, points and (arcs) the sign of
// its normal's z. False when the entity is neither a line nor an arc entity.
struct CMoveEntityView {
    bool arc = false;
    CMovePoint start;
    CMovePoint end;
    CMovePoint centre;
    int normalZ = 0;
};
bool ReadMoveEntity(IEntityBase* entity, CMoveEntityView& view);
