// CHostEntity: the grip marker of the selection handler, a point entity
// that answers its own interface identifier so that a pick can tell a grip
// from a document object.
#pragma once

#include "objectmodel/point_object.h"

inline constexpr IID IID_IHostEntity = {0xb1e04ffa, 0x709d, 0x42d7, {0xaa, 0xa2, 0x77, 0x52, 0xd1, 0x52, 0x63, 0x8b}};

class CHostEntity : public CPointObject {
public:
    CHostEntity() = default;
    explicit CHostEntity(const CVector3& position) : CPointObject(position) {}

    // IUnknown, the entity chain, IPoint3 and IID_IHostEntity.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID* factory, IID* iid) override;

private:
    uint32_t m_reserved = 0;
};
