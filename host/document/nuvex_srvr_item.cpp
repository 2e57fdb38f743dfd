// CNuvexSrvrItem: the embedded drawing's storage, extent and picture.
#include "host/document/nuvex_srvr_item.h"

#include "host/document/nuvex_doc.h"
#include "platform/framework/dc.h"

IMPLEMENT_DYNAMIC(CNuvexSrvrItem, COleServerItem)

CNuvexSrvrItem::CNuvexSrvrItem(CNuvexDoc* document) : COleServerItem(document, TRUE) {}

CNuvexDoc* CNuvexSrvrItem::GetDocument() const { return static_cast<CNuvexDoc*>(COleServerItem::GetDocument()); }

void CNuvexSrvrItem::Serialize(CArchive& archive)
{
    if (!IsLinkedItem()) {
        if (CNuvexDoc* document = GetDocument()) {
            document->Serialize(archive);
        }
    }
}

BOOL CNuvexSrvrItem::OnGetExtent(DWORD aspect, CSize& size)
{
    if (aspect != DVASPECT_CONTENT) {
        return COleServerItem::OnGetExtent(aspect, size);
    }
    size = CSize(kServerItemExtent, kServerItemExtent);
    return TRUE;
}

BOOL CNuvexSrvrItem::OnDraw(CDC* dc, CSize&)
{
    if (dc == nullptr) {
        return FALSE;
    }
    dc->SetMapMode(MM_HIMETRIC);
    dc->SetWindowOrg(0, 0);
    dc->SetWindowExt(kServerItemExtent, kServerItemExtent);
    return TRUE;
}
