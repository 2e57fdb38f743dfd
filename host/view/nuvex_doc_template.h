// The document template of drawings: it makes each CNuvexDoc with the
// program's services and output and its close flow, and each frame with a
// CNuvexView of that document.
#pragma once

#include "host/document/document_services.h"
#include "host/shell/frame_classes.h"

class CNuvexDoc;
class IDocumentCloseFlow;

class CNuvexDocTemplate : public CDrawingTemplateBase {
public:
    // closeFlow may be null: the framework's own question and save flow.
    CNuvexDocTemplate(UINT resourceId, const CRuntimeClass* frameClass, IDocumentServices& services,
                      IDocumentOutput& output, IDocumentCloseFlow* closeFlow);

    CDocument* CreateNewDocument() override;
    CFrameWnd* CreateNewFrame(CDocument* document, CFrameWnd* other) override;

protected:
    // For a template whose documents bring their own output: it makes them
    // in MakeDocument.
    CNuvexDocTemplate(UINT resourceId, const CRuntimeClass* frameClass, IDocumentServices& services,
                      IDocumentCloseFlow* closeFlow);
    // Makes the document a new drawing is, with the template's output.
    virtual CNuvexDoc* MakeDocument();

private:
    IDocumentServices& m_services;
    IDocumentOutput* m_output = nullptr;
    IDocumentCloseFlow* m_closeFlow;
};
