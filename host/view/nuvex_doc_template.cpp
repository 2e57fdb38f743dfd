// The document template of drawings.
#include "host/view/nuvex_doc_template.h"

#include "host/document/nuvex_doc.h"
#include "host/view/nuvex_view.h"

CNuvexDocTemplate::CNuvexDocTemplate(UINT resourceId, const CRuntimeClass* frameClass, IDocumentServices& services,
                                     IDocumentOutput& output, IDocumentCloseFlow* closeFlow)
    : CMultiDocTemplate(resourceId, RUNTIME_CLASS(CNuvexDoc), frameClass, RUNTIME_CLASS(CNuvexView)),
      m_services(services),
      m_output(output),
      m_closeFlow(closeFlow)
{
}

CDocument* CNuvexDocTemplate::CreateNewDocument()
{
    // The document needs the program's services, which dynamic creation
    // cannot hand over.
    auto* document = new CNuvexDoc(m_services, m_output);
    document->SyncSystemVariables();
    document->SetCloseFlow(m_closeFlow);
    AddDocument(document);
    return document;
}

CFrameWnd* CNuvexDocTemplate::CreateNewFrame(CDocument* document, CFrameWnd* other)
{
    // The frame makes its view by class; the view learns its document here.
    CNuvexDoc* previous = CNuvexView::SetDocumentForNewViews(dynamic_cast<CNuvexDoc*>(document));
    CFrameWnd* frame = CMultiDocTemplate::CreateNewFrame(document, other);
    CNuvexView::SetDocumentForNewViews(previous);
    return frame;
}
