// CCollectionC: the text attachment.
#include "objectmodel/collection_c.h"

#include <cstring>
#include <limits>
#include <new>

#include "objectmodel/byte_io.h"
#include "objectmodel/out_param.h"

CCollectionC::CCollectionC(const char* text)
{
    if (text != nullptr) {
        m_text = text;
    }
}

CCollectionC::CCollectionC(ICollectionC* source)
{
    const char* text = nullptr;
    if (source != nullptr && SUCCEEDED(source->GetText(&text)) && text != nullptr) {
        m_text = text;
    }
}

HRESULT CCollectionC::Detach(IEntityRecord*) { return E_NOTIMPL; }
HRESULT CCollectionC::Attach(IEntityRecord*) { return E_NOTIMPL; }
HRESULT CCollectionC::Apply(IGraphicsContext*, IUnknown*) { return E_NOTIMPL; }

HRESULT CCollectionC::Clone(IUnknown** out) { return WriteNewObject<ICollectionC, CCollectionC>(out, m_text.c_str()); }

HRESULT CCollectionC::Load(IHostDocument*, uint32_t size, const BYTE* data)
{
    ByteReader reader(data, size);
    if (size == 0) {
        return E_FAIL;
    }
    std::string text;
    uint8_t terminator = 0xFF;
    if (!reader.ReadString(size - 1, text) || !reader.ReadU8(terminator) || !reader.AtEnd() || terminator != 0 ||
        text.find('\0') != std::string::npos) {
        return E_FAIL;
    }
    m_text = std::move(text);
    return S_OK;
}

HRESULT CCollectionC::GetSize(IHostDocument*, uint32_t* size)
{
    if (size == nullptr) {
        return E_POINTER;
    }
    if (m_text.size() >= std::numeric_limits<uint32_t>::max()) {
        return E_FAIL;
    }
    *size = static_cast<uint32_t>(m_text.size() + 1);
    return S_OK;
}

HRESULT CCollectionC::Save(IHostDocument*, BYTE* buffer)
{
    ByteWriter writer(buffer, m_text.size() + 1);
    writer.WriteBytes(m_text.data(), m_text.size());
    writer.WriteU8(0);
    return writer.Full() ? S_OK : E_FAIL;
}

HRESULT CCollectionC::Resolve(IHostDocument*, IUnknown**) { return E_NOTIMPL; }

HRESULT CCollectionC::GetClassIds(CLSID* factory, IID* iid)
{
    return WriteClassIds(factory, iid, CLSID_HostObjectFactory, IID_ICollectionC);
}

HRESULT CCollectionC::GetText(const char** text) { return WriteOut(text, m_text.c_str()); }

HRESULT CCollectionC::SetText(const char* text)
{
    if (text == nullptr) {
        return E_FAIL;
    }
    try {
        m_text = text;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}
