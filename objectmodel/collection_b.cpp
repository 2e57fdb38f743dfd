// CCollectionB: the colour attachment.
#include "objectmodel/collection_b.h"

#include <new>

#include "objectmodel/fixed_byte_form.h"
#include "objectmodel/holder_group.h"
#include "objectmodel/out_param.h"

static_assert(CCollectionB::kByteSize == kFixedFormSize<uint32_t, uint8_t>);

CCollectionB::CCollectionB(uint32_t colour, uint8_t mode) : m_mode(mode), m_colour(colour) {}

CCollectionB::CCollectionB(ICollectionB* source)
{
    if (source != nullptr) {
        source->GetValue(&m_colour);
        source->GetKind(&m_mode);
    }
}

HRESULT CCollectionB::Detach(IEntityRecord*) { return E_NOTIMPL; }
HRESULT CCollectionB::Attach(IEntityRecord*) { return E_NOTIMPL; }

HRESULT CCollectionB::Apply(IGraphicsContext* context, IUnknown* target)
{
    if (context == nullptr) {
        return S_OK;
    }
    if ((m_mode & kColourFromGroup) != 0) {
        ComPtr<IIdGroup> group = FindHolderGroup(target);
        ICollectionB* groupColour = nullptr;
        if (group && SUCCEEDED(group->GetColour(&groupColour)) && groupColour != nullptr) {
            uint32_t colour = 0;
            groupColour->GetValue(&colour);
            context->SetColor(colour);
            return S_OK;
        }
    }
    context->SetColor(m_colour);
    return S_OK;
}

HRESULT CCollectionB::Clone(IUnknown** out)
{
    return WriteNewObject<ICollectionB, CCollectionB>(out, m_colour, m_mode);
}

HRESULT CCollectionB::Load(IHostDocument*, uint32_t size, const BYTE* data)
{
    return LoadFixedForm(data, size, m_colour, m_mode);
}

HRESULT CCollectionB::GetSize(IHostDocument*, uint32_t* size) { return WriteOut(size, kByteSize); }

HRESULT CCollectionB::Save(IHostDocument*, BYTE* buffer)
{
    return SaveFixedForm(buffer, m_colour, m_mode);
}

HRESULT CCollectionB::Resolve(IHostDocument*, IUnknown**) { return E_NOTIMPL; }

HRESULT CCollectionB::GetClassIds(CLSID* factory, IID* iid)
{
    return WriteClassIds(factory, iid, CLSID_HostObjectFactory, IID_ICollectionB);
}

HRESULT CCollectionB::ClearKindBits(uint8_t mask)
{
    m_mode = static_cast<uint8_t>(m_mode & ~mask);
    return S_OK;
}

HRESULT CCollectionB::SetKindBits(uint8_t mask)
{
    m_mode = static_cast<uint8_t>(m_mode | mask);
    return S_OK;
}

HRESULT CCollectionB::GetKind(uint8_t* kind) { return WriteOut(kind, m_mode); }

HRESULT CCollectionB::SetKind(uint8_t kind)
{
    m_mode = kind;
    return S_OK;
}

HRESULT CCollectionB::GetRGB(uint32_t* red, uint32_t* green, uint32_t* blue)
{
    if (red == nullptr || green == nullptr || blue == nullptr) {
        return E_POINTER;
    }
    *red = m_colour & 0xFF;
    *green = (m_colour >> 8) & 0xFF;
    *blue = (m_colour >> 16) & 0xFF;
    return S_OK;
}

HRESULT CCollectionB::SetRGB(uint8_t red, uint8_t green, uint8_t blue)
{
    m_colour = static_cast<uint32_t>(red) + static_cast<uint32_t>(green) * 256u + static_cast<uint32_t>(blue) * 65536u;
    return S_OK;
}

HRESULT CCollectionB::GetValue(uint32_t* colour) { return WriteOut(colour, m_colour); }

HRESULT CCollectionB::SetValue(uint32_t colour)
{
    m_colour = colour;
    return S_OK;
}
