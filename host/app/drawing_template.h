// CDrawingTemplate: the program's document template of drawings. Each
// drawing it makes brings its own output (the program's views, panes and
// the document's event source); frames are CChildFrame with a CNuvexView.
#pragma once

#include "host/view/nuvex_doc_template.h"

class CAddinHost;

class CDrawingTemplate : public CNuvexDocTemplate {
public:
    CDrawingTemplate(UINT resourceId, CAddinHost& host, IDocumentCloseFlow* closeFlow);

protected:
    CNuvexDoc* MakeDocument() override;

private:
    CAddinHost& m_host;
};
