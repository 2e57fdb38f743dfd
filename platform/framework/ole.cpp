// The OLE server stand-ins: embedded items made on request, in-place
// deactivation without a container, and the server's registry entries.
#include "platform/framework/ole.h"

#include <algorithm>
#include <string>

#include "platform/framework/app.h"
#include "platform/framework/doctemplate.h"
#include "platform/kernel/registry.h"

IMPLEMENT_DYNAMIC(COleDocument, CDocument)
IMPLEMENT_DYNAMIC(COleServerItem, CCmdTarget)
IMPLEMENT_DYNAMIC(COleServerDoc, COleDocument)
IMPLEMENT_DYNCREATE(COleIPFrameWnd, CFrameWnd)
IMPLEMENT_DYNAMIC(COleResizeBar, CWnd)
IMPLEMENT_DYNAMIC(COleDropTarget, CCmdTarget)
IMPLEMENT_DYNAMIC(COleTemplateServer, CCmdTarget)

BOOL AfxOleInit() { return TRUE; }

void AfxEnableControlContainer() {}

COleServerItem::COleServerItem(COleServerDoc* document, BOOL autoDelete)
    : m_bAutoDelete(autoDelete), m_pDocument(document)
{
    if (m_pDocument != nullptr) {
        m_pDocument->m_items.push_back(this);
    }
}

COleServerItem::~COleServerItem()
{
    if (m_pDocument != nullptr) {
        auto& items = m_pDocument->m_items;
        items.erase(std::remove(items.begin(), items.end(), this), items.end());
        if (m_pDocument->m_pEmbeddedItem == this) {
            m_pDocument->m_pEmbeddedItem = nullptr;
        }
    }
}

BOOL COleServerItem::IsLinkedItem() const
{
    return m_pDocument == nullptr || m_pDocument->m_pEmbeddedItem != this ? TRUE : FALSE;
}

BOOL COleServerItem::OnGetExtent(DWORD, CSize&) { return FALSE; }

void COleServerItem::OnUpdate(COleServerItem*, LPARAM, CObject*, DWORD) {}

COleServerDoc::~COleServerDoc()
{
    // Items that delete themselves go with the document; the others only
    // lose their document.
    std::vector<COleServerItem*> items;
    items.swap(m_items);
    m_pEmbeddedItem = nullptr;
    for (COleServerItem* item : items) {
        item->m_pDocument = nullptr;
        if (item->m_bAutoDelete) {
            delete item;
        }
    }
}

COleServerItem* COleServerDoc::GetEmbeddedItem()
{
    if (m_pEmbeddedItem == nullptr) {
        m_pEmbeddedItem = OnGetEmbeddedItem();
    }
    return m_pEmbeddedItem;
}

void COleServerDoc::UpdateAllItems(COleServerItem* sender, LPARAM hint, CObject* hintObject, DWORD aspect)
{
    const std::vector<COleServerItem*> items = m_items;
    for (COleServerItem* item : items) {
        if (item != sender) {
            item->OnUpdate(sender, hint, hintObject, aspect);
        }
    }
}

void COleServerDoc::NotifyChanged() { UpdateAllItems(nullptr); }

BOOL COleServerDoc::ActivateInPlace() { return FALSE; }

void COleServerDoc::OnDeactivateUI(BOOL)
{
    if (m_pInPlaceFrame == nullptr) {
        return;
    }
    m_pInPlaceFrame->ShowWindow(SW_HIDE);
}

void COleServerDoc::OnDeactivate()
{
    OnDeactivateUI(FALSE);
    m_pInPlaceFrame = nullptr;
}

BOOL COleIPFrameWnd::OnCreateControlBars(CFrameWnd*, CFrameWnd*) { return TRUE; }

BOOL COleResizeBar::Create(CWnd* parent, DWORD style, UINT id)
{
    return CWnd::Create(nullptr, nullptr, style & ~WS_VISIBLE, CRect(0, 0, 0, 0), parent, id);
}

BOOL COleDropTarget::Register(CWnd* wnd)
{
    if (wnd == nullptr || wnd->m_hWnd == nullptr) {
        return FALSE;
    }
    m_pWnd = wnd;
    return TRUE;
}

void COleTemplateServer::ConnectTemplate(REFCLSID clsid, CDocTemplate* docTemplate, BOOL multiInstance)
{
    m_clsid = clsid;
    m_pDocTemplate = docTemplate;
    m_bMultiInstance = multiInstance;
}

namespace {

bool SetDefault(HKEY root, const std::string& path, const std::string& value)
{
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                        &disposition) != ERROR_SUCCESS) {
        return false;
    }
    const LONG status = RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                       static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

} // namespace

BOOL COleTemplateServer::UpdateRegistry(OLE_APPTYPE type)
{
    if (m_pDocTemplate == nullptr) {
        return FALSE;
    }
    CString typeId;
    CString typeName;
    m_pDocTemplate->GetDocString(typeId, CDocTemplate::regFileTypeId);
    m_pDocTemplate->GetDocString(typeName, CDocTemplate::regFileTypeName);
    if (typeId.IsEmpty()) {
        return FALSE;
    }
    if (typeName.IsEmpty()) {
        typeName = typeId;
    }
    const std::string clsid = GuidToText(m_clsid);
    CWinApp* app = AfxGetApp();
    const std::string program = app != nullptr && app->m_pszExeName != nullptr ? app->m_pszExeName : "";
    std::string server = program;
    if (type == OAT_INPLACE_SERVER || type == OAT_SERVER || type == OAT_DOC_OBJECT_SERVER) {
        server += " /Embedding";
    } else if (type == OAT_DISPATCH_OBJECT) {
        server += " /Automation";
    }
    const bool written = SetDefault(HKEY_CLASSES_ROOT, "CLSID\\" + clsid, typeName.GetString()) &&
                         SetDefault(HKEY_CLASSES_ROOT, "CLSID\\" + clsid + "\\LocalServer32", server) &&
                         SetDefault(HKEY_CLASSES_ROOT, "CLSID\\" + clsid + "\\ProgID", typeId.GetString()) &&
                         SetDefault(HKEY_CLASSES_ROOT, std::string(typeId.GetString()), typeName.GetString()) &&
                         SetDefault(HKEY_CLASSES_ROOT, std::string(typeId.GetString()) + "\\CLSID", clsid);
    return written ? TRUE : FALSE;
}
