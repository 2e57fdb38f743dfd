// CDrawingTemplate: drawings with their own output.
#include "host/app/drawing_template.h"

#include "host/shell/addin_host.h"
#include "host/shell/child_frame.h"
#include "host/shell/document_output.h"
#include "host/shell/in_place_frame.h"

CDrawingTemplate::CDrawingTemplate(UINT resourceId, CAddinHost& host, IDocumentCloseFlow* closeFlow)
    : CNuvexDocTemplate(resourceId, RUNTIME_CLASS(CChildFrame), host, closeFlow), m_host(host)
{
    SetServerInfo(kDrawingEmbeddedResource, kDrawingInPlaceResource, RUNTIME_CLASS(CInPlaceFrame));
}

CNuvexDoc* CDrawingTemplate::MakeDocument() { return new CProgramDocument(m_host); }
