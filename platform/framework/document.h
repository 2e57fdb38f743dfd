// CDocument: a document's data, its views, its file and its life: new,
// open, save and close, with the question whether to save changes. Its
// stored form is written by Serialize through a CArchive over the file.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/framework/archive.h"
#include "platform/framework/cmdtarget.h"
#include "platform/framework/cstring.h"
#include "platform/framework/list.h"

class CDocTemplate;
class CFrameWnd;
class CView;

class NUVEX_PLATFORM_API CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument() = default;
    // Detaches the views still listed (their windows outlive nothing here).
    ~CDocument() override;

    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCSTR title);
    const CString& GetPathName() const { return m_strPathName; }
    // Sets the path and the title (the file's name); with `addToMRU` the
    // path goes to the application's recent-file list.
    virtual void SetPathName(LPCSTR pathName, BOOL addToMRU = TRUE);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    virtual BOOL IsModified() { return m_bModified; }
    virtual void SetModifiedFlag(BOOL modified = TRUE) { m_bModified = modified; }

    // Views ---------------------------------------------------------------------
    virtual POSITION GetFirstViewPosition() const { return m_viewList.GetHeadPosition(); }
    virtual CView* GetNextView(POSITION& position) const { return m_viewList.GetNext(position); }
    int GetViewCount() const { return m_viewList.GetCount(); }
    void AddView(CView* view);
    void RemoveView(CView* view);
    // Calls OnUpdate of every view but `sender`.
    void UpdateAllViews(CView* sender, LPARAM hint = 0, CObject* hintObject = nullptr);
    // After a view came or went: a document left without views closes
    // (when it deletes itself).
    virtual void OnChangedViewList();

    // Life ------------------------------------------------------------------------
    virtual void DeleteContents();
    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(LPCSTR pathName);
    virtual BOOL OnSaveDocument(LPCSTR pathName);
    // Destroys the document's frames (and so its views), then the document
    // when it deletes itself.
    virtual void OnCloseDocument();
    // Asks whether to save a modified document: Yes saves (FALSE when the
    // save fails), No goes on, Cancel stops. TRUE when closing may go on.
    virtual BOOL SaveModified();
    virtual BOOL CanCloseFrame(CFrameWnd* frame);
    virtual void PreCloseFrame(CFrameWnd* frame);
    // Saves under `pathName`, or asks for a name when it is null (Save As);
    // with `replace` the document takes the new name.
    virtual BOOL DoSave(LPCSTR pathName, BOOL replace = TRUE);
    // Saves under the document's own name, asking for one when it has none.
    virtual BOOL DoFileSave();
    // Reports a failed load or save with a message box (the exception's
    // message, else `defaultPrompt`).
    virtual void ReportSaveLoadException(LPCSTR pathName, const CException* error, BOOL saving, UINT defaultPrompt);
    virtual CFile* GetFile(LPCSTR fileName, UINT flags, CFileException* error);
    virtual void ReleaseFile(CFile* file, BOOL abort);

    // A document routes commands on to its template.
    BOOL OnCmdMsg(UINT id, int code, void* pExtra, AFX_CMDHANDLERINFO* handlerInfo) override;

    // Standard commands.
    void OnFileClose();
    void OnFileSave();
    void OnFileSaveAs();

    BOOL m_bAutoDelete = TRUE;  // deleted with its last view or at close
    BOOL m_bEmbedded = FALSE;

protected:
    friend class CDocTemplate;
    friend class CSingleDocTemplate;
    friend class CMultiDocTemplate;
    CString m_strTitle;
    CString m_strPathName;
    CDocTemplate* m_pDocTemplate = nullptr;
    CList<CView*, CView*> m_viewList;
    BOOL m_bModified = FALSE;

    DECLARE_MESSAGE_MAP()
};
