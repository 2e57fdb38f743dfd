// CFileIndexMap: the file-index tables that a document keeps while it saves
// or reads its file, offered to the objects of the file as
// IDocumentFileIndex. The document fills it (record by record while reading,
// before the second pass while saving), answers IID_IDocumentFileIndex from
// its IHostDocument with it, and clears it when the save or the resolve pass
// is over. It holds no references: the document's object list keeps the
// objects alive.
#pragma once

#include <map>

#include "idocumentfileindex.h"
#include "objectmodel/com_object.h"

class CFileIndexMap : public CCountedObject<IDocumentFileIndex, IID_IDocumentFileIndex> {
public:
    // Reading: the object made from the record with that file index. A
    // record that was skipped is simply never added. A second object for
    // the same index replaces the first.
    void AddLoaded(int32_t fileIndex, IUnknown* object);
    // Saving: the file index under which the object is written.
    void AddWritten(IUnknown* object, int32_t fileIndex);
    void Clear();

    HRESULT STDMETHODCALLTYPE GetFileIndexOf(IUnknown* object, int32_t* fileIndex) override;
    HRESULT STDMETHODCALLTYPE GetObjectByFileIndex(int32_t fileIndex, IUnknown** object) override;

private:
    std::map<int32_t, IUnknown*> m_loaded;
    std::map<IUnknown*, int32_t> m_written;
};
