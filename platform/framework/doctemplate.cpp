// Document templates: making documents with their frames and views,
// opening files, and the single- and multi-document forms.
#include "platform/framework/doctemplate.h"

#include "platform/framework/app.h"
#include "platform/framework/document.h"
#include "platform/framework/framewnd.h"
#include "platform/framework/ids.h"
#include "platform/framework/menu.h"
#include "platform/framework/view.h"
#include "platform/kernel/path.h"
#include "platform/user/keyboard.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)
IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT resourceId, const CRuntimeClass* documentClass, const CRuntimeClass* frameClass,
                           const CRuntimeClass* viewClass)
    : m_nIDResource(resourceId), m_pDocClass(documentClass), m_pFrameClass(frameClass), m_pViewClass(viewClass)
{
}

CDocTemplate::~CDocTemplate()
{
    if (m_hMenuShared != nullptr) {
        ::DestroyMenu(m_hMenuShared);
    }
    if (m_hAccelTable != nullptr) {
        ::DestroyAcceleratorTable(m_hAccelTable);
    }
}

void CDocTemplate::LoadTemplate()
{
    if (m_loaded) {
        return;
    }
    m_loaded = true;
    m_strDocStrings.LoadString(m_nIDResource);
    CMenu menu;
    if (menu.LoadMenu(m_nIDResource)) {
        m_hMenuShared = menu.Detach();
    }
    m_hAccelTable = AfxLoadAcceleratorTable(m_nIDResource);
}

BOOL CDocTemplate::GetDocString(CString& text, DocStringIndex index) const
{
    text.Empty();
    const CString& all = m_strDocStrings;
    int start = 0;
    for (int part = 0; part < index; ++part) {
        const int newline = all.Find('\n', start);
        if (newline < 0) {
            return FALSE;
        }
        start = newline + 1;
    }
    const int end = all.Find('\n', start);
    text = end < 0 ? all.Mid(start) : all.Mid(start, end - start);
    return TRUE;
}

void CDocTemplate::AddDocument(CDocument* document)
{
    document->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* document)
{
    if (document->m_pDocTemplate == this) {
        document->m_pDocTemplate = nullptr;
    }
}

CDocument* CDocTemplate::CreateNewDocument()
{
    if (m_pDocClass == nullptr) {
        return nullptr;
    }
    CObject* object = m_pDocClass->CreateObject();
    if (object == nullptr) {
        return nullptr;
    }
    if (!object->IsKindOf(RUNTIME_CLASS(CDocument))) {
        delete object;
        return nullptr;
    }
    auto* document = static_cast<CDocument*>(object);
    AddDocument(document);
    return document;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* document, CFrameWnd* other)
{
    CCreateContext context;
    context.m_pCurrentFrame = other;
    context.m_pCurrentDoc = document;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    if (m_pFrameClass == nullptr) {
        return nullptr;
    }
    CObject* object = m_pFrameClass->CreateObject();
    if (object == nullptr) {
        return nullptr;
    }
    if (!object->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
        delete object;
        return nullptr;
    }
    auto* frame = static_cast<CFrameWnd*>(object);
    // A frame that fails to load deletes itself (PostNcDestroy).
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) {
        return nullptr;
    }
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* frame, CDocument* document, BOOL makeVisible)
{
    frame->InitialUpdateFrame(document, makeVisible);
}

CDocTemplate::Confidence CDocTemplate::MatchDocType(LPCSTR pathName, CDocument*& match)
{
    match = nullptr;
    POSITION position = GetFirstDocPosition();
    while (position != nullptr) {
        CDocument* document = GetNextDoc(position);
        if (!document->GetPathName().IsEmpty() && document->GetPathName() == CString(pathName)) {
            match = document;
            return yesAlreadyOpen;
        }
    }
    CString extension;
    if (GetDocString(extension, filterExt) && !extension.IsEmpty()) {
        // The filter extension may list several, separated by ";".
        const std::string name = pathName != nullptr ? pathName : "";
        const std::string all = extension.GetString();
        size_t start = 0;
        while (start <= all.size()) {
            size_t end = all.find(';', start);
            if (end == std::string::npos) {
                end = all.size();
            }
            std::string one = all.substr(start, end - start);
            if (!one.empty() && one[0] == '*') {
                one.erase(0, 1);
            }
            if (!one.empty() && name.size() >= one.size() &&
                EqualsIgnoringCase(std::string_view(name).substr(name.size() - one.size()), one)) {
                return yesAttemptNative;
            }
            start = end + 1;
        }
    }
    return yesAttemptForeign;
}

BOOL CDocTemplate::SaveAllModified()
{
    POSITION position = GetFirstDocPosition();
    while (position != nullptr) {
        CDocument* document = GetNextDoc(position);
        if (!document->SaveModified()) {
            return FALSE;
        }
    }
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL)
{
    while (POSITION position = GetFirstDocPosition()) {
        CDocument* document = GetNextDoc(position);
        document->OnCloseDocument();
        // A document that does not delete itself leaves the list here.
        if (GetFirstDocPosition() != nullptr) {
            POSITION again = GetFirstDocPosition();
            if (GetNextDoc(again) == document) {
                RemoveDocument(document);
            }
        }
    }
}

void CDocTemplate::SetServerInfo(UINT embeddedId, UINT inPlaceId, const CRuntimeClass* inPlaceFrameClass,
                                 const CRuntimeClass* inPlaceViewClass)
{
    m_nIDEmbeddingResource = embeddedId;
    m_nIDServerResource = inPlaceId;
    m_pOleFrameClass = inPlaceFrameClass;
    m_pOleViewClass = inPlaceViewClass;
}

namespace {

// Makes the document's frame, then reads or starts the document; undoes
// what was made when a step fails.
CDocument* OpenInNewFrame(CDocTemplate& docTemplate, CDocument* document, LPCSTR pathName, BOOL makeVisible)
{
    const BOOL autoDelete = document->m_bAutoDelete;
    document->m_bAutoDelete = FALSE;  // a failed frame must not take the document with it
    CFrameWnd* frame = docTemplate.CreateNewFrame(document, nullptr);
    document->m_bAutoDelete = autoDelete;
    if (frame == nullptr) {
        delete document;
        return nullptr;
    }
    if (pathName == nullptr) {
        docTemplate.SetDefaultTitle(document);
        if (!document->OnNewDocument()) {
            frame->DestroyWindow();
            return nullptr;
        }
    } else {
        if (!document->OnOpenDocument(pathName)) {
            frame->DestroyWindow();
            return nullptr;
        }
        document->SetPathName(pathName);
    }
    docTemplate.InitialUpdateFrame(frame, document, makeVisible);
    return document;
}

} // namespace

CSingleDocTemplate::CSingleDocTemplate(UINT resourceId, const CRuntimeClass* documentClass,
                                       const CRuntimeClass* frameClass, const CRuntimeClass* viewClass)
    : CDocTemplate(resourceId, documentClass, frameClass, viewClass)
{
    LoadTemplate();
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    if (m_pOnlyDoc != nullptr) {
        m_pOnlyDoc->m_bAutoDelete = FALSE;
        RemoveDocument(m_pOnlyDoc);
    }
}

POSITION CSingleDocTemplate::GetFirstDocPosition() const
{
    return m_pOnlyDoc != nullptr ? BEFORE_START_POSITION : nullptr;
}

CDocument* CSingleDocTemplate::GetNextDoc(POSITION& position) const
{
    CDocument* document = position == BEFORE_START_POSITION ? m_pOnlyDoc : nullptr;
    position = nullptr;
    return document;
}

void CSingleDocTemplate::AddDocument(CDocument* document)
{
    CDocTemplate::AddDocument(document);
    m_pOnlyDoc = document;
}

void CSingleDocTemplate::RemoveDocument(CDocument* document)
{
    CDocTemplate::RemoveDocument(document);
    if (m_pOnlyDoc == document) {
        m_pOnlyDoc = nullptr;
    }
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCSTR pathName, BOOL makeVisible)
{
    if (m_pOnlyDoc == nullptr) {
        CDocument* document = CreateNewDocument();
        if (document == nullptr) {
            AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
            return nullptr;
        }
        return OpenInNewFrame(*this, document, pathName, makeVisible);
    }
    // The one document is reused: it must be saved or given up first.
    CDocument* document = m_pOnlyDoc;
    if (!document->SaveModified()) {
        return nullptr;
    }
    if (pathName == nullptr) {
        SetDefaultTitle(document);
        if (!document->OnNewDocument()) {
            return nullptr;
        }
    } else {
        if (!document->OnOpenDocument(pathName)) {
            return nullptr;
        }
        document->SetPathName(pathName);
    }
    POSITION position = document->GetFirstViewPosition();
    if (position != nullptr) {
        CView* view = document->GetNextView(position);
        if (CFrameWnd* frame = view->GetParentFrame()) {
            InitialUpdateFrame(frame, document, makeVisible);
        }
    }
    return document;
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* document)
{
    CString title;
    if (!GetDocString(title, docName) || title.IsEmpty()) {
        AfxLoadString(AFX_IDS_UNTITLED, title);
    }
    document->SetTitle(title);
}

CMultiDocTemplate::CMultiDocTemplate(UINT resourceId, const CRuntimeClass* documentClass,
                                     const CRuntimeClass* frameClass, const CRuntimeClass* viewClass)
    : CDocTemplate(resourceId, documentClass, frameClass, viewClass)
{
    LoadTemplate();
}

CMultiDocTemplate::~CMultiDocTemplate()
{
    while (!m_docList.IsEmpty()) {
        CDocument* document = m_docList.RemoveHead();
        document->m_pDocTemplate = nullptr;
    }
}

void CMultiDocTemplate::AddDocument(CDocument* document)
{
    CDocTemplate::AddDocument(document);
    if (m_docList.Find(document) == nullptr) {
        m_docList.AddTail(document);
    }
}

void CMultiDocTemplate::RemoveDocument(CDocument* document)
{
    CDocTemplate::RemoveDocument(document);
    if (POSITION position = m_docList.Find(document)) {
        m_docList.RemoveAt(position);
    }
}

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCSTR pathName, BOOL makeVisible)
{
    CDocument* document = CreateNewDocument();
    if (document == nullptr) {
        AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
        return nullptr;
    }
    return OpenInNewFrame(*this, document, pathName, makeVisible);
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* document)
{
    CString title;
    if (!GetDocString(title, docName) || title.IsEmpty()) {
        AfxLoadString(AFX_IDS_UNTITLED, title);
    }
    CString numbered;
    numbered.Format("%s%u", title.GetString(), ++m_nUntitledCount);
    document->SetTitle(numbered);
}
