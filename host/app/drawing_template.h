// CDrawingTemplate: the program's document template of drawings. Each
// drawing it makes brings its own output (the program's views, panes and
// the document's event source); frames are CChildFrame with a CNuvexView.
// The template keeps the server's resources of embedded and in-place
// editing and the in-place frame class, which no container asks for here.
#pragma once

#include "host/view/nuvex_doc_template.h"

class CAddinHost;

constexpr UINT kDrawingEmbeddedResource = 5;
constexpr UINT kDrawingInPlaceResource = 4;

class CDrawingTemplate : public CNuvexDocTemplate {
public:
    CDrawingTemplate(UINT resourceId, CAddinHost& host, IDocumentCloseFlow* closeFlow);

protected:
    CNuvexDoc* MakeDocument() override;

private:
    CAddinHost& m_host;
};
