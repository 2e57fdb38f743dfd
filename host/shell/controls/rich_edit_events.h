// The document events of rich-edit line controls, fired on the event sinks
// of the application's active document: 10 (a line made by typing), 11
// (the rows of lines changed, as an integer and four arrays) and 7 (the
// text changed).
#pragma once

#include "host/document/document_services.h"
#include "host/shell/controls/rich_edit_line_ctrl.h"

// Dispatch ids of the line control's document events.
inline constexpr DISPID kEventLineCreated = 10;
inline constexpr DISPID kEventLineRowsChanged = 11;
inline constexpr DISPID kEventLineTextChanged = 7;

class CActiveDocumentLineEvents final : public IRichEditLineEvents {
public:
    explicit CActiveDocumentLineEvents(IDocumentServices& services) : m_services(services) {}
    bool HasActiveDocument() override;
    void LineCreated(LONG id) override;
    void RowsChanged(const std::vector<LineRowChange>& changes) override;
    void TextChanged() override;

private:
    IHostDocument* ActiveDocument();
    IDocumentServices& m_services;
};
