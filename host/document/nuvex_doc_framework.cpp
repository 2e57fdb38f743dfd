// The document's life as the framework runs it: new, close and save under a
// name, and the embedded item a container would show.
#include "host/document/nuvex_doc.h"

#include "host/document/nuvex_srvr_item.h"

IMPLEMENT_DYNAMIC(CNuvexDoc, COleServerDoc)

void CNuvexDoc::SetModifiedFlag(BOOL modified)
{
    m_bModified = modified;
    if (modified) {
        m_closeAgreed = FALSE;
    }
}

BOOL CNuvexDoc::OnNewDocument() { return COleServerDoc::OnNewDocument(); }

BOOL CNuvexDoc::SaveModified()
{
    if (m_closeFlow == nullptr) {
        return COleServerDoc::SaveModified();
    }
    m_closeAgreed = m_closeFlow->AskToClose(*this);
    return m_closeAgreed;
}

BOOL CNuvexDoc::DoSave(LPCSTR path, BOOL replace)
{
    if (m_closeFlow == nullptr) {
        return COleServerDoc::DoSave(path, replace);
    }
    return m_closeFlow->SaveUnderName(*this, path, replace);
}

void CNuvexDoc::OnCloseDocument()
{
    // Every way of closing (File Close, the last frame, the program's end)
    // asks once: a document whose close was agreed through SaveModified
    // closes without a second question.
    if (m_closeFlow != nullptr && !m_closeAgreed && !m_closeFlow->AskToClose(*this)) {
        return;
    }
    m_closeAgreed = FALSE;
    COleServerDoc::OnCloseDocument();
}

COleServerItem* CNuvexDoc::OnGetEmbeddedItem() { return new CNuvexSrvrItem(this); }
