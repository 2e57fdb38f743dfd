// The document template of drawings.
#include "host/view/nuvex_doc_template.h"

#include "host/document/nuvex_doc.h"
#include "host/view/nuvex_view.h"

CNuvexDocTemplate::CNuvexDocTemplate(UINT resourceId, const CRuntimeClass* frameClass, IDocumentServices& services,
                                     IDocumentOutput& output, IDocumentCloseFlow* closeFlow)
    : CDrawingTemplateBase(resourceId, RUNTIME_CLASS(CNuvexDoc), frameClass, RUNTIME_CLASS(CNuvexView)),
      m_services(services),
      m_output(&output),
      m_closeFlow(closeFlow)
{
}

CNuvexDocTemplate::CNuvexDocTemplate(UINT resourceId, const CRuntimeClass* frameClass, IDocumentServices& services,
                                     IDocumentCloseFlow* closeFlow)
    : CDrawingTemplateBase(resourceId, RUNTIME_CLASS(CNuvexDoc), frameClass, RUNTIME_CLASS(CNuvexView)),
      m_services(services),
      m_closeFlow(closeFlow)
{
}

CDocument* CNuvexDocTemplate::CreateNewDocument()
{
    // The document needs the program's services, which dynamic creation
    // cannot hand over.
    CNuvexDoc* document = MakeDocument();
    if (document == nullptr) {
        return nullptr;
    }
    document->SyncSystemVariables();
    document->SetCloseFlow(m_closeFlow);
    AddDocument(document);
    return document;
}

CNuvexDoc* CNuvexDocTemplate::MakeDocument()
{
    return m_output != nullptr ? new CNuvexDoc(m_services, *m_output) : nullptr;
}

CFrameWnd* CNuvexDocTemplate::CreateNewFrame(CDocument* document, CFrameWnd* other)
{
    // The frame makes its view by class; the view learns its document here.
    CNuvexDoc* previous = CNuvexView::SetDocumentForNewViews(dynamic_cast<CNuvexDoc*>(document));
    CFrameWnd* frame = CDrawingTemplateBase::CreateNewFrame(document, other);
    CNuvexView::SetDocumentForNewViews(previous);
    return frame;
}
