// The document template of drawings: it makes each CNuvexDoc with the
// program's services and output and its close flow, and each frame with a
// CNuvexView of that document.
#pragma once

#include "host/document/document_services.h"
#include "platform/framework/doctemplate.h"

class IDocumentCloseFlow;

class CNuvexDocTemplate : public CMultiDocTemplate {
public:
    // closeFlow may be null: the framework's own question and save flow.
    CNuvexDocTemplate(UINT resourceId, const CRuntimeClass* frameClass, IDocumentServices& services,
                      IDocumentOutput& output, IDocumentCloseFlow* closeFlow);

    CDocument* CreateNewDocument() override;
    CFrameWnd* CreateNewFrame(CDocument* document, CFrameWnd* other) override;

private:
    IDocumentServices& m_services;
    IDocumentOutput& m_output;
    IDocumentCloseFlow* m_closeFlow;
};
