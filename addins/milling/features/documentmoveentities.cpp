// CDocumentMoveEntityFactory: line and arc move entities made by the host
// document and filled through their set operations.
#include "addins/milling/features/documentmoveentities.h"

#include "ientitycomponent.h"
#include "ihost.h"
#include "objectmodel/real.h"
#include "objectmodel/vector3.h"

namespace {

template <class T>
ComPtr<T> Create(IHostDocument* document, REFIID iid)
{
    if (document == nullptr)
        return {};
    void* object = nullptr;
    if (FAILED(document->CreateObject(CLSID_EntityComponent, iid, &object)) || object == nullptr)
        return {};
    return ComPtr<T>::Adopt(static_cast<T*>(object));
}

CVector3 ToVector(const CMovePoint& p) { return CVector3(CReal(p.x), CReal(p.y), CReal(p.z)); }

} // namespace

ComPtr<IEntityBase> CDocumentMoveEntityFactory::CreateLine(const CMovePoint& start, const CMovePoint& end)
{
    ComPtr<ILineEntity> line = Create<ILineEntity>(m_document, IID_ILineEntity);
    if (!line)
        return {};
    CVector3 s = ToVector(start), e = ToVector(end);
    if (FAILED(line->SetStartPoint(&s)) || FAILED(line->SetEndPoint(&e)))
        return {};
    return ComPtr<IEntityBase>::Share(line.Get());
}

ComPtr<IEntityBase> CDocumentMoveEntityFactory::CreateArc(const CMovePoint& centre, int normalZ,
                                                          const CMovePoint& start, const CMovePoint& end,
                                                          double radius)
{
    ComPtr<IArcEntity> arc = Create<IArcEntity>(m_document, IID_IArcEntity);
    if (!arc)
        return {};
    CVector3 c = ToVector(centre), s = ToVector(start), e = ToVector(end);
    CVector3 normal(0.0, 0.0, normalZ < 0 ? -1.0 : 1.0);
    CVector3 reference(1.0, 0.0, 0.0);
    CReal r(radius);
    if (FAILED(arc->SetCenter(&c)) || FAILED(arc->SetNormal(&normal)) ||
        FAILED(arc->SetReferenceDirection(&reference)) || FAILED(arc->SetStartPoint(&s)) ||
        FAILED(arc->SetEndPoint(&e)) || FAILED(arc->SetRadius(&r)))
        return {};
    return ComPtr<IEntityBase>::Share(arc.Get());
}

namespace {

CMovePoint ToPoint(const CVector3& v) { return {v.x.GetValue(), v.y.GetValue(), v.z.GetValue()}; }

} // namespace

bool ReadMoveEntity(IEntityBase* entity, CMoveEntityView& view)
{
    if (entity == nullptr)
        return false;
    ComPtr<ILineEntity> line;
    if (FAILED(entity->QueryInterface(IID_ILineEntity, line.ReceiveVoid())) || !line) {
        ComPtr<IArcEntity> arcOnly;
        if (FAILED(entity->QueryInterface(IID_IArcEntity, arcOnly.ReceiveVoid())) || !arcOnly)
            return false;
        line = ComPtr<ILineEntity>::Share(arcOnly.Get());
    }
    CVector3 s, e;
    if (FAILED(line->GetStartPoint(&s)) || FAILED(line->GetEndPoint(&e)))
        return false;
    view = CMoveEntityView{};
    view.start = ToPoint(s);
    view.end = ToPoint(e);
    ComPtr<IArcEntity> arc;
    if (SUCCEEDED(entity->QueryInterface(IID_IArcEntity, arc.ReceiveVoid())) && arc) {
        CVector3 c, n;
        if (FAILED(arc->GetCenter(&c)) || FAILED(arc->GetNormal(&n)))
            return false;
        view.arc = true;
        view.centre = ToPoint(c);
        view.normalZ = n.z.GetValue() < 0.0 ? -1 : 1;
    }
    return true;
}
