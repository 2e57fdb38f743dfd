// CAttributeSet: line attributes, their byte form and how they are applied
// to a graphics context.
#include "objectmodel/attribute_set.h"

#include <new>

#include "objectmodel/byte_io.h"
#include "objectmodel/holder_group.h"

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
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = nullptr;
    auto* copy = new (std::nothrow) CAttributeSet(m_lineStyle, m_lineWidth, m_stippleFactor, m_flags);
    if (copy == nullptr) {
        return E_OUTOFMEMORY;
    }
    *out = static_cast<IAttributeSet*>(copy);
    return S_OK;
}

HRESULT CAttributeSet::Load(IHostDocument*, uint32_t size, const BYTE* data)
{
    ByteReader reader(data, size);
    uint32_t style = 0;
    uint32_t factor = 0;
    uint32_t width = 0;
    uint8_t flags = 0;
    reader.ReadU32(style);
    reader.ReadU32(factor);
    reader.ReadU32(width);
    reader.ReadU8(flags);
    if (!reader.AtEnd()) {
        return E_FAIL;
    }
    m_lineStyle = style;
    m_stippleFactor = factor;
    m_lineWidth = width;
    m_flags = flags;
    return S_OK;
}

HRESULT CAttributeSet::GetSize(IHostDocument*, uint32_t* size)
{
    if (size == nullptr) {
        return E_POINTER;
    }
    *size = kByteSize;
    return S_OK;
}

HRESULT CAttributeSet::Save(IHostDocument*, BYTE* buffer)
{
    ByteWriter writer(buffer, kByteSize);
    writer.WriteU32(m_lineStyle);
    writer.WriteU32(m_stippleFactor);
    writer.WriteU32(m_lineWidth);
    writer.WriteU8(m_flags);
    return writer.Full() ? S_OK : E_FAIL;
}

HRESULT CAttributeSet::Resolve(IHostDocument*, IUnknown**) { return E_NOTIMPL; }

HRESULT CAttributeSet::GetClassIds(CLSID* factory, IID* iid)
{
    if (factory == nullptr || iid == nullptr) {
        return E_POINTER;
    }
    *factory = CLSID_HostObjectFactory;
    *iid = IID_IAttributeSet;
    return S_OK;
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

HRESULT CAttributeSet::GetFlags(uint8_t* flags)
{
    if (flags == nullptr) {
        return E_POINTER;
    }
    *flags = m_flags;
    return S_OK;
}

HRESULT CAttributeSet::PutFlags(uint8_t flags)
{
    m_flags = flags;
    return S_OK;
}

HRESULT CAttributeSet::GetStippleFactor(uint32_t* factor)
{
    if (factor == nullptr) {
        return E_POINTER;
    }
    *factor = m_stippleFactor;
    return S_OK;
}

HRESULT CAttributeSet::SetStippleFactor(uint32_t factor)
{
    m_stippleFactor = factor;
    return S_OK;
}

HRESULT CAttributeSet::GetLineStyle(uint32_t* style)
{
    if (style == nullptr) {
        return E_POINTER;
    }
    *style = m_lineStyle;
    return S_OK;
}

HRESULT CAttributeSet::SetLineStyle(uint32_t style)
{
    m_lineStyle = style;
    return S_OK;
}

HRESULT CAttributeSet::GetLineWidth(uint32_t* width)
{
    if (width == nullptr) {
        return E_POINTER;
    }
    *width = m_lineWidth;
    return S_OK;
}

HRESULT CAttributeSet::SetLineWidth(uint32_t width)
{
    m_lineWidth = width;
    return S_OK;
}
