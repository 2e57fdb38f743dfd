// Document templates: the document, frame and view classes of one document
// type with its resources (menu, accelerators, strings). A template makes
// new documents with their frames, opens files, and knows its documents.
// CSingleDocTemplate holds at most one document, CMultiDocTemplate any
// number, each in its own frame (an MDI child).
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/framework/cmdtarget.h"
#include "platform/framework/cstring.h"
#include "platform/framework/list.h"

class CDocument;
class CFrameWnd;
class CMenu;

class NUVEX_PLATFORM_API CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    // Parts of the template's string resource, separated by "\n".
    enum DocStringIndex : int {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName,
    };
    enum Confidence : int { noAttempt, maybeAttemptForeign, maybeAttemptNative, yesAttemptForeign, yesAttemptNative,
                            yesAlreadyOpen };

    ~CDocTemplate() override;

    // Loads the template's strings, menu and accelerators.
    virtual void LoadTemplate();
    virtual BOOL GetDocString(CString& text, DocStringIndex index) const;
    UINT GetResourceId() const { return m_nIDResource; }

    virtual POSITION GetFirstDocPosition() const = 0;
    virtual CDocument* GetNextDoc(POSITION& position) const = 0;
    virtual void AddDocument(CDocument* document);
    virtual void RemoveDocument(CDocument* document);

    virtual CDocument* CreateNewDocument();
    // A new frame for `document`, of the template's frame class, loaded
    // from the template's resources, with a view of the view class.
    virtual CFrameWnd* CreateNewFrame(CDocument* document, CFrameWnd* other);
    virtual void InitialUpdateFrame(CFrameWnd* frame, CDocument* document, BOOL makeVisible = TRUE);
    // A new document (null path) or the document read from `pathName`;
    // null when the document, its frame or the reading fails.
    virtual CDocument* OpenDocumentFile(LPCSTR pathName, BOOL makeVisible = TRUE) = 0;
    virtual void SetDefaultTitle(CDocument* document) = 0;
    // Whether `pathName` is a file of this type (by the filter extension)
    // or a document of this template has it open already.
    virtual Confidence MatchDocType(LPCSTR pathName, CDocument*& match);
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL endSession);

    // OLE server resources (kept; there is no embedding).
    void SetServerInfo(UINT embeddedId, UINT inPlaceId = 0, const CRuntimeClass* inPlaceFrameClass = nullptr,
                       const CRuntimeClass* inPlaceViewClass = nullptr);

    HMENU m_hMenuShared = nullptr;
    HACCEL m_hAccelTable = nullptr;
    UINT m_nIDServerResource = 0;
    UINT m_nIDEmbeddingResource = 0;
    const CRuntimeClass* m_pOleFrameClass = nullptr;
    const CRuntimeClass* m_pOleViewClass = nullptr;

protected:
    CDocTemplate(UINT resourceId, const CRuntimeClass* documentClass, const CRuntimeClass* frameClass,
                 const CRuntimeClass* viewClass);

    UINT m_nIDResource;
    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;
    bool m_loaded = false;
};

class NUVEX_PLATFORM_API CSingleDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CSingleDocTemplate)
public:
    CSingleDocTemplate(UINT resourceId, const CRuntimeClass* documentClass, const CRuntimeClass* frameClass,
                       const CRuntimeClass* viewClass);
    ~CSingleDocTemplate() override;

    POSITION GetFirstDocPosition() const override;
    CDocument* GetNextDoc(POSITION& position) const override;
    void AddDocument(CDocument* document) override;
    void RemoveDocument(CDocument* document) override;
    // Reuses the one document (after asking to save it) and its frame.
    CDocument* OpenDocumentFile(LPCSTR pathName, BOOL makeVisible = TRUE) override;
    void SetDefaultTitle(CDocument* document) override;

protected:
    CDocument* m_pOnlyDoc = nullptr;
};

class NUVEX_PLATFORM_API CMultiDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CMultiDocTemplate)
public:
    CMultiDocTemplate(UINT resourceId, const CRuntimeClass* documentClass, const CRuntimeClass* frameClass,
                      const CRuntimeClass* viewClass);
    ~CMultiDocTemplate() override;

    POSITION GetFirstDocPosition() const override { return m_docList.GetHeadPosition(); }
    CDocument* GetNextDoc(POSITION& position) const override { return m_docList.GetNext(position); }
    void AddDocument(CDocument* document) override;
    void RemoveDocument(CDocument* document) override;
    CDocument* OpenDocumentFile(LPCSTR pathName, BOOL makeVisible = TRUE) override;
    // "Doc1", "Doc2", ...: the document name and a number that counts up.
    void SetDefaultTitle(CDocument* document) override;

    CList<CDocument*, CDocument*> m_docList;
    UINT m_nUntitledCount = 0;
};
