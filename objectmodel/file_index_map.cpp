// CFileIndexMap: a document's file-index tables.
#include "objectmodel/file_index_map.h"

void CFileIndexMap::AddLoaded(int32_t fileIndex, IUnknown* object)
{
    if (fileIndex >= 0 && object != nullptr) {
        m_loaded[fileIndex] = object;
    }
}

void CFileIndexMap::AddWritten(IUnknown* object, int32_t fileIndex)
{
    if (fileIndex >= 0 && object != nullptr) {
        m_written[object] = fileIndex;
    }
}

void CFileIndexMap::Clear()
{
    m_loaded.clear();
    m_written.clear();
}

HRESULT CFileIndexMap::GetFileIndexOf(IUnknown* object, int32_t* fileIndex)
{
    if (fileIndex == nullptr) {
        return E_POINTER;
    }
    auto it = m_written.find(object);
    if (it == m_written.end()) {
        *fileIndex = -1;
        return E_FAIL;
    }
    *fileIndex = it->second;
    return S_OK;
}

HRESULT CFileIndexMap::GetObjectByFileIndex(int32_t fileIndex, IUnknown** object)
{
    if (object == nullptr) {
        return E_POINTER;
    }
    auto it = m_loaded.find(fileIndex);
    if (it == m_loaded.end()) {
        *object = nullptr;
        return E_FAIL;
    }
    *object = it->second;
    return S_OK;
}
