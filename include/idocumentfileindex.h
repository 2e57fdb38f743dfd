// IDocumentFileIndex: how objects that refer to other objects of a document
// file (a group's reference record names its model object by file index)
// reach the document's file-index tables. The document answers it from
// QueryInterface on its IHostDocument while it saves and while it reads a
// file. It is this system's own interface, outside the shared identifier
// table; add-ins do not see it.
#pragma once

#include "platform/com/unknwn.h"

struct IHostDocument;

inline constexpr GUID IID_IDocumentFileIndex = {
    0xf81ae7d1, 0xd52b, 0x402c, {0xba, 0xf0, 0x17, 0x21, 0x6e, 0x7a, 0x57, 0x65}};

struct IDocumentFileIndex : IUnknown {
    // While saving: the file index under which the record holding `object`
    // is written. -1 and E_FAIL when the object is not in the document, is
    // not written, or no save is running.
    virtual HRESULT STDMETHODCALLTYPE GetFileIndexOf(IUnknown* object, int32_t* fileIndex) = 0;
    // While reading (up to the end of the resolve pass): the object loaded
    // from the record with that file index, borrowed. Null and E_FAIL for a
    // record that was skipped or an index that names no record. File
    // indexes count the records of the file, so a skipped record does not
    // shift the ones behind it.
    virtual HRESULT STDMETHODCALLTYPE GetObjectByFileIndex(int32_t fileIndex, IUnknown** object) = 0;

protected:
    ~IDocumentFileIndex() = default;
};

// The file-index service of a document, or null when the document does not
// offer one. Every interface pointer of a single-chain object is also its
// IUnknown pointer, so this needs no definition of IHostDocument.
inline ComPtr<IDocumentFileIndex> QueryDocumentFileIndex(IHostDocument* document)
{
    ComPtr<IDocumentFileIndex> index;
    if (document != nullptr) {
        auto* unknown = reinterpret_cast<IUnknown*>(document);
        if (FAILED(unknown->QueryInterface(IID_IDocumentFileIndex, index.ReceiveVoid()))) {
            index.Reset();
        }
    }
    return index;
}
