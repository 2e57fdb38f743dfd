// CDocument: views, the file life cycle and the save-changes question.
#include "platform/framework/document.h"

#include "platform/framework/app.h"
#include "platform/framework/doctemplate.h"
#include "platform/framework/framewnd.h"
#include "platform/framework/ids.h"
#include "platform/framework/view.h"
#include "platform/user/commdlg.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
    ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
    ON_COMMAND(ID_FILE_SAVE, OnFileSave)
    ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

CDocument::~CDocument()
{
    while (!m_viewList.IsEmpty()) {
        CView* view = m_viewList.RemoveHead();
        view->m_pDocument = nullptr;
    }
    if (m_pDocTemplate != nullptr) {
        m_pDocTemplate->RemoveDocument(this);
    }
}

void CDocument::SetTitle(LPCSTR title)
{
    m_strTitle = title != nullptr ? title : "";
    // Frames showing the document put the new title in their caption.
    POSITION position = GetFirstViewPosition();
    while (position != nullptr) {
        CView* view = GetNextView(position);
        if (CFrameWnd* frame = view->GetParentFrame()) {
            frame->OnUpdateFrameTitle(TRUE);
        }
    }
}

void CDocument::SetPathName(LPCSTR pathName, BOOL addToMRU)
{
    m_strPathName = pathName != nullptr ? pathName : "";
    // The title is the file's name without its folder.
    CString title = m_strPathName;
    const int slash = std::max(title.ReverseFind('/'), title.ReverseFind('\\'));
    if (slash >= 0) {
        title = title.Mid(slash + 1);
    }
    SetTitle(title);
    if (addToMRU && !m_strPathName.IsEmpty()) {
        if (CWinApp* app = AfxGetApp()) {
            app->AddToRecentFileList(m_strPathName);
        }
    }
}

void CDocument::AddView(CView* view)
{
    if (view == nullptr || view->m_pDocument == this) {
        return;
    }
    if (view->m_pDocument != nullptr) {
        view->m_pDocument->RemoveView(view);
    }
    m_viewList.AddTail(view);
    view->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* view)
{
    if (view == nullptr || view->m_pDocument != this) {
        return;
    }
    if (POSITION position = m_viewList.Find(view)) {
        m_viewList.RemoveAt(position);
    }
    view->m_pDocument = nullptr;
    OnChangedViewList();
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint, CObject* hintObject)
{
    POSITION position = GetFirstViewPosition();
    while (position != nullptr) {
        CView* view = GetNextView(position);
        if (view != sender) {
            view->OnUpdate(sender, hint, hintObject);
        }
    }
}

void CDocument::OnChangedViewList()
{
    if (m_viewList.IsEmpty() && m_bAutoDelete) {
        OnCloseDocument();
        return;
    }
    // The frames' titles show the window numbers of several views.
    POSITION position = GetFirstViewPosition();
    while (position != nullptr) {
        if (CFrameWnd* frame = GetNextView(position)->GetParentFrame()) {
            frame->OnUpdateFrameTitle(TRUE);
        }
    }
}

void CDocument::DeleteContents() {}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

CFile* CDocument::GetFile(LPCSTR fileName, UINT flags, CFileException* error)
{
    auto file = std::make_unique<CFile>();
    if (!file->Open(fileName, flags, error)) {
        return nullptr;
    }
    return file.release();
}

void CDocument::ReleaseFile(CFile* file, BOOL abort)
{
    if (file == nullptr) {
        return;
    }
    std::unique_ptr<CFile> owned(file);
    if (abort) {
        owned->Abort();
    } else {
        owned->Close();
    }
}

BOOL CDocument::OnOpenDocument(LPCSTR pathName)
{
    CFileException fileError;
    CFile* file = GetFile(pathName, CFile::modeRead | CFile::shareDenyWrite, &fileError);
    if (file == nullptr) {
        ReportSaveLoadException(pathName, &fileError, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    }
    DeleteContents();
    SetModifiedFlag(TRUE);  // a failed read leaves contents that are not the file's
    try {
        CArchive archive(file, CArchive::load);
        archive.m_pDocument = this;
        Serialize(archive);
        archive.Close();
        ReleaseFile(file, FALSE);
    } catch (const CException& error) {
        ReleaseFile(file, TRUE);
        DeleteContents();
        ReportSaveLoadException(pathName, &error, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCSTR pathName)
{
    CFileException fileError;
    CFile* file = GetFile(pathName, CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive, &fileError);
    if (file == nullptr) {
        ReportSaveLoadException(pathName, &fileError, TRUE, AFX_IDP_INVALID_FILENAME);
        return FALSE;
    }
    try {
        CArchive archive(file, CArchive::store);
        archive.m_pDocument = this;
        Serialize(archive);
        archive.Close();
        ReleaseFile(file, FALSE);
    } catch (const CException& error) {
        ReleaseFile(file, TRUE);
        ReportSaveLoadException(pathName, &error, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::ReportSaveLoadException(LPCSTR pathName, const CException* error, BOOL, UINT defaultPrompt)
{
    char message[512] = {0};
    CString text;
    if (error != nullptr && error->GetErrorMessage(message, sizeof message)) {
        text = message;
    } else {
        AfxFormatString1(text, defaultPrompt, pathName);
    }
    AfxMessageBox(text, MB_ICONEXCLAMATION);
}

void CDocument::OnCloseDocument()
{
    // 1. Destroy every frame that shows this document; keep the document
    //    alive while its views go.
    const BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_viewList.IsEmpty()) {
        CView* view = m_viewList.GetHead();
        CFrameWnd* frame = view->GetParentFrame();
        if (frame != nullptr) {
            PreCloseFrame(frame);
            frame->DestroyWindow();
        } else {
            view->DestroyWindow();
        }
        // A view that outlived its window leaves the list here.
        if (!m_viewList.IsEmpty() && m_viewList.GetHead() == view) {
            RemoveView(view);
        }
    }
    m_bAutoDelete = autoDelete;
    // 2. Clean up and delete.
    DeleteContents();
    if (m_bAutoDelete) {
        delete this;
    }
}

BOOL CDocument::SaveModified()
{
    if (!IsModified()) {
        return TRUE;
    }
    CString name = m_strPathName;
    if (name.IsEmpty()) {
        name = m_strTitle;
        if (name.IsEmpty()) {
            AfxLoadString(AFX_IDS_UNTITLED, name);
        }
    } else {
        const int slash = std::max(name.ReverseFind('/'), name.ReverseFind('\\'));
        name = name.Mid(slash + 1);
    }
    CString prompt;
    AfxFormatString1(prompt, AFX_IDP_ASK_TO_SAVE, name);
    switch (AfxMessageBox(prompt, MB_YESNOCANCEL, AFX_IDP_ASK_TO_SAVE)) {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoFileSave();
    case IDNO:
        return TRUE;
    default:
        // The box could not be shown: closing must not lose the changes.
        return FALSE;
    }
}

BOOL CDocument::CanCloseFrame(CFrameWnd* frame)
{
    // Another frame still showing the document lets this one go.
    POSITION position = GetFirstViewPosition();
    while (position != nullptr) {
        CView* view = GetNextView(position);
        CFrameWnd* viewFrame = view->GetParentFrame();
        if (viewFrame != nullptr && viewFrame != frame) {
            return TRUE;
        }
    }
    return SaveModified();
}

void CDocument::PreCloseFrame(CFrameWnd*) {}

BOOL CDocument::DoFileSave()
{
    if (m_strPathName.IsEmpty()) {
        return DoSave(nullptr);
    }
    return DoSave(m_strPathName);
}

BOOL CDocument::DoSave(LPCSTR pathName, BOOL replace)
{
    CString newName = pathName != nullptr ? pathName : "";
    if (newName.IsEmpty()) {
        // Save As: propose the title with the template's extension.
        newName = m_strPathName;
        if (newName.IsEmpty()) {
            newName = m_strTitle;
            CString extension;
            if (m_pDocTemplate != nullptr && m_pDocTemplate->GetDocString(extension, CDocTemplate::filterExt) &&
                !extension.IsEmpty() && newName.Find('.') < 0) {
                const int semicolon = extension.Find(';');
                newName += semicolon >= 0 ? extension.Left(semicolon) : extension;
            }
        }
        CWinApp* app = AfxGetApp();
        if (app == nullptr ||
            !app->DoPromptFileName(newName, replace ? AFX_IDS_SAVEFILE : AFX_IDS_SAVEFILECOPY,
                                   OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, FALSE, m_pDocTemplate)) {
            return FALSE;
        }
    }
    if (!OnSaveDocument(newName)) {
        return FALSE;
    }
    if (replace) {
        SetPathName(newName);
    }
    return TRUE;
}

BOOL CDocument::OnCmdMsg(UINT id, int code, void* pExtra, AFX_CMDHANDLERINFO* handlerInfo)
{
    if (CCmdTarget::OnCmdMsg(id, code, pExtra, handlerInfo)) {
        return TRUE;
    }
    return m_pDocTemplate != nullptr ? m_pDocTemplate->OnCmdMsg(id, code, pExtra, handlerInfo) : FALSE;
}

void CDocument::OnFileClose()
{
    if (!SaveModified()) {
        return;
    }
    OnCloseDocument();
}

void CDocument::OnFileSave() { DoFileSave(); }

void CDocument::OnFileSaveAs() { DoSave(nullptr); }
