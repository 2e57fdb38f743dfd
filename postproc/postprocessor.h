// CPostprocessor: the COM-style postprocessor object, one class for both
// dialects ("Power Control CNC" at index 0, "Siemens 3Axis Milling" at 1),
// parameterised by the dialect's description.
#pragma once

#include "ipostprocessor.h"

namespace yelk {

class CPostprocessor final : public IPostprocessor {
public:
    explicit CPostprocessor(const NcDialect& dialect) : m_dialect(dialect) {}

    // Makes the postprocessor at `index` holding one reference, the one the
    // export hands over to its caller (who owns it without an AddRef). E_FAIL for an index outside the dialects (out is
    // then untouched), E_OUTOFMEMORY with null in *out when allocation fails.
    static HRESULT Create(INT index, IPostprocessor** out);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    // Drops one reference; the object deletes itself when the last one goes,
    // so it lives as long as anyone (its creator included) holds it.
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetName(char* buffer) override;
    HRESULT STDMETHODCALLTYPE ParseBlock(const char* line, INT* count, INT* codes, INT* kinds, VARIANT* values,
                                         INT* styles) override;
    HRESULT STDMETHODCALLTYPE FormatBlock(INT count, const INT* codes, const INT* kinds, const VARIANT* values,
                                          char* line, INT* styles, BOOL separate) override;
    virtual ~CPostprocessor() = default;

    const NcDialect& Dialect() const { return m_dialect; }

private:
    ULONG m_references = 1;
    const NcDialect& m_dialect;
};

} // namespace yelk
