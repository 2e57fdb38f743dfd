// Finding the group that a holder's object belongs to.
#include "objectmodel/holder_group.h"

#include "ientityrecord.h"

ComPtr<IIdGroup> FindHolderGroup(IUnknown* target)
{
    ComPtr<IIdGroup> group;
    if (target == nullptr) {
        return group;
    }
    ComPtr<IEntityRecord> holder;
    if (FAILED(target->QueryInterface(IID_IEntityRecord, holder.ReceiveVoid())) || !holder) {
        return group;
    }
    int32_t count = 0;
    if (FAILED(holder->GetChildCount(&count))) {
        return group;
    }
    for (int32_t i = 0; i < count; ++i) {
        ICollectionBase* child = nullptr;
        if (FAILED(holder->GetChild(i, &child)) || child == nullptr) {
            continue;
        }
        CLSID factory = GUID_NULL;
        IID iid = GUID_NULL;
        if (FAILED(child->GetClassIds(&factory, &iid)) || iid != IID_IIdGroup) {
            continue;
        }
        // The first child that names the interface is the group, whether or
        // not it then answers for it.
        if (FAILED(child->QueryInterface(IID_IIdGroup, group.ReceiveVoid()))) {
            group.Reset();
        }
        return group;
    }
    return group;
}
