// CAttributeSet: line attributes, their byte form and how they are applied
// to a graphics context.
#include "objectmodel/attribute_set.h"

#include <new>

#include "objectmodel/fixed_byte_form.h"
#include "objectmodel/holder_group.h"
#include "objectmodel/out_param.h"

static_assert(CAttributeSet::kByteSize == kFixedFormSize<uint32_t, uint32_t, uint32_t, uint8_t>);

CAttributeSet::CAttributeSet(uint32_t style, uint32_t width, uint32_t factor, uint8_t flags)
    : m_flags(flags), m_stippleFactor(factor), m_lineWidth(width), m_lineStyle(style)
{
}

CAttributeSet::CAttributeSet(IAttributeSet* source)
{
    if (source != nullptr) {
        source->GetLineStyle(&m_lineStyle);
        source->GetStippleFactor(&m_stippleFactor);
        source->GetLineWidth(&m_lineWidth);
        source->GetFlags(&m_flags);
    }
}

HRESULT CAttributeSet::Detach(IEntityRecord*) { return E_NOTIMPL; }
HRESULT CAttributeSet::Attach(IEntityRecord*) { return E_NOTIMPL; }

HRESULT CAttributeSet::Apply(IGraphicsContext* context, IUnknown* target)
{
    if (context == nullptr) {
        return S_OK;
    }
    bool ownPair = true;
    bool ownWidth = true;
    if ((m_flags & (kAttributeStyleFromGroup | kAttributeFactorFromGroup)) != 0) {
        ComPtr<IIdGroup> group = FindHolderGroup(target);
        IAttributeSet* groupSet = nullptr;
        if (group && SUCCEEDED(group->GetAttributeSet(&groupSet)) && groupSet != nullptr) {
            ownPair = false;
            uint32_t style = m_lineStyle;
            uint32_t factor = m_stippleFactor;
            if ((m_flags & kAttributeStyleFromGroup) != 0) {
                groupSet->GetLineStyle(&style);
            }
            if ((m_flags & kAttributeFactorFromGroup) != 0) {
                groupSet->GetStippleFactor(&factor);
            }
            context->SetLineStyle(style, factor);
        }
    }
    if ((m_flags & kAttributeWidthFromGroup) != 0) {
        ComPtr<IIdGroup> group = FindHolderGroup(target);
        IAttributeSet* groupSet = nullptr;
        if (group && SUCCEEDED(group->GetAttributeSet(&groupSet)) && groupSet != nullptr) {
            ownWidth = false;
            uint32_t width = m_lineWidth;
            groupSet->GetLineWidth(&width);
            context->SetLineWidth(static_cast<int32_t>(width));
        }
    }
    if (ownPair) {
        context->SetLineStyle(m_lineStyle, m_stippleFactor);
    }
    if (ownWidth) {
        context->SetLineWidth(static_cast<int32_t>(m_lineWidth));
    }
    return S_OK;
}

HRESULT CAttributeSet::Clone(IUnknown** out)
{
    return WriteNewObject<IAttributeSet, CAttributeSet>(out, m_lineStyle, m_lineWidth, m_stippleFactor, m_flags);
}

HRESULT CAttributeSet::Load(IHostDocument*, uint32_t size, const BYTE* data)
{
    return LoadFixedForm(data, size, m_lineStyle, m_stippleFactor, m_lineWidth, m_flags);
}

HRESULT CAttributeSet::GetSize(IHostDocument*, uint32_t* size) { return WriteOut(size, kByteSize); }

HRESULT CAttributeSet::Save(IHostDocument*, BYTE* buffer)
{
    return SaveFixedForm(buffer, m_lineStyle, m_stippleFactor, m_lineWidth, m_flags);
}

HRESULT CAttributeSet::Resolve(IHostDocument*, IUnknown**) { return E_NOTIMPL; }

HRESULT CAttributeSet::GetClassIds(CLSID* factory, IID* iid)
{
    return WriteClassIds(factory, iid, CLSID_HostObjectFactory, IID_IAttributeSet);
}

HRESULT CAttributeSet::ClearFlags(uint8_t mask)
{
    m_flags = static_cast<uint8_t>(m_flags & ~mask);
    return S_OK;
}

HRESULT CAttributeSet::SetFlags(uint8_t mask)
{
    m_flags = static_cast<uint8_t>(m_flags | mask);
    return S_OK;
}

HRESULT CAttributeSet::GetFlags(uint8_t* flags) { return WriteOut(flags, m_flags); }

HRESULT CAttributeSet::PutFlags(uint8_t flags)
{
    m_flags = flags;
    return S_OK;
}

HRESULT CAttributeSet::GetStippleFactor(uint32_t* factor) { return WriteOut(factor, m_stippleFactor); }

HRESULT CAttributeSet::SetStippleFactor(uint32_t factor)
{
    m_stippleFactor = factor;
    return S_OK;
}

HRESULT CAttributeSet::GetLineStyle(uint32_t* style) { return WriteOut(style, m_lineStyle); }

HRESULT CAttributeSet::SetLineStyle(uint32_t style)
{
    m_lineStyle = style;
    return S_OK;
}

HRESULT CAttributeSet::GetLineWidth(uint32_t* width) { return WriteOut(width, m_lineWidth); }

HRESULT CAttributeSet::SetLineWidth(uint32_t width)
{
    m_lineWidth = width;
    return S_OK;
}
