// CInterfaceHolder: finds and replaces the attachments of a document record.
#include "objectmodel/interface_holder.h"

#include "objectmodel/attribute_set.h"
#include "objectmodel/collection_b.h"

CInterfaceHolder::Found CInterfaceHolder::Find(REFIID iid) const
{
    if (m_record == nullptr) {
        return {};
    }
    int32_t count = 0;
    if (m_record->GetChildCount(&count) != S_OK) {
        return {};
    }
    for (int32_t i = 0; i < count; ++i) {
        ICollectionBase* child = nullptr;
        if (m_record->GetChild(i, &child) != S_OK || child == nullptr) {
            continue;
        }
        CLSID factory = GUID_NULL;
        IID kind = GUID_NULL;
        if (child->GetClassIds(&factory, &kind) != S_OK || kind != iid) {
            continue;
        }
        void* wanted = nullptr;
        if (child->QueryInterface(iid, &wanted) == S_OK && wanted != nullptr) {
            // The record keeps its own reference; hand the pointer out
            // borrowed.
            static_cast<IUnknown*>(wanted)->Release();
            return {i, wanted};
        }
    }
    return {};
}

ICollectionB* CInterfaceHolder::FindCollectionB() const
{
    return static_cast<ICollectionB*>(Find(IID_ICollectionB).object);
}

IAttributeSet* CInterfaceHolder::FindAttributeSet() const
{
    return static_cast<IAttributeSet*>(Find(IID_IAttributeSet).object);
}

ICollectionC* CInterfaceHolder::FindCollectionC() const
{
    return static_cast<ICollectionC*>(Find(IID_ICollectionC).object);
}

IIdGroup* CInterfaceHolder::FindIdGroup() const { return static_cast<IIdGroup*>(Find(IID_IIdGroup).object); }

BOOL CInterfaceHolder::AssignCollectionB(ICollectionB* source)
{
    if (source == nullptr || m_record == nullptr) {
        return FALSE;
    }
    if (ICollectionB* colour = FindCollectionB()) {
        uint32_t value = 0;
        uint8_t kind = 0;
        if (source->GetValue(&value) == S_OK) {
            colour->SetValue(value);
        }
        if (source->GetKind(&kind) == S_OK) {
            colour->SetKind(kind);
        }
        return TRUE;
    }
    ComPtr<ICollectionB> copy = ComPtr<ICollectionB>::Share(new CCollectionB(source));
    m_record->AddChild(copy.Get());
    return TRUE;
}

BOOL CInterfaceHolder::AssignAttributeSet(IAttributeSet* source)
{
    if (source == nullptr || m_record == nullptr) {
        return FALSE;
    }
    if (IAttributeSet* attributes = FindAttributeSet()) {
        uint32_t width = 0;
        uint32_t style = 0;
        uint32_t factor = 0;
        uint8_t flags = 0;
        if (source->GetLineWidth(&width) == S_OK) {
            attributes->SetLineWidth(width);
        }
        if (source->GetLineStyle(&style) == S_OK) {
            attributes->SetLineStyle(style);
        }
        if (source->GetStippleFactor(&factor) == S_OK) {
            attributes->SetStippleFactor(factor);
        }
        if (source->GetFlags(&flags) == S_OK) {
            attributes->PutFlags(flags);
        }
        return TRUE;
    }
    ComPtr<IAttributeSet> copy = ComPtr<IAttributeSet>::Share(new CAttributeSet(source));
    m_record->AddChild(copy.Get());
    return TRUE;
}

BOOL CInterfaceHolder::SetIdGroup(IIdGroup* group)
{
    if (group == nullptr || m_record == nullptr) {
        return FALSE;
    }
    const Found found = Find(IID_IIdGroup);
    if (found.index >= 0) {
        m_record->SetChild(found.index, group);
        return TRUE;
    }
    m_record->AddChild(group);
    return TRUE;
}
