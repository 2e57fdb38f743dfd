// The OLE server classes as in-process stand-ins. There is no container on
// this platform, so nothing is ever embedded or edited in place: the
// classes keep their state and answer as a server that no container has
// asked for anything. Server documents make their embedded item on request,
// items report their extent and draw into a device context, the in-place
// frame is an ordinary frame, and the template server writes the server's
// registry entries so the class id names the document type.
#pragma once

#include "platform/base/api.h"
#include "platform/base/guid.h"
#include "platform/base/types.h"
#include "platform/framework/document.h"
#include "platform/framework/framewnd.h"

class CDocTemplate;
class COleServerDoc;

// Drawing aspects.
constexpr DWORD DVASPECT_CONTENT = 1;
constexpr DWORD DVASPECT_THUMBNAIL = 2;
constexpr DWORD DVASPECT_ICON = 4;
constexpr DWORD DVASPECT_DOCPRINT = 8;

// Kinds of application for COleTemplateServer::UpdateRegistry.
enum OLE_APPTYPE : int {
    OAT_INPLACE_SERVER = 0,
    OAT_SERVER = 1,
    OAT_CONTAINER = 2,
    OAT_DISPATCH_OBJECT = 3,
    OAT_DOC_OBJECT_SERVER = 4,
};

// Initialises the OLE stand-in; always succeeds.
NUVEX_PLATFORM_API BOOL AfxOleInit();
NUVEX_PLATFORM_API void AfxEnableControlContainer();

// A document with items; its compound-file mode is only a flag here (the
// document's own file is written by Serialize either way).
class NUVEX_PLATFORM_API COleDocument : public CDocument {
    DECLARE_DYNAMIC(COleDocument)
public:
    void EnableCompoundFile(BOOL enable = TRUE) { m_bCompoundFile = enable; }
    BOOL IsCompoundFile() const { return m_bCompoundFile; }

protected:
    BOOL m_bCompoundFile = FALSE;
};

// The data a container would show and store for one embedded document.
class NUVEX_PLATFORM_API COleServerItem : public CCmdTarget {
    DECLARE_DYNAMIC(COleServerItem)
public:
    COleServerItem(COleServerDoc* document, BOOL autoDelete);
    ~COleServerItem() override;

    COleServerDoc* GetDocument() const { return m_pDocument; }
    // An item that is not its document's embedded item is a link.
    BOOL IsLinkedItem() const;
    // The size of `aspect` in HIMETRIC units; FALSE when unknown.
    virtual BOOL OnGetExtent(DWORD aspect, CSize& size);
    // Draws the item for a container; `size` is its extent.
    virtual BOOL OnDraw(CDC* dc, CSize& size) = 0;
    // The document changed: containers would be told.
    virtual void OnUpdate(COleServerItem* sender, LPARAM hint, CObject* hintObject, DWORD aspect);

    BOOL m_bAutoDelete;
    CSize m_sizeExtent;

private:
    friend class COleServerDoc;
    COleServerDoc* m_pDocument;
};

class NUVEX_PLATFORM_API COleServerDoc : public COleDocument {
    DECLARE_DYNAMIC(COleServerDoc)
public:
    COleServerDoc() = default;
    // Deletes the embedded item when it deletes itself.
    ~COleServerDoc() override;

    // The document's embedded item, made on first request.
    COleServerItem* GetEmbeddedItem();
    // Makes the embedded item (the document's own item class).
    virtual COleServerItem* OnGetEmbeddedItem() = 0;
    // Tells every item (its OnUpdate) that the document changed.
    void UpdateAllItems(COleServerItem* sender, LPARAM hint = 0, CObject* hintObject = nullptr,
                        DWORD aspect = DVASPECT_CONTENT);
    void NotifyChanged();
    BOOL IsEmbedded() const { return m_bEmbedded; }
    // Never true here: no container can ask for in-place editing.
    BOOL IsInPlaceActive() const { return m_pInPlaceFrame != nullptr ? TRUE : FALSE; }
    // Asks for in-place activation; FALSE, as there is no container.
    virtual BOOL ActivateInPlace();
    // Ends in-place editing: the in-place frame's user interface goes
    // (`undoable` would let a container undo the activation). Without
    // in-place editing nothing happens.
    virtual void OnDeactivateUI(BOOL undoable);
    virtual void OnDeactivate();

    // The frame of in-place editing; null (no container asks for it) unless
    // set by the program.
    CFrameWnd* m_pInPlaceFrame = nullptr;

private:
    friend class COleServerItem;
    COleServerItem* m_pEmbeddedItem = nullptr;
    std::vector<COleServerItem*> m_items;
};

// The frame of a document edited in place; an ordinary frame here.
class NUVEX_PLATFORM_API COleIPFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(COleIPFrameWnd)
public:
    // Puts the in-place tool bars into the container's frames; nothing to
    // do without a container.
    virtual BOOL OnCreateControlBars(CFrameWnd* frame, CFrameWnd* documentFrame);
};

// The border an in-place frame shows for resizing: a plain child window.
class NUVEX_PLATFORM_API COleResizeBar : public CWnd {
    DECLARE_DYNAMIC(COleResizeBar)
public:
    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE, UINT id = 0xE803);
};

// A window that would accept dropped data; registering always succeeds.
class NUVEX_PLATFORM_API COleDropTarget : public CCmdTarget {
    DECLARE_DYNAMIC(COleDropTarget)
public:
    BOOL Register(CWnd* wnd);
    void Revoke() { m_pWnd = nullptr; }
    CWnd* m_pWnd = nullptr;
};

// Ties a document template to the server's class id and writes the
// server's registry entries.
class NUVEX_PLATFORM_API COleTemplateServer : public CCmdTarget {
    DECLARE_DYNAMIC(COleTemplateServer)
public:
    void ConnectTemplate(REFCLSID clsid, CDocTemplate* docTemplate, BOOL multiInstance);
    // Writes "CLSID\{clsid}" (the document type's name) with its
    // "LocalServer32" (the program) and the program id key
    // ("<type id>\CLSID") under HKEY_CLASSES_ROOT. FALSE when the template
    // has no type id or the registry refuses.
    BOOL UpdateRegistry(OLE_APPTYPE type = OAT_INPLACE_SERVER);
    // Class factories of running servers: there is no cross-process
    // activation, so nothing needs registering.
    static BOOL RegisterAll() { return TRUE; }

    CLSID m_clsid = GUID_NULL;
    CDocTemplate* m_pDocTemplate = nullptr;
    BOOL m_bMultiInstance = FALSE;
};
