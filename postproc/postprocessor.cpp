// The postprocessor object: reference counting, name and the two block
// operations, which hand over to the dialect-driven formatter and parser.
#include "postproc/postprocessor.h"

#include <cstring>
#include <new>

#include "postproc/blockformatter.h"
#include "postproc/blockparser.h"

namespace yelk {

HRESULT CPostprocessor::Create(INT index, IPostprocessor** out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    if (index < 0 || index >= kNcDialectCount) {
        return E_FAIL;
    }
    auto* object = new (std::nothrow) CPostprocessor(*kNcDialects[index]);
    *out = object;
    return object != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT CPostprocessor::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IPostprocessor) {
        *out = static_cast<IPostprocessor*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

ULONG CPostprocessor::AddRef() { return ++m_references; }

ULONG CPostprocessor::Release()
{
    // A Release with no reference left (a caller's fault) is ignored rather
    // than deleting an object someone may still hold.
    if (m_references == 0) {
        return 0;
    }
    const ULONG left = --m_references;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT CPostprocessor::GetName(char* buffer)
{
    if (buffer == nullptr) {
        return E_POINTER;
    }
    std::memcpy(buffer, m_dialect.name, std::strlen(m_dialect.name) + 1);
    return S_OK;
}

HRESULT CPostprocessor::ParseBlock(const char* line, INT* count, INT* codes, INT* kinds, VARIANT* values,
                                   INT* styles)
{
    return yelk::ParseBlock(m_dialect, line, count, codes, kinds, values, styles);
}

HRESULT CPostprocessor::FormatBlock(INT count, const INT* codes, const INT* /*kinds*/, const VARIANT* values,
                                    char* line, INT* styles, BOOL separate)
{
    return yelk::FormatBlock(m_dialect, count, codes, values, line, styles,
                             separate != FALSE ? WordSeparator::Blank : WordSeparator::None);
}

} // namespace yelk
